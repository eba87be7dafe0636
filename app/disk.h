// The real disk, one implementation per platform.
#pragma once

#include "output/file_system.h"

namespace scenario {

class DiskFileSystem final : public FileSystem {
  public:
    DiskFileSystem();
    bool exists(const std::string& path) override;
    bool read(const std::string& path, std::string* contents, FileError* error) override;
    bool replace(const std::string& path, std::string_view bytes, FileError* error) override;
    bool replace_in_pieces(const std::string& path, const FileContents& contents,
                           FileError* error) override;
    bool remove(const std::string& path, FileError* error) override;
};

}  // namespace scenario
