// `explain` finds a code by its number, a diagnostic by its identifier and a
// record by any keyword that selects it; anything else is a usage error.
#include "tool/commands/explain_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tool_fixture.h"

namespace scenario {
namespace {

TEST(ExplainCommand, NamesWhatEachWordStandsFor) {
    const struct {
        std::vector<std::string> words;
        int status;
        std::vector<std::string> said;  // lines that begin the answer, in order
    } cases[] = {
        {{"16"}, kExitClean, {"code 16: signal on a cell that is not free"}},
        {{"1251"}, kExitClean, {"code 1251: check code places already in use"}},
        {{"record-spans-lines"}, kExitClean, {"record-spans-lines: warning: a record's value"}},
        {{"tempo-raised"}, kExitClean, {"tempo-raised: note: a time value of 1 to 100"}},
        // Whether it has a quick fix, and what that does.
        {{"unknown-keyword", "record-spans-lines"},
         kExitClean,
         {"  Quick fix: replace the keyword with the record keyword nearest in spelling",
          "  Quick fix: none; the repair is the author's."}},
        // A keyword as an author writes it, in any letter case the compiler takes.
        {{"STAZIONE"}, kExitClean, {"station (train file): a station with its timetable"}},
        {{"curvas6"}, kExitClean, {"curve (line file, body): a curve"}},
        // A word shared by three kinds gives all three.
        {{"progressiva"},
         kExitClean,
         {"kilometric reference tre", "kilometric reference due", "kilometric reference uno"}},
        // Several words: one answer after another.
        {{"8", "not-a-number"}, kExitClean, {"code 8:", "not-a-number: warning:"}},
        // Header words are matched in lower case only.
        {{"Progressiva"}, kExitUsage, {}},
        {{"14"}, kExitUsage, {}},
        {{"frobnicate"}, kExitUsage, {}},
        {{"16", "frobnicate"}, kExitUsage, {}},
        {{}, kExitUsage, {}},
    };
    testing::ToolRun tool;
    for (const auto& c : cases) {
        std::vector<std::string> args = {"explain"};
        args.insert(args.end(), c.words.begin(), c.words.end());
        const std::string name = c.words.empty() ? "(none)" : c.words[0];
        EXPECT_EQ(tool.run(args), c.status) << name;
        const std::string out = tool.out.str();
        std::size_t at = 0;
        for (const std::string& line : c.said) {
            at = out.find(line, at);
            EXPECT_NE(at, std::string::npos) << name << ": " << line << "\n" << out;
        }
        if (c.status == kExitUsage) {
            EXPECT_EQ(out, "") << name;
            EXPECT_EQ(tool.err.str().rfind("scenario_tool explain: ", 0), 0u) << name;
        }
    }
}

}  // namespace
}  // namespace scenario
