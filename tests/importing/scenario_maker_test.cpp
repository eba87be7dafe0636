#include "importing/scenario_maker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

#include "importing/curve_fit.h"
#include "importing/elevation_model.h"
#include "made_scenario_check.h"

namespace scenario::importing {
namespace {

using testing::check_findings;
using testing::drawn_path;
using testing::Leg;
using testing::station_at;

ImportPath with_ends(ImportPath p) {
    p.objects.insert(p.objects.begin(), station_at(p, 0, "Alpha"));
    p.objects.push_back(station_at(p, p.points.size() - 1, "Omega"));
    return p;
}

MadeScenario made(const ImportPath& p, const ElevationModel* dem = nullptr) {
    MadeScenario m;
    std::string error;
    EXPECT_TRUE(make_scenario(p, dem, MakeRequest{}, &m, &error)) << error;
    return m;
}

// The heading change the line file's curves give, in degrees clockwise,
// and the highest class they use.
std::pair<double, int> curve_turn_of(const std::string& linea) {
    double turn = 0;
    int highest = 0;
    std::size_t at = 0;
    while ((at = linea.find("\ncurva", at)) != std::string::npos) {
        const char side = linea[at + 6];
        const int classe = linea[at + 7] - '0';
        const std::size_t comma = linea.find(',', at);
        const int length = std::stoi(linea.substr(linea.find(',', comma + 1) + 1));
        turn += (side == 's' ? -1 : 1) * curve_turn(classe) * length;
        highest = std::max(highest, classe);
        at = comma;
    }
    return {turn * 180 / std::numbers::pi, highest};
}

TEST(ScenarioMaker, CurvesKeepTheMapsHeadingAndTheCompiledPlanFollowsIt) {
    struct Case {
        const char* what;
        std::vector<Leg> legs;
        double turn;  // degrees, the map's
        int highest;  // the highest class the fit may use
    } cases[] = {
        {"radius 500 m, 90 degrees right", {{1000, 0}, {785, 90}, {1500, 0}}, 90, 6},
        {"radius 1500 m, 45 degrees left", {{800, 0}, {1178, -45}, {1200, 0}}, -45, 4},
        {"an S of radius 800 m", {{600, 0}, {698, 50}, {698, -50}, {900, 0}}, 0, 5},
        // Sparse nodes, 100 m apart, on a curve of radius 600 m: no curve of
        // a few metres' radius from one node to the next.
        {"sparse nodes", {{1000, 0}, {1000, 95.5}, {1000, 0}}, 95.5, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const ImportPath path = with_ends(drawn_path(c.legs, c.what[0] == 's' ? 100 : 20));
        const MadeScenario m = made(path);
        const auto [turn, highest] = curve_turn_of(m.linea_txt);
        EXPECT_NEAR(turn, c.turn, 1.0);
        EXPECT_LE(highest, c.highest);
        EXPECT_LE(m.accuracy.plan_rms, 0.005 * m.summary.route_length);
        EXPECT_LE(m.accuracy.plan_max, 0.01 * m.summary.route_length);
        EXPECT_EQ(check_findings(m.linea_txt, m.treno_txt), "");
    }
}

TEST(ScenarioMaker, AStraightLineHasNoCurveAndCountsUpFromZero) {
    const MadeScenario m = made(with_ends(drawn_path({{3000, 0}})));
    EXPECT_EQ(m.linea_txt.find("curva"), std::string::npos);
    EXPECT_NE(m.linea_txt.find("progressiva chilometrica uno,    0,    0,    0\r\n"),
              std::string::npos);
    EXPECT_LT(m.accuracy.plan_max, 1.0);
}

TEST(ScenarioMaker, ATimetableThatWouldPassMidnightIsRefused) {
    MakeRequest late;
    late.depart_minutes = 23 * 60 + 59;
    MadeScenario m;
    std::string error;
    EXPECT_FALSE(make_scenario(with_ends(drawn_path({{6000, 0}})), nullptr, late, &m, &error));
    EXPECT_EQ(error,
              "the timetable would pass midnight (OMEGA at 0:04 the next day): depart earlier");
}

TEST(ScenarioMaker, StationsTooCloseLeaveTheSmallerOutAndSaySo) {
    ImportPath p = drawn_path({{4000, 0}});
    p.objects = {station_at(p, 0, "Alpha"), station_at(p, 90, "Mitte"),
                 station_at(p, 100, "Halt", ObjectKind::halt),
                 station_at(p, p.points.size() - 1, "Omega")};
    const MadeScenario m = made(p);
    ASSERT_EQ(m.summary.stations.size(), 3u);
    EXPECT_EQ(m.summary.stations[1].name, "MITTE");
    EXPECT_EQ(m.summary.stations[1].position, 1800);
    ASSERT_FALSE(m.notes.empty());
    EXPECT_EQ(m.notes[0].ref, "n101");
    EXPECT_EQ(m.notes[0].message, "station HALT left out: less than 350 m from the next one");
    EXPECT_EQ(check_findings(m.linea_txt, m.treno_txt), "");
}

TEST(ScenarioMaker, AMaxspeedGapTakesTheLowerNeighbourAndBoardsStandAsTheEmbeddedLines) {
    ImportPath p = with_ends(drawn_path({{6000, 0}}));
    p.spans = {{0, 100, 1, true, 100, false, false, "", std::nullopt},
               {100, 200, 2, true, std::nullopt, false, false, "", std::nullopt},
               {200, 300, 3, true, 87, false, false, "", std::nullopt}};
    const MadeScenario m = made(p);
    // 87 km/h is written as 85, down to the format's 5 km/h; the gap from
    // 2000 m takes 85, and the one board for the reduction stands 1000 m
    // before it.
    EXPECT_NE(m.treno_txt.find("velocita,   0,   100\r\nvelocita,    2000,    85\r\n[stazioni]"),
              std::string::npos);
    EXPECT_NE(m.linea_txt.find(
                  "[cartelli]\r\nindicatori_vmax,  1000,  75,  80,  85,  0,  ,  ,  ,  0\r\n"),
              std::string::npos);
    ASSERT_FALSE(m.notes.empty());
    EXPECT_EQ(m.notes[0].ref, "w2");
    EXPECT_EQ(m.notes[0].message, "no maxspeed: 85 km/h guessed, the lower of its neighbours");
    EXPECT_EQ(check_findings(m.linea_txt, m.treno_txt), "");
}

TEST(ScenarioMaker, ALimitShorterThanTheTrainIsFoldedIntoTheLowerOne) {
    ImportPath p = with_ends(drawn_path({{4000, 0}}));
    // 120 km/h for 40 m (50 m in whole cells), shorter than the default
    // train's 99 m, between 100s.
    p.spans = {{0, 100, 1, true, 100, false, false, "", std::nullopt},
               {100, 102, 2, true, 120, false, false, "", std::nullopt},
               {102, 200, 3, true, 100, false, false, "", std::nullopt}};
    const MadeScenario m = made(p);
    EXPECT_NE(m.treno_txt.find("[vel_limite]\r\nvelocita,   0,   100\r\n[stazioni]"),
              std::string::npos);
    ASSERT_EQ(m.notes.size(), 1u);
    EXPECT_EQ(m.notes[0].message,
              "120 km/h from 2000 m, shorter than the train, folded into 100 km/h");
}

// A hill 120 m high across a straight line, steep enough that a tunnel
// must go through it, and gentle beyond the portals.
HeightGrid hill(double lat, double lon) {
    HeightGrid g;
    g.north = lat + 0.05, g.west = lon - 0.05, g.step_lat = g.step_lon = 0.0005;
    g.rows = g.columns = 201;
    for (int r = 0; r < g.rows; ++r)
        for (int c = 0; c < g.columns; ++c) {
            const double dn = (r - 100) * 55.6, de = (c - 100) * 37.9;  // m, roughly
            g.heights.push_back(
                static_cast<float>(300 + 120 * std::exp(-(dn * dn + de * de) / 2.25e4)));
        }
    return g;
}

TEST(ScenarioMaker, ATunnelUnderAHillRunsStraightFromPortalToPortal) {
    // South to north over the hill's top, which lies 2000 m along.
    ImportPath p = with_ends(drawn_path({{4000, 0}}, 20, 47.082, 9.5, 0));
    p.spans = {{0, 80, 1, true, 100, false, false, "", std::nullopt},
               {80, 120, 2, true, 100, true, false, "Bergli", std::nullopt},
               {120, 200, 3, true, 100, false, false, "", std::nullopt}};
    ElevationModel dem;
    dem.add_grid(hill(47.1, 9.5));
    const MadeScenario m = made(p, &dem);
    EXPECT_NE(m.linea_txt.find("montagna,   1600,  2400,  11\r\n"), std::string::npos);
    EXPECT_NE(m.linea_txt.find("cartello_indicatore,  1550,   (BERGLI )( 800 m.)\r\n"),
              std::string::npos);
    // One gradient through the tunnel: no row between its portals.
    for (int at = 1650; at < 2400; at += 50)
        EXPECT_EQ(m.linea_txt.find("pendenza,  " + std::to_string(at) + ","), std::string::npos)
            << at;
    ASSERT_TRUE(m.accuracy.profile_rms);
    EXPECT_LT(*m.accuracy.profile_rms, 3.0);
    EXPECT_EQ(m.summary.gradient_source, "DEM");
    EXPECT_EQ(check_findings(m.linea_txt, m.treno_txt), "");

    ElevationModel small;
    HeightGrid g = hill(47.1, 9.5);
    g.rows = g.columns = 101;
    g.heights.resize(101 * 101);
    small.add_grid(g);
    MadeScenario none;
    std::string error;
    EXPECT_FALSE(make_scenario(p, &small, MakeRequest{}, &none, &error));
    EXPECT_EQ(error.substr(0, 48), "the elevation model does not cover the path at 4");
}

// Paths the map could give, drawn at random from fixed seeds: any scenario
// made passes `check` clean. This found a name board put on the header cell.
TEST(ScenarioMaker, WhatIsMadeFromAnyPathChecksClean) {
    int made_count = 0;
    for (unsigned seed = 0; seed < 60; ++seed) {
        std::mt19937 rng(seed);
        const auto u = [&](double a, double b) {
            return std::uniform_real_distribution<double>(a, b)(rng);
        };
        std::vector<Leg> legs;
        for (unsigned i = 0, n = 1 + rng() % 5; i < n; ++i)
            legs.push_back({u(0, 4000), rng() % 3 == 0 ? u(-200, 200) : u(-40, 40)});
        ImportPath p = drawn_path(legs, u(5, 150));
        const std::size_t n = p.points.size();
        if (n < 3) continue;
        p.spans.clear();
        for (std::size_t a = 0, b = 0; a + 1 < n; a = b) {
            b = std::min(n - 1, a + 1 + rng() % 30);
            PathSpan s;
            s.first = a, s.last = b, s.way = static_cast<std::int64_t>(a + 1);
            if (rng() % 3 != 0) s.maxspeed = static_cast<int>(u(1, 250));
            s.tunnel = rng() % 5 == 0;
            s.bridge = !s.tunnel && rng() % 6 == 0;
            if (s.tunnel && rng() % 2 != 0)
                s.tunnel_name = "Tunnel (" + std::to_string(a) + ") am Berg";
            if (rng() % 6 == 0) s.incline = u(-25, 25);
            p.spans.push_back(s);
        }
        for (unsigned i = 0, k = rng() % 100; i < k; ++i) {
            PathObject o;
            o.kind = static_cast<ObjectKind>(rng() % 8);
            o.segment = rng() % (n - 1), o.along = u(0, 1), o.node = 1000 + i;
            o.name = "Ort " + std::to_string(i);
            if (o.kind == ObjectKind::milestone) o.kilometre = u(-5, 200);
            if (rng() % 3 == 0) o.platform_length = u(0, 900);
            o.passed = rng() % 4 == 0;
            p.objects.push_back(o);
        }
        std::sort(p.objects.begin(), p.objects.end(), [](const PathObject& a, const PathObject& b) {
            return a.segment != b.segment ? a.segment < b.segment : a.along < b.along;
        });
        p = with_ends(p);
        MadeScenario m;
        std::string error;
        if (!make_scenario(p, nullptr, MakeRequest{}, &m, &error)) continue;
        ++made_count;
        EXPECT_EQ(check_findings(m.linea_txt, m.treno_txt), "") << "seed " << seed;
    }
    EXPECT_GT(made_count, 40);
}

}  // namespace
}  // namespace scenario::importing
