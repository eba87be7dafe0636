// Lengths, directions and nearest points on the WGS84 ellipsoid, all by
// GeographicLib (C. F. F. Karney, "Algorithms for geodesics", J. Geodesy
// 87, 2013): the geodesic inverse problem for lengths and azimuths, and the
// ellipsoidal gnomonic projection, in which geodesics are nearly straight
// lines, for the nearest point of a segment (GeographicLib's documented
// way to solve interception problems).
#pragma once

namespace scenario::importing {

struct LatLon {
    double lat = 0;  // degrees
    double lon = 0;
};

// m, the geodesic distance.
double geodesic_length(LatLon a, LatLon b);

// Degrees clockwise from north: the direction leaving `a` towards `b`, and
// the direction arriving at `b`.
struct Azimuths {
    double leave = 0;
    double arrive = 0;
};
Azimuths geodesic_azimuths(LatLon a, LatLon b);

// The point at `share` (0 to 1) of the geodesic from `a` to `b`.
LatLon point_along(LatLon a, LatLon b, double share);

// Degrees from 0 to 180: how far a train turns from arriving on one
// heading to leaving on another.
double turn_angle(double arrive, double leave);

// The nearest point to `p` of the segment from `a` to `b`: the share of the
// segment's length before it (0 to 1) and the distance from `p` in m.
struct Projection {
    double along = 0;
    double distance = 0;
};
Projection project_onto_segment(LatLon p, LatLon a, LatLon b);

}  // namespace scenario::importing
