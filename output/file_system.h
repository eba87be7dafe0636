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

// Where the bytes of a file go, in order, a piece at a time.
class PieceSink {
  public:
    // Takes the next bytes of the file; false when they could not be kept,
    // which ends the file.
    virtual bool put(std::string_view piece) = 0;

  protected:
    ~PieceSink() = default;
};

// The contents of a file, made while the file is written: a long file need
// never be held whole in memory.
class FileContents {
  public:
    virtual ~FileContents() = default;
    // Hands every byte of the file to `sink`, in order. Stops, and returns
    // false, as soon as the sink refuses a piece; fails in no other way.
    virtual bool write_to(PieceSink& sink) const = 0;
};

// Contents held as one string of bytes.
class WholeContents final : public FileContents {
  public:
    explicit WholeContents(std::string_view bytes) : bytes_(bytes) {}
    bool write_to(PieceSink& sink) const override { return sink.put(bytes_); }

  private:
    std::string_view bytes_;
};

// What went wrong with a file operation, in words fit for the user.
struct FileError {
    std::string operation;  // "create", "write", "rename", "delete", "read", ...
    std::string path;
    std::string reason;  // the operating system's description
};

// Gathers the pieces of a file into one string.
class GatherSink final : public PieceSink {
  public:
    explicit GatherSink(std::string& bytes) : bytes_(bytes) {}
    bool put(std::string_view piece) override {
        bytes_.append(piece);
        return true;
    }

  private:
    std::string& bytes_;
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

    // As replace(), with the bytes handed over a piece at a time: each goes
    // to the temporary file as it comes, and the file still appears under
    // its name only by the rename, whole. This default gathers the pieces
    // and calls replace(); the real disk writes them as they come.
    virtual bool replace_in_pieces(const std::string& path, const FileContents& contents,
                                   FileError* error) {
        std::string bytes;
        GatherSink gather(bytes);
        contents.write_to(gather);
        return replace(path, bytes, error);
    }

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
