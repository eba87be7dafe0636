#include "importing/local_plane.h"

#include <GeographicLib/LocalCartesian.hpp>
#include <algorithm>

namespace scenario::importing {

// GeographicLib's local Cartesian (east, north, up) frame, tangent to the
// ellipsoid at the first point: over a line of some tens of kilometres its
// distortion stays far below the metre the plan is judged in.
PlaneTrack::PlaneTrack(const ImportPath& path, const std::vector<double>& chainage)
    : chainage_(chainage) {
    if (path.points.empty()) return;
    const GeographicLib::LocalCartesian frame(path.points.front().lat, path.points.front().lon, 0);
    points_.reserve(path.points.size());
    for (const PathPoint& p : path.points) {
        double x = 0, y = 0, z = 0;
        frame.Forward(p.lat, p.lon, 0, x, y, z);
        points_.push_back({x, y});
    }
}

PlanePoint PlaneTrack::at(double s) const {
    if (points_.empty()) return {};
    if (s <= chainage_.front()) return points_.front();
    if (s >= chainage_.back()) return points_.back();
    const auto it = std::upper_bound(chainage_.begin(), chainage_.end(), s);
    const std::size_t i = static_cast<std::size_t>(it - chainage_.begin());
    const double span = chainage_[i] - chainage_[i - 1];
    const double t = span > 0 ? (s - chainage_[i - 1]) / span : 0;
    return {points_[i - 1].x + t * (points_[i].x - points_[i - 1].x),
            points_[i - 1].y + t * (points_[i].y - points_[i - 1].y)};
}

}  // namespace scenario::importing
