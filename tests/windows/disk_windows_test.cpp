#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/disk.h"
#include "app/wide_text.h"

namespace scenario {
namespace {

// A fresh folder under the system's temporary folder, removed afterwards.
// Its name holds letters outside the ANSI code page, so every test also
// checks that paths reach the system as UTF-16 and not through that page.
class DiskWindows : public ::testing::Test {
  protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH + 1];
        ASSERT_NE(GetTempPathW(MAX_PATH + 1, temp), 0u);
        folder_ = std::wstring(temp) + L"disk_test_\u00e8\u03a9\u6771_" +
                  std::to_wstring(GetCurrentProcessId());
        ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
    }

    void TearDown() override {
        for (const std::wstring& name : names()) {
            const std::wstring file = folder_ + L"\\" + name;
            SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(file.c_str());
        }
        RemoveDirectoryW(folder_.c_str());
    }

    std::string path(const std::string& name) const { return to_utf8(folder_) + "\\" + name; }

    // The names the system lists in the folder, as it spells them.
    std::vector<std::wstring> names() const {
        std::vector<std::wstring> found;
        WIN32_FIND_DATAW entry;
        const HANDLE search = FindFirstFileW((folder_ + L"\\*").c_str(), &entry);
        if (search == INVALID_HANDLE_VALUE) return found;
        do {
            const std::wstring name = entry.cFileName;
            if (name != L"." && name != L"..") found.push_back(name);
        } while (FindNextFileW(search, &entry));
        FindClose(search);
        return found;
    }

    std::wstring folder_;
    DiskFileSystem disk_;
};

TEST_F(DiskWindows, ReplaceLeavesExactlyTheNewBytes) {
    struct Row {
        const char* before;  // nullptr: no file yet
        std::string bytes;
    };
    const Row rows[] = {
        {nullptr, "one\r\ntwo\r\n"},                // new file, CR LF kept as they are
        {"a much longer older file\r\n", "short"},  // no tail of the older file survives
        {"x", std::string("\0\x1a\n\xff", 4)},      // binary: NUL, ^Z, lone LF, high byte
        {"not empty", ""},                          // an empty file replaces a full one
    };
    for (const Row& row : rows) {
        const std::string file = path("f.bin");
        FileError error;
        if (row.before != nullptr) {
            ASSERT_TRUE(disk_.replace(file, row.before, &error));
        }
        ASSERT_TRUE(disk_.replace(file, row.bytes, &error)) << error.reason;
        std::string read_back = "stale";
        ASSERT_TRUE(disk_.read(file, &read_back, &error)) << error.reason;
        EXPECT_EQ(read_back, row.bytes);
        EXPECT_EQ(names(), std::vector<std::wstring>{L"f.bin"});  // no temporary left
        ASSERT_TRUE(disk_.remove(file, &error));
    }
}

TEST_F(DiskWindows, NamesOutsideTheAnsiPageReachTheDisk) {
    FileError error;
    // "Zürich_Ωμέγα_東京.txt" in UTF-8, as the program holds it.
    ASSERT_TRUE(disk_.replace(path("Z\xc3\xbcrich_\xce\xa9\xce\xbc\xce\xad\xce\xb3\xce\xb1_"
                                   "\xe6\x9d\xb1\xe4\xba\xac.txt"),
                              "abc", &error))
        << error.reason;
    EXPECT_EQ(names(), std::vector<std::wstring>{L"Z\u00fcrich_\u03a9\u03bc\u03ad\u03b3\u03b1_"
                                                 L"\u6771\u4eac.txt"});
}

TEST_F(DiskWindows, AReadOnlyFileIsRefusedAndKept) {
    const std::string file = path("kept.txt");
    FileError error;
    ASSERT_TRUE(disk_.replace(file, "original", &error));
    ASSERT_TRUE(SetFileAttributesW(to_wide(file).c_str(), FILE_ATTRIBUTE_READONLY));

    EXPECT_FALSE(disk_.replace(file, "new", &error));
    EXPECT_EQ(error.operation, "replace");
    EXPECT_EQ(error.path, file);
    EXPECT_FALSE(error.reason.empty());
    std::string contents;
    ASSERT_TRUE(disk_.read(file, &contents, &error));
    EXPECT_EQ(contents, "original");
    EXPECT_EQ(names(), std::vector<std::wstring>{L"kept.txt"});
}

TEST_F(DiskWindows, MissingFilesAndFolders) {
    FileError error;
    // Deleting what is not there is no error, as the emitters expect.
    EXPECT_TRUE(disk_.remove(path("absent.txt"), &error));
    EXPECT_TRUE(disk_.remove(path("no_folder\\absent.txt"), &error));
    EXPECT_FALSE(disk_.exists(path("absent.txt")));

    std::string contents;
    EXPECT_FALSE(disk_.read(path("absent.txt"), &contents, &error));
    EXPECT_EQ(error.operation, "open");
    EXPECT_FALSE(error.reason.empty());

    EXPECT_FALSE(disk_.replace(path("no_folder\\new.txt"), "x", &error));
    EXPECT_EQ(error.operation, "create");
    EXPECT_EQ(error.path, path("no_folder\\new.txt"));
    EXPECT_TRUE(names().empty());
}

// A killed run leaves temporary files of the names it writes; the next run's
// claim deletes those that no process has open. One that a process still
// holds cannot be deleted and is left, without failing anything; the user's
// other files are never touched.
TEST_F(DiskWindows, ClaimDeletesTheTemporaryFilesNoProcessHolds) {
    FileError error;
    for (const char* name : {"target.11668.5.tmp", "other.1.0.tmp", "target", "target.1.tmp",
                             "target.1.2.tmp.bak", "held.3.4.tmp"}) {
        ASSERT_TRUE(disk_.replace(path(name), "x", &error)) << error.reason;
    }
    ASSERT_TRUE(CreateDirectoryW((folder_ + L"\\target.5.6.tmp").c_str(), nullptr));
    // Held as a live writer holds its file: open, shared with no one.
    const HANDLE held = CreateFileW(to_wide(path("held.3.4.tmp")).c_str(), GENERIC_WRITE, 0,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    DiskFileSystem claimer;
    const std::vector<std::string> owned = {path("target"), path("other"), path("held")};
    claimer.claim(owned);
    CloseHandle(held);

    std::vector<std::wstring> left = names();
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::wstring>{L"held.3.4.tmp", L"target", L"target.1.2.tmp.bak",
                                               L"target.1.tmp", L"target.5.6.tmp"}));
    RemoveDirectoryW((folder_ + L"\\target.5.6.tmp").c_str());
}

}  // namespace
}  // namespace scenario
