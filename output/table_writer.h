// The scenario table file: the 87 entries of `voci` as the simulator loads
// them.
#pragma once

#include <cstddef>

#include "compiler/model.h"
#include "output/le_writer.h"

namespace scenario {

// Bytes of a record besides its text.
inline constexpr std::size_t kVoceFixedBytes = 34;

// The whole file image: every entry of `s.voci`, in index order.
Bytes table_image(const Scenario& s);

}  // namespace scenario
