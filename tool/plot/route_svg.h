// One SVG picture of a compiled scenario: the plan of the line above, and
// beneath it, on one distance axis, the stations, tunnels with their name
// boards, the gradient and speed-limit profiles with the speed boards and
// the train's computed speed, the time over distance of the fastest run
// with the scheduled times, and the signals. Fixed size, meant to be read
// on a screen; the whole route, or a stretch of it for the viewer's zoom.
#pragma once

#include <array>
#include <iosfwd>
#include <vector>

#include "compiler/model.h"
#include "running/route_run.h"
#include "tool/plot/route_features.h"

namespace scenario {

inline constexpr double kPlotWidth = 1800;
inline constexpr double kPlotHeight = 1335;
// The distance axis of every panel below the plan: its left end and width
// in the picture's pixels, for a reader that maps a pixel back to metres.
inline constexpr double kPlotAxisLeft = 120;
inline constexpr double kPlotAxisWidth = kPlotWidth - kPlotAxisLeft - 40;
// The shortest stretch a zoomed picture shows, metres: two route cells.
inline constexpr double kShortestStretch = 100;

// The stretch of the route a picture shows, metres; `to` not after `from`
// stands for the whole route.
struct PlotStretch {
    double from = 0;
    double to = 0;
};

// The metres the whole picture spans: every cell, and at least one.
double plot_route_end(const RouteFeatures& f);

// The stretch drawn for the one asked: inside [0, route_end], no shorter
// than kShortestStretch, the whole route when none is asked.
PlotStretch shown_stretch(const PlotStretch& wanted, double route_end);

// Whether the train cannot keep a scheduled time: the picture marks it red.
bool misses_schedule(const TimetablePoint& p);

// `tracciato` may be empty (no geometry file): the plan then says so; `run`
// may be none (the train could not be run): the time panel then says so. A
// stretch draws what lies in it, every line bounded to a few points per
// pixel, however long the route.
void write_route_svg(const std::array<voce, kVoci>& voci, const std::vector<cella>& percorso,
                     const Tracciato& tracciato, const RouteRun* run, std::ostream& out,
                     const PlotStretch& stretch = {});
// The same from the features already read off the route.
void write_route_svg(const RouteFeatures& f, const std::array<voce, kVoci>& voci,
                     const Tracciato& tracciato, const RouteRun* run, std::ostream& out,
                     const PlotStretch& stretch = {});

}  // namespace scenario
