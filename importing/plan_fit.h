// How far one drawing of a line lies from another after the best rigid
// fit: a rotation and a translation, never a mirror, that bring the first
// as near to the second as least squares can.
#pragma once

#include <vector>

#include "importing/local_plane.h"

namespace scenario::importing {

struct FitDistance {
    double rms = 0;  // m
    double max = 0;  // m
};

// REQUIRES: `a` and `b` are the same places in order (here: the same
// chainage), of equal size.
FitDistance rigid_fit_distance(const std::vector<PlanePoint>& a, const std::vector<PlanePoint>& b);

}  // namespace scenario::importing
