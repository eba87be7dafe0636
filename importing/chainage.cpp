#include "importing/chainage.h"

#include <GeographicLib/Geodesic.hpp>
#include <algorithm>

namespace scenario::importing {

// Karney's geodesic on the WGS84 ellipsoid ("Algorithms for geodesics",
// J. Geodesy 87, 2013), as GeographicLib computes it: exact to nanometres,
// where a spherical formula would be off by up to half a per cent.
std::vector<double> chainage(const ImportPath& path) {
    const GeographicLib::Geodesic& wgs84 = GeographicLib::Geodesic::WGS84();
    std::vector<double> out(path.points.size(), 0.0);
    for (std::size_t i = 1; i < path.points.size(); ++i) {
        const PathPoint& a = path.points[i - 1];
        const PathPoint& b = path.points[i];
        double metres = 0;
        wgs84.Inverse(a.lat, a.lon, b.lat, b.lon, metres);
        out[i] = out[i - 1] + metres;
    }
    return out;
}

double chainage_of(const std::vector<double>& chainage, std::size_t segment, double along) {
    if (chainage.empty()) return 0;
    if (segment + 1 >= chainage.size()) return chainage.back();
    const double share = std::clamp(along, 0.0, 1.0);
    return chainage[segment] + share * (chainage[segment + 1] - chainage[segment]);
}

}  // namespace scenario::importing
