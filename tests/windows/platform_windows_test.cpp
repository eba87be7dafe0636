#include <gtest/gtest.h>

#include <string>

#include "app/disk.h"
#include "app/native_platform.h"
#include "app/wide_text.h"

namespace scenario {
namespace {

TEST(WideText, Utf8AndUtf16RoundTrip) {
    struct Row {
        std::string utf8;
        std::wstring wide;
    };
    const Row rows[] = {
        {"", L""},
        {"Alvena_Sorbio", L"Alvena_Sorbio"},
        {"citt\xc3\xa0", L"citt\u00e0"},            // two bytes, inside the ANSI page
        {"\xce\xa9\xe2\x82\xac", L"\u03a9\u20ac"},  // Greek omega, euro sign
        {"\xe6\x9d\xb1", L"\u6771"},                // three bytes
        {"\xf0\x9d\x84\x9e", L"\xd834\xdd1e"},      // four bytes: a surrogate pair
    };
    for (const Row& row : rows) {
        EXPECT_EQ(to_wide(row.utf8), row.wide) << row.utf8;
        EXPECT_EQ(to_utf8(row.wide), row.utf8) << row.utf8;
    }
}

TEST(WideText, SystemMessages) {
    const std::string known = system_message(2);  // ERROR_FILE_NOT_FOUND
    ASSERT_FALSE(known.empty());
    EXPECT_NE(known.back(), '\n');
    EXPECT_NE(known.back(), '\r');
    EXPECT_EQ(system_message(0xDEADBEEF), "system error 3735928559");
}

TEST(NativePlatformWindows, ProgramFolderHoldsTheRunningExecutable) {
    NativePlatform platform;
    const std::string folder = platform.program_folder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), '\\');
    DiskFileSystem disk;
    EXPECT_TRUE(disk.exists(folder + platform.separator() + "scenario_tests.exe")) << folder;
}

}  // namespace
}  // namespace scenario
