// The scenario table file: the 87 entries of `voci` as the simulator loads
// them.
#pragma once

#include <cstddef>

#include "compiler/model.h"
#include "output/le_writer.h"

namespace scenario {

// Bytes of a record besides its text: the head before the text (tipo, three
// values, segno and the text's length) and the tail after it.
inline constexpr std::size_t kVoceHeadBytes = 16;
inline constexpr std::size_t kVoceTailBytes = 18;
inline constexpr std::size_t kVoceFixedBytes = kVoceHeadBytes + kVoceTailBytes;

// The whole file image: every entry of `s.voci`, in index order.
Bytes table_image(const Scenario& s);

}  // namespace scenario
