// The line half of `memorizza_dati`: the line source file becomes the route,
// the geometry, the kilometric references, the header entries, the gradient
// profile, the tunnels, the speed boards and the name signs.
#pragma once

#include <cstdint>
#include <string_view>

#include "compiler/compile_observer.h"
#include "compiler/model.h"
#include "compiler/route_rules.h"

namespace scenario {

enum class LineEnd : std::uint8_t {
    // The file was read to its end, or left after a code 15: the closing
    // fills ran and the train file comes next.
    finished,
    // A code of this half ended the compile; the train file is not read.
    stopped,
    // A read failure or an access outside a store: the failure handler of
    // `memorizza_dati` takes over.
    failed,
};

struct LineHalf {
    LineEnd end = LineEnd::finished;
    // The next free sign entry of `voci`; stations must stay below it.
    std::int32_t sign_slot = kPrimoCartello;
    // 1-based line of the record at which a code was recorded, or of the
    // record in progress at a failure; 0 when none applies.
    std::int32_t line = 0;
};

// Compiles the line source `text` into `s`. Codes of this half are recorded
// in `s.codice_errore` and `s.posizione_errore`; a failure records nothing
// and is reported as LineEnd::failed. `observer`, when there is one, hears
// what is read. REQUIRES: `voci` cleared.
LineHalf compila_linea(Scenario& s, std::string_view text, CompileObserver* observer = nullptr);

}  // namespace scenario
