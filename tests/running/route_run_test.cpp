#include "running/route_run.h"

#include <gtest/gtest.h>

#include <string>

#include "support/compiled_sources.h"

namespace scenario {
namespace {

// A level line of 10 km at 100 km/h, a slowdown of 40 km/h from 3000 m for
// 500 m, and three stations: a stop, a place passed with a time and a stop.
constexpr std::string_view kLinea =
    "[generale]\r\n"
    "lunghezza percorso,   10000\r\n"
    "progressiva chilometrica uno,  0, 12000, 0\r\n"
    "[curve]\r\n"
    "[fine]\r\n";
constexpr std::string_view kTreno =
    "[generale]\r\n"
    "percentuale massa frenata,    120\r\n"
    "numero vetture,    3\r\n"
    "aderenza,   0,   100\r\n"
    "velocita,   0,    100\r\n"
    "rallentamento, 3000, 40, 500, 0, 0, 0\r\n"
    "stazione,   1000,  4,  400,  0, 0, 0,  1,1,0,  4,1,1,    1,  8, 0, 0, PRIMA\r\n"
    "stazione,   5000, 27,  200,  0, 0, 0,  0,0,0,  0,0,0,    0,  8, 4, 0, SECONDA\r\n"
    "stazione,   8000, 22,  300,  0, 0, 0,  0,0,0,  4,1,1,   60,  8, 6, 0, TERZA\r\n"
    "[fine]\r\n";

Scenario compiled() {
    Scenario s = testing::compiled_sources(kLinea, kTreno);
    EXPECT_EQ(s.codice_errore, 0);
    return s;
}

TEST(RouteRun, TheTrackHoldsTheSlowdownFromItsStartToItsEnd) {
    const Track track = route_track(compiled());
    // Cells 0 to 340 have their profiles up to cell 337: the track ends at 16900 m.
    EXPECT_EQ(track.end, 16900);
    ASSERT_EQ(track.sections.size(), 3u);
    EXPECT_EQ(track.sections[0].from, 0);
    EXPECT_EQ(track.sections[0].limit_kmh, 100);
    EXPECT_EQ(track.sections[1].from, 3000);
    EXPECT_EQ(track.sections[1].limit_kmh, 40);
    EXPECT_EQ(track.sections[2].from, 3500);
    EXPECT_EQ(track.sections[2].limit_kmh, 100);
}

TEST(RouteRun, StopsAndPassesTakeTheirTimesFromTheRun) {
    const Scenario s = compiled();
    const RouteRun r = run_route(s, scenario_stock(s));
    ASSERT_EQ(r.run.status, RunStatus::kOk) << r.run.detail;
    ASSERT_EQ(r.stations.size(), 3u);
    const TimetablePoint& first = r.stations[0];
    const TimetablePoint& passed = r.stations[1];
    const TimetablePoint& last = r.stations[2];
    // A stop's head stands on its stop cell: the cell before the far end.
    EXPECT_TRUE(first.stops);
    EXPECT_EQ(first.position, 1150);
    EXPECT_FALSE(passed.stops);
    EXPECT_EQ(passed.position, 5000);
    EXPECT_EQ(passed.kilometre, 17000);
    EXPECT_TRUE(last.stops);
    EXPECT_EQ(last.position, 8100);
    EXPECT_EQ(r.start, 8 * 3600);
    EXPECT_DOUBLE_EQ(passed.earliest, r.start + r.run.time_at(5000));
    EXPECT_DOUBLE_EQ(*passed.margin, 8 * 3600 + 4 * 60 - passed.earliest);
    // The last stop's time is an arrival: no dwell is added.
    EXPECT_DOUBLE_EQ(last.earliest, r.start + r.run.stops.back().arrival_s);
    EXPECT_DOUBLE_EQ(last.section_length, 8100 - 1150);
}

}  // namespace
}  // namespace scenario
