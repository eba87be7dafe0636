// The few file operations that a build needs, behind an interface so that
// the core never touches the operating system: the driver passes the real
// disk, tests pass a folder kept in memory.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {

// What went wrong with a file operation, in words fit for the user.
struct FileError {
    std::string operation;  // "create", "write", "rename", "delete", "read", ...
    std::string path;
    std::string reason;  // the operating system's description
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    virtual bool exists(const std::string& path) = 0;

    // Reads the whole file into `contents`.
    virtual bool read(const std::string& path, std::string* contents, FileError* error) = 0;

    // Replaces the file with `bytes` in one step: the bytes go to a temporary
    // file in the same folder, which is then renamed over `path`. A failure
    // leaves an earlier file of that name as it was and no temporary file.
    virtual bool replace(const std::string& path, std::string_view bytes, FileError* error) = 0;

    // Deletes the file; a file that does not exist is no error.
    virtual bool remove(const std::string& path, FileError* error) = 0;

    // Makes the files at `paths`, all in one folder, this object's own until
    // it is destroyed: waits while another run of the program works in that
    // folder, then removes the temporary files that killed runs left there
    // for these names, never one that a live process is still writing. It
    // cannot fail: a folder that cannot be locked or cleaned is written all
    // the same. Does nothing where files cannot outlive the run.
    virtual void claim(std::span<const std::string> /*paths*/) {}
};

inline std::string_view as_text(const std::vector<std::uint8_t>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace scenario
