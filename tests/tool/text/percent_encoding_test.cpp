#include "tool/text/percent_encoding.h"

#include <gtest/gtest.h>

namespace scenario {
namespace {

// A path from the root of any system becomes a file URI that names it,
// a drive letter's colon included; a relative path stays relative.
TEST(PercentEncoding, PathsBecomeUris) {
    const std::pair<std::string_view, std::string_view> rows[] = {
        {"mine/Alvena_Sorbio_linea.txt", "mine/Alvena_Sorbio_linea.txt"},
        {"/home/a b/x~y.txt", "file:///home/a%20b/x~y.txt"},
        {"C:\\Users\\x\\scenario\\A_linea.txt", "file:///C:/Users/x/scenario/A_linea.txt"},
        {"d:/CITT\xC0/A#1.txt", "file:///d:/CITT%C0/A%231.txt"},
        {"\\\\server\\share\\A_linea.txt", "file://server/share/A_linea.txt"},
        {"C:x.txt", "C%3Ax.txt"},  // relative to the drive's folder: no root
    };
    for (const auto& [path, uri] : rows)
        EXPECT_EQ(path_uri(path), uri) << path;
    EXPECT_EQ(percent_encoded("a/b c:%", "/"), "a/b%20c%3A%25");
}

}  // namespace
}  // namespace scenario
