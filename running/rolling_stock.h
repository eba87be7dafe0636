// The train as the running-time engine sees it, in the units a timetable
// planner reads: tonnes, metres, km/h, kN and m/s^2. docs/running-time.md
// gives the equations these values enter and the source of every default.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {

// Standard gravity, m/s^2: the value the published test trains were computed with.
inline constexpr double kGravity = 9.80665;

// One point of the tractive-effort curve.
struct EffortPoint {
    double speed_kmh = 0;
    double force_kn = 0;

    bool operator==(const EffortPoint&) const = default;
};

// The tractive effort at the rail, before adhesion: points strictly
// ascending in speed, interpolated linearly between them. Below the first
// point the effort is the first point's; above the last it is 0, so a train
// never pulls at a speed its table does not cover.
struct EffortTable {
    std::vector<EffortPoint> points;

    bool operator==(const EffortTable&) const = default;
};

// Running resistance in Davis form: R = a + b v + c v^2, v in km/h, R in kN.
struct Resistance {
    double a = 0;  // kN
    double b = 0;  // kN per km/h
    double c = 0;  // kN per (km/h)^2

    bool operator==(const Resistance&) const = default;
};

struct RollingStock {
    double mass = 0;           // t, the whole train as it runs, load included
    double rotating_mass = 1;  // factor >= 1 on the mass for inertia
    double traction_mass = 0;  // t resting on driven axles
    double length = 0;         // m
    double top_speed = 0;      // km/h
    double braking = 0;        // m/s^2, the constant service deceleration, positive
    double adhesion = 0;       // base adhesion coefficient, scaled by the route's per cent
    Resistance resistance;
    EffortTable effort;
    // The two values the driver's card shows; the engine does not use them.
    std::string classification = "REGIONALE";
    std::optional<double> braked_mass;  // t

    bool operator==(const RollingStock&) const = default;
};

// The table's effort at `speed_kmh`, kN; 0 for an empty table. `hint`
// keeps the index of the last interval used, for callers whose speed moves
// little from one call to the next.
double effort_at(const EffortTable& table, double speed_kmh);
double effort_at(const EffortTable& table, double speed_kmh, std::size_t* hint);

// The running resistance at `speed_kmh`, kN.
double resistance_at(const Resistance& resistance, double speed_kmh);

// Whether `value` is usable for the stock value named `key` (a member name
// above, "resistance.a" for a resistance coefficient, "effort.speed" or
// "effort.force" for a table point): an empty string, or the reason it is
// not ("must be greater than 0", ...). The bounds keep every quantity the
// engine derives finite; unknown keys accept any finite value.
std::string stock_value_problem(std::string_view key, double value);

// The first reason the engine cannot run `stock`, as "`key` <reason>", or an
// empty string: each value within its bounds, the traction mass within the
// mass, and an effort table of at least one point strictly ascending in speed.
std::string stock_problem(const RollingStock& stock);

// The service deceleration, m/s^2, for a braked-mass percentage: half the mean
// deceleration the percentage stands for in brake position P (80 % stops a
// train from 120 km/h within 1000 m), proportional to the percentage.
double service_deceleration(double braked_mass_percent);

// A regional train of a locomotive and `carriages` coaches with the given
// braked-mass percentage, from the published test trains (see the table in
// rolling_stock.cpp). A count or percentage out of all reason gives a stock
// that stock_problem() refuses, never a silently different train.
RollingStock regional_train(int carriages, double braked_mass_percent);

}  // namespace scenario
