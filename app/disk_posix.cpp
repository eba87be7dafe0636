#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "app/disk.h"
#include "app/pending_file.h"
#include "app/temporary_names.h"

namespace scenario {

namespace {

constexpr std::string_view kSeparator = "/";

bool fail(FileError* error, std::string operation, const std::string& path, int err) {
    if (error != nullptr) *error = FileError{std::move(operation), path, std::strerror(err)};
    return false;
}

// A name beside `path` that no other run of the program uses at the same time.
std::string temporary_beside(const std::string& path) {
    static const auto process = static_cast<unsigned long>(::getpid());
    return next_temporary_name(path, process);
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

// Waits for the lock on an open file. A file system without locks (some
// network ones) is used unlocked: a run clearing the folder then cannot
// tell a live writer's file from a dead one's, and leaves it.
void lock(int fd) {
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
}

// A file without a name is named through /proc/self/fd; without /proc every
// temporary file is created with its name.
bool can_name_unnamed_files() {
#if defined(O_TMPFILE)
    static const bool can = ::access("/proc/self/fd", X_OK) == 0;
    return can;
#else
    return false;
#endif
}

// Creates a file without a name in the folder of `path`, locked; -1 where
// the file system has no such files or they could not be named.
int create_unnamed(const std::string& path) {
#if defined(O_TMPFILE)
    if (!can_name_unnamed_files()) return -1;
    const std::string folder(folder_of(path, kSeparator));
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd >= 0) lock(fd);
    return fd;
#else
    static_cast<void>(path);
    return -1;
#endif
}

// Creates a file under a temporary name beside `path`, locked; -1 with the
// reason in `err` when it cannot.
int create_named(const std::string& path, std::string* temp, int* err) {
    for (int tries = 0; tries < kTemporaryNameTries; ++tries) {
        *temp = temporary_beside(path);
        const int fd = ::open(temp->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            *err = errno;
            break;
        }
        lock(fd);
        // A run clearing the folder may have taken the file for a dead run's
        // between its creation and the lock; then it is gone: try another.
        struct stat st {};
        if (::fstat(fd, &st) == 0 && st.st_nlink == 0) {
            ::close(fd);
            continue;
        }
        return fd;
    }
    if (*err == 0) *err = EEXIST;
    temp->clear();
    return -1;
}

// Gives the unnamed file `fd` a temporary name beside `path`.
bool give_name(int fd, const std::string& path, std::string* temp, int* err) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int tries = 0; tries < kTemporaryNameTries; ++tries) {
        std::string name = temporary_beside(path);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            *temp = std::move(name);
            return true;
        }
        if (errno != EEXIST) break;
    }
    *err = errno;
    return false;
}

bool same_file(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Removes `name` from `folder` when it is a regular file whose writer is
// gone: a writer holds its temporary file locked for as long as it lives
// under a temporary name, and a lock dies with its process, whatever
// process later gets the same id. The file is opened for writing because
// some network file systems lock only files open for writing.
void remove_if_stale(int folder, const char* name) {
    struct stat listed {};
    if (::fstatat(folder, name, &listed, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(listed.st_mode)) {
        return;
    }
    const int fd =
        ::openat(folder, name, O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return;
    struct stat locked {};
    struct stat named {};
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &locked) == 0 &&
        ::fstatat(folder, name, &named, AT_SYMLINK_NOFOLLOW) == 0 && same_file(locked, named)) {
        ::unlinkat(folder, name, 0);
    }
    ::close(fd);
}

void remove_stale_temporaries(DIR* folder, const std::vector<std::string_view>& owned) {
    while (const dirent* entry = ::readdir(folder)) {
        const std::string_view name = entry->d_name;
        for (std::string_view file : owned) {
            if (is_temporary_of(name, file)) {
                remove_if_stale(::dirfd(folder), entry->d_name);
                break;
            }
        }
    }
}

}  // namespace

// The file is locked from before it has a name until it has its final one,
// so that a run clearing away what killed runs left never takes it for
// theirs. Where the file system allows, it has no name at all until its
// bytes are written: a process killed while writing it leaves nothing.
bool PendingFile::create(FileError* error) {
    int err = 0;
    int fd = create_unnamed(path_);
    if (fd < 0) fd = create_named(path_, &temp_, &err);
    if (fd < 0) return fail(error, "create", path_, err);
    file_ = fd;
    return true;
}

bool PendingFile::write(std::string_view bytes, FileError* error) {
    return write_all(static_cast<int>(file_), bytes) || fail(error, "write", path_, errno);
}

bool PendingFile::commit(FileError* error) {
    // A network file system may report a failed write only when the file is
    // closed, and that must come before the rename. The lock belongs to the
    // open file, not to one descriptor: a second one keeps it until the end.
    const int written = static_cast<int>(file_);
    const int held = ::fcntl(written, F_DUPFD_CLOEXEC, 0);
    if (held < 0) return fail(error, "write", path_, errno);
    file_ = held;
    if (::close(written) != 0 && errno != EINTR) return fail(error, "write", path_, errno);
    int err = 0;
    if (temp_.empty() && !give_name(held, path_, &temp_, &err)) {
        return fail(error, "create", path_, err);
    }
    if (::rename(temp_.c_str(), path_.c_str()) != 0) return fail(error, "replace", path_, errno);
    temp_.clear();
    ::close(held);
    file_ = -1;
    return true;
}

// The name goes first, while the file is still locked, so that no one sees
// it unlocked and takes it for a dead run's.
PendingFile::~PendingFile() {
    if (!temp_.empty()) ::unlink(temp_.c_str());
    if (file_ >= 0) ::close(static_cast<int>(file_));
}

// The claimed folder, open and locked; the lock goes when it is closed, at
// the latest when the process ends, however it ends.
struct DiskFileSystem::Claim {
    DIR* folder = nullptr;
    ~Claim() {
        if (folder != nullptr) ::closedir(folder);
    }
};

DiskFileSystem::DiskFileSystem() {
    // Past a file-size limit a write must fail with EFBIG and be reported,
    // not kill the process half-way through a file.
    ::signal(SIGXFSZ, SIG_IGN);
}

DiskFileSystem::~DiskFileSystem() = default;

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
    PendingFile file(path);
    if (!file.create(error)) return false;
    PendingFileSink sink(file, error);
    return contents.write_to(sink) && file.commit(error);
}

bool DiskFileSystem::remove(const std::string& path, FileError* error) {
    if (::unlink(path.c_str()) == 0 || errno == ENOENT) return true;
    return fail(error, "delete", path, errno);
}

void DiskFileSystem::claim(std::span<const std::string> paths) {
    if (paths.empty() || claim_ != nullptr) return;
    const std::string folder(folder_of(paths.front(), kSeparator));
    claim_ = std::make_unique<Claim>();
    claim_->folder = ::opendir(folder.c_str());
    if (claim_->folder == nullptr) return;
    // A second run in the same folder would rewrite the source texts that
    // this one is about to read and delete: it waits here for this one to
    // end. The lock is on the folder itself, so it leaves no file behind.
    lock(::dirfd(claim_->folder));
    std::vector<std::string_view> owned;
    for (const std::string& path : paths)
        owned.push_back(name_of(path, kSeparator));
    remove_stale_temporaries(claim_->folder, owned);
}

}  // namespace scenario
