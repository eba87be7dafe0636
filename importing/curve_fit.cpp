#include "importing/curve_fit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "compiler/route_rules.h"

namespace scenario::importing {

namespace {

// Turn per metre of the classes 1 to 6 of the line format.
constexpr std::array<double, 7> kTurn = {0, 0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};
// The chord's half width: OSM railway nodes lie some 10 to 50 m apart on
// curves and up to several hundred on straights; 60 m spans enough of them
// that one stray node does not make a curve of a few metres' radius.
constexpr double kHeadingWindow = 60;
constexpr std::int32_t kStep = kMetriCella;
// How far the plan's heading may lag the map's while a curve runs on:
// 0.3 degrees, some 2.5 m sideways over 500 m.
constexpr double kHeadingTolerance = 0.005;

// The class (0: straight) whose turn is nearest to `rate`, by magnitude.
int nearest_class(double rate) {
    const double r = std::fabs(rate);
    int best = 0;
    for (int c = 1; c <= 6; ++c) {
        if (std::fabs(kTurn[static_cast<std::size_t>(c)] - r) <
            std::fabs(kTurn[static_cast<std::size_t>(best)] - r))
            best = c;
    }
    return best;
}

double unwrap(double angle, double reference) {
    while (angle - reference > std::numbers::pi)
        angle -= 2 * std::numbers::pi;
    while (angle - reference < -std::numbers::pi)
        angle += 2 * std::numbers::pi;
    return angle;
}

}  // namespace

double curve_turn(int classe) {
    return classe >= 1 && classe <= 6 ? kTurn[static_cast<std::size_t>(classe)] : 0.0;
}

double track_heading(const PlaneTrack& track, double s, double window) {
    // Near an end the chord keeps its full width inside the path, so the
    // heading there is the last stretch's and never a chord of nothing.
    const double width = std::min(2 * window, track.length());
    const double from = std::clamp(s - window, 0.0, track.length() - width);
    const double to = from + width;
    const PlanePoint a = track.at(from);
    const PlanePoint b = track.at(to);
    return std::atan2(b.x - a.x, b.y - a.y);
}

std::vector<Curve> fit_curves(const PlaneTrack& track, std::int32_t length) {
    std::vector<Curve> curves;
    const double start_heading = track_heading(track, 0, kHeadingWindow);
    double previous = start_heading;
    double planned = 0;  // the plan's heading change so far, radians clockwise
    int open_class = 0;  // signed: the step before's class, negative to the left
    for (std::int32_t s = 0; s + kStep <= length; s += kStep) {
        const double heading = unwrap(track_heading(track, s + kStep, kHeadingWindow), previous);
        previous = heading;
        const double error = heading - start_heading - planned;
        const double rate = error / kStep;
        int signed_class = rate < 0 ? -nearest_class(rate) : nearest_class(rate);
        // The class of the step before goes on while it keeps the heading
        // within the tolerance: one curve record where the nearest class of
        // each step would alternate between two.
        const double kept = error - (open_class < 0 ? -1 : 1) *
                                        kTurn[static_cast<std::size_t>(std::abs(open_class))] *
                                        kStep;
        if (std::fabs(kept) <= kHeadingTolerance) signed_class = open_class;
        const int c = std::abs(signed_class);
        planned += (signed_class < 0 ? -1 : 1) * kTurn[static_cast<std::size_t>(c)] * kStep;
        if (c != 0 && signed_class == open_class) {
            curves.back().length += kStep;
        } else if (c != 0) {
            curves.push_back({s, kStep, c, signed_class < 0});
        }
        open_class = signed_class;
    }
    return curves;
}

}  // namespace scenario::importing
