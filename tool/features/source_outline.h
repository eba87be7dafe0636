// The structure of a source file as an editor shows it, taken from the
// walk the compiler makes through the file: which record and field lies at
// a place, the name of every value field, and the outline of sections and
// records. Places are byte offsets into the text the walk read.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/source_check.h"

namespace scenario {

// A record's keyword field (`field` empty) or one of its value fields.
struct FieldAt {
    const CheckedRecord* record;
    std::optional<std::size_t> field;  // index into the kind's fields
    FieldSpan span;
};

// The field under `offset`: the one whose text holds it, else the one that
// ends right there (a cursor just after a number); an empty field counts
// at its place.
std::optional<FieldAt> field_at(const SourceCheck& check, std::size_t offset);

struct FieldLabel {
    std::size_t offset;  // where the field's text begins
    std::string_view name;
};

// The labels of the value fields that begin from `begin` to `end`, in order.
std::vector<FieldLabel> field_labels(const SourceCheck& check, std::size_t begin, std::size_t end);

struct OutlineEntry {
    std::optional<RecordKindId> kind;  // empty for a section
    std::string name;                  // UTF-8
    std::string detail;                // UTF-8
    FieldSpan range;                   // all of it
    FieldSpan selection;               // its title or keyword
    std::vector<OutlineEntry> children;
};

// The section titles (a line beginning with a bracketed title), each with
// the records whose keywords follow it; records before the first title
// stand on their own. Stations are named by their names, other records by
// their kind and position.
std::vector<OutlineEntry> outline(std::string_view text, const SourceCheck& check);

}  // namespace scenario
