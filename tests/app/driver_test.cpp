#include "app/driver.h"

#include <gtest/gtest.h>

#include "support/fake_platform.h"
#include "support/memory_file_system.h"

namespace scenario {
namespace {

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
