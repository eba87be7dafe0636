#include "tool/commands/plot_command.h"

#include <gtest/gtest.h>

#include <string>

#include "support/embedded_build.h"
#include "tool/plot/route_features.h"
#include "tool/plot/route_svg.h"
#include "tool/plot/svg_writer.h"
#include "tool_fixture.h"

namespace scenario {
namespace {

TEST(RouteFeatures, OfTheEmbeddedScenario) {
    testing::EmbeddedBuild& b = testing::embedded_build();
    const RouteFeatures f = route_features(b.s.voci, b.s.percorso);
    EXPECT_EQ(f.route_end, 108050);
    EXPECT_EQ(f.line_length, 101000);

    ASSERT_EQ(f.stations.size(), 29u);
    EXPECT_EQ(f.stations[0].name, "ALVENA P.NUOVA");
    EXPECT_EQ(f.stations[0].inizio, -500);
    EXPECT_EQ(f.stations[0].fine, 500);
    EXPECT_TRUE(f.stations[0].stops);
    // "stazione, 4100, 27, 200, ...": a kind of 25 or more is passed.
    EXPECT_EQ(f.stations[1].name, "VALMEDRA");
    EXPECT_EQ(f.stations[1].inizio, 4000);
    EXPECT_EQ(f.stations[1].fine, 4200);
    EXPECT_FALSE(f.stations[1].stops);

    EXPECT_EQ(f.signals.size(), 42u);
    ASSERT_EQ(f.speed_boards.size(), 29u);
    // "indicatori_vmax, 700, 65, 70, 75, ...": on the cell after 700 m.
    EXPECT_EQ(f.speed_boards[0].posizione, 700);
    EXPECT_EQ(f.speed_boards[0].label, "65");
    ASSERT_EQ(f.name_boards.size(), 49u);
    EXPECT_EQ(f.name_boards[0].posizione, 2400);
    EXPECT_EQ(f.name_boards[0].label, "BIVIO \xC2\xB7 MORTELLETO");
    ASSERT_EQ(f.tunnels.size(), 49u);
    // "montagna, 2350, 2400, 2" covers cell 47 only.
    EXPECT_EQ(f.tunnels[0].inizio, 2350);
    EXPECT_EQ(f.tunnels[0].fine, 2400);

    // Speeds 30 from 0 and 75 from 700; gradients 0 from 0, 6 from 550, 18 from 2500.
    ASSERT_GE(f.speed.size(), 2u);
    EXPECT_EQ(f.speed[0].from, 0);
    EXPECT_EQ(f.speed[0].to, 700);
    EXPECT_EQ(f.speed[0].value, 30);
    EXPECT_EQ(f.speed[1].value, 75);
    ASSERT_GE(f.gradient.size(), 3u);
    EXPECT_EQ(f.gradient[0].to, 550);
    EXPECT_EQ(f.gradient[1].to, 2500);
    EXPECT_EQ(f.gradient[1].value, 6);
    EXPECT_EQ(f.gradient[2].value, 18);
    // The fills stop before the last three cells, 2158 to 2160.
    EXPECT_EQ(f.gradient.back().to, 107900);
    EXPECT_EQ(f.speed.back().to, 107900);
}

TEST(RouteFeatures, BoardCaptionJoinsTheGroupsOfASign) {
    const struct {
        std::string_view testo;
        std::string_view caption;
    } rows[] = {
        {"(  BIVIO   )(MORTELLETO)", "BIVIO \xC2\xB7 MORTELLETO"},
        {"(VALMEDRA)( 366 m. )", "VALMEDRA \xC2\xB7 366 m."},
        {"  PLAIN TEXT  ", "PLAIN TEXT"},
        {"(A)(   )(", "A"},              // empty and unclosed groups add nothing
        {"(CITT\xC0)", "CITT\xC3\x80"},  // Windows-1252 in, UTF-8 out
        {"", ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(board_caption(row.testo), row.caption) << row.testo;
}

TEST(SvgWriter, EscapesTextForXml) {
    EXPECT_EQ(xml_escaped("A&B <C> \"q\" 'a'"), "A&amp;B &lt;C&gt; &quot;q&quot; &apos;a&apos;");
    // XML admits no control characters, and nothing that is not UTF-8.
    EXPECT_EQ(xml_escaped("a\x01"
                          "b\xFF"),
              "a b\xEF\xBF\xBD");
}

class PlotCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::EmbeddedBuild& b = testing::embedded_build();
        tool.fs.files["./Alvena_Sorbio_4271.sim"] = b.table();
        tool.fs.files["./Alvena_Sorbio_4271.dat"] = b.route();
        tool.fs.files["./Alvena_Sorbio_linea.dat"] = b.geometry();
    }
    testing::ToolRun tool;
};

TEST_F(PlotCommand, DrawsOnePictureWithTheStationsNamed) {
    ASSERT_EQ(tool.run({"plot", "--out", "route.svg"}), kExitClean);
    const std::string& svg = tool.fs.files["route.svg"];
    EXPECT_EQ(svg.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg ", 0), 0u);
    EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
    EXPECT_NE(svg.find(">ALVENA P.NUOVA</text>"), std::string::npos);
    EXPECT_NE(svg.find(">BIVIO \xC2\xB7 MORTELLETO</text>"), std::string::npos);
    EXPECT_EQ(svg.find("no line geometry"), std::string::npos);
    // The time panel: the run as a line, the 16 scheduled times as points.
    EXPECT_NE(svg.find(">time</text>"), std::string::npos);
    std::size_t points = 0;
    for (std::size_t at = 0; (at = svg.find(R"( r="3.6" fill="#1f5fa8")", at)) != std::string::npos;
         ++at)
        ++points;
    EXPECT_EQ(points, 16u + 1);  // and the legend's
}

TEST_F(PlotCommand, ABadStockFileEndsWithStatus1) {
    tool.fs.files["./Alvena_Sorbio_4271_stock.toml"] = "mass = -3\n";
    EXPECT_EQ(tool.run({"plot"}), kExitFatal);
    EXPECT_EQ(tool.err.str().rfind("scenario_tool plot: ./Alvena_Sorbio_4271_stock.toml:1:", 0), 0u)
        << tool.err.str();
}

TEST_F(PlotCommand, WithoutGeometryThePlanSaysSo) {
    tool.fs.files.erase("./Alvena_Sorbio_linea.dat");
    ASSERT_EQ(tool.run({"plot"}), kExitClean);
    EXPECT_NE(tool.out.str().find(">no line geometry (compiled without it)</text>"),
              std::string::npos);
}

TEST_F(PlotCommand, ARefusedFileEndsWithStatus1AndAMissingOneWith64) {
    tool.fs.files["./Alvena_Sorbio_4271.dat"].pop_back();
    EXPECT_EQ(tool.run({"plot"}), kExitFatal);
    EXPECT_EQ(tool.err.str(),
              "scenario_tool plot: ./Alvena_Sorbio_4271.dat: route file: 32414 bytes is not a "
              "whole number of 15-byte cells\n");
    EXPECT_EQ(tool.out.str(), "");

    EXPECT_EQ(tool.run({"plot", "--train", "1", "."}), kExitUsage);
    EXPECT_EQ(tool.err.str(),
              "scenario_tool plot: no file './Alvena_Sorbio_1.sim' (see 'scenario_tool plot "
              "--help')\n");
}

}  // namespace
}  // namespace scenario

namespace scenario {
namespace {

TEST(RouteSvg, AStretchStaysOnTheRouteAndNoShorterThanTwoCells) {
    const struct {
        PlotStretch wanted;
        PlotStretch shown;
    } rows[] = {
        {{0, 0}, {0, 108050}},         // none asked: the whole route
        {{5000, 4000}, {0, 108050}},   // backwards: the whole route
        {{4000, 4200}, {4000, 4200}},  // as asked
        {{4000, 4050}, {4000, 4100}},  // widened to 100 m
        {{-300, 700}, {0, 1000}},      // moved onto the route, its length kept
        {{108000, 109000}, {107050, 108050}},
        {{-1e9, 1e9}, {0, 108050}},  // wider than the route
    };
    for (const auto& row : rows) {
        const PlotStretch s = shown_stretch(row.wanted, 108050);
        EXPECT_EQ(s.from, row.shown.from) << row.wanted.from << " to " << row.wanted.to;
        EXPECT_EQ(s.to, row.shown.to) << row.wanted.from << " to " << row.wanted.to;
    }
}

}  // namespace
}  // namespace scenario
