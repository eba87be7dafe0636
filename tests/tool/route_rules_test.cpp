// The rules shared by the compilers and the tool's readers, pinned through a
// real compile: what the compiler lays on the route for each kind of
// station, and what `dump` and `plot` read back from a speed and a gradient.
#include "compiler/route_rules.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "support/compiled_sources.h"
#include "tool/dump/dump_text.h"
#include "tool/plot/route_features.h"

namespace scenario {
namespace {

// A line of 10 km falling 12 per mille all along: cells 0 to 340.
constexpr std::string_view kLinea =
    "[generale]\r\n"
    "lunghezza percorso,   10000\r\n"
    "[curve]\r\n"
    "[pendenze]\r\n"
    "pendenza,  0,  -12\r\n"
    "[fine]\r\n";

// Stations of kinds 4, 5 and 25; one speed of 77 km/h.
constexpr std::string_view kTreno =
    "[generale]\r\n"
    "aderenza,   0,   100\r\n"
    "velocita,   0,    77\r\n"
    "stazione,   1000,  4,  400,  0, 0, 0,  1,1,0,  4,1,1,   60,  18, 0, 0, QUATTRO\r\n"
    "stazione,   3000,  5,  300,  0, 0, 0,  1,1,0,  4,1,1,   60,  18, 5, 0, CINQUE\r\n"
    "stazione,   5000, 25,  200,  0, 0, 0,  1,1,0,  4,1,1,    0,   0, 0, 0, VENTICINQUE\r\n"
    "[fine]\r\n";

Scenario compiled() {
    BuildOutcome outcome;
    Scenario s = testing::compiled_sources(kLinea, kTreno, &outcome);
    EXPECT_EQ(outcome.status, BuildOutcome::Status::written);
    EXPECT_EQ(s.codice_errore, 0);
    return s;
}

TEST(RouteRules, StationsGetTheirStopAndMarkCells) {
    const Scenario s = compiled();
    struct Row {
        std::int64_t cell;
        int tipo;
        int dato1;
        int dato6;
    };
    const Row rows[] = {
        // Kind 4 at 1000 m, 400 m long: far end 1200 m, stop on cell 23,
        // marks 81 to 84 counting back from it.
        {23, 10, 1, 0},
        {22, 0, 0, 81},
        {21, 0, 0, 82},
        {20, 0, 0, 83},
        {19, 0, 0, 84},
        {18, 0, 0, 0},
        // Kind 5 at 3000 m, 300 m long: far end 3150 m, stop on cell 62,
        // no marks.
        {62, 10, 2, 0},
        {61, 0, 0, 0},
        {58, 0, 0, 0},
        // Kind 25 at 5000 m: passed, nothing on the route.
        {101, 0, 0, 0},
        {100, 0, 0, 0},
    };
    for (const Row& row : rows) {
        const cella& c = s.percorso.at(static_cast<std::size_t>(row.cell));
        EXPECT_EQ(int{c.tipo}, row.tipo) << "cell " << row.cell;
        EXPECT_EQ(c.dato1, row.dato1) << "cell " << row.cell;
        EXPECT_EQ(int{c.dato6}, row.dato6) << "cell " << row.cell;
    }
}

TEST(RouteRules, DumpAndPlotReadASpeedAndAGradientAlike) {
    const Scenario s = compiled();
    std::ostringstream dump;
    print_route(s.percorso, 0, dump);
    // 77 km/h is kept in units of 5 km/h as R(15.4) = 15; -12 per mille as 88.
    EXPECT_NE(dump.str().find("cella(23) at 1150 m: tipo=10 (station stop) dato1=1 "),
              std::string::npos);
    EXPECT_NE(dump.str().find("velocita=15 (75 km/h) pendenza=88 (-12 per mille) aderenza=100\n"),
              std::string::npos);

    const RouteFeatures f = route_features(s.voci, s.percorso);
    ASSERT_EQ(f.speed.size(), 1u);
    EXPECT_EQ(f.speed[0].value, 75);
    ASSERT_EQ(f.gradient.size(), 1u);
    EXPECT_EQ(f.gradient[0].value, -12);
    ASSERT_EQ(f.stations.size(), 3u);
    EXPECT_TRUE(f.stations[0].stops);
    EXPECT_TRUE(f.stations[1].stops);
    EXPECT_FALSE(f.stations[2].stops);
}

// The references as the compile stores them: sorted by start, the largest
// first, with 100 added to the value of one that counts down.
TEST(RouteRules, KilometresFollowTheReferences) {
    std::array<voce, kVoci> voci{};
    const auto reference = [&](int entry, std::int32_t start, std::int32_t value, int down) {
        voce& v = voci[static_cast<std::size_t>(entry)];
        v.valore1 = start;
        v.valore2 = value;
        v.valore3 = down;
    };
    reference(kVoceProgressivaTre, 2450, 200, 0);
    reference(kVoceProgressivaDue, 1000, 314150, 1);
    const struct {
        double position;
        double kilometre;
    } rows[] = {
        {1000, 314050},  // the down reference at its start, without the 100 added
        {2000, 313050},  // counting down
        {2450, 200},     // the up reference from its start on
        {22500, 20250},
        {0, 315050},  // before every start: the reference that starts first, counted back
    };
    for (const auto& row : rows)
        EXPECT_DOUBLE_EQ(kilometre_at(voci, row.position), row.kilometre) << row.position;
    EXPECT_DOUBLE_EQ(kilometre_at(std::array<voce, kVoci>{}, 1234), 1234);  // none in use
}

}  // namespace
}  // namespace scenario
