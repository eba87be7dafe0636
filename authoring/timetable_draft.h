// A timetable drafted from the fastest run of the train, as planners draft
// one: every stop's time is the earliest the train can be there after
// leaving the stop before at its drafted time, plus its dwell, plus a
// recovery margin, rounded up to the whole minute. The run waits at each
// stop for its time, so the stops are drafted in running order, each from
// the drafted departure before it. What the run does between stops depends
// only on the stops' places and dwells, never on their times, so one run
// serves the whole draft; the stops stay the same, since every drafted time
// is after the first and so never 0 (a station without a time is passed).
//
// The drafted timetable gives no `timetable-too-tight`, no
// `timetable-not-increasing` and, with the standard margin, no
// `margin-below-standard` for the stations it drafts.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "authoring/text_edit.h"
#include "compiler/model.h"
#include "compiler/source_check.h"
#include "running/rolling_stock.h"
#include "running/route_run.h"

namespace scenario {

struct DraftOptions {
    // Each section's margin as a share of its fastest running time, in per
    // cent; none: the standard margin of running/recovery_margin.h.
    std::optional<double> margin_percent;
    // Seconds of the day at which the train leaves the first stop; none:
    // the time it has.
    std::optional<int> departure;
};

struct DraftedTime {
    int entry = 0;  // the station's entry in `voci`: its entry-th station row
    std::string name;
    bool stops = false;          // else a timed passing point
    std::optional<int> current;  // seconds of the day, as the train file has it
    int drafted = 0;             // seconds of the day
};

struct TimetableDraft {
    // Every station of the run that has a time (or, for the first stop, is
    // given one), in running order.
    std::vector<DraftedTime> times;
    // Empty when the whole run is drafted; else why not all of it is: no
    // two stops, or a run that stops short.
    std::string problem;
};

// The first drafted time at or after midnight, or none. The train file's
// hours run from 0 to 23, so such a draft is not written.
const DraftedTime* first_past_midnight(const TimetableDraft& d);

// The draft from a run already made of the scenario; its times are read
// only for the first stop's departure.
TimetableDraft draft_timetable(const RouteRun& run, const DraftOptions& options = {});
// The draft of the compiled scenario `s` run with `stock`.
TimetableDraft draft_timetable(const Scenario& s, const RollingStock& stock,
                               const DraftOptions& options = {});

// One station of the run drafted as the run stands: the earliest the train
// can be there when it leaves the stop before at that stop's time (or as
// soon as it can), plus the margin, rounded up to the whole minute. None
// for the first stop and for a station the run does not reach.
std::optional<DraftedTime> draft_station(const RouteRun& run, int entry,
                                         const DraftOptions& options = {});

// The edits that put the drafted times into the train source text's station
// rows, in fields 14 to 16 (hours, which count on past midnight, minutes,
// seconds) and nowhere else. A field keeps its width, its leading blanks
// included, where the new number fits; a field that already reads the new
// number is left as written.
std::vector<TextEdit> station_time_edits(std::string_view treno,
                                         std::span<const DraftedTime> times);
// The same with the walk of `treno` made already, any route's.
std::vector<TextEdit> station_time_edits(std::string_view treno, const SourceCheck& walk,
                                         std::span<const DraftedTime> times);
// The train source text with those edits made.
std::string with_station_times(std::string_view treno, std::span<const DraftedTime> times);

}  // namespace scenario
