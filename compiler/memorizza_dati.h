// The parsing procedure: the line source file, then the train source file,
// into the scenario model. It reads text from memory and tells its caller
// which source files it consumed; deleting them is the caller's business.
#pragma once

#include <cstdint>
#include <string_view>

#include "compiler/compile_observer.h"
#include "compiler/model.h"

namespace scenario {

enum class SourceState : std::uint8_t { missing, unreadable, present };

struct SourceFile {
    SourceState state = SourceState::missing;
    std::string_view text;
};

// Where a record stands: which source file and its 1-based line.
struct SourceLocation {
    SourceKind file = SourceKind::none;
    std::int32_t line = 0;
};

struct CompileResult {
    bool linea_consumed = false;  // the line source file must now be deleted
    bool treno_consumed = false;  // the train source file must now be deleted
    SourceLocation where;         // the record at which the last code was recorded
};

// Compiles both halves into `s` and records failures in `s.codice_errore`
// and `s.posizione_errore`, telling `observer` (when there is one) what it
// reads. REQUIRES: `voci` cleared and `codice_errore` set to 0 by the
// caller; `genera_linea` set.
CompileResult memorizza_dati(Scenario& s, const SourceFile& linea, const SourceFile& treno,
                             CompileObserver* observer = nullptr);

}  // namespace scenario
