#include "running/running_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace scenario {
namespace {

// A train of 100 t that accelerates at `accel` m/s^2 at any speed: a flat
// effort, no resistance and adhesion to spare.
RollingStock constant_train(double accel, double braking, double length = 100) {
    RollingStock s;
    s.mass = 100;
    s.traction_mass = 100;
    s.length = length;
    s.top_speed = 500;
    s.braking = braking;
    s.adhesion = 1;
    s.effort.points = {{0, accel * 100}, {1000, accel * 100}};
    return s;
}

TrainRun run(const Track& track, std::vector<Stop> stops, const RollingStock& stock,
             RunOptions options = {}) {
    return run_train(track, stops, stock, options);
}

double total(const TrainRun& r) {
    EXPECT_EQ(r.status, RunStatus::kOk) << r.detail;
    return r.stops.empty() ? 0 : r.stops.back().arrival_s;
}

// 20 km of changing limits and gradients, with one intermediate stop.
Track hilly(double extra_gradient = 0) {
    Track track;
    const double limits[] = {80, 120, 120, 60, 140, 140, 100, 140, 120, 90};
    const double gradients[] = {0, 8, 15, -10, 12, -5, 3, 10, -12, 6};
    for (int i = 0; i < 20; ++i)
        track.sections.push_back(
            {i * 1000.0, limits[i / 2], gradients[i % 10] + extra_gradient, 100});
    track.end = 20000;
    return track;
}
const std::vector<Stop> kHillyStops = {{0, 0}, {9000, 30}, {20000, 0}};

// Accelerate at a to the limit V, cruise, brake at b to the stop over D:
// T = D/V + V/(2a) + V/(2b); or, when D is too short for V, the triangle
// T = sqrt(2D(a + b)/(ab)).
TEST(RunningTime, StopToStopMatchesTheClosedForms) {
    const struct {
        double distance, limit_kmh, accel, braking;
    } cases[] = {
        {10000, 100, 0.5, 0.4},  // cruises
        {3000, 80, 1.0, 0.8},    // cruises
        {1000, 140, 0.5, 0.4},   // a triangle
        {400, 60, 0.3, 0.6},     // a triangle
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.distance);
        const double a = c.accel, b = c.braking, d = c.distance, v = c.limit_kmh / 3.6;
        const bool cruises = d >= v * v / (2 * a) + v * v / (2 * b);
        const double expected =
            cruises ? d / v + v / (2 * a) + v / (2 * b) : std::sqrt(2 * d * (a + b) / (a * b));
        const TrainRun r =
            run({{{0, c.limit_kmh, 0, 100}}, d}, {{0, 0}, {d, 0}}, constant_train(a, b));
        EXPECT_NEAR(total(r), expected, expected * 1e-3);
        // The braking curve ends at the stop at 0: 40 m before, v = sqrt(2 b 40).
        EXPECT_NEAR(r.speed_at(d - 40), std::sqrt(2 * b * 40) * 3.6, 1e-6);
        EXPECT_EQ(r.speed_at(d), 0);
        if (cruises) {
            EXPECT_NEAR(r.time_at(d / 2), v / (2 * a) + d / (2 * v), 1e-6);
        }
    }
}

// Effort F against A + C v^2 and the gradient's pull: v = sqrt((F - A - G)/C).
TEST(RunningTime, ALongGradientSettlesAtTheBalancingSpeed) {
    const struct { double gradient, effort; } cases[] = {{20, 200}, {10, 200}, {-5, 100}};
    for (const auto& c : cases) {
        RollingStock s = constant_train(0, 0.5);
        s.mass = s.traction_mass = 400;
        s.effort.points = {{0, c.effort}, {1000, c.effort}};
        s.resistance = {5, 0, 0.005};
        const double pull = c.gradient / 1000 * 400 * kGravity;
        const double expected = std::sqrt((c.effort - 5 - pull) / 0.005);
        const TrainRun r = run({{{0, 300, c.gradient, 100}}, 60000}, {{0, 0}, {60000, 0}}, s);
        EXPECT_NEAR(r.speed_at(50000), expected, expected * 1e-3) << c.gradient;
    }
}

// 40 km/h over 2000 to 2050 m within 100 km/h, for a train 300 m long: the
// head reaches the restriction at 40, and the train holds 40 until its tail
// has left it, 350 m on.
TEST(RunningTime, ARestrictionHoldsUntilTheTailHasLeftIt) {
    const Track track{{{0, 100, 0, 100}, {2000, 40, 0, 100}, {2050, 100, 0, 100}}, 5000};
    const TrainRun r = run(track, {{0, 0}, {5000, 0}}, constant_train(0.5, 0.5, 300));
    EXPECT_NEAR(r.speed_at(2000), 40, 1e-9);
    EXPECT_NEAR(r.speed_at(2350), 40, 1e-9);
    for (const ProfilePoint& p : r.profile) {
        if (p.position >= 2000 && p.position <= 2350) {
            EXPECT_LE(p.speed_kmh, 40 + 1e-9) << p.position;
        }
    }
    EXPECT_GT(r.speed_at(2400), 45);  // 11.1 m/s + 50 m at 0.5 m/s^2: 47.4 km/h
}

TEST(RunningTime, MoreMassOrASteeperClimbIsNeverFaster) {
    const RollingStock stock = regional_train(3, 120);
    const double reference = total(run(hilly(), kHillyStops, stock));
    for (double factor : {1.1, 1.5, 2.0}) {
        RollingStock heavier = stock;
        heavier.mass *= factor;
        EXPECT_GE(total(run(hilly(), kHillyStops, heavier)), reference) << factor;
    }
    for (double extra : {1.0, 5.0, 10.0})
        EXPECT_GE(total(run(hilly(extra), kHillyStops, stock)), reference) << extra;
}

TEST(RunningTime, HalvingTheStepChangesTheTimeByLessThanAHalfPerMille) {
    const RollingStock stock = regional_train(3, 120);
    const double coarse = total(run(hilly(), kHillyStops, stock, {5, 50}));
    const double fine = total(run(hilly(), kHillyStops, stock, {2.5, 50}));
    EXPECT_LT(std::abs(coarse - fine), 0.0005 * fine);
}

// The published test run "const" (10 km level at 160 km/h) with the
// regional test train (TrainRuns.jl test data, local.yaml): one unit of
// 68 t plus 20 t load, traction mass 45.333 t, 41.7 m, 120 km/h, rotating
// mass 1.08, 0.4253 m/s^2. Its per-mille resistance, converted by hand:
//   a = g/1000 (3.0 * 45.333 + 1.4 * 22.667 + 3.9 * 68 * 0.0225) = 1.70341 kN
//   b = g/1000 * 3.9 * 68 * 0.003 = 0.00780217, c = g/1000 * 3.9 * 68 / 10000 = 0.000260072
// Worked by hand over speed (dt = dv/a, dx = v dv/a) with the table below:
// 0 to 120 km/h takes 176.2 s over 4043 m; braking from 33.33 m/s takes
// 78.4 s over 1306 m; cruising the other 4651 m takes 139.5 s: 394.2 s.
// TrainRuns.jl, with the full table, reports 391.6 s.
TEST(RunningTime, PublishedConstPathWithTheRegionalTestTrain) {
    RollingStock s;
    s.mass = 88;
    s.rotating_mass = 1.08;
    s.traction_mass = 45.333;
    s.length = 41.7;
    s.top_speed = 120;
    s.braking = 0.4253;
    s.adhesion = 1;  // the test runs cap the effort by its table alone
    s.resistance = {1.70341, 0.00780217, 0.000260072};
    s.effort.points = {{0, 94.4},   {10, 80},     {20, 61.33}, {30, 42.63}, {32, 38.89},
                       {36, 35.77}, {37, 35.6},   {42, 35.6},  {51, 31.59}, {52, 26.3},
                       {56, 26.3},  {70, 22.99},  {71, 19.4},  {80, 19.4},  {88, 18.25},
                       {89, 15.36}, {110, 14.31}, {120, 13.38}};
    const double t = total(run({{{0, 160, 0, 100}}, 10000}, {{0, 0}, {10000, 0}}, s));
    EXPECT_NEAR(t, 394.2, 394.2 * 0.002);
    EXPECT_NEAR(t, 391.6, 391.6 * 0.015);
}

struct Input {
    Track track;
    std::vector<Stop> stops;
    RollingStock stock;
};

// 1000 m at 100 km/h, stop to stop.
Input plain() {
    return {{{{0, 100, 0, 100}}, 1000}, {{0, 0}, {1000, 0}}, constant_train(0.5, 0.5)};
}

void expect_finite(const TrainRun& r) {
    for (const ProfilePoint& p : r.profile)
        EXPECT_TRUE(std::isfinite(p.position + p.speed_kmh + p.time_s));
    for (const StopTimes& s : r.stops)
        EXPECT_TRUE(std::isfinite(s.arrival_s + s.departure_s));
    EXPECT_TRUE(std::isfinite(r.time_at(500) + r.speed_at(500)));
}

TEST(RunningTime, ARunThatCannotBeMadeStopsWithAStatusAndAPlace) {
    const struct {
        void (*make)(Input&);
        RunStatus status;
        double position;
    } cases[] = {
        // A closed section between the stops.
        {[](Input& in) {
             in.track.sections = {{0, 100, 0, 100}, {300, 0, 0, 100}, {310, 100, 0, 100}};
         },
         RunStatus::kBlocked, 300},
        // 20 kN cannot start 100 t on 40 per mille (39.2 kN).
        {[](Input& in) {
             in.track.sections[0].gradient_permille = 40;
             in.stock = constant_train(0.2, 0.5);
         },
         RunStatus::kStalled, 0},
        // 50 kN cannot hold 100 t on 60 per mille (58.8 kN): from 100 km/h at
        // 1000 m it loses 0.0884 m/s^2 and stands after 27.78^2 / 0.1768 m.
        {[](Input& in) {
             in.track = {{{0, 100, 0, 100}, {1000, 100, 60, 100}}, 20000};
             in.stops.back().position = 20000;
         },
         RunStatus::kStalled, 1000 + 27.7778 * 27.7778 / 0.17684},
    };
    for (const auto& c : cases) {
        Input in = plain();
        c.make(in);
        const TrainRun r = run_train(in.track, in.stops, in.stock);
        EXPECT_EQ(r.status, c.status) << c.position;
        EXPECT_NEAR(r.failure_position, c.position, 0.01 * c.position + 1e-6);
        expect_finite(r);
    }
}

TEST(RunningTime, InputThatCannotBeRunIsNamed) {
    const struct {
        void (*spoil)(Input&);
        const char* detail;
    } cases[] = {
        {[](Input& in) {
             in.track.sections.push_back({500, 100, std::nan(""), 100});
         },
         "sections[1].gradient_permille is out of bounds"},
        {[](Input& in) {
             in.track.sections = {{0, 100, 0, 100}, {500, 100, 0, 100}, {400, 100, 0, 100}};
         },
         "sections[2].from lies before"},
        {[](Input& in) {
             in.stops = {{0, 0}, {600, 0}, {500, 0}};
         },
         "stops[2].position does not lie"},
        {[](Input& in) {
             in.stops = {{0, 0}, {500, -1}, {1000, 0}};
         },
         "stops[1].dwell_s is out of bounds"},
        {[](Input& in) { in.stops.back().position = 1500; },
         "stops[1].position is not on the track"},
        {[](Input& in) { in.stops.pop_back(); }, "a run needs an origin and a terminus"},
        {[](Input& in) { in.stock.braking = 0; }, "`braking` must be greater than 0"},
        {[](Input& in) { in.track.end = 1e300; }, "the track's end"},
    };
    for (const auto& c : cases) {
        Input in = plain();
        c.spoil(in);
        const TrainRun r = run_train(in.track, in.stops, in.stock);
        EXPECT_EQ(r.status, RunStatus::kInvalidInput);
        EXPECT_EQ(r.detail.rfind(c.detail, 0), 0u) << r.detail;
        expect_finite(r);
    }
}

}  // namespace
}  // namespace scenario
