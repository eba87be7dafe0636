// The route file: the cells of `percorso` as the simulator loads them.
#pragma once

#include <cstddef>

#include "compiler/model.h"
#include "output/le_writer.h"

namespace scenario {

inline constexpr std::size_t kCellaBytes = 15;

// The whole file image: cells 0 to N, in index order, 15 bytes each.
Bytes route_image(const Scenario& s);

}  // namespace scenario
