#include "app/driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <string>
#include <vector>

#include "support/fake_platform.h"
#include "support/memory_file_system.h"

namespace scenario {
namespace {

// The folder in memory, with a record of the claim among its calls.
class ClaimRecorder final : public FileSystem {
  public:
    testing::MemoryFileSystem folder;
    std::vector<std::string> claimed;

    bool exists(const std::string& path) override { return folder.exists(path); }
    bool read(const std::string& path, std::string* contents, FileError* error) override {
        return folder.read(path, contents, error);
    }
    bool replace(const std::string& path, std::string_view bytes, FileError* error) override {
        return folder.replace(path, bytes, error);
    }
    bool remove(const std::string& path, FileError* error) override {
        return folder.remove(path, error);
    }
    void claim(std::span<const std::string> paths) override {
        folder.log.push_back("claim");
        claimed.assign(paths.begin(), paths.end());
    }
};

TEST(Errore, ShowsTheCodeAfterTheLeadingBlank) {
    testing::FakePlatform platform;
    errore(platform, "1251");
    ASSERT_EQ(platform.calls.size(), 1u);
    EXPECT_EQ(platform.calls[0], "fatal: Errore n. 1251");
}

TEST(Driver, EmittersRunInOrderInsideTheWaitWindow) {
    testing::FakePlatform platform;
    testing::MemoryFileSystem fs;
    run_builder(platform, fs);
    ASSERT_GE(fs.log.size(), 5u);
    EXPECT_EQ(fs.log[0], "replace /scenario/Alvena_Sorbio_linea.txt");
    EXPECT_EQ(fs.log[1], "replace /scenario/Alvena_Sorbio_4271-.txt");
    EXPECT_EQ(fs.log[2], "replace /scenario/Alvena_Sorbio_4271_note.txt");
    EXPECT_EQ(fs.log[3], "replace /scenario/Alvena_Sorbio_4271_rallentamenti.txt");
    EXPECT_EQ(fs.log[4], "replace /scenario/Alvena_Sorbio_4271_scheda_treno.txt");
    EXPECT_EQ(platform.calls.front(), "show_wait");
    EXPECT_EQ(platform.calls.back(), "hide_wait");
}

// The claim comes before the first file is written and covers every file
// that the run writes or deletes, so that a second run waits and a killed
// run's temporary files of any of them are cleared away.
TEST(Driver, ClaimsEveryFileOfTheRunBeforeWritingAny) {
    testing::FakePlatform platform;
    ClaimRecorder fs;
    EXPECT_EQ(run_builder(platform, fs), kExitClean);
    ASSERT_FALSE(fs.folder.log.empty());
    EXPECT_EQ(fs.folder.log.front(), "claim");
    EXPECT_EQ(std::count(fs.folder.log.begin(), fs.folder.log.end(), "claim"), 1);
    EXPECT_EQ(fs.claimed, (std::vector<std::string>{
                              "/scenario/Alvena_Sorbio_linea.txt",
                              "/scenario/Alvena_Sorbio_4271-.txt",
                              "/scenario/Alvena_Sorbio_4271_note.txt",
                              "/scenario/Alvena_Sorbio_4271_rallentamenti.txt",
                              "/scenario/Alvena_Sorbio_4271_scheda_treno.txt",
                              "/scenario/Alvena_Sorbio_linea.dat",
                              "/scenario/Alvena_Sorbio_4271.sim",
                              "/scenario/Alvena_Sorbio_4271.dat",
                          }));
}

TEST(Driver, AFailedEmitterEndsTheRunWithStatusOne) {
    testing::FakePlatform platform;
    testing::MemoryFileSystem fs;
    fs.failing.insert("/scenario/Alvena_Sorbio_4271_note.txt");
    EXPECT_EQ(run_builder(platform, fs), kExitFatal);
    EXPECT_EQ(fs.log.size(), 3u);  // line, train, then the failing notes
    EXPECT_NE(std::find(platform.calls.begin(), platform.calls.end(),
                        "file:replace /scenario/Alvena_Sorbio_4271_note.txt"),
              platform.calls.end());
}

}  // namespace
}  // namespace scenario
