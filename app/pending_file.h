// A file being written beside the one it replaces and put in its place only
// once it is whole, so that an earlier file of that name is never seen cut
// short, whatever happens meanwhile. While it is written it is shut to the
// runs that clear away what killed runs left. One implementation per
// platform, beside the disk's.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "output/file_system.h"

namespace scenario {

class PendingFile {
  public:
    // `path`, the file to replace, must outlive the object.
    explicit PendingFile(const std::string& path) : path_(path) {}
    ~PendingFile();  // discards a file that was not committed
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    bool create(FileError* error);
    // Appends `bytes`; may be called any number of times before commit.
    bool write(std::string_view bytes, FileError* error);
    // Puts the file in place of `path`; nothing is left to discard after.
    bool commit(FileError* error);

  private:
    const std::string& path_;
    std::string temp_;         // its temporary name; empty while it has none
    std::intptr_t file_ = -1;  // the open file (a descriptor, or a HANDLE); -1 when none
};

// Writes the pieces of a file into a pending file as they come; the first
// that fails ends the file, with its reason in `error`.
class PendingFileSink final : public PieceSink {
  public:
    PendingFileSink(PendingFile& file, FileError* error) : file_(file), error_(error) {}
    bool put(std::string_view piece) override { return file_.write(piece, error_); }

  private:
    PendingFile& file_;
    FileError* error_;
};

}  // namespace scenario
