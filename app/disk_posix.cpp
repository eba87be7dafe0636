#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>

#include "app/disk.h"

namespace scenario {

namespace {

bool fail(FileError* error, std::string operation, const std::string& path, int err) {
    if (error != nullptr) *error = FileError{std::move(operation), path, std::strerror(err)};
    return false;
}

// A name beside `path` that no other run of the program uses at the same time.
std::string temporary_name(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    return path + "." + std::to_string(getpid()) + "." + std::to_string(counter++) + ".tmp";
}

bool write_all(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Writes each piece to the file as it comes and keeps the reason of a failure.
class DescriptorSink final : public PieceSink {
  public:
    explicit DescriptorSink(int fd) : fd_(fd) {}
    bool put(std::string_view piece) override {
        if (write_all(fd_, piece)) return true;
        error_ = errno;
        return false;
    }
    int error() const { return error_; }

  private:
    int fd_;
    int error_ = 0;
};

}  // namespace

DiskFileSystem::DiskFileSystem() {
    // Past a file-size limit a write must fail with EFBIG and be reported,
    // not kill the process half-way through a file.
    ::signal(SIGXFSZ, SIG_IGN);
}

bool DiskFileSystem::exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool DiskFileSystem::read(const std::string& path, std::string* contents, FileError* error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return fail(error, "open", path, errno);
    contents->clear();
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            return fail(error, "read", path, err);
        }
        contents->append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return true;
}

bool DiskFileSystem::replace(const std::string& path, std::string_view bytes, FileError* error) {
    return replace_in_pieces(path, WholeContents(bytes), error);
}

bool DiskFileSystem::replace_in_pieces(const std::string& path, const FileContents& contents,
                                       FileError* error) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        // Only a regular file is ever replaced: renaming over a folder or a
        // device (a super-user's run can do that) would destroy it.
        if (S_ISDIR(st.st_mode)) return fail(error, "replace", path, EISDIR);
        if (!S_ISREG(st.st_mode)) return fail(error, "replace", path, EINVAL);
        // A read-only file is one its owner asked to keep: refuse to replace
        // it, as the system would for anyone but the super-user.
        if ((st.st_mode & 0222) == 0) return fail(error, "replace", path, EACCES);
    }
    const std::string temp = temporary_name(path);
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return fail(error, "create", path, errno);
    DescriptorSink sink(fd);
    if (!contents.write_to(sink)) {
        const int err = sink.error();
        ::close(fd);
        ::unlink(temp.c_str());
        return fail(error, "write", path, err);
    }
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        return fail(error, "write", path, err);
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        return fail(error, "replace", path, err);
    }
    return true;
}

bool DiskFileSystem::remove(const std::string& path, FileError* error) {
    if (::unlink(path.c_str()) == 0 || errno == ENOENT) return true;
    return fail(error, "delete", path, errno);
}

}  // namespace scenario
