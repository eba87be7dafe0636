// The cheapest run over the track graph between two sets of points that a
// train can make: it never turns by more than 30 degrees at a switch (so
// it cannot reverse there), keeps to the lines of main use, and on a
// double line to the track whose preferred direction it runs in.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "importing/track_graph.h"

namespace scenario::importing {

// An edge run in one direction: from `a` to `b` when `forward`.
struct Arc {
    std::size_t edge = 0;
    bool forward = true;
};

// The greatest turn a train takes at a node, in degrees: at a switch or
// crossing (a node of more than two edges) that of a turnout's diverging
// track, with a margin; elsewhere only a kink of sparse mapping, never a
// reversal.
inline constexpr double kMaxTurnAtSwitch = 30;
inline constexpr double kMaxTurnElsewhere = 90;

// The arcs from one of `from` to one of `to`, cheapest first, or nothing
// when no run joins them. With `arriving`, the run goes on from that arc
// and its first turn obeys the same limits.
std::optional<std::vector<Arc>> cheapest_run(const TrackGraph& graph,
                                             const std::vector<std::size_t>& from,
                                             const std::vector<std::size_t>& to,
                                             std::optional<Arc> arriving);

// The point an arc starts from and the one it reaches.
std::size_t arc_start(const TrackGraph& graph, Arc arc);
std::size_t arc_end(const TrackGraph& graph, Arc arc);

}  // namespace scenario::importing
