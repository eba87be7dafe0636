#include "tool/commands/dump_command.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "support/embedded_build.h"
#include "tool_fixture.h"

namespace scenario {
namespace {

// The lines of `text` in order.
std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class DumpCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::EmbeddedBuild& b = testing::embedded_build();
        tool.fs.files["A.sim"] = b.table();
        tool.fs.files["A.dat"] = b.route();
        tool.fs.files["A_linea.dat"] = b.geometry();
    }
    testing::ToolRun tool;
};

TEST_F(DumpCommand, TextNamesEveryFieldOfTheEmbeddedTable) {
    ASSERT_EQ(tool.run({"dump", "A.sim"}), kExitClean);
    const std::vector<std::string> lines = lines_of(tool.out.str());
    ASSERT_EQ(lines.size(), 1u + 87u);
    EXPECT_EQ(lines[0], "table file: 87 records, 4406 bytes");
    // The first station: "stazione, 0, 8, 500, 0, 0, 0, 1,1,0, 4,1,1, 1, 17,43, 0, ALVENA P.NUOVA"
    EXPECT_EQ(lines[1 + 1],
              "voci(1): tipo=8 valore1=-500 valore2=500 valore3=0 segno=0 "
              "testo=\"ALVENA P.NUOVA\" numero1=1 numero2=1 numero3=4 numero4=1 numero5=1 "
              "byte1=0 byte2=1 byte3=0 byte4=0 valore4=63780");
    // The clock 17:42:30, the sanding value 300 and the train number.
    EXPECT_EQ(lines[1 + 86],
              "voci(86): tipo=0 valore1=0 valore2=0 valore3=0 segno=0 testo=\"4271\" "
              "numero1=300 numero2=0 numero3=17 numero4=42 numero5=30 byte1=0 byte2=0 byte3=0 "
              "byte4=0 valore4=0");
}

TEST_F(DumpCommand, TextShowsTheRouteCellsThatAreNotAllZeroWithTipoSpelledOut) {
    ASSERT_EQ(tool.run({"dump", "A.dat"}), kExitClean);
    const std::vector<std::string> lines = lines_of(tool.out.str());
    // Cells 2158 to 2160 receive nothing at all.
    ASSERT_EQ(lines.size(), 1u + 2158u);
    EXPECT_EQ(lines[0], "route file: 2161 cells (0 to 2160), 32415 bytes; 2158 not all zero");
    // The first station's stop point, with the first speed (30 km/h) and adhesion (100).
    EXPECT_EQ(lines[1 + 9],
              "cella(9) at 450 m: tipo=10 (station stop) dato1=1 dato2=0 dato3=0 dato4=0 "
              "dato5=0 dato6=0 galleria=0 velocita=6 (30 km/h) pendenza=100 (0 per mille) "
              "aderenza=100");
    // The first of the four approach marks before it.
    EXPECT_EQ(lines[1 + 8],
              "cella(8) at 400 m: tipo=0 (none) dato1=0 dato2=0 dato3=0 dato4=0 dato5=0 "
              "dato6=81 galleria=0 velocita=6 (30 km/h) pendenza=100 (0 per mille) "
              "aderenza=100");
}

TEST_F(DumpCommand, TextShowsEveryGeometryRowWithItsTag) {
    ASSERT_EQ(tool.run({"dump", "A_linea.dat"}), kExitClean);
    const std::vector<std::string> lines = lines_of(tool.out.str());
    ASSERT_EQ(lines.size(), 1u + 108001u);
    EXPECT_EQ(lines[0], "geometry file: 108001 rows (0 to 108000), 2159964 bytes");
    EXPECT_EQ(lines[1 + 0], "tracciato(0): tag=2 (integer) x=0 y=0");
    EXPECT_EQ(lines[1 + 1], "tracciato(1): tag=2 (integer) x=0 y=1");
    // "curvad5, 650, 550": the first turning rows, at 0.002 per metre.
    EXPECT_EQ(lines[1 + 651], "tracciato(651): tag=5 (double) x=0.002 y=651");
    EXPECT_EQ(lines[1 + 652], "tracciato(652): tag=5 (double) x=0.006 y=651.999996");
    EXPECT_EQ(lines[1 + 108000], "tracciato(108000): tag=0 (empty)");
}

TEST_F(DumpCommand, JsonHoldsTheSameFieldsAsOneObject) {
    tool.fs.files["small.dat"] =
        std::string(15, '\0') +
        std::string("\x00\x01\x14\xFE\xFF\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00", 15) +
        std::string(15, '\0');
    ASSERT_EQ(tool.run({"dump", "--json", "small.dat"}), kExitClean);
    EXPECT_EQ(tool.out.str(),
              R"({"kind":"route","bytes":45,"cell_count":3,"cells":[{"index":1,"metres":50,)"
              R"("tipo":0,"tipo_name":"none","dato1":5121,"dato2":-2,"dato3":0,"dato4":0,)"
              R"("dato5":0,"dato6":0,"galleria":0,"velocita":0,"pendenza":0,"aderenza":0}]})"
              "\n");
}

TEST_F(DumpCommand, AFileThatDoesNotFitItsKindIsRefusedWithStatus1) {
    testing::EmbeddedBuild& b = testing::embedded_build();
    tool.fs.files["short.dat"] = b.route().substr(0, 32401);
    tool.fs.files["long.sim"] = b.table() + "xyz";
    const struct {
        std::vector<std::string> args;
        std::string message;
    } rows[] = {
        {{"dump", "short.dat"},
         "short.dat: route file: 32401 bytes is not a whole number "
         "of 15-byte cells"},
        {{"dump", "--json", "long.sim"},
         "long.sim: table file: 3 bytes after the last of the "
         "87 records"},
        // The geometry read as a route: its size is no whole number of cells.
        {{"dump", "--kind", "route", "A_linea.dat"},
         "A_linea.dat: route file: 2159964 bytes is not a whole number of 15-byte cells"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(tool.run(row.args), kExitFatal);
        EXPECT_EQ(tool.err.str(), "scenario_tool dump: " + row.message + "\n");
        EXPECT_TRUE(tool.out.str().empty());
    }
}

TEST_F(DumpCommand, AMistakeOnTheCommandLineIsOneLineAndStatus64) {
    const struct {
        std::vector<std::string> args;
        std::string message;
    } rows[] = {
        {{"dump"}, "no file named"},
        {{"dump", "A.sim", "A.dat"}, "more than one file named"},
        {{"dump", "--kind", "cells", "A.dat"}, "--kind is table, route or geometry"},
        {{"dump", "notes.txt"}, "the name of 'notes.txt' does not tell its kind; give --kind"},
        {{"dump", "missing.sim"}, "no file 'missing.sim'"},
        {{"dump", "-x", "A.sim"}, "unknown option '-x'"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(tool.run(row.args), kExitUsage);
        EXPECT_EQ(tool.err.str(),
                  "scenario_tool dump: " + row.message + " (see 'scenario_tool dump --help')\n");
    }
}

TEST(DumpKind, TheNameTellsTheKind) {
    EXPECT_EQ(kind_from_name("d/Alvena_Sorbio_linea.dat"), CompiledKind::geometry);
    EXPECT_EQ(kind_from_name("d/Alvena_Sorbio_4271.sim"), CompiledKind::table);
    EXPECT_EQ(kind_from_name("d/Alvena_Sorbio_4271.dat"), CompiledKind::route);
    EXPECT_EQ(kind_from_name("d/Alvena_Sorbio_4271-.txt"), std::nullopt);
}

}  // namespace
}  // namespace scenario
