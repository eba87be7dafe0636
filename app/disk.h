// The real disk, one implementation per platform.
#pragma once

#include <memory>

#include "output/file_system.h"

namespace scenario {

class DiskFileSystem final : public FileSystem {
  public:
    DiskFileSystem();
    ~DiskFileSystem() override;
    DiskFileSystem(const DiskFileSystem&) = delete;
    DiskFileSystem& operator=(const DiskFileSystem&) = delete;

    bool exists(const std::string& path) override;
    bool read(const std::string& path, std::string* contents, FileError* error) override;
    bool replace(const std::string& path, std::string_view bytes, FileError* error) override;
    bool replace_in_pieces(const std::string& path, const FileContents& contents,
                           FileError* error) override;
    bool remove(const std::string& path, FileError* error) override;
    void claim(std::span<const std::string> paths) override;

  private:
    // The hold on the claimed folder, released with the object.
    struct Claim;
    std::unique_ptr<Claim> claim_;
};

}  // namespace scenario
