// The real disk on POSIX: what replace() does to each kind of thing that may
// stand where an output file goes. Whatever happens, nothing that stood
// there is damaged and no temporary file is left behind.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/disk.h"
#include "support/temp_folder.h"

namespace scenario {
namespace {

namespace fsys = std::filesystem;

std::string slurp(const fsys::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

class DiskPosix : public ::testing::Test {
  protected:
    // A target made read-only must be writable again for the folder to go.
    void TearDown() override {
        fsys::permissions(dir_ / "target", fsys::perms::owner_all, fsys::perm_options::add,
                          ignored_);
    }
    // Only the target itself may remain in the folder.
    void expect_no_temporary() {
        for (const auto& entry : fsys::directory_iterator(dir_))
            EXPECT_EQ(entry.path().filename(), "target");
    }
    std::vector<std::string> listing() const {
        std::vector<std::string> names;
        for (const auto& entry : fsys::directory_iterator(dir_))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    testing::TempFolder folder_{"disk_posix"};
    fsys::path dir_ = folder_.path();
    std::error_code ignored_;
    DiskFileSystem disk_;
};

TEST_F(DiskPosix, ReplacesALongerRegularFileWhole) {
    std::ofstream(dir_ / "target") << std::string(4096, '#');
    FileError error;
    ASSERT_TRUE(disk_.replace((dir_ / "target").string(), "new\r\n", &error)) << error.reason;
    EXPECT_EQ(slurp(dir_ / "target"), "new\r\n");
    expect_no_temporary();
}

TEST_F(DiskPosix, RefusesWhatItMustNotReplace) {
    const struct {
        const char* what;
        void (*make)(const fsys::path&);
        const char* reason;
    } cases[] = {
        {"read-only file",
         [](const fsys::path& p) {
             std::ofstream(p) << "keep";
             fsys::permissions(p, fsys::perms::owner_read | fsys::perms::group_read);
         },
         "Permission denied"},
        {"folder", [](const fsys::path& p) { fsys::create_directory(p); }, "Is a directory"},
        // Stands for a device: renaming over one would destroy it.
        {"fifo", [](const fsys::path& p) { ::mkfifo(p.c_str(), 0666); }, "Invalid argument"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fsys::remove_all(dir_ / "target");
        c.make(dir_ / "target");
        const auto type_before = fsys::status(dir_ / "target").type();
        FileError error;
        EXPECT_FALSE(disk_.replace((dir_ / "target").string(), "new", &error));
        EXPECT_EQ(error.operation, "replace");
        EXPECT_EQ(error.reason, c.reason);
        EXPECT_EQ(fsys::status(dir_ / "target").type(), type_before);
        expect_no_temporary();
        fsys::permissions(dir_ / "target", fsys::perms::owner_all, fsys::perm_options::add);
    }
}

// A file handed over in pieces, which looks at the target between them.
class WatchedPieces final : public FileContents {
  public:
    WatchedPieces(std::vector<std::string> pieces, fsys::path target)
        : pieces_(std::move(pieces)), target_(std::move(target)) {}
    bool write_to(PieceSink& sink) const override {
        for (const std::string& piece : pieces_) {
            seen.push_back(slurp(target_));
            if (!sink.put(piece)) return false;
        }
        return true;
    }
    mutable std::vector<std::string> seen;  // the target before each piece

  private:
    std::vector<std::string> pieces_;
    fsys::path target_;
};

// The pieces go to the temporary file one by one; the target keeps its
// earlier bytes until the whole file takes its place.
TEST_F(DiskPosix, AFileInPiecesAppearsWholeOnlyAtTheEnd) {
    std::ofstream(dir_ / "target") << "old";
    const WatchedPieces contents({"first,", std::string(100000, 'x'), ",last"}, dir_ / "target");
    FileError error;
    ASSERT_TRUE(disk_.replace_in_pieces((dir_ / "target").string(), contents, &error))
        << error.reason;
    EXPECT_EQ(contents.seen, (std::vector<std::string>{"old", "old", "old"}));
    EXPECT_EQ(slurp(dir_ / "target"), "first," + std::string(100000, 'x') + ",last");
    expect_no_temporary();
}

// A piece that cannot be written (past a file-size limit) ends the file:
// the earlier file stays as it was and the temporary file goes.
TEST_F(DiskPosix, APieceThatCannotBeWrittenLeavesTheEarlierFile) {
    std::ofstream(dir_ / "target") << "old";
    const WatchedPieces contents({std::string(40000, 'a'), std::string(40000, 'b'), "c"},
                                 dir_ / "target");
    rlimit before{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
    rlimit limited = before;
    limited.rlim_cur = 65536;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    FileError error;
    const bool written = disk_.replace_in_pieces((dir_ / "target").string(), contents, &error);
    ::setrlimit(RLIMIT_FSIZE, &before);
    EXPECT_FALSE(written);
    EXPECT_EQ(error.operation, "write");
    EXPECT_EQ(error.reason, "File too large");
    EXPECT_EQ(contents.seen.size(), 2u);  // the third piece is never asked for
    EXPECT_EQ(slurp(dir_ / "target"), "old");
    expect_no_temporary();
}

TEST_F(DiskPosix, AMissingFolderFailsOnCreate) {
    FileError error;
    EXPECT_FALSE(disk_.replace((dir_ / "no" / "target").string(), "x", &error));
    EXPECT_EQ(error.operation, "create");
    EXPECT_TRUE(disk_.remove((dir_ / "never-there").string(), &error));
}

// A killed run leaves temporary files of the names it writes; the next run's
// claim removes those whose writer is gone. A writer holds its file locked
// while it is alive, and nothing but our own naming is ever touched.
TEST_F(DiskPosix, ClaimRemovesOnlyTheTemporaryFilesOfDeadWriters) {
    for (const char* stale : {"target.11668.5.tmp", "target.1.0.tmp", "other.7.7.tmp"}) {
        std::ofstream(dir_ / stale) << "left by a killed run";
    }
    for (const char* foreign :
         {"target", "target.tmp", "target.1.tmp", "target.1.2.tmp.bak", "third.1.2.tmp"}) {
        std::ofstream(dir_ / foreign) << "the user's";
    }
    fsys::create_directory(dir_ / "target.4.5.tmp");
    fsys::create_symlink("target", dir_ / "target.6.7.tmp");
    // A live writer: the file is open and locked, as a running program's is.
    std::ofstream(dir_ / "target.2.3.tmp") << "being written";
    const int live = ::open((dir_ / "target.2.3.tmp").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(live, 0);
    ASSERT_EQ(::flock(live, LOCK_EX), 0);

    const std::vector<std::string> owned = {(dir_ / "target").string(), (dir_ / "other").string()};
    disk_.claim(owned);
    ::close(live);

    EXPECT_EQ(listing(), (std::vector<std::string>{
                             "target", "target.1.2.tmp.bak", "target.1.tmp", "target.2.3.tmp",
                             "target.4.5.tmp", "target.6.7.tmp", "target.tmp", "third.1.2.tmp"}));
    EXPECT_EQ(slurp(dir_ / "target"), "the user's");
}

// Two runs in one folder: the second claim waits until the first claimer is
// gone, then the replace goes through as usual.
TEST_F(DiskPosix, ASecondClaimWaitsForTheFirst) {
    const std::vector<std::string> owned = {(dir_ / "target").string()};
    auto first = std::make_unique<DiskFileSystem>();
    first->claim(owned);
    std::atomic<bool> claimed{false};
    std::thread second([&] {
        DiskFileSystem disk;
        disk.claim(owned);
        claimed = true;
        FileError error;
        EXPECT_TRUE(disk.replace(owned.front(), "second", &error)) << error.reason;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(claimed);
    first.reset();
    second.join();
    EXPECT_TRUE(claimed);
    EXPECT_EQ(slurp(dir_ / "target"), "second");
    expect_no_temporary();
}

}  // namespace
}  // namespace scenario
