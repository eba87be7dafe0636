#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/disk.h"
#include "app/pending_file.h"
#include "app/temporary_names.h"
#include "app/wide_text.h"

namespace scenario {

namespace {

// WriteFile and ReadFile take 32-bit sizes; larger blocks go in pieces.
constexpr DWORD kMaxChunk = 1u << 30;

constexpr std::string_view kSeparators = "\\/";

bool fail(FileError* error, std::string operation, const std::string& path, DWORD code) {
    if (error != nullptr) *error = FileError{std::move(operation), path, system_message(code)};
    return false;
}

// A name beside `path` that no other run of the program uses at the same time.
std::string temporary_beside(const std::string& path) {
    return next_temporary_name(path, GetCurrentProcessId());
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

// Renames the open file `file` over `target`. The file stays open, and so
// shut to every other process, until it has its final name.
bool rename_open_file(HANDLE file, const std::wstring& target) {
    const DWORD name_bytes = static_cast<DWORD>(target.size() * sizeof(wchar_t));
    std::vector<std::uint8_t> buffer(sizeof(FILE_RENAME_INFO) + name_bytes);
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info->ReplaceIfExists = TRUE;
    info->RootDirectory = nullptr;
    info->FileNameLength = name_bytes;
    target.copy(info->FileName, target.size());
    return SetFileInformationByHandle(file, FileRenameInfo, info,
                                      static_cast<DWORD>(buffer.size())) != 0;
}

// One name per folder for the lock of the runs in it: the folder's full
// name as the system gives it, in upper case, reduced to a 64-bit FNV-1a
// hash, since kernel object names may hold neither separators nor a long path.
std::wstring folder_lock_name(const std::wstring& folder) {
    std::wstring name(MAX_PATH, L'\0');
    const HANDLE handle =
        CreateFileW(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    DWORD n = 0;
    if (handle != INVALID_HANDLE_VALUE) {
        n = GetFinalPathNameByHandleW(handle, name.data(), static_cast<DWORD>(name.size()), 0);
        if (n >= name.size()) {
            name.resize(n);
            n = GetFinalPathNameByHandleW(handle, name.data(), n, 0);
        }
        CloseHandle(handle);
    }
    name.resize(n > 0 && n < name.size() ? n : 0);
    if (name.empty()) name = folder;
    CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
    std::uint64_t hash = 14695981039346656037ull;
    for (wchar_t c : name) {
        hash = (hash ^ static_cast<std::uint16_t>(c)) * 1099511628211ull;
    }
    wchar_t hex[17];
    for (int i = 15; i >= 0; --i, hash >>= 4)
        hex[i] = L"0123456789abcdef"[hash & 0xf];
    hex[16] = L'\0';
    return std::wstring(L"Local\\scenario_builder_folder_") + hex;
}

// Deletes what killed runs left of the temporary files of `owned` (full
// names of files in one folder). A file that another process still has
// open cannot be deleted and is left: a live writer's, or one that some
// other program (a virus scanner, say) holds; the next run tries again.
void remove_stale_temporaries(std::span<const std::string> owned) {
    const std::string_view any = owned.front();
    const std::string prefix(any.substr(0, any.size() - name_of(any, kSeparators).size()));
    WIN32_FIND_DATAW entry;
    const HANDLE search = FindFirstFileExW(to_wide(prefix + "*").c_str(), FindExInfoBasic, &entry,
                                           FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if ((entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) !=
            0) {
            continue;
        }
        const std::string name = to_utf8(entry.cFileName);
        for (const std::string& path : owned) {
            if (is_temporary_of(name, name_of(path, kSeparators))) {
                DeleteFileW(to_wide(prefix + name).c_str());
                break;
            }
        }
    } while (FindNextFileW(search, &entry));
    FindClose(search);
}

HANDLE handle_of(std::intptr_t file) {
    return reinterpret_cast<HANDLE>(file);
}

}  // namespace

// The file is open with no sharing from its creation until it has its
// final name: no other process can open or delete it meanwhile, and a run
// clearing away what killed runs left, which deletes only what it can,
// never takes it for theirs.
bool PendingFile::create(FileError* error) {
    for (int tries = 0; tries < kTemporaryNameTries; ++tries) {
        std::string temp = temporary_beside(path_);
        const HANDLE file = CreateFileW(to_wide(temp).c_str(), GENERIC_WRITE | DELETE, 0, nullptr,
                                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            file_ = reinterpret_cast<std::intptr_t>(file);
            temp_ = std::move(temp);
            return true;
        }
        if (GetLastError() != ERROR_FILE_EXISTS) break;
    }
    return fail(error, "create", path_, GetLastError());
}

bool PendingFile::write(std::string_view bytes, FileError* error) {
    return write_all(handle_of(file_), bytes) || fail(error, "write", path_, GetLastError());
}

bool PendingFile::commit(FileError* error) {
    if (!rename_open_file(handle_of(file_), to_wide(path_))) {
        return fail(error, "replace", path_, GetLastError());
    }
    temp_.clear();
    const bool closed = CloseHandle(handle_of(file_)) != 0;
    file_ = -1;
    return closed || fail(error, "write", path_, GetLastError());
}

PendingFile::~PendingFile() {
    if (file_ != -1) CloseHandle(handle_of(file_));
    if (!temp_.empty()) DeleteFileW(to_wide(temp_).c_str());
}

// The lock of the claimed folder: a named mutex, which leaves nothing on
// the disk. When its owner dies the system hands it to the next waiter.
struct DiskFileSystem::Claim {
    HANDLE mutex = nullptr;
    ~Claim() {
        if (mutex == nullptr) return;
        ReleaseMutex(mutex);
        CloseHandle(mutex);
    }
};

DiskFileSystem::DiskFileSystem() = default;
DiskFileSystem::~DiskFileSystem() = default;

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
    // A read-only file is one its owner asked to keep. The rename would
    // refuse it too, but only after the whole file had been written beside it.
    if (is_read_only(to_wide(path))) return fail(error, "replace", path, ERROR_ACCESS_DENIED);
    PendingFile file(path);
    if (!file.create(error)) return false;
    PendingFileSink sink(file, error);
    return contents.write_to(sink) && file.commit(error);
}

bool DiskFileSystem::remove(const std::string& path, FileError* error) {
    if (DeleteFileW(to_wide(path).c_str())) return true;
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return true;
    return fail(error, "delete", path, code);
}

void DiskFileSystem::claim(std::span<const std::string> paths) {
    if (paths.empty() || claim_ != nullptr) return;
    claim_ = std::make_unique<Claim>();
    const std::wstring folder = to_wide(folder_of(paths.front(), kSeparators));
    claim_->mutex = CreateMutexW(nullptr, FALSE, folder_lock_name(folder).c_str());
    // A second run in the same folder would rewrite the source texts that
    // this one is about to read and delete: it waits here for this one to
    // end. An abandoned lock (its owner was killed) is owned all the same.
    if (claim_->mutex != nullptr) {
        const DWORD waited = WaitForSingleObject(claim_->mutex, INFINITE);
        if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
            CloseHandle(claim_->mutex);
            claim_->mutex = nullptr;
        }
    }
    remove_stale_temporaries(paths);
}

}  // namespace scenario
