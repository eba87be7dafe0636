// The author's folder as the viewer's builds see it: read as it is, never
// written. A build that writes its compiled files makes the geometry's
// rows, which the plan needs; here the files it would write are dropped.
#pragma once

#include "output/file_system.h"

namespace scenario {

class ReadOnlyFiles : public FileSystem {
  public:
    explicit ReadOnlyFiles(FileSystem& folder) : folder_(folder) {}

    bool exists(const std::string& path) override { return folder_.exists(path); }
    bool read(const std::string& path, std::string* contents, FileError* error) override {
        return folder_.read(path, contents, error);
    }
    // Dropped unread: the compiled files are not encoded at all.
    bool replace(const std::string&, std::string_view, FileError*) override { return true; }
    bool replace_in_pieces(const std::string&, const FileContents&, FileError*) override {
        return true;
    }
    bool remove(const std::string&, FileError*) override { return true; }

  private:
    FileSystem& folder_;
};

}  // namespace scenario
