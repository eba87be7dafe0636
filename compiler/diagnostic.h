// One diagnostic for a scenario author: what is wrong, in which source file
// and where in it, as data that every output of the tool renders.
#pragma once

#include <cstdint>
#include <string>

#include "compiler/compile_observer.h"
#include "compiler/diagnostic_kinds.h"

namespace scenario {

// 1-based lines and byte columns; the end column is the one just past the
// last byte. Line 0 stands for the file as a whole.
struct SourceRange {
    std::int32_t line = 0;
    std::int32_t column = 0;
    std::int32_t end_line = 0;
    std::int32_t end_column = 0;
};

struct Diagnostic {
    DiagnosticId id;
    Severity severity;
    SourceKind file;  // none: the scenario as a whole
    SourceRange range;
    std::string message;  // names the record and the field, in the source's own bytes
    std::string hint;     // empty when none helps
};

}  // namespace scenario
