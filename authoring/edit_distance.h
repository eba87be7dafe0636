// How far apart two spellings are, for "did you mean": a misspelt record
// keyword's nearest keyword, an unknown station's nearest names.
#pragma once

#include <cstddef>
#include <string_view>

namespace scenario {

// Levenshtein's distance: the fewest letters inserted, deleted or changed
// that turn `a` into `b`, ASCII letters compared without regard to case.
std::size_t edit_distance(std::string_view a, std::string_view b);

}  // namespace scenario
