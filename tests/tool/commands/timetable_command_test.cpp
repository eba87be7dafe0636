#include "tool/commands/timetable_command.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "content/embedded_texts.h"
#include "content/emitter.h"
#include "tool_fixture.h"

namespace scenario {
namespace {

constexpr std::string_view kTreno = "src/Alvena_Sorbio_4271-.txt";

class TimetableCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        tool.fs.files["src/Alvena_Sorbio_linea.txt"] = emit_text(testo_linea());
        tool.fs.files[std::string(kTreno)] = emit_text(testo_treno());
    }
    std::string& treno() { return tool.fs.files[std::string(kTreno)]; }

    testing::ToolRun tool;
};

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);)
        lines.push_back(l);
    return lines;
}

// Dorsia three minutes too early, then drafted and written: `check` finds no
// timetable diagnostic (nor the standard margin's notes), only time fields
// changed, and a second draft is the first.
TEST_F(TimetableCommand, TheWrittenDraftPassesTheChecks) {
    const std::string dorsia = "  60,  18, 9, 0, DORSIA";
    treno().replace(treno().find(dorsia), dorsia.size(), "  60,  18, 6, 0, DORSIA");
    const std::string before = treno();
    ASSERT_EQ(tool.run({"timetable", "--write", "src"}), kExitClean) << tool.err.str();
    EXPECT_NE(tool.out.str().find("DORSIA                   stop   18:06:00   18:06:00  0\n"),
              std::string::npos)
        << tool.out.str();
    EXPECT_NE(tool.out.str().find("wrote src/Alvena_Sorbio_4271-.txt\n"), std::string::npos);
    const std::vector<std::string> was = lines_of(before);
    const std::vector<std::string> now = lines_of(treno());
    ASSERT_EQ(was.size(), now.size());
    int changed = 0;
    for (std::size_t i = 0; i < was.size(); ++i) {
        if (was[i] == now[i]) continue;
        ++changed;
        // Every field kept its width: the name stands where it stood.
        EXPECT_EQ(was[i].rfind("stazione,", 0), 0u) << was[i];
        EXPECT_EQ(was[i].size(), now[i].size()) << now[i];
        EXPECT_EQ(was[i].substr(0, 60), now[i].substr(0, 60)) << now[i];
    }
    EXPECT_EQ(changed, 14);
    EXPECT_EQ(tool.run({"check", "--json", "src"}), kExitClean);
    EXPECT_NE(tool.out.str().find(R"("errors":0,"warnings":0,"notes":0,)"), std::string::npos)
        << tool.out.str();
    EXPECT_EQ(tool.run({"timetable", "--write", "src"}), kExitClean);
    EXPECT_NE(tool.out.str().find("src/Alvena_Sorbio_4271-.txt has these times already\n"),
              std::string::npos);
}

TEST_F(TimetableCommand, OptionsOutOfShapeAreUsageErrors) {
    for (std::vector<std::string> args : {
             std::vector<std::string>{"--margin", "some"},
             {"--margin", "-3"},
             {"--margin", "101"},
             {"--depart", "1740"},
             {"--depart", "17:6"},
             {"--depart", "17:60"},
         }) {
        args.insert(args.begin(), "timetable");
        args.push_back("src");
        EXPECT_EQ(tool.run(args), kExitUsage) << args[1] << ' ' << args[2];
    }
    // Midnight is no time: a station without one is passed.
    EXPECT_EQ(tool.run({"timetable", "--depart", "0:00", "src"}), kExitFatal);
}

// A draft that runs past midnight would give hours the train file cannot
// hold: it is shown, and not written.
TEST_F(TimetableCommand, ADraftPastMidnightIsNotWritten) {
    const std::string before = treno();
    EXPECT_EQ(tool.run({"timetable", "--depart", "23:50", "--write", "src"}), kExitFatal);
    EXPECT_NE(tool.err.str().find("passes midnight (BORGO FERRANTE at 24:06:00)"), std::string::npos)
        << tool.err.str();
    EXPECT_EQ(treno(), before);
}

}  // namespace
}  // namespace scenario
