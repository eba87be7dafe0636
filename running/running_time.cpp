#include "running/running_time.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace scenario {

namespace {

constexpr double kKmh = 3.6;  // km/h in one m/s

// Bounds of the route's numbers. Beyond them no railway exists, and within
// them every time, speed and force the engine derives stays finite.
constexpr double kMaxPosition = 1e9;   // m
constexpr double kMaxLimit = 10000;    // km/h
constexpr double kMaxGradient = 1000;  // per mille
constexpr double kMaxAdhesion = 1000;  // per cent
constexpr double kMaxDwell = 1e7;      // s
constexpr double kMinStep = 0.01;      // m, the shortest integration step allowed

// Slack when asking whether the train runs at its ceiling: relative, and
// absolute for the last metres before a stop, where the ceiling nears 0.
constexpr double kAtCeiling = 1e-9;
constexpr double kAtCeilingNearStop = 1e-9;  // (m/s)^2
// A step that meets the ceiling closer than this, m, rides it instead.
constexpr double kMinProgress = 1e-6;
// A train this close to its balancing speed, m/s, runs at it: it would only
// creep the rest of the way, over kilometres, for a fraction of a second.
constexpr double kBalanceSnap = 0.005;
// Below this acceleration, m/s^2, the balancing speed is worth looking for.
constexpr double kBalanceLook = 0.01;

// A piece of the speed ceiling: v^2 in (m/s)^2 over [from, to).
struct Ceiling {
    double from;
    double to;
    double u;
};

// Where the forces stay constant: the gradient's pull and the adhesion's
// cap on the effort, both kN, over [from, to). Up to `grip_bound_kmh` the
// table's effort is at least the cap, so the cap is the effort.
struct Ground {
    double from;
    double to;
    double grade_kn;
    double grip_kn;
    double grip_bound_kmh;
};

// A piece of the braking envelope, the highest v^2 allowed:
// u(x) = u0 + slope (x - from) over [from, to]; slope is 0 or -2b.
struct Envelope {
    double from;
    double to;
    double u0;
    double slope;
    double at(double x) const { return u0 + slope * (x - from); }
};

bool within(double value, double low, double high) {
    return std::isfinite(value) && value >= low && value <= high;
}

// Which value of a section is unusable, or null. Kept free of strings: it
// runs for every 50 m cell of a route.
const char* section_problem(const TrackSection& s, double previous_from) {
    if (!within(s.from, -kMaxPosition, kMaxPosition)) return ".from is out of bounds";
    if (s.from < previous_from) return ".from lies before the section ahead of it";
    if (!within(s.limit_kmh, 0, kMaxLimit)) return ".limit_kmh is out of bounds";
    if (!within(s.gradient_permille, -kMaxGradient, kMaxGradient))
        return ".gradient_permille is out of bounds";
    if (!within(s.adhesion_percent, 0, kMaxAdhesion)) return ".adhesion_percent is out of bounds";
    return nullptr;
}

std::string track_problem(const Track& track) {
    if (track.sections.empty()) return "the track has no section";
    double previous = -kMaxPosition;
    for (std::size_t i = 0; i < track.sections.size(); ++i) {
        if (const char* problem = section_problem(track.sections[i], previous))
            return "sections[" + std::to_string(i) + "]" + problem;
        previous = track.sections[i].from;
    }
    if (!within(track.end, previous, kMaxPosition) || track.end <= track.sections[0].from)
        return "the track's end does not lie beyond its sections' starts";
    return {};
}

std::string stops_problem(std::span<const Stop> stops, const Track& track) {
    if (stops.size() < 2) return "a run needs an origin and a terminus";
    for (std::size_t i = 0; i < stops.size(); ++i) {
        const std::string name = "stops[" + std::to_string(i) + "]";
        if (!within(stops[i].position, track.sections[0].from, track.end))
            return name + ".position is not on the track";
        if (i > 0 && stops[i].position <= stops[i - 1].position)
            return name + ".position does not lie beyond the stop before it";
        if (!within(stops[i].dwell_s, 0, kMaxDwell)) return name + ".dwell_s is out of bounds";
    }
    return {};
}

std::string options_problem(const RunOptions& options) {
    if (!within(options.max_step, kMinStep, kMaxPosition))
        return "options.max_step is out of bounds";
    if (!within(options.point_spacing, kMinStep, kMaxPosition))
        return "options.point_spacing is out of bounds";
    return {};
}

double section_end(const Track& track, std::size_t i) {
    return i + 1 < track.sections.size() ? track.sections[i + 1].from : track.end;
}

// The line's limits, capped by the top speed, with equal neighbours joined.
std::vector<Ceiling> line_limits(const Track& track, double top_speed_kmh) {
    std::vector<Ceiling> out;
    for (std::size_t i = 0; i < track.sections.size(); ++i) {
        const double from = track.sections[i].from;
        const double to = section_end(track, i);
        if (to <= from) continue;
        const double v = std::min(track.sections[i].limit_kmh, top_speed_kmh) / kKmh;
        if (!out.empty() && out.back().u == v * v)
            out.back().to = to;
        else
            out.push_back({from, to, v * v});
    }
    return out;
}

// The limit for the head: the lowest over the train's length behind it, so
// that a lower limit holds until the tail has left it. Each piece of the line
// lasts a train's length longer; the value changes only where a piece begins
// or where one's extension ends.
std::vector<Ceiling> head_limits(const std::vector<Ceiling>& line, double length) {
    const double end = line.back().to;
    std::vector<double> cuts;
    cuts.reserve(2 * line.size());
    for (const Ceiling& piece : line)
        cuts.push_back(piece.from);
    for (const Ceiling& piece : line)
        if (piece.to + length < end) cuts.push_back(piece.to + length);
    std::inplace_merge(cuts.begin(), cuts.begin() + static_cast<std::ptrdiff_t>(line.size()),
                       cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());

    std::vector<Ceiling> out;
    std::size_t k = 0;
    for (std::size_t c = 0; c < cuts.size(); ++c) {
        const double from = cuts[c];
        const double to = c + 1 < cuts.size() ? cuts[c + 1] : end;
        while (k + 1 < line.size() && line[k + 1].from <= from)
            ++k;
        double u = line[k].u;
        for (std::size_t i = k; i-- > 0 && line[i].to + length > from;)
            u = std::min(u, line[i].u);
        if (!out.empty() && out.back().u == u)
            out.back().to = to;
        else
            out.push_back({from, to, u});
    }
    return out;
}

// The highest speed up to which the table's effort never falls below `grip`,
// or -1: the table is linear between its points and constant before the first.
double grip_bound(const EffortTable& table, double grip) {
    const std::vector<EffortPoint>& points = table.points;
    if (points.front().force_kn < grip) return -1;
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        const EffortPoint& low = points[i];
        const EffortPoint& high = points[i + 1];
        if (high.force_kn >= grip) continue;
        const double share = (low.force_kn - grip) / (low.force_kn - high.force_kn);
        return low.speed_kmh + share * (high.speed_kmh - low.speed_kmh);
    }
    return points.back().speed_kmh;
}

std::vector<Ground> grounds(const Track& track, const RollingStock& stock) {
    std::vector<Ground> out;
    for (std::size_t i = 0; i < track.sections.size(); ++i) {
        const TrackSection& s = track.sections[i];
        const double to = section_end(track, i);
        if (to <= s.from) continue;
        // Small angles: the per-mille gradient is the sine of the slope.
        const double grade = s.gradient_permille / 1000.0 * stock.mass * kGravity;
        const double grip =
            s.adhesion_percent / 100.0 * stock.adhesion * stock.traction_mass * kGravity;
        if (!out.empty() && out.back().grade_kn == grade && out.back().grip_kn == grip)
            out.back().to = to;
        else
            out.push_back({s.from, to, grade, grip, grip_bound(stock.effort, grip)});
    }
    return out;
}

// The envelope of [from, to] in running order: the head limits, cut by a
// braking curve at the service deceleration `b` ahead of every drop and of
// the stop at `to`. Built backwards, from the stop.
void braking_envelope(const std::vector<Ceiling>& limits, double from, double to, double b,
                      std::vector<Envelope>* out) {
    out->clear();
    auto first = std::upper_bound(limits.begin(), limits.end(), from,
                                  [](double x, const Ceiling& c) { return x < c.to; });
    auto last = std::lower_bound(limits.begin(), limits.end(), to,
                                 [](const Ceiling& c, double x) { return c.from < x; });
    double u_right = 0;
    for (auto it = last; it != first;) {
        --it;
        const double p = std::max(it->from, from);
        const double q = std::min(it->to, to);
        const double cu = it->u;
        if (u_right >= cu) {
            out->push_back({p, q, cu, 0});
            u_right = cu;
            continue;
        }
        const double reach = (cu - u_right) / (2 * b);
        if (q - reach <= p) {
            const double u0 = u_right + 2 * b * (q - p);
            out->push_back({p, q, u0, -2 * b});
            u_right = u0;
        } else {
            out->push_back({q - reach, q, cu, -2 * b});
            out->push_back({p, q - reach, cu, 0});
            u_right = cu;
        }
    }
    std::reverse(out->begin(), out->end());
}

// The position of the first limit of 0 in [from, to), or NaN.
double closed_limit(const std::vector<Ceiling>& limits, double from, double to) {
    for (const Ceiling& c : limits)
        if (c.u <= 0 && c.from < to && c.to > from) return std::max(c.from, from);
    return std::numeric_limits<double>::quiet_NaN();
}

// The forward run of one stop-to-stop leg under the envelope.
class Leg {
  public:
    Leg(const RollingStock& stock, const std::vector<Envelope>& envelope,
        const std::vector<Ground>& ground, const RunOptions& options, TrainRun* run)
        : stock_(stock),
          inertia_(stock.mass * stock.rotating_mass),
          envelope_(envelope),
          ground_(ground),
          options_(options),
          run_(run) {}

    // Runs from rest at `from` to rest at `to`, leaving the clock at the
    // arrival. False when the train stalls; the run then holds the position.
    bool drive(double from, double to, double* clock);

  private:
    double accel(double v, const Ground& g) const;
    double accel_here(const Ground& g);
    double heun(double h, const Ground& g);
    double balancing_speed(double v, const Ground& g) const;
    double next_point(double x) const;
    bool ride_ceiling(const Envelope& e, const Ground& g, double next);
    bool pull(const Envelope& e, const Ground& g, double next);
    void cruise(double v, const Envelope& e, double next);
    void advance(double x, double u, double v, bool mark);
    void stall(double position);

    const RollingStock& stock_;
    const double inertia_;
    const std::vector<Envelope>& envelope_;
    const std::vector<Ground>& ground_;
    const RunOptions& options_;
    TrainRun* run_;
    mutable std::size_t effort_hint_ = 0;
    // The acceleration at the train's place and speed, once taken: a step's
    // end is the next step's start.
    const Ground* cached_ground_ = nullptr;
    double cached_u_ = -1;
    double cached_accel_ = 0;
    double x_ = 0;
    double u_ = 0;  // v^2
    double v_ = 0;
    double t_ = 0;
    double end_ = 0;
    double next_ = 0;  // the next place a point is due: an event or the spacing
};

// Acceleration under full traction at `v` m/s, m/s^2 (kN per t).
double Leg::accel(double v, const Ground& g) const {
    const double kmh = v * kKmh;
    const double pull = kmh <= g.grip_bound_kmh
                            ? g.grip_kn
                            : std::min(effort_at(stock_.effort, kmh, &effort_hint_), g.grip_kn);
    return (pull - resistance_at(stock_.resistance, kmh) - g.grade_kn) / inertia_;
}

double Leg::accel_here(const Ground& g) {
    if (&g != cached_ground_ || u_ != cached_u_) {
        cached_ground_ = &g;
        cached_u_ = u_;
        cached_accel_ = accel(v_, g);
    }
    return cached_accel_;
}

// The v^2 after a step of `h` metres from here, by Heun's method on
// du/dx = 2a.
double Leg::heun(double h, const Ground& g) {
    const double k1 = 2 * accel_here(g);
    const double k2 = 2 * accel(std::sqrt(std::max(u_ + h * k1, 0.0)), g);
    return u_ + 0.5 * h * (k1 + k2);
}

// The speed within `kBalanceSnap` of `v` at which traction just balances
// resistance and gradient, where the speed settles (faster, it slows; slower,
// it gains), by bisection; -1 when there is none.
double Leg::balancing_speed(double v, const Ground& g) const {
    double low = std::max(v - kBalanceSnap, 0.0);
    double high = v + kBalanceSnap;
    if (!(accel(low, g) > 0 && accel(high, g) <= 0)) return -1;
    for (int i = 0; i < 60; ++i) {
        const double mid = 0.5 * (low + high);
        (accel(mid, g) > 0 ? low : high) = mid;
    }
    return 0.5 * (low + high);
}

double Leg::next_point(double x) const {
    const double spacing = options_.point_spacing;
    double next = (std::floor(x / spacing) + 1) * spacing;
    if (next <= x) next += spacing;
    return next;
}

void Leg::advance(double x, double u, double v, bool mark) {
    x_ = x;
    // At the stop the braking curve's last rounding error is dropped.
    u_ = x < end_ ? u : 0;
    v_ = x < end_ ? v : 0;
    if (mark || x_ >= next_) run_->profile.push_back({x_, v_ * kKmh, t_});
}

void Leg::stall(double position) {
    run_->status = RunStatus::kStalled;
    run_->failure_position = position;
    run_->profile.push_back({position, 0, t_});
}

// At the ceiling: cruise along a limit the train can hold, or follow a
// braking curve it can follow, in one piece to `next`. False when traction
// cannot keep up and the train must be integrated below the ceiling.
bool Leg::ride_ceiling(const Envelope& e, const Ground& g, double next) {
    if (e.slope == 0) {
        const double v = std::sqrt(e.u0);
        if (accel(v, g) < 0) return false;
        t_ += (next - x_) / v;
        advance(next, e.u0, v, true);
        return true;
    }
    // Traction must be able to follow the braking curve: checked at both
    // ends of a piece no longer than the point spacing.
    const double v0 = std::sqrt(std::max(e.at(x_), 0.0));
    const double u1 = std::max(e.at(next), 0.0);
    const double v1 = std::sqrt(u1);
    if (accel(v0, g) < e.slope / 2 || accel(v1, g) < e.slope / 2) return false;
    if (v0 + v1 > 0) t_ += 2 * (next - x_) / (v0 + v1);
    advance(next, u1, v1, true);
    return true;
}

// Cruise at a balancing speed `v` to `next`, or to where the ceiling falls to it.
void Leg::cruise(double v, const Envelope& e, double next) {
    double to = next;
    if (e.slope < 0 && e.at(next) < v * v) to = std::max(x_, e.from + (v * v - e.u0) / e.slope);
    t_ += (to - x_) / v;
    advance(to, v * v, v, true);
}

// One step under full traction, below the ceiling or falling away from it.
// False when the train comes to a stand.
bool Leg::pull(const Envelope& e, const Ground& g, double next) {
    const double h = std::min(options_.max_step, next - x_);
    double x1 = x_ + h;
    double u1 = heun(h, g);
    bool mark = x1 >= next;
    const double over = u1 - e.at(x1);
    if (over > 0) {
        // Meets the ceiling within the step: u is linear in x on both.
        const double below = std::max(e.at(x_) - u_, 0.0);
        const double reach = h * below / (below + over);
        if (reach >= kMinProgress) x1 = x_ + reach;
        u1 = std::max(e.at(x1), 0.0);
        mark = true;
    } else if (u1 < 0 || (u1 == 0 && x1 < end_)) {
        stall(u_ > 0 ? x_ + h * u_ / (u_ - u1) : x_);
        return false;
    }
    const double v1 = std::sqrt(u1);
    t_ += 2 * (x1 - x_) / (v_ + v1);
    advance(x1, u1, v1, mark);
    if (x_ < next && over <= 0 && std::abs(accel_here(g)) < kBalanceLook) {
        const double balance = balancing_speed(v_, g);
        if (balance > 0 && balance * balance < e.at(x_)) cruise(balance, e, next);
    }
    return true;
}

bool Leg::drive(double from, double to, double* clock) {
    x_ = from;
    u_ = 0;
    v_ = 0;
    t_ = *clock;
    end_ = to;
    std::size_t e = 0;
    std::size_t g = 0;
    while (x_ < end_) {
        while (e + 1 < envelope_.size() && envelope_[e].to <= x_)
            ++e;
        while (g + 1 < ground_.size() && ground_[g].to <= x_)
            ++g;
        const Envelope& piece = envelope_[e];
        next_ = std::min({piece.to, ground_[g].to, next_point(x_), end_});
        const double ceiling = piece.at(x_);
        const bool at_ceiling = u_ >= ceiling - kAtCeiling * ceiling - kAtCeilingNearStop;
        if (at_ceiling && ride_ceiling(piece, ground_[g], next_)) continue;
        if (!pull(piece, ground_[g], next_)) return false;
    }
    *clock = t_;
    return true;
}

TrainRun refused(std::string detail) {
    TrainRun run;
    run.status = RunStatus::kInvalidInput;
    run.detail = std::move(detail);
    return run;
}

std::string input_problem(const Track& track, std::span<const Stop> stops,
                          const RollingStock& stock, const RunOptions& options) {
    std::string problem = track_problem(track);
    if (problem.empty()) problem = stops_problem(stops, track);
    if (problem.empty()) problem = stock_problem(stock);
    if (problem.empty()) problem = options_problem(options);
    return problem;
}

}  // namespace

TrainRun run_train(const Track& track, std::span<const Stop> stops, const RollingStock& stock,
                   const RunOptions& options) {
    if (std::string problem = input_problem(track, stops, stock, options); !problem.empty())
        return refused(std::move(problem));

    const std::vector<Ceiling> limits =
        head_limits(line_limits(track, stock.top_speed), stock.length);
    const std::vector<Ground> ground = grounds(track, stock);
    std::vector<Envelope> envelope;
    TrainRun run;
    const double span = stops.back().position - stops.front().position;
    run.profile.reserve(static_cast<std::size_t>(span / options.point_spacing) + 2 * limits.size() +
                        ground.size() + 2 * stops.size() + 16);
    run.profile.push_back({stops[0].position, 0, 0});
    run.stops.push_back({0, 0});
    double clock = 0;
    for (std::size_t i = 1; i < stops.size(); ++i) {
        const double from = stops[i - 1].position;
        const double to = stops[i].position;
        if (const double closed = closed_limit(limits, from, to); !std::isnan(closed)) {
            run.status = RunStatus::kBlocked;
            run.failure_position = closed;
            return run;
        }
        braking_envelope(limits, from, to, stock.braking, &envelope);
        Leg leg(stock, envelope, ground, options, &run);
        if (!leg.drive(from, to, &clock)) return run;
        const double arrival = clock;
        if (i + 1 < stops.size()) clock += stops[i].dwell_s;
        run.stops.push_back({arrival, clock});
        if (clock > arrival) run.profile.push_back({to, 0, clock});
    }
    return run;
}

double TrainRun::time_at(double position) const {
    if (profile.empty()) return 0;
    auto it = std::lower_bound(profile.begin(), profile.end(), position,
                               [](const ProfilePoint& p, double x) { return p.position < x; });
    if (it == profile.begin()) return it->time_s;
    if (it == profile.end()) return profile.back().time_s;
    if (it->position == position) return it->time_s;
    const ProfilePoint& a = *std::prev(it);
    const ProfilePoint& b = *it;
    // Constant acceleration between the points: v^2 linear in position.
    const double share = (position - a.position) / (b.position - a.position);
    const double va = a.speed_kmh / kKmh;
    const double vb = b.speed_kmh / kKmh;
    const double v = std::sqrt(va * va + share * (vb * vb - va * va));
    if (va + v <= 0) return a.time_s + share * (b.time_s - a.time_s);
    return a.time_s + (b.time_s - a.time_s) * share * (va + vb) / (va + v);
}

double TrainRun::speed_at(double position) const {
    if (profile.empty()) return 0;
    auto it = std::lower_bound(profile.begin(), profile.end(), position,
                               [](const ProfilePoint& p, double x) { return p.position < x; });
    if (it == profile.begin()) return it->speed_kmh;
    if (it == profile.end()) return profile.back().speed_kmh;
    if (it->position == position) return it->speed_kmh;
    const ProfilePoint& a = *std::prev(it);
    const ProfilePoint& b = *it;
    const double share = (position - a.position) / (b.position - a.position);
    const double ua = a.speed_kmh * a.speed_kmh;
    const double ub = b.speed_kmh * b.speed_kmh;
    return std::sqrt(std::max(ua + share * (ub - ua), 0.0));
}

const char* run_status_name(RunStatus status) {
    switch (status) {
        case RunStatus::kOk:
            return "ok";
        case RunStatus::kInvalidInput:
            return "invalid input";
        case RunStatus::kBlocked:
            return "blocked by a closed section";
        case RunStatus::kStalled:
            return "stalled";
    }
    return "unknown";
}

}  // namespace scenario
