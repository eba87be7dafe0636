#include "importing/geodesy.h"

#include <GeographicLib/Geodesic.hpp>
#include <GeographicLib/GeodesicLine.hpp>
#include <GeographicLib/Gnomonic.hpp>
#include <algorithm>
#include <cmath>

namespace scenario::importing {

double geodesic_length(LatLon a, LatLon b) {
    double s12 = 0;
    GeographicLib::Geodesic::WGS84().Inverse(a.lat, a.lon, b.lat, b.lon, s12);
    return s12;
}

Azimuths geodesic_azimuths(LatLon a, LatLon b) {
    double azi1 = 0;
    double azi2 = 0;
    GeographicLib::Geodesic::WGS84().Inverse(a.lat, a.lon, b.lat, b.lon, azi1, azi2);
    return {azi1, azi2};
}

LatLon point_along(LatLon a, LatLon b, double share) {
    const GeographicLib::GeodesicLine line =
        GeographicLib::Geodesic::WGS84().InverseLine(a.lat, a.lon, b.lat, b.lon);
    double lat = 0, lon = 0;
    line.Position(line.Distance() * share, lat, lon);
    return {lat, lon};
}

double turn_angle(double arrive, double leave) {
    double d = std::fmod(std::abs(leave - arrive), 360.0);
    return d > 180 ? 360 - d : d;
}

Projection project_onto_segment(LatLon p, LatLon a, LatLon b) {
    const double length = geodesic_length(a, b);
    if (length <= 0) return {0, geodesic_length(p, a)};
    // In the gnomonic projection centred on `p` the segment is a straight
    // line to within its curvature, and the nearest point of a straight
    // line is plane geometry. Tracks are short segments, far inside the
    // projection's hemisphere.
    const GeographicLib::Gnomonic gnomonic(GeographicLib::Geodesic::WGS84());
    double ax = 0, ay = 0, bx = 0, by = 0;
    gnomonic.Forward(p.lat, p.lon, a.lat, a.lon, ax, ay);
    gnomonic.Forward(p.lat, p.lon, b.lat, b.lon, bx, by);
    if (!std::isfinite(ax) || !std::isfinite(ay) || !std::isfinite(bx) || !std::isfinite(by)) {
        const double to_a = geodesic_length(p, a);
        const double to_b = geodesic_length(p, b);
        return to_a <= to_b ? Projection{0, to_a} : Projection{1, to_b};
    }
    const double dx = bx - ax;
    const double dy = by - ay;
    const double d2 = dx * dx + dy * dy;
    double t = d2 > 0 ? -(ax * dx + ay * dy) / d2 : 0;
    if (!std::isfinite(t)) t = 0;
    t = std::clamp(t, 0.0, 1.0);
    double lat = 0, lon = 0;
    gnomonic.Reverse(p.lat, p.lon, ax + t * dx, ay + t * dy, lat, lon);
    const LatLon x{lat, lon};
    const double before = std::clamp(geodesic_length(a, x) / length, 0.0, 1.0);
    return {t <= 0 ? 0 : (t >= 1 ? 1 : before), geodesic_length(p, x)};
}

}  // namespace scenario::importing
