// What the editor shows over a field of a source file: the record kind,
// the field's name, type, unit, documented range and meaning from the
// table of record kinds, and the value the compiler reads there (for a
// position, also the cell it lands on). Over a keyword: the record kind
// and its fields.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "compiler/source_check.h"

namespace scenario {

struct HoverNote {
    std::string text;  // UTF-8, Markdown or plain text
    FieldSpan span;    // the field it describes
};

// The note for the field under `offset` of `text`, which `check` walked;
// nothing where no record's field lies.
std::optional<HoverNote> hover_note(std::string_view text, const SourceCheck& check,
                                    std::size_t offset, bool markdown);

// The cell a position field of `kind` puts its record on: its own cell,
// R(p / 50), the cell after it, R(p / 50 + 1), or none for a field that
// is no position on the route.
enum class CellRule : unsigned char { none, cell_of, cell_after };
CellRule cell_rule(RecordKindId kind, const FieldInfo& field);

}  // namespace scenario
