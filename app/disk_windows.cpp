#include <windows.h>

#include <atomic>
#include <string>

#include "app/disk.h"
#include "app/wide_text.h"

namespace scenario {

namespace {

// WriteFile and ReadFile take 32-bit sizes; larger blocks go in pieces.
constexpr DWORD kMaxChunk = 1u << 30;

bool fail(FileError* error, std::string operation, const std::string& path, DWORD code) {
    if (error != nullptr) *error = FileError{std::move(operation), path, system_message(code)};
    return false;
}

// A name beside `path` that no other run of the program uses at the same time.
std::string temporary_name(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    return path + "." + std::to_string(GetCurrentProcessId()) + "." + std::to_string(counter++) +
           ".tmp";
}

bool is_read_only(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
           (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool write_all(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() < kMaxChunk ? static_cast<DWORD>(bytes.size()) : kMaxChunk;
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// Writes each piece to the file as it comes and keeps the reason of a failure.
class HandleSink final : public PieceSink {
  public:
    explicit HandleSink(HANDLE file) : file_(file) {}
    bool put(std::string_view piece) override {
        if (write_all(file_, piece)) return true;
        error_ = GetLastError();
        return false;
    }
    DWORD error() const { return error_; }

  private:
    HANDLE file_;
    DWORD error_ = ERROR_SUCCESS;
};

// Writes `contents` into a new file at `temp`; on failure nothing is left
// there and `error` names `path`, the file the user knows of.
bool write_new_file(const std::wstring& temp, const FileContents& contents, const std::string& path,
                    FileError* error) {
    const HANDLE file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return fail(error, "create", path, GetLastError());
    HandleSink sink(file);
    bool ok = contents.write_to(sink);
    DWORD code = ok ? ERROR_SUCCESS : sink.error();
    if (!CloseHandle(file) && ok) {
        ok = false;
        code = GetLastError();
    }
    if (ok) return true;
    DeleteFileW(temp.c_str());
    return fail(error, "write", path, code);
}

}  // namespace

DiskFileSystem::DiskFileSystem() = default;

bool DiskFileSystem::exists(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(to_wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DiskFileSystem::read(const std::string& path, std::string* contents, FileError* error) {
    const HANDLE file = CreateFileW(to_wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return fail(error, "open", path, GetLastError());
    contents->clear();
    char buffer[1 << 16];
    for (;;) {
        DWORD n = 0;
        if (!ReadFile(file, buffer, sizeof buffer, &n, nullptr)) {
            const DWORD code = GetLastError();
            CloseHandle(file);
            return fail(error, "read", path, code);
        }
        if (n == 0) break;
        contents->append(buffer, n);
    }
    CloseHandle(file);
    return true;
}

bool DiskFileSystem::replace(const std::string& path, std::string_view bytes, FileError* error) {
    return replace_in_pieces(path, WholeContents(bytes), error);
}

bool DiskFileSystem::replace_in_pieces(const std::string& path, const FileContents& contents,
                                       FileError* error) {
    const std::wstring target = to_wide(path);
    // A read-only file is one its owner asked to keep. The move below would
    // refuse it too, but only after the whole file had been written beside it.
    if (is_read_only(target)) return fail(error, "replace", path, ERROR_ACCESS_DENIED);
    const std::wstring temp = to_wide(temporary_name(path));
    if (!write_new_file(temp, contents, path, error)) return false;
    // Write-through: the call returns only when the move has reached the disk,
    // so a power cut right after it cannot bring the old file back.
    if (!MoveFileExW(temp.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD code = GetLastError();
        DeleteFileW(temp.c_str());
        return fail(error, "replace", path, code);
    }
    return true;
}

bool DiskFileSystem::remove(const std::string& path, FileError* error) {
    if (DeleteFileW(to_wide(path).c_str())) return true;
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return true;
    return fail(error, "delete", path, code);
}

}  // namespace scenario
