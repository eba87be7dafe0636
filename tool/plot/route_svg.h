// One SVG picture of a compiled scenario: the plan of the line above, and
// beneath it, on one distance axis, the stations, tunnels with their name
// boards, the gradient and speed-limit profiles with the speed boards and
// the train's computed speed, the time over distance of the fastest run
// with the scheduled times, and the signals. Fixed size, meant to be read
// on a screen.
#pragma once

#include <array>
#include <iosfwd>
#include <vector>

#include "compiler/model.h"
#include "running/route_run.h"

namespace scenario {

inline constexpr double kPlotWidth = 1800;
inline constexpr double kPlotHeight = 1335;

// `tracciato` may be empty (no geometry file): the plan then says so; `run`
// may be none (the train could not be run): the time panel then says so.
void write_route_svg(const std::array<voce, kVoci>& voci, const std::vector<cella>& percorso,
                     const Tracciato& tracciato, const RouteRun* run, std::ostream& out);

}  // namespace scenario
