// The record kinds, their fields and the recorded codes in words: the text
// that the format reference and `scenario_tool explain` show for each, made
// from the program's tables so that the two always say the same.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "compiler/error_codes.h"
#include "compiler/record_kinds.h"

namespace scenario {

// "line file, header block", "line file, body", "train file".
std::string_view block_text(RecordBlock block);

// "The keyword field holds `percorso` and `lunghezza`, in any letter case;
// 1 value field follows."
std::string keyword_text(const RecordKind& kind);

// "8, 9, 10, 15, 22 and 24, and 25 for a read failure".
std::string codes_text(const RecordKind& kind);

// The documented range: "0 or more", "-100 to 155", "any", "no comma".
std::string range_text(const FieldInfo& f);

// What the compiler does with the value beyond storing it: its tests, the
// codes they record, roundings and truncations; empty when nothing.
std::string handling_text(const FieldInfo& f);

// The text of each value field of the kind's example row, as the field
// reader cuts it: empty for an empty field.
std::vector<std::string> example_values(const RecordKind& kind);

// Whether the example row is a line of the embedded scenario's sources.
bool example_is_embedded(const RecordKind& kind);

// "its position in metres" or "no position".
std::string_view position_text(const ErrorCodeInfo& info);

}  // namespace scenario
