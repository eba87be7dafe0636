// The plan as the line file holds it: curves of six classes (a fixed turn
// per metre) and a side, laid so that the line's heading follows the map's.
#pragma once

#include <cstdint>
#include <vector>

#include "importing/local_plane.h"

namespace scenario::importing {

struct Curve {
    std::int32_t start = 0;   // m, a multiple of 50
    std::int32_t length = 0;  // m, a multiple of 50
    int classe = 1;           // 1 to 6
    bool left = false;        // "s": towards negative x
};

// The turn per metre of each class, 1 to 6 (index 0 unused).
double curve_turn(int classe);

// The map's heading at chainage `s`: the bearing, clockwise from north in
// radians, of the chord from `s - window` to `s + window`. A chord over a
// window of a few node spacings cannot be fooled by two nodes a metre apart.
double track_heading(const PlaneTrack& track, double s, double window);

// Curves over the first `length` metres of `track`, in order, none
// overlapping. Each 50 m step turns by the class whose turn comes nearest to
// what keeps the plan's heading on the map's at the step's end, so heading
// errors never add up; a bend of a radius above 20 km (half the lowest
// class's turn) stays straight.
std::vector<Curve> fit_curves(const PlaneTrack& track, std::int32_t length);

}  // namespace scenario::importing
