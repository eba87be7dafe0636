#include "tool/plot/plan_projection.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace scenario {

namespace {

constexpr double kPadding = 16;  // pixels kept free inside the box
// A chord shorter than this gives no direction (a line that comes back to
// its start): the plan is then drawn as it lies, heading up the page.
constexpr double kShortestChord = 1e-6;

}  // namespace

PlanProjection::PlanProjection(const Tracciato& t, const Box& box, std::int64_t from,
                               std::int64_t to)
    : t_(t) {
    const std::int64_t end = std::min<std::int64_t>(t_.rows() - 1, to);
    for (std::int64_t row = std::max<std::int64_t>(0, from); row <= end; ++row) {
        if (!has_value(row)) continue;
        if (first_ < 0) first_ = row;
        last_ = row;
    }
    if (!drawable()) return;
    const auto f = static_cast<std::size_t>(first_);
    const auto l = static_cast<std::size_t>(last_);
    const double dx = t_.x[l] - t_.x[f];
    const double dy = t_.y[l] - t_.y[f];
    const double chord = std::hypot(dx, dy);
    if (chord > kShortestChord && std::isfinite(chord)) {
        along_x_ = dx / chord;
        along_y_ = dy / chord;
    }
    fit(box);
}

bool PlanProjection::has_value(std::int64_t row) const {
    if (row < 0 || row >= t_.rows()) return false;
    const auto r = static_cast<std::size_t>(row);
    return t_.tag[r] != Tag::vuoto && std::isfinite(t_.x[r]) && std::isfinite(t_.y[r]);
}

std::pair<double, double> PlanProjection::chord_coordinates(std::int64_t row) const {
    const auto r = static_cast<std::size_t>(row);
    const auto f = static_cast<std::size_t>(first_);
    const double px = t_.x[r] - t_.x[f];
    const double py = t_.y[r] - t_.y[f];
    // The right of travel along (ax, ay) is (ay, -ax); on the page, whose
    // y grows downward, it lies below the chord.
    return {px * along_x_ + py * along_y_, px * along_y_ - py * along_x_};
}

void PlanProjection::fit(const Box& box) {
    double min_u = std::numeric_limits<double>::max();
    double max_u = std::numeric_limits<double>::lowest();
    double min_v = min_u;
    double max_v = max_u;
    for (std::int64_t row = first_; row <= last_; ++row) {
        if (!has_value(row)) continue;
        const auto [u, v] = chord_coordinates(row);
        min_u = std::min(min_u, u);
        max_u = std::max(max_u, u);
        min_v = std::min(min_v, v);
        max_v = std::max(max_v, v);
    }
    const double inner_w = std::max(box.width - 2 * kPadding, 1.0);
    const double inner_h = std::max(box.height - 2 * kPadding, 1.0);
    const double span_u = std::max(max_u - min_u, 1.0);
    const double span_v = std::max(max_v - min_v, 1.0);
    scale_ = std::min(inner_w / span_u, inner_h / span_v);
    if (!std::isfinite(scale_) || scale_ <= 0) scale_ = 1;
    offset_x_ = box.left + kPadding + (inner_w - (max_u - min_u) * scale_) / 2 - min_u * scale_;
    offset_y_ = box.top + kPadding + (inner_h - (max_v - min_v) * scale_) / 2 - min_v * scale_;
}

std::optional<Point> PlanProjection::at(std::int64_t metre) const {
    if (!drawable() || !has_value(metre)) return std::nullopt;
    const auto [u, v] = chord_coordinates(metre);
    return Point{offset_x_ + u * scale_, offset_y_ + v * scale_};
}

}  // namespace scenario
