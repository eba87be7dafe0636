// The train file's timetable set against the fastest run of its train: a
// scheduled time earlier than the train can be there, a time not after the
// one before it, and a section whose margin is under the standard recovery
// margin. Each is told at the time fields of its station row.
#pragma once

#include <string>
#include <vector>

#include "compiler/diagnostic.h"
#include "compiler/source_check.h"
#include "formats/source_lines.h"
#include "running/route_run.h"

namespace scenario {

// REQUIRES: `treno` is the walk of the train file that compiled to the
// scenario `run` was made from, without a recorded code, so that its n-th
// station record is station entry n.
std::vector<Diagnostic> timetable_diagnostics(const RouteRun& run, const SourceCheck& treno,
                                              const SourceLines& lines);

// "18:06:40", hours counting on past midnight.
std::string clock_text(double seconds_of_day);
// "5 min 1 s", "45 s".
std::string duration_text(double seconds);

}  // namespace scenario
