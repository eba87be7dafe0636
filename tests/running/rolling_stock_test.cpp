#include "running/rolling_stock.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace scenario {
namespace {

// The embedded train: 3 carriages at 120 %. Figures worked by hand from the
// vehicles of the long-distance test train (locomotive 85 t, 18.9 m; coach
// 50 t + 20 t load, 26.8 m) and the per-mille coefficients, g = 9.80665:
//   a = g/1000 (85 (2.5 + 6.0 * 0.0225) + 210 (2.0 + 3.64 * 0.0225))  = 6.48390 kN
//   b = g/1000 (85 * 6.0 * 0.003 + 210 (0.00715 + 3.64 * 0.003))     = 0.0522175
//   c = g/1000 (85 * 6.0 + 210 * 3.64) / 10000                        = 0.00124976
//   braking = 0.5 * (120 / 3.6)^2 / 2000 * 120 / 80                  = 0.416667 m/s^2
TEST(RollingStock, RegionalTrainOfTheEmbeddedScenario) {
    const RollingStock s = regional_train(3, 120);
    EXPECT_DOUBLE_EQ(s.mass, 295.0);
    EXPECT_DOUBLE_EQ(s.traction_mass, 85.0);
    EXPECT_NEAR(s.length, 99.3, 1e-9);
    EXPECT_NEAR(s.rotating_mass, (1.09 * 85 + 1.06 * 210) / 295, 1e-12);
    EXPECT_NEAR(s.resistance.a, 6.48390, 1e-5);
    EXPECT_NEAR(s.resistance.b, 0.0522175, 1e-7);
    EXPECT_NEAR(s.resistance.c, 0.00124976, 1e-8);
    EXPECT_NEAR(s.braking, 0.416667, 1e-6);
    EXPECT_DOUBLE_EQ(s.top_speed, 140.0);
    EXPECT_FALSE(s.braked_mass);  // only a stock file gives the card's mass box
    EXPECT_EQ(s.classification, "REGIONALE");
    EXPECT_EQ(stock_problem(s), "");
    // A count out of all reason gives a stock the engine refuses.
    EXPECT_NE(stock_problem(regional_train(-2, 120)), "");
    EXPECT_EQ(stock_problem(regional_train(3, 0)), "`braking` must be greater than 0");
}

TEST(RollingStock, EffortIsInterpolatedAndEndsWithItsTable) {
    const EffortTable table{{{10, 300}, {60, 300}, {100, 200}}};
    const struct {
        double speed, force;
    } cases[] = {
        {0, 300},    // below the first point: the first point's effort
        {60, 300},   // on a point
        {80, 250},   // halfway between two points
        {100, 200},  // the last point
        {100.5, 0},  // beyond it the table promises nothing
    };
    std::size_t hint = 2;  // a stale hint must not matter
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(effort_at(table, c.speed), c.force) << c.speed;
        EXPECT_DOUBLE_EQ(effort_at(table, c.speed, &hint), c.force) << c.speed;
    }
    EXPECT_EQ(effort_at(EffortTable{}, 50), 0);
}

TEST(RollingStock, ProblemsNameTheValue) {
    const struct {
        void (*spoil)(RollingStock&);
        const char* problem;
    } cases[] = {
        {[](RollingStock& s) { s.mass = 0; }, "`mass` must be greater than 0"},
        {[](RollingStock& s) { s.rotating_mass = 0.99; }, "`rotating_mass` must be at least 1"},
        {[](RollingStock& s) { s.braking = 0.001; }, "`braking` must be at least 0.01"},
        {[](RollingStock& s) { s.top_speed = 1e308; }, "`top_speed` must be at most 1000"},
        {[](RollingStock& s) { s.resistance.c = std::numeric_limits<double>::quiet_NaN(); },
         "`resistance.c` must be a finite number"},
        {[](RollingStock& s) { s.traction_mass = s.mass + 1; },
         "`traction_mass` must not exceed `mass`"},
        {[](RollingStock& s) { s.effort.points.clear(); }, "`effort.points` must not be empty"},
        {[](RollingStock& s) { s.effort.points[1].speed_kmh = 0; },
         "`effort.points` must rise strictly in speed"},
    };
    for (const auto& c : cases) {
        RollingStock s = regional_train(3, 120);
        c.spoil(s);
        EXPECT_EQ(stock_problem(s), c.problem);
    }
}

}  // namespace
}  // namespace scenario
