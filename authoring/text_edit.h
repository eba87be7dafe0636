// A change to a source text as byte offsets: what an author's repair does
// to a file, whether an editor applies it or the tool writes it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "formats/field_reader.h"

namespace scenario {

// Replaces the bytes [begin, end) of a text with `text`; begin == end
// inserts.
struct TextEdit {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::string text;

    bool operator==(const TextEdit&) const = default;
};

// The text with every edit made, in any order given. None when an edit
// reaches past the text, ends before it begins, or overlaps another: such a
// set was made for some other text.
// The edit that makes the numeric field at `span` read `value`: the field
// keeps its width, the blanks the reader skips before it included, where
// the number fits. None when the field reads `value` already.
std::optional<TextEdit> number_edit(std::string_view text, const FieldSpan& span,
                                    std::int64_t value);

std::optional<std::string> apply_edits(std::string_view text, std::span<const TextEdit> edits);

}  // namespace scenario
