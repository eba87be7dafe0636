// Keyword matching for the source files: a record is recognised by a word
// found anywhere inside its keyword field.
#pragma once

#include <string_view>

namespace scenario {

// `word` occurs in `field`, letters compared without regard to case.
bool contains_word(std::string_view field, std::string_view word);

// Where `word` first occurs in `field`, letters compared without regard to
// case; npos when it does not.
std::size_t find_word(std::string_view field, std::string_view word);

// `word` occurs in `field` exactly as written (the line file's lower-case
// header words).
bool contains_exact(std::string_view field, std::string_view word);

}  // namespace scenario
