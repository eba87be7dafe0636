#include "tool/commands/compile_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/driver.h"
#include "support/embedded_build.h"
#include "support/fake_platform.h"
#include "tool_fixture.h"

namespace scenario {
namespace {

// A line of 1000 m with a speed board at 700 m.
constexpr std::string_view kLinea =
    "[generale]\r\n"
    "lunghezza percorso,   1000\r\n"
    "[cartelli]\r\n"
    "indicatori_vmax,  700,  65,  70,  75,  0,  ,  ,  ,  0\r\n"
    "[fine]\r\n";

// A station at 0, whose stop point lies on cell 9, and a signal.
constexpr std::string_view kTreno =
    "[generale]\r\n"
    "velocita,   0,    30\r\n"
    "stazione,       0,  8,  500,  0, 0, 0,  1,1,0,  4,1,1,    1,  17,43, 0, PRIMA\r\n"
    "segnale,    2150,   2, 2, 4,  1, 1,    2,  1,1,0, 0\r\n"
    "[fine]\r\n";

class CompileCommand : public ::testing::Test {
  protected:
    void put_sources(std::string_view linea, std::string_view treno) {
        tool.fs.files["src/L_linea.txt"] = std::string(linea);
        tool.fs.files["src/L_7-.txt"] = std::string(treno);
    }
    int compile(std::vector<std::string> options = {}) {
        std::vector<std::string> args = {"compile", "--line", "L", "--train", "7", "src"};
        args.insert(args.end(), options.begin(), options.end());
        return tool.run(args);
    }

    testing::ToolRun tool;
};

TEST_F(CompileCommand, ReportsTheCodeAndTheSourceLineOfTheRecordThatCausedIt) {
    struct Row {
        std::string linea;
        std::string treno;
        int status;
        std::string report;
    };
    const Row rows[] = {
        // A name board on the speed board's cell: line file, line 5.
        {std::string(kLinea.substr(0, kLinea.size() - 8)) +
             "cartello_indicatore,  700,  (PRIMA) (120 m.)\r\n[fine]\r\n",
         std::string(kTreno), kExitRecorded,
         "src/L_linea.txt:5: code 6: indicator sign on a cell that is not free, at 700 m\n"},
        // A signal on the station's stop point: train file, line 5.
        {std::string(kLinea),
         std::string(kTreno.substr(0, kTreno.size() - 8)) +
             "segnale,    400,   1, 5, 1,  0, 0,    0,  0,0,0, 0\r\n[fine]\r\n",
         kExitRecorded, "src/L_7-.txt:5: code 16: signal on a cell that is not free, at 400 m\n"},
        // A code without position still names its record.
        {"[generale]\r\nlunghezza percorso,   1000\r\nripetizione segnali 5 codici, 100, 2000\r\n"
         "[fine]\r\n",
         std::string(kTreno), kExitRecorded,
         "src/L_linea.txt:3: code 5: signal-repetition keyword has neither 4 nor 9\n"},
        // No route: nothing is written and the run fails.
        {"lunghezza percorso,   1000\r\n", std::string(kTreno), kExitFatal,
         "src/L_linea.txt: code 102: no [generale] line in the line source file\n"
         "fatal: the compile created no route: nothing written\n"},
        // Three signals fill the first band before a slowdown: a code of the
        // route pass, which names a position on the route and no source line.
        {std::string(kLinea),
         "[generale]\r\n"
         "segnale, 2650, 1,5,1, 0, 0, 0, 0,0,0, 0\r\n"
         "segnale, 2700, 1,5,1, 0, 0, 0, 0,0,0, 0\r\n"
         "segnale, 2750, 1,5,1, 0, 0, 0, 0,0,0, 0\r\n"
         "rallentamento, 3000, 60, 500, 1, 0, 0\r\n"
         "[fine]\r\n",
         kExitRecorded, "code 12: no free cell in a band before a slowdown, at 3050 m\n"},
    };
    for (const Row& row : rows) {
        put_sources(row.linea, row.treno);
        EXPECT_EQ(compile(), row.status) << row.report;
        // The report closes what the compile prints, after the diagnostics.
        const std::string err = tool.err.str();
        EXPECT_EQ(err.substr(err.size() - std::min(err.size(), row.report.size())), row.report);
    }
}

TEST_F(CompileCommand, JsonGivesCodePositionMeaningSourceAndFilesWritten) {
    put_sources(kLinea, std::string(kTreno.substr(0, kTreno.size() - 8)) +
                            "segnale,    400,   1, 5, 1,  0, 0,    0,  0,0,0, 0\r\n[fine]\r\n");
    EXPECT_EQ(compile({"--json", "--out", "out", "--no-geometry"}), kExitRecorded);
    EXPECT_EQ(tool.out.str(),
              R"({"status":"written","exit_status":2,"code":16,)"
              R"("meaning":"signal on a cell that is not free","position":400,)"
              R"("file":"src/L_7-.txt","line":5,"written":["out/L_7.sim","out/L_7.dat"],)"
              R"("fatal":null,"diagnostics":[{"id":"recorded-code","severity":"error",)"
              R"("file":"src/L_7-.txt","line":5,"column":1,"end_line":5,"end_column":51,)"
              R"("message":"code 16: signal on a cell that is not free, at 400 m","hint":null}],)"
              R"("errors":1,"warnings":0,"notes":0})"
              "\n");
    EXPECT_EQ(tool.err.str(), "");
}

TEST_F(CompileCommand, LeavesTheSourcesAndWritesIntoTheOutputFolder) {
    put_sources(kLinea, kTreno);
    EXPECT_EQ(compile({"--out", "out/"}), kExitClean);
    EXPECT_EQ(tool.out.str(), "wrote out/L_linea.dat\nwrote out/L_7.sim\nwrote out/L_7.dat\n");
    EXPECT_EQ(tool.fs.files.size(), 5u);
    EXPECT_EQ(tool.fs.files["src/L_linea.txt"], kLinea);
    EXPECT_EQ(tool.fs.files["src/L_7-.txt"], kTreno);
    EXPECT_EQ(tool.fs.files["out/L_7.dat"].size(), 161u * 15u);
}

TEST_F(CompileCommand, AFileThatCannotBeWrittenEndsTheRunWithStatus1) {
    put_sources(kLinea, kTreno);
    tool.fs.failing.insert("out/L_7.sim");
    EXPECT_EQ(compile({"--out", "out"}), kExitFatal);
    EXPECT_EQ(tool.out.str(), "wrote out/L_linea.dat\n");
    EXPECT_EQ(tool.err.str(), "fatal: cannot replace 'out/L_7.sim': Permission denied\n");
}

TEST_F(CompileCommand, CompilesTheEmbeddedSourcesToTheBuildersFiles) {
    testing::FakePlatform platform;
    testing::MemoryFileSystem builder_fs;
    ASSERT_EQ(run_builder(platform, builder_fs), kExitClean);
    testing::EmbeddedBuild& b = testing::embedded_build();
    tool.fs.files["./Alvena_Sorbio_linea.txt"] = b.linea_txt;
    tool.fs.files["./Alvena_Sorbio_4271-.txt"] = b.treno_txt;

    EXPECT_EQ(tool.run({"compile"}), kExitClean);
    for (const char* name :
         {"Alvena_Sorbio_linea.dat", "Alvena_Sorbio_4271.sim", "Alvena_Sorbio_4271.dat"}) {
        EXPECT_TRUE(tool.fs.files["./" + std::string(name)] ==
                    builder_fs.files["/scenario/" + std::string(name)])
            << name;
    }
    EXPECT_EQ(tool.fs.files["./Alvena_Sorbio_linea.txt"], b.linea_txt);
    EXPECT_EQ(tool.fs.files["./Alvena_Sorbio_4271-.txt"], b.treno_txt);
}

TEST_F(CompileCommand, AMistakeOnTheCommandLineIsOneLineAndStatus64) {
    put_sources(kLinea, kTreno);
    struct Row {
        std::vector<std::string> args;
        std::string message;
    };
    const Row rows[] = {
        {{"compile", "--lines", "L"}, "unknown option '--lines'"},
        {{"compile", "--train"}, "option '--train' needs a value"},
        {{"compile", "--json=yes"}, "option '--json' takes no value"},
        {{"compile", "src", "out"}, "more than one folder named"},
        {{"compile", "--line", "L", "--train", "7", "--out", "elsewhere", "src"},
         "no output folder 'elsewhere'"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(tool.run(row.args), kExitUsage);
        EXPECT_EQ(tool.err.str(), "scenario_tool compile: " + row.message +
                                      " (see 'scenario_tool compile --help')\n");
    }
    EXPECT_EQ(tool.fs.files.size(), 2u);  // nothing was written
}

// Nothing can be compiled without both sources: status 1, as `check` gives.
TEST_F(CompileCommand, AMissingSourceFileCompilesNothing) {
    put_sources(kLinea, kTreno);
    const struct {
        std::vector<std::string> args;
        std::string message;
    } rows[] = {
        // The default line finds no sources in this folder.
        {{"compile", "--train", "9", "src"}, "no line source file 'src/Alvena_Sorbio_linea.txt'"},
        {{"compile", "--line", "L", "src"}, "no train source file 'src/L_4271-.txt'"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(tool.run(row.args), kExitFatal);
        EXPECT_EQ(tool.err.str(),
                  "scenario_tool compile: " + row.message + ": nothing is compiled\n");
    }
    EXPECT_EQ(tool.fs.files.size(), 2u);
}

}  // namespace
}  // namespace scenario
