// Places the plan of the line in a box of the picture: the line is turned
// so that its start-to-end chord runs left to right, and scaled alike in
// both directions so that its shape stays true.
#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <utility>

#include "compiler/model.h"

namespace scenario {

using Point = std::pair<double, double>;

struct Box {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

class PlanProjection {
  public:
    // The rows from `from` to `to` (the whole geometry by default), fitted
    // to `box`. REQUIRES: `t` outlives the projection.
    PlanProjection(const Tracciato& t, const Box& box, std::int64_t from = 0,
                   std::int64_t to = std::numeric_limits<std::int64_t>::max());

    // False when the geometry has no row with a value to draw.
    bool drawable() const { return first_ >= 0; }
    // The point of the line `metre` metres from the start, when that row
    // holds a finite value.
    std::optional<Point> at(std::int64_t metre) const;
    // Pixels per metre of the plan.
    double scale() const { return scale_; }
    std::int64_t first_row() const { return first_; }
    std::int64_t last_row() const { return last_; }

  private:
    bool has_value(std::int64_t row) const;
    // Chord coordinates: along the chord, and to the right of it.
    std::pair<double, double> chord_coordinates(std::int64_t row) const;
    void fit(const Box& box);

    const Tracciato& t_;
    std::int64_t first_ = -1;
    std::int64_t last_ = -1;
    double along_x_ = 0;  // unit vector of the chord
    double along_y_ = 1;
    double scale_ = 1;
    double offset_x_ = 0;
    double offset_y_ = 0;
};

}  // namespace scenario
