#include "tool/commands/check_command.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "app/driver.h"
#include "content/embedded_texts.h"
#include "content/emitter.h"
#include "tool_fixture.h"

namespace scenario {
namespace {

constexpr std::string_view kLinea = "src/Alvena_Sorbio_linea.txt";
constexpr std::string_view kTreno = "src/Alvena_Sorbio_4271-.txt";

// One line of an embedded source, as an author would change it: the line
// that begins with `line` begins with `becomes` instead.
struct Edit {
    char file;  // 'l' the line file, 't' the train file
    std::string_view line;
    std::string_view becomes;
};

class CheckCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        tool.fs.files[std::string(kLinea)] = emit_text(testo_linea());
        tool.fs.files[std::string(kTreno)] = emit_text(testo_treno());
    }
    void edit(const Edit& e) {
        std::string& text = tool.fs.files[std::string(e.file == 'l' ? kLinea : kTreno)];
        std::size_t at = 0;
        if (text.rfind(std::string(e.line), 0) != 0) {
            at = text.find("\n" + std::string(e.line));
            ASSERT_NE(at, std::string::npos) << e.line;
            ++at;
        }
        text.replace(at, e.line.size(), e.becomes);
    }
    int check(std::vector<std::string> options = {}) {
        std::vector<std::string> args = {"check"};
        args.insert(args.end(), options.begin(), options.end());
        args.push_back("src");
        return tool.run(args);
    }
    // Whether the text output names `id` at the start of `line` of `file`.
    bool reports(std::string_view file, int line, std::string_view id) const {
        const std::string at = std::string(file) + ":" + std::to_string(line) + ":";
        const std::string tag = " [" + std::string(id) + "]";
        std::istringstream lines(tool.out.str());
        for (std::string l; std::getline(lines, l);) {
            if (l.rfind(at, 0) == 0 && l.size() > tag.size() &&
                l.compare(l.size() - tag.size(), tag.size(), tag) == 0)
                return true;
        }
        return false;
    }

    testing::ToolRun tool;
};

// Its timetable can be kept with the default train; three sections have
// less than the standard margin, which is worth a note.
TEST_F(CheckCommand, TheEmbeddedScenarioGivesNoErrorAndNoWarning) {
    EXPECT_EQ(check({"--json"}), kExitClean);
    const std::string out = tool.out.str();
    EXPECT_NE(out.find(R"("errors":0,"warnings":0,"notes":3,)"), std::string::npos) << out;
    for (const char* line : {R"("line":51,)", R"("line":72,)", R"("line":75,)"})
        EXPECT_NE(out.find(std::string(R"({"id":"margin-below-standard","severity":"note",)"
                                       R"("file":"src/Alvena_Sorbio_4271-.txt",)") +
                           line),
                  std::string::npos)
            << line;
    EXPECT_EQ(tool.err.str(), "");
}

// A folder with one line and one train of other names, as `import` leaves
// it, is checked without --line and --train; with two trains it is not.
TEST_F(CheckCommand, AFoldersOnlyScenarioNeedsNoNames) {
    tool.fs.files["src/Mia_linea.txt"] = tool.fs.files[std::string(kLinea)];
    tool.fs.files["src/Mia_7-.txt"] = tool.fs.files[std::string(kTreno)];
    tool.fs.files.erase(std::string(kLinea));
    tool.fs.files.erase(std::string(kTreno));
    EXPECT_EQ(check({"--json"}), kExitClean) << tool.out.str();
    EXPECT_NE(tool.out.str().find(R"("file":"src/Mia_7-.txt",)"), std::string::npos);
    tool.fs.files["src/Mia_8-.txt"] = tool.fs.files["src/Mia_7-.txt"];
    EXPECT_EQ(check(), kExitFatal);
    EXPECT_NE(tool.out.str().find("src/Alvena_Sorbio_linea.txt: error:"), std::string::npos);
}

TEST_F(CheckCommand, EachAuthorMistakeGivesItsDiagnosticAtItsLine) {
    struct Row {
        Edit edit;
        std::string_view file;  // where the diagnostic stands
        int line;
        std::string_view id;
    };
    const Row rows[] = {
        // A field deleted: the next line's keyword becomes the signal's `tempo`.
        {{'t', "segnale,   20900,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
          "segnale,   20900,   1, 5, 1,  0, 0,    0,  0,0, 0"},
         kTreno,
         88,
         "record-spans-lines"},
        {{'t', "orologio,    17              42            30 ", "orologio,    17   42"},
         kTreno,
         5,
         "record-spans-lines"},
        {{'t', "segnale,   20900,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
          "segnale,   20900,   1, 5, 1,  0, 0,    0,  0,0,0, 0, 7"},
         kTreno,
         88,
         "extra-fields"},
        // A comma inside a station name.
        {{'t', "stazione,    8550, 22,  300,  0, 0, 0,  0,0,0,  4,1,1,   30,  17,55, 0, CORNETA",
          "stazione,    8550, 22,  300,  0, 0, 0,  0,0,0,  4,1,1,   30,  17,55, 0, CORNETA, EST"},
         kTreno,
         49,
         "extra-fields"},
        {{'l', "cartello_indicatore,  2400,   (  BIVIO   )(MORTELLETO)",
          "cartello_indicatore,  2400,   (  BIVIO   ), (MORTELLETO)"},
         kLinea,
         304,
         "extra-fields"},
        {{'t', "segnale,   20900,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
          "segnal,   20900,   1, 5, 1,  0, 0,    0,  0,0,0, 0"},
         kTreno,
         88,
         "unknown-keyword"},
        {{'l', "lunghezza percorso,    101000", "lunghezza,    101000"},
         kLinea,
         2,
         "unknown-keyword"},
        {{'l', "pendenza,  550,   6", "sfondo uno,  550"}, kLinea, 138, "misplaced-record"},
        {{'l', "sfondo due,    1", "pendenza,  100,   2"}, kLinea, 7, "misplaced-record"},
        {{'t', "numero vetture,    3", "numero vetture stazione,    3"},
         kTreno,
         2,
         "two-record-kinds"},
        {{'l', "curvad5,  650,  550", "pendenza curva5,  650,  550"},
         kLinea,
         11,
         "two-record-kinds"},
        {{'l', "curvad5,  650,  550", "curvad5 s,  650,  550"}, kLinea, 11, "curve-stray-s"},
        {{'l', "curvad5,  650,  550", "curvad52,  650,  550"}, kLinea, 11, "curve-class-digits"},
        {{'t', "[aderenze]", "- aderenze, in per cento"}, kTreno, 6, "comment-with-comma"},
        {{'l', "- Altitudine iniziale Alvena P.Nuova = 46 m.", "- Altitudine iniziale, 46 m."},
         kLinea,
         136,
         "comment-with-comma"},
        {{'t', "[codici]", "- uno\r\n- due\r\n- tre"}, kTreno, 122, "comment-taken-as-keyword"},
        {{'t', "velocita,     700,    75", "velocita,     700,    7O"}, kTreno, 27, "not-a-number"},
        {{'t', "velocita,    1300,    90", "velocita,    1300,    12.5"},
         kTreno,
         28,
         "not-a-number"},
        {{'t', "aderenza,    9900,    80", "aderenza,    1.000,    80"}, kTreno, 8, "not-a-number"},
        {{'t', "stazione,    8550, 22,", "stazione,    8550, 99,"},
         kTreno,
         49,
         "value-out-of-range"},
        {{'l', "pendenza,  550,   6", "pendenza,  550,   200"}, kLinea, 138, "value-out-of-range"},
        {{'t', "segnale,    1250,   2, 5, 6,", "segnale,    1250,   3, 5, 6,"},
         kTreno,
         78,
         "value-out-of-range"},
        {{'t', "segnale,   20900,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
          "segnale,   20900,   1, 5, 1,  0, 0,    0,  12,0,0, 0"},
         kTreno,
         88,
         "value-out-of-range"},
        {{'t', "aderenza,    9900,    80", "aderenza,    9900,    300"},
         kTreno,
         8,
         "value-truncated"},
        {{'t', "segnale,    1250,   2, 5, 6,  0, 0,    2,  1,0,0, 0",
          "segnale,    1250,   2, 5, 6,  0, 0,    2,  1,0,0, 300"},
         kTreno,
         78,
         "value-truncated"},
        // A stop point laid over a board of the line file, and marks over a station's.
        {{'l', "indicatori_vmax,  14350,", "indicatori_vmax,  8600,"},
         kTreno,
         49,
         "stop-replaces-object"},
        {{'t', "segnale,   16400,", "segnale,    8650,"}, kTreno, 86, "mark-replaces-mark"},
        {{'t', "velocita,    2300,    60", "velocita,    1200,    60"},
         kTreno,
         29,
         "rows-out-of-order"},
        {{'l', "pendenza,  2500,   18", "pendenza,  500,   18"}, kLinea, 139, "rows-out-of-order"},
        {{'l', "curvas5,  1450,  400", "curvas5,  1150,  400"}, kLinea, 12, "rows-out-of-order"},
        {{'t', "[fine]", "[fin]"}, kTreno, 121, "last-field-not-fine"},
        {{'l', "[fine]", ""}, kLinea, 353, "last-field-not-fine"},
        {{'t', "[generale]", "[generali]"}, kTreno, 1, "no-generale"},
        {{'t', "velocita,     700,    75", "velocita,     700,    72"},
         kTreno,
         27,
         "speed-rounded"},
        {{'t', "aderenza,    9900,    80", "aderenza,    9925,    80"},
         kTreno,
         8,
         "position-rounded"},
        {{'t', "segnale,    1250,   2, 5, 6,  0, 0,    2,  1,0,0, 0",
          "segnale,    1250,   2, 5, 6,  0, 0,    2,  1,0,0, 50"},
         kTreno,
         78,
         "tempo-raised"},
        // Recorded codes, each at the field that causes it.
        {{'t', "stazione,    8550,", "stazione,    8560,"}, kTreno, 49, "recorded-code"},
        {{'t', "stazione,  100750,  2,  700,", "stazione,  100750,  2,  750,"},
         kTreno,
         75,
         "recorded-code"},
        {{'t', "segnale,   99800,", "segnale,   109800,"}, kTreno, 119, "recorded-code"},
        {{'t', "velocita,    1300,    90", "velocita,    1300,    1500"},
         kTreno,
         28,
         "recorded-code"},
        {{'t', "stazione,    8550, 22,", "stazione,    8550, 300,"}, kTreno, 49, "recorded-code"},
        {{'t', "[fine]", "segnale,   99900,   1"}, kTreno, 121, "recorded-code"},
        {{'l', "curvad5,  650,  550", "curvad,  650,  550"}, kLinea, 11, "recorded-code"},
        {{'l', "progressiva chilometrica due,    2450,", "progressiva chilometrica due,    2460,"},
         kLinea,
         4,
         "recorded-code"},
    };
    for (const Row& row : rows) {
        SetUp();
        edit(row.edit);
        check();
        EXPECT_TRUE(reports(row.file, row.line, row.id)) << row.edit.becomes << "\n"
                                                         << tool.out.str();
    }
}

// A recorded code stops the compile; the checks go on to the end of both files.
TEST_F(CheckCommand, FindsWhatFollowsARecordedCode) {
    edit({'t', "stazione,    8550,", "stazione,    8560,"});
    edit({'t', "segnale,   20900,", "segnal,   20900,"});
    edit({'t', "segnale,   99800,", "segnale,   109800,"});
    edit({'t', "segnale,    1250,   2, 5, 6,", "segnale,    1250,   2, 5, 6000,"});
    edit({'t', "segnale,   16400,", "segnale,     300,"});
    edit({'t', "[codici]", "[codici]\r\nrallentamento,  106000,  60,  3000,  1,  1,  0"});
    EXPECT_EQ(check(), kExitRecorded);
    EXPECT_TRUE(reports(kTreno, 49, "recorded-code"));
    EXPECT_TRUE(reports(kTreno, 78, "value-truncated"));
    EXPECT_TRUE(reports(kTreno, 88, "unknown-keyword"));
    EXPECT_TRUE(reports(kTreno, 119, "beyond-route"));
    // Records the compile would refuse for writing outside the route.
    EXPECT_TRUE(reports(kTreno, 86, "reaches-off-route"));
    EXPECT_TRUE(reports(kTreno, 121, "reaches-off-route"));
}

TEST_F(CheckCommand, PrintsEachDiagnosticWithItsSourceLineAndACaretUnderTheField) {
    edit({'t', "segnale,   20900,   1, 5, 1,  0, 0,    0,  0,0,0, 0",
          "segnale,   20900,   1, 5, 1,  0, 0,    0,  0,0, 0"});
    edit({'t', "velocita,     700,    75", "velocita,     700,\t7O"});
    edit({'t', "stazione,    8550,", "stazione,    8560,"});
    EXPECT_EQ(check(), kExitRecorded);
    EXPECT_EQ(tool.out.str(),
              "src/Alvena_Sorbio_4271-.txt:27:20: warning: speed limit at 700 m: `7O` is not a "
              "number, so `velocita` reads 0 [not-a-number]\n"
              "velocita,     700,\t7O\n"
              "                  \t^~\n"
              "src/Alvena_Sorbio_4271-.txt:49:14: error: code 8: station position is not a "
              "multiple of 50, at 8560 m [recorded-code]\n"
              "stazione,    8560, 22,  300,  0, 0, 0,  0,0,0,  4,1,1,   30,  17,55, 0, CORNETA\n"
              "             ^~~~\n"
              "  hint: station at 8560 m: `posizione` 8560 is not a multiple of 50 (code 8)\n"
              "src/Alvena_Sorbio_4271-.txt:88:1: warning: signal at 20900 m: 10 value fields on "
              "its line, 11 expected; the next line's `segnale` was read as `tempo` "
              "[record-spans-lines]\n"
              "segnale,   20900,   1, 5, 1,  0, 0,    0,  0,0, 0\n"
              "^~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~\n"
              "1 error, 2 warnings\n");
}

TEST_F(CheckCommand, ColoursOnlyWhenAsked) {
    edit({'t', "velocita,     700,    75", "velocita,     700,    7O"});
    tool.colour = true;
    check();
    EXPECT_EQ(tool.out.str().rfind("\x1b[1msrc/Alvena_Sorbio_4271-.txt:27:23:\x1b[0m "
                                   "\x1b[1;35mwarning:\x1b[0m speed limit",
                                   0),
              0u);
}

TEST_F(CheckCommand, ExitStatusTellsErrorsFromWarningsAndFromNothingCompiled) {
    struct Row {
        Edit edit;
        std::vector<std::string> options;
        int status;
    };
    const Edit kWarning{'t', "velocita,     700,    75", "velocita,     700,    7O"};
    const Row rows[] = {
        {kWarning, {}, kExitClean},
        {kWarning, {"--werror"}, kExitRecorded},
        {{'t', "velocita,     700,    75", "velocita,     700,    70"}, {"--werror"}, kExitClean},
        {{'t', "stazione,    8550,", "stazione,    8560,"}, {}, kExitRecorded},
        {{'l', "lunghezza percorso,    101000", "lunghezza,    101000"}, {}, kExitFatal},
        {kWarning, {"--json", "--sarif"}, kExitUsage},
    };
    for (const Row& row : rows) {
        SetUp();
        edit(row.edit);
        EXPECT_EQ(check(row.options), row.status) << row.edit.becomes;
    }
    tool.fs.files.erase(std::string(kTreno));
    EXPECT_EQ(check(), kExitFatal);
    EXPECT_EQ(tool.out.str(),
              "src/Alvena_Sorbio_4271-.txt: error: the train source file is missing "
              "[missing-source]\n1 error, 0 warnings\n");
}

TEST_F(CheckCommand, JsonHoldsEveryDiagnosticAsData) {
    edit({'t', "velocita,     700,    75", "velocita,     700,    7O"});
    EXPECT_EQ(check({"--json"}), kExitClean);
    EXPECT_EQ(tool.out.str(),
              R"({"diagnostics":[{"id":"not-a-number","severity":"warning",)"
              R"("file":"src/Alvena_Sorbio_4271-.txt","line":27,"column":23,"end_line":27,)"
              R"("end_column":25,"message":"speed limit at 700 m: `7O` is not a number, so )"
              R"(`velocita` reads 0","hint":null,"fixes":[{"title":"Replace `7O` with `70`",)"
              R"("certain":true,"file":"src/Alvena_Sorbio_4271-.txt","edits":[{"line":27,)"
              R"("column":23,"end_line":27,"end_column":25,"text":"70"}]}]},)"
              // A speed of 0 stops the run there.
              R"({"id":"run-blocked","severity":"warning","file":"src","line":null,"column":null,)"
              R"("end_line":null,"end_column":null,"message":"the train cannot go past 700 m: )"
              R"(the limit there is 0 km/h","hint":null}],"errors":0,"warnings":2,"notes":0,)"
              R"("exit_status":0})"
              "\n");
}

TEST_F(CheckCommand, SarifNamesEveryRuleAndLocatesEachResult) {
    edit({'t', "velocita,     700,    75", "velocita,     700,    7O"});
    EXPECT_EQ(check({"--sarif"}), kExitClean);
    const std::string sarif = tool.out.str();
    EXPECT_EQ(sarif.rfind(R"({"$schema":"https://json.schemastore.org/sarif-2.1.0.json",)"
                          R"("version":"2.1.0",)",
                          0),
              0u);
    EXPECT_NE(sarif.find(R"({"id":"record-spans-lines","shortDescription":)"), std::string::npos);
    EXPECT_NE(sarif.find(R"("ruleId":"not-a-number","ruleIndex":20,"level":"warning",)"),
              std::string::npos);
    EXPECT_NE(sarif.find(R"("artifactLocation":{"uri":"src/Alvena_Sorbio_4271-.txt"},)"
                         R"("region":{"startLine":27,"startColumn":23,"endLine":27,)"
                         R"("endColumn":25})"),
              std::string::npos);
}

TEST_F(CheckCommand, CompilePrintsTheSameDiagnosticsBeforeItsReport) {
    edit({'t', "velocita,     700,    75", "velocita,     700,    7O"});
    check();
    const std::string diagnostics = tool.out.str();
    tool.run({"compile", "--out", "out", "src"});
    EXPECT_EQ(tool.err.str(), diagnostics);
    EXPECT_EQ(tool.out.str().rfind("wrote out/Alvena_Sorbio_linea.dat\n", 0), 0u);
}

// The timetable set against the run of the train, with the folder's own
// stock file or the one --stock names.
TEST_F(CheckCommand, TheTimetableIsSetAgainstTheRun) {
    const std::string kStock = "src/Alvena_Sorbio_4271_stock.toml";
    const std::string kDorsia =
        "stazione,   22500, 22,  300,  0, 0, 0,  0,0,0,  4,1,1,   60,  18, 9, 0, DORSIA";
    struct Row {
        Edit edit;
        std::string stock;  // the folder's stock file; none when empty
        std::string_view file;
        int line;
        std::string_view id;
        std::string_view says;
    };
    const Row rows[] = {
        // Three minutes earlier: the fastest run from Borgo Ferrante and the
        // stop give 18:07:19.
        {{'t', kDorsia,
          "stazione,   22500, 22,  300,  0, 0, 0,  0,0,0,  4,1,1,   60,  18, 6, 0, DORSIA"},
         "",
         kTreno,
         53,
         "timetable-too-tight",
         "the departure at 18:06:00 is 79 s earlier than the train can make it, 18:07:19"},
        {{'t', kDorsia,
          "stazione,   22500, 22,  300,  0, 0, 0,  0,0,0,  4,1,1,   60,  17,59, 0, DORSIA"},
         "",
         kTreno,
         53,
         "timetable-not-increasing",
         "its time 17:59:00 is not after 18:01:00"},
        {{'t', kDorsia, kDorsia},
         "mass = 300\n[effort]\npoints = [[0, 100], [50, 100]]\nspeed = 3\n",
         "src/Alvena_Sorbio_4271_stock.toml",
         4,
         "stock-problem",
         "unknown key"},
        // Too weak to climb: the run stops, and nothing after it is judged.
        {{'t', kDorsia, kDorsia},
         "[effort]\npoints = [[0, 20], [10, 20]]\n",
         "src",
         0,
         "run-blocked",
         "the train cannot move on at"},
    };
    for (const Row& row : rows) {
        SetUp();
        tool.fs.files.erase(kStock);
        if (!row.stock.empty()) tool.fs.files[kStock] = row.stock;
        edit(row.edit);
        check();
        const std::string at =
            std::string(row.file) + (row.line > 0 ? ":" + std::to_string(row.line) + ":" : ": ");
        const std::size_t found = tool.out.str().find(at);
        ASSERT_NE(found, std::string::npos) << row.id << "\n" << tool.out.str();
        const std::string line =
            tool.out.str().substr(found, tool.out.str().find('\n', found) - found);
        EXPECT_NE(line.find(std::string(row.says)), std::string::npos) << line;
        EXPECT_NE(line.find("[" + std::string(row.id) + "]"), std::string::npos) << line;
    }
}

// The four mistakes of docs/authoring-tool.md and a train file cut before its
// [fine]: --fix makes the five certain repairs, says each, and the files are the
// embedded ones again. The timetable is an author's choice: left alone.
TEST_F(CheckCommand, FixMakesTheCertainRepairsInTheFiles) {
    edit({'l', "cartello_indicatore,  5650", "cartelo_indicatore,  5650"});
    edit({'t', "velocita,    1300,    90", "velocita,    1300,    9O"});
    edit({'t', "stazione,   22500,", "stazione,   22525,"});
    edit({'t', "segnale,   20900,", "segnal,   20900,"});
    std::string& treno = tool.fs.files[std::string(kTreno)];
    treno.erase(treno.rfind("[fine]\r\n"));
    EXPECT_EQ(check({"--json"}), kExitRecorded);
    EXPECT_NE(tool.out.str().find(R"("fixes":[{"title":"Replace `segnal` with `segnale`",)"
                                  R"("certain":true,"file":"src/Alvena_Sorbio_4271-.txt",)"
                                  R"("edits":[{"line":88,"column":1,"end_line":88,)"
                                  R"("end_column":7,"text":"segnale"}]}])"),
              std::string::npos)
        << tool.out.str();
    EXPECT_EQ(check({"--fix"}), kExitClean);
    const std::string out = tool.out.str();
    EXPECT_EQ(out.substr(0, out.find("src/Alvena_Sorbio_4271-.txt:51:63: note")),
              "fixed src/Alvena_Sorbio_linea.txt:306:1: Replace `cartelo_indicatore` with "
              "`cartello_indicatore` [unknown-keyword]\n"
              "fixed src/Alvena_Sorbio_4271-.txt:28:23: Replace `9O` with `90` [not-a-number]\n"
              "fixed src/Alvena_Sorbio_4271-.txt:53:13: Replace 22525 with 22500 "
              "[recorded-code]\n"
              "fixed src/Alvena_Sorbio_4271-.txt:88:1: Replace `segnal` with `segnale` "
              "[unknown-keyword]\n"
              "fixed src/Alvena_Sorbio_4271-.txt:120:1: Add the line [fine] at the end "
              "[last-field-not-fine]\n");
    EXPECT_EQ(tool.fs.files[std::string(kLinea)], emit_text(testo_linea()));
    EXPECT_EQ(treno, emit_text(testo_treno()));
}

}  // namespace
}  // namespace scenario
