// The line speed along the route from the ways' `maxspeed` for the
// direction of travel: whole multiples of 5 km/h, gaps filled, and changes
// shorter than the train folded into the lower value.
#pragma once

#include <cstdint>
#include <vector>

#include "importing/import_path.h"

namespace scenario::importing {

struct SpeedStep {
    std::int32_t position = 0;  // m, a multiple of 50; the first at 0
    int kmh = 0;                // a multiple of 5
};

// A line whose ways carry no `maxspeed` at all runs at this, said in a note:
// the common limit of a secondary line without signalling for more.
constexpr int kUntaggedSpeed = 80;

// Steps over `length` m, in order, each a different speed from the one
// before; a note for every gap filled and every change folded.
std::vector<SpeedStep> speed_steps(const ImportPath& path, const std::vector<double>& chainage,
                                   std::int32_t length, double train_length,
                                   std::vector<ImportNote>* notes);

}  // namespace scenario::importing
