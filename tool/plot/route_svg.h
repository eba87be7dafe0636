// One SVG picture of a compiled scenario: the plan of the line above, and
// beneath it, on one distance axis, the stations, tunnels with their name
// boards, the gradient and speed-limit profiles with the speed boards, and
// the signals. Fixed size, meant to be read on a screen.
#pragma once

#include <array>
#include <iosfwd>
#include <vector>

#include "compiler/model.h"

namespace scenario {

inline constexpr double kPlotWidth = 1800;
inline constexpr double kPlotHeight = 1125;

// `tracciato` may be empty (no geometry file): the plan then says so.
void write_route_svg(const std::array<voce, kVoci>& voci, const std::vector<cella>& percorso,
                     const Tracciato& tracciato, std::ostream& out);

}  // namespace scenario
