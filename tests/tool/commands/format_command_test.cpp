#include "tool/commands/format_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tool_fixture.h"

namespace scenario {
namespace {

constexpr const char* kLaidOut = "[generale]\r\nsabbia,    300\r\n";
constexpr const char* kBroken = "[generale]\r\n sabbia,300\r\n";

// One laid-out and one broken train file, and a line file laid out.
TEST(FormatCommand, ChecksOrWritesOnlyTheFilesThatChange) {
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* out;
        const char* b_after;
    };
    const Case cases[] = {
        {{"format", "--check", "A_1-.txt", "B_1-.txt", "A_linea.txt"},
         kExitFatal,
         "B_1-.txt\n",
         kBroken},
        {{"format", "--check", "A_1-.txt", "A_linea.txt"}, kExitClean, "", kBroken},
        {{"format", "A_1-.txt", "B_1-.txt"}, kExitClean, "formatted B_1-.txt\n", kLaidOut},
        // A name that says no kind of source, and a missing file: nothing is written.
        {{"format", "B_1-.txt", "notes.txt"}, kExitUsage, "", kBroken},
        {{"format", "B_1-.txt", "C_1-.txt"}, kExitUsage, "", kBroken},
    };
    for (const Case& c : cases) {
        testing::ToolRun tool;
        tool.fs.files = {{"A_1-.txt", kLaidOut},
                         {"B_1-.txt", kBroken},
                         {"A_linea.txt", "[generale]\r\nlunghezza percorso,    5000\r\n"},
                         {"notes.txt", kBroken}};
        EXPECT_EQ(tool.run(c.args), c.status) << c.args.size() << tool.err.str();
        EXPECT_EQ(tool.out.str(), c.out);
        EXPECT_EQ(tool.fs.files["B_1-.txt"], c.b_after);
        EXPECT_EQ(tool.fs.files["A_1-.txt"], kLaidOut);
        const std::vector<std::string> one_replace = {"replace B_1-.txt"};
        EXPECT_EQ(tool.fs.log, c.out[0] == 'f' ? one_replace : std::vector<std::string>{});
    }
}

}  // namespace
}  // namespace scenario
