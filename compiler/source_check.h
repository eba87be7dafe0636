// The checks of a source file that need no compile: the walk the compiler
// makes through the file, with the same reader, layout steps and table of
// record kinds, examining every keyword, field, number, range and order on
// the way. It goes on to the end of the file whatever the compile would
// have stopped at, so that one run shows every such finding.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/diagnostic_kinds.h"
#include "compiler/record_kinds.h"
#include "formats/field_reader.h"

namespace scenario {

// A finding, located by byte offsets in its source text.
struct Finding {
    DiagnosticId id;
    FieldSpan span;
    std::string message;
    std::int32_t code = 0;  // the code the compiler records at this place, if any
};

// A record as the walk read it.
struct CheckedRecord {
    RecordKindId kind;
    std::size_t keyword = 0;        // where its keyword field begins
    std::size_t end = 0;            // where its last field ends
    FieldSpan first_value;          // the span of its first value field
    std::string subject;            // how messages name it: "signal at 20900 m"
    std::size_t keyword_end = 0;    // where its keyword field ends
    std::vector<FieldSpan> fields;  // every value field, in the order of the kind's fields
};

struct SourceCheck {
    std::vector<CheckedRecord> records;
    std::vector<Finding> findings;
    // N, the route's highest cell, from the line file's length record.
    std::optional<std::int32_t> ultima_cella;
};

// The line source file; `curves_read` as the compile reads curves (only
// when it builds the geometry).
SourceCheck check_linea(std::string_view text, bool curves_read);

// The train source file, with the route that the line file gave, if any.
SourceCheck check_treno(std::string_view text, std::optional<std::int32_t> ultima_cella);

}  // namespace scenario
