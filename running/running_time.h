// The running-time engine: the fastest run of a train over a route, stop to
// stop, by the standard method of running-time calculation. Acceleration is
// integrated forward from every stop, braking curves run backward from every
// drop of the limit and from every stop, and the train follows the lower of
// the two. docs/running-time.md gives the equations and what is left out.
//
// The engine does no input or output and calls no platform: it takes plain
// data and gives plain data. Every number it gives is finite, whatever the
// input; a run that cannot be made is a status with a position.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "running/rolling_stock.h"

namespace scenario {

// A stretch of route with constant conditions, from `from` to the next
// section's `from` (the last one to Track::end). Positions in metres.
struct TrackSection {
    double from = 0;
    double limit_kmh = 0;           // line speed limit; 0 closes the section
    double gradient_permille = 0;   // rising in the direction of travel when positive
    double adhesion_percent = 100;  // of the stock's base adhesion coefficient

    bool operator==(const TrackSection&) const = default;
};

// Sections in ascending `from` (an equal `from` lets the later one win);
// the route runs from the first `from` to `end`.
struct Track {
    std::vector<TrackSection> sections;
    double end = 0;

    bool operator==(const Track&) const = default;
};

// A place where the train stands: its head at `position`, for `dwell_s`
// seconds. The first stop is the origin, where the run starts at rest (its
// dwell does not count), the last the terminus (its dwell neither).
struct Stop {
    double position = 0;
    double dwell_s = 0;

    bool operator==(const Stop&) const = default;
};

enum class RunStatus {
    kOk,
    kInvalidInput,  // a number not finite or out of bounds, sections or stops out of order
    kBlocked,       // a limit of 0 between two stops: the train cannot pass
    kStalled,       // the effort cannot start the train, or keep it moving, on the gradient
};

// A point of the run: the head's position, its speed and the time since the
// departure from the origin, dwells included.
struct ProfilePoint {
    double position = 0;
    double speed_kmh = 0;
    double time_s = 0;
};

struct StopTimes {
    double arrival_s = 0;
    double departure_s = 0;
};

struct RunOptions {
    double max_step = 5;        // m, the longest integration step under traction
    double point_spacing = 50;  // m, the profile has a point at every multiple of it

    bool operator==(const RunOptions&) const = default;
};

struct TrainRun {
    RunStatus status = RunStatus::kOk;
    double failure_position = 0;  // m, where a blocked or stalled run stops
    std::string detail;           // for kInvalidInput: which value, and why

    // Ascending in position, with a point at every multiple of the spacing,
    // at every change of section or of driving (cruise, brake, accelerate)
    // and two at each intermediate stop (arrival, then departure). A failed
    // run keeps the profile up to where it stopped.
    std::vector<ProfilePoint> profile;
    // One per stop reached, in running order.
    std::vector<StopTimes> stops;

    // The time and speed of the head at `position`, between profile points
    // with constant acceleration. At a stop the time is the arrival; outside
    // the profile, that of its nearest end. An empty profile gives 0.
    double time_at(double position) const;
    double speed_at(double position) const;
};

// The fastest run of `stock` over `track` through `stops`, which must hold an
// origin and a terminus, ascend strictly in position and lie on the track.
TrainRun run_train(const Track& track, std::span<const Stop> stops, const RollingStock& stock,
                   const RunOptions& options = {});

// A short English name of a status, for messages.
const char* run_status_name(RunStatus status);

}  // namespace scenario
