// The second half of `memorizza_dati`: the train source file.
#pragma once

#include <cstdint>
#include <string_view>

#include "compiler/memorizza_dati.h"
#include "compiler/model.h"

namespace scenario {

// Reads the train file `text` into `s`, after the line half has created the
// route. `sign_slot` is the index of the next free sign entry of `voci` (80
// minus the number of sign rows). Returns false on a failure that the
// handler of `memorizza_dati` must take over (a read failure or an access
// outside a store): the caller then records code 25. Codes of its own are
// recorded in `s` and the function returns true. `where` receives the
// location of the record at which a code was recorded; `observer`, when
// there is one, hears what is read.
bool compila_treno(Scenario& s, std::string_view text, std::int32_t sign_slot,
                   SourceLocation* where, CompileObserver* observer = nullptr);

}  // namespace scenario
