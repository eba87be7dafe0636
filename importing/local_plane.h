// The path drawn in a plane around its first point (east and north in
// metres), and read back at any chainage: the ground on which the plan's
// curves are measured and its fit is judged.
#pragma once

#include <vector>

#include "importing/import_path.h"

namespace scenario::importing {

struct PlanePoint {
    double x = 0;  // m east
    double y = 0;  // m north
};

class PlaneTrack {
  public:
    // REQUIRES: `chainage` is the path's, one value per point.
    PlaneTrack(const ImportPath& path, const std::vector<double>& chainage);

    double length() const { return chainage_.empty() ? 0 : chainage_.back(); }
    // The point at chainage `s`, on the straight between the two nodes
    // around it; clamped to the ends.
    PlanePoint at(double s) const;

  private:
    std::vector<double> chainage_;
    std::vector<PlanePoint> points_;
};

}  // namespace scenario::importing
