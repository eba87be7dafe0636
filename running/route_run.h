// The run of a compiled scenario's train over its route, set against its
// timetable: the track from the route cells (line speed, slowdowns,
// gradient, adhesion), the stops and the places passed from the station
// entries, and for every station its scheduled time, the earliest time the
// train can keep and the margin between them.
//
// A station with a time and a stop point is a stop: its time is the
// departure (at the last one, the arrival), and the train stands there for
// a dwell of `byte2` seconds (the train file's field 13), or 30 s when that
// is 0. Every other station is passed; its time, when it has one, is the
// time of passing. The run goes from the first stop to the last; stations
// before or after them are outside it.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "compiler/model.h"
#include "running/rolling_stock.h"
#include "running/running_time.h"

namespace scenario {

// The dwell at a stop whose field 13 says nothing: the shorter of the two
// the embedded train file gives its stops.
inline constexpr double kDwellDefault = 30;

struct TimetablePoint {
    int entry = 0;         // index in `voci`
    std::string name;      // Windows-1252
    double position = 0;   // m: where the head stands at a stop; the station's position when passed
    double kilometre = 0;  // m, the line's own count at the station's position
    bool stops = false;
    bool in_run = false;           // between the first stop and the last
    std::optional<int> scheduled;  // seconds of the day
    double dwell = 0;              // s, at a stop
    // Within the run:
    double earliest = 0;  // s of the day: departure at a stop (arrival at the last), else passing
    double arrival = 0;   // s of the day: the earliest arrival at a stop
    double section_time = 0;       // s, the fastest run from the previous stop's departure to here
    double section_length = 0;     // m, from the previous stop
    std::optional<double> margin;  // s, scheduled minus earliest
};

struct RouteRun {
    TrainRun run;      // from the first stop, its times counted from its departure
    double start = 0;  // s of the day: the scheduled departure from the first stop
    std::vector<TimetablePoint> stations;  // in running order, every station of the table
    // Indices into `stations` of the first and last stop; none when there
    // are not two stops.
    std::optional<std::size_t> first_stop;
    std::optional<std::size_t> last_stop;
    // s of the day: when the train leaves each stop the run reaches, at its
    // scheduled time or, when it cannot be there by then, as soon as it can.
    std::vector<double> leaves;
};

// The time of day at which the train that leaves each stop as `leaves`
// says passes the place of a profile point of the run.
double time_of_day(const RouteRun& r, const ProfilePoint& p);

// The track the compiled route gives: one section per run of cells with the
// same limit (the lower of the line speed and any slowdown over the cell),
// gradient and adhesion, up to the last cell the profiles reach.
Track route_track(const Scenario& s);

// The last run made and what it was made from. An author's edit seldom
// touches the track, the stops or the train (a time, a signal, a name): an
// editor's checks then take the run again instead of integrating anew.
class RunMemo {
  public:
    const TrainRun& run(const Track& track, std::span<const Stop> stops, const RollingStock& stock,
                        const RunOptions& options);

  private:
    Track track_;
    std::vector<Stop> stops_;
    RollingStock stock_;
    RunOptions options_;
    std::optional<TrainRun> run_;
};

// The run of `stock` over the compiled scenario `s`, after the consistency
// pass, through `memo` when one is given. A scenario without two stops
// gives no run (an empty profile) and stations outside it.
RouteRun run_route(const Scenario& s, const RollingStock& stock, const RunOptions& options = {},
                   RunMemo* memo = nullptr);

// The default train of the scenario: a regional train of the train file's
// carriages and braked-mass percentage.
RollingStock scenario_stock(const Scenario& s);

}  // namespace scenario
