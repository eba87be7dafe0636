#include "running/rolling_stock.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>

namespace scenario {

namespace {

// ---- The defaults of regional_train(), in one table -----------------------
//
// The vehicles are those of the long-distance test train of TrainRuns.jl
// (railtoolkit, ISC licence; test/data/trains/longdistance.yaml), whose
// figures cite Wende, "Fahrdynamik des Schienenverkehrs", 2003, pp. 13 and
// 151-153, and Hansen and Pachl (eds.), "Railway Timetabling & Operations",
// 2014, p. 71. A regional train here is its locomotive and N of its
// intermediate coaches.

// One vehicle. Resistance coefficients are per mille of the vehicle's weight
// in the form both test trains use (Wende pp. 151, 153):
//   R = m g (base + linear v / 100 + air ((v + 15) / 100)^2) / 1000,
// v in km/h, the 15 km/h standing for head wind.
struct VehicleData {
    double mass;           // t, empty
    double load;           // t, the full load counted on top (TrainRuns.jl runs full trains)
    double length;         // m
    double rotating_mass;  // factor
    double base;           // per mille
    double linear;         // per mille at 100 km/h
    double air;            // per mille at 100 km/h of air speed
};

// Locomotive "Bombardier_Traxx_2_P160": mass, traction mass (all of it) and
// length from the file; rotating mass 1.09 (Hansen p. 71); base 2.5 per
// mille (Wende p. 151, four-axle locomotive); air 6.0 per mille (Wende
// p. 151, square front with pantograph, as fitted to this form by the file).
constexpr VehicleData kLocomotive = {85.0, 0.0, 18.9, 1.09, 2.5, 0.0, 6.0};

// Coach "DABpza68": mass, load limit and length from the file; rotating mass
// 1.06 (Hansen p. 71); base 2.0, linear 0.715 and air 3.64 per mille (Wende
// p. 153, double-deck coaches).
constexpr VehicleData kCoach = {50.0, 20.0, 26.8, 1.06, 2.0, 0.715, 3.64};

// The air term's reference and head-wind speeds, km/h (TrainRuns.jl's v00
// and dv_air, after Wende p. 153).
constexpr double kAirReferenceSpeed = 100.0;
constexpr double kHeadWind = 15.0;

// The locomotive's tractive-effort table, kN: the file's points (given in N
// every 1 km/h) at 0 and 66 km/h, where constant effort ends, at 67 and
// 68 km/h, where the curve bends, then every 5 km/h along the constant-power
// curve. Linear interpolation between these stays within 0.12 % of the full
// table.
constexpr EffortPoint kEffort[] = {
    {0, 300.0},    {66, 300.0},   {67, 297.76},  {68, 293.38},  {70, 285.0},   {75, 266.0},
    {80, 249.38},  {85, 234.71},  {90, 221.67},  {95, 210.0},   {100, 199.5},  {105, 190.0},
    {110, 181.36}, {115, 173.48}, {120, 166.25}, {125, 159.6},  {130, 153.46}, {135, 147.78},
    {140, 142.5},  {145, 137.59}, {150, 133.0},  {155, 128.71}, {160, 124.69},
};

// The train card's "V140": the train's top speed, km/h, below the 160 km/h
// of both vehicles.
constexpr double kTopSpeed = 140.0;

// Base adhesion coefficient on dry rail: TrainRuns.jl's constant mu = 0.2,
// within the 180 to 250 kg/t "for dry rails" of the adhesion table of a
// German traction textbook (TIB digital collection, record 1880091828, p. 43).
constexpr double kAdhesion = 0.2;

// Braking. The braked-mass percentage is defined by a stop (de.wikipedia.org,
// "Bremshundertstel": in brake position P, 80 % brings a train from 120 km/h
// to a stand within 1000 m, a mean 0.56 m/s^2; 160 % gives 1.12 m/s^2, so the
// deceleration is proportional to the percentage). A timetable plans with a
// service application, not a full one: half of it, which puts 120 % at
// 0.42 m/s^2, between TrainRuns.jl's passenger default of 0.375 m/s^2
// (Bruenger and Dahlhaus in Hansen, p. 74) and the 0.4253 m/s^2 of its
// regional test train.
constexpr double kReferencePercent = 80.0;
constexpr double kReferenceSpeed = 120.0 / 3.6;  // m/s
constexpr double kReferenceDistance = 1000.0;    // m
constexpr double kServiceShare = 0.5;

// The classification the train card shows for these trains.
constexpr const char* kClassification = "REGIONALE";

// ---- End of the defaults ---------------------------------------------------

// Bounds of every stock value: wide enough for any real train, narrow
// enough that masses, speeds and forces never overflow or vanish in the
// engine's arithmetic. Where zero is the natural floor, a value at or below
// it is named as such, before the guard above it.
enum class Floor { kPositive, kNonNegative, kLow };

struct Bound {
    std::string_view key;
    Floor floor;
    double low;
    double high;
};

constexpr Bound kBounds[] = {
    {"mass", Floor::kPositive, 0.1, 1e5},          {"traction_mass", Floor::kPositive, 0.1, 1e5},
    {"rotating_mass", Floor::kLow, 1, 10},         {"length", Floor::kPositive, 1, 1e5},
    {"top_speed", Floor::kPositive, 1, 1000},      {"braking", Floor::kPositive, 0.01, 10},
    {"adhesion", Floor::kPositive, 0.001, 2},      {"braked_mass", Floor::kPositive, 0.1, 1e6},
    {"resistance.a", Floor::kLow, -1e6, 1e6},      {"resistance.b", Floor::kLow, -1e6, 1e6},
    {"resistance.c", Floor::kLow, -1e6, 1e6},      {"effort.speed", Floor::kNonNegative, 0, 1000},
    {"effort.force", Floor::kNonNegative, 0, 1e6},
};

std::string number_text(double value) {
    std::string text = std::to_string(value);
    text.erase(text.find_last_not_of('0') + 1);
    if (!text.empty() && text.back() == '.') text.pop_back();
    return text;
}

std::string range_problem(const Bound& bound, double value) {
    if (bound.floor == Floor::kPositive && value <= 0) return "must be greater than 0";
    if (bound.floor == Floor::kNonNegative && value < 0) return "must not be negative";
    if (value < bound.low) return "must be at least " + number_text(bound.low);
    if (value > bound.high) return "must be at most " + number_text(bound.high);
    return {};
}

std::string named(std::string_view key, const std::string& problem) {
    return problem.empty() ? problem : "`" + std::string(key) + "` " + problem;
}

std::string effort_problem(const EffortTable& table) {
    if (table.points.empty()) return "`effort.points` must not be empty";
    for (std::size_t i = 0; i < table.points.size(); ++i) {
        const EffortPoint& point = table.points[i];
        std::string problem =
            named("effort.speed", stock_value_problem("effort.speed", point.speed_kmh));
        if (problem.empty())
            problem = named("effort.force", stock_value_problem("effort.force", point.force_kn));
        if (problem.empty() && i > 0 && point.speed_kmh <= table.points[i - 1].speed_kmh)
            problem = "`effort.points` must rise strictly in speed";
        if (!problem.empty()) return problem;
    }
    return {};
}

// Resistance of one vehicle in Davis form, kN.
Resistance davis_of(const VehicleData& vehicle) {
    const double weight = (vehicle.mass + vehicle.load) * kGravity / 1000.0;  // kN per per mille
    const double v00 = kAirReferenceSpeed;
    return {
        weight * (vehicle.base + vehicle.air * kHeadWind * kHeadWind / (v00 * v00)),
        weight * (vehicle.linear / v00 + vehicle.air * 2.0 * kHeadWind / (v00 * v00)),
        weight * vehicle.air / (v00 * v00),
    };
}

}  // namespace

double effort_at(const EffortTable& table, double speed_kmh) {
    std::size_t hint = 0;
    return effort_at(table, speed_kmh, &hint);
}

double effort_at(const EffortTable& table, double speed_kmh, std::size_t* hint) {
    const std::vector<EffortPoint>& points = table.points;
    if (points.empty() || speed_kmh > points.back().speed_kmh) return 0.0;
    if (speed_kmh <= points.front().speed_kmh) return points.front().force_kn;
    // The interval [i, i + 1] holding the speed, walked to from the hint.
    std::size_t i = std::min(*hint, points.size() - 2);
    while (speed_kmh > points[i + 1].speed_kmh)
        ++i;
    while (speed_kmh < points[i].speed_kmh)
        --i;
    *hint = i;
    const EffortPoint& low = points[i];
    const EffortPoint& high = points[i + 1];
    const double share = (speed_kmh - low.speed_kmh) / (high.speed_kmh - low.speed_kmh);
    return low.force_kn + share * (high.force_kn - low.force_kn);
}

double resistance_at(const Resistance& resistance, double speed_kmh) {
    return resistance.a + speed_kmh * (resistance.b + resistance.c * speed_kmh);
}

std::string stock_value_problem(std::string_view key, double value) {
    if (!std::isfinite(value)) return "must be a finite number";
    for (const Bound& bound : kBounds)
        if (bound.key == key) return range_problem(bound, value);
    return {};
}

std::string stock_problem(const RollingStock& stock) {
    const std::pair<std::string_view, double> values[] = {
        {"mass", stock.mass},
        {"rotating_mass", stock.rotating_mass},
        {"traction_mass", stock.traction_mass},
        {"length", stock.length},
        {"top_speed", stock.top_speed},
        {"braking", stock.braking},
        {"adhesion", stock.adhesion},
        {"resistance.a", stock.resistance.a},
        {"resistance.b", stock.resistance.b},
        {"resistance.c", stock.resistance.c},
    };
    for (const auto& [key, value] : values) {
        std::string problem = named(key, stock_value_problem(key, value));
        if (!problem.empty()) return problem;
    }
    if (stock.braked_mass) {
        std::string problem =
            named("braked_mass", stock_value_problem("braked_mass", *stock.braked_mass));
        if (!problem.empty()) return problem;
    }
    if (stock.traction_mass > stock.mass) return "`traction_mass` must not exceed `mass`";
    return effort_problem(stock.effort);
}

double service_deceleration(double braked_mass_percent) {
    const double reference =
        kReferenceSpeed * kReferenceSpeed / (2.0 * kReferenceDistance);  // m/s^2 at 80 %
    return kServiceShare * reference * braked_mass_percent / kReferencePercent;
}

RollingStock regional_train(int carriages, double braked_mass_percent) {
    const double coaches = carriages;
    const double coach_mass = kCoach.mass + kCoach.load;
    const Resistance locomotive = davis_of(kLocomotive);
    const Resistance coach = davis_of(kCoach);

    RollingStock stock;
    stock.mass = kLocomotive.mass + coaches * coach_mass;
    // The mass-weighted mean of the vehicles' factors, as TrainRuns.jl forms it.
    stock.rotating_mass = (kLocomotive.rotating_mass * kLocomotive.mass +
                           kCoach.rotating_mass * coaches * coach_mass) /
                          stock.mass;
    stock.traction_mass = kLocomotive.mass;
    stock.length = kLocomotive.length + coaches * kCoach.length;
    stock.top_speed = kTopSpeed;
    stock.braking = service_deceleration(braked_mass_percent);
    stock.adhesion = kAdhesion;
    stock.resistance = {locomotive.a + coaches * coach.a, locomotive.b + coaches * coach.b,
                        locomotive.c + coaches * coach.c};
    stock.effort.points.assign(std::begin(kEffort), std::end(kEffort));
    stock.classification = kClassification;
    // The braked mass is left to an author's file: the train card then keeps
    // the figure its own layout has.
    return stock;
}

}  // namespace scenario
