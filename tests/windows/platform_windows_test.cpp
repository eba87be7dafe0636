#include <gtest/gtest.h>

#include <string>

#include "app/disk.h"
#include "app/module_folder.h"
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

TEST(ModuleFolder, CutsBeforeTheFileName) {
    struct Row {
        std::wstring_view module_path;
        std::wstring_view folder;
    };
    const Row rows[] = {
        {L"C:\\Treni\\scenario_builder.exe", L"C:\\Treni"},
        {L"C:\\scenario_builder.exe", L"C:\\"},  // a root folder keeps its separator
        {L"D:\\a\\b\\c.exe", L"D:\\a\\b"},
        {L"\\\\server\\share\\c.exe", L"\\\\server\\share"},  // a network share
        {L"Z:/tmp/c.exe", L"Z:/tmp"},                         // forward slashes
        {L"c.exe", L""},                                      // no folder at all
    };
    for (const Row& row : rows) {
        EXPECT_EQ(module_folder(row.module_path), row.folder) << to_utf8(row.module_path);
    }
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
