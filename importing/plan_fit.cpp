#include "importing/plan_fit.h"

#include <algorithm>
#include <cmath>

namespace scenario::importing {

// The two-dimensional case of Kabsch's solution (Acta Cryst. A32, 1976):
// with both sets centred on their centroids, the best rotation's angle is
// atan2 of the summed cross and dot products; a proper rotation only, so a
// mirrored plan is never made to fit.
FitDistance rigid_fit_distance(const std::vector<PlanePoint>& a, const std::vector<PlanePoint>& b) {
    const std::size_t n = std::min(a.size(), b.size());
    if (n == 0) return {};
    double ax = 0, ay = 0, bx = 0, by = 0;
    for (std::size_t i = 0; i < n; ++i) {
        ax += a[i].x, ay += a[i].y, bx += b[i].x, by += b[i].y;
    }
    ax /= n, ay /= n, bx /= n, by /= n;
    double cross = 0, dot = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double px = a[i].x - ax, py = a[i].y - ay;
        const double qx = b[i].x - bx, qy = b[i].y - by;
        dot += px * qx + py * qy;
        cross += px * qy - py * qx;
    }
    const double angle = std::atan2(cross, dot);
    const double c = std::cos(angle), s = std::sin(angle);
    FitDistance out;
    double sum = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double px = a[i].x - ax, py = a[i].y - ay;
        const double dx = c * px - s * py - (b[i].x - bx);
        const double dy = s * px + c * py - (b[i].y - by);
        const double d = std::hypot(dx, dy);
        sum += d * d;
        out.max = std::max(out.max, d);
    }
    out.rms = std::sqrt(sum / static_cast<double>(n));
    return out;
}

}  // namespace scenario::importing
