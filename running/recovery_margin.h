// The recovery margin a timetable should give a section on top of the
// fastest run, after UIC leaflet 451-1 (4th edition, 2000), as Pachl,
// "Systemtechnik des Schienenverkehrs" (9th edition, 2018), states it: a
// share of 3 to 7 % of the running time by the train's top speed, and for
// locomotive-hauled passenger trains at least 1.5 minutes per 100 km,
// left out of runs of 30 km or less. The program takes the lowest share,
// 3 %, the one for the slowest trains, which a regional train is.
#pragma once

namespace scenario {

inline constexpr double kMarginShare = 0.03;                      // of the running time
inline constexpr double kMarginPerMetre = 1.5 * 60.0 / 100000.0;  // s: 1.5 min per 100 km
inline constexpr double kMarginShortestRun = 30000;               // m: no distance part up to this

// Seconds of margin for a section of `length` metres that the fastest run
// crosses in `running_time` seconds, on a run of `run_length` metres.
constexpr double standard_margin(double running_time, double length, double run_length) {
    const double distance = run_length > kMarginShortestRun ? kMarginPerMetre * length : 0.0;
    return kMarginShare * running_time + distance;
}

}  // namespace scenario
