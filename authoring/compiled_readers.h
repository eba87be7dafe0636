// Readers of the three compiled files: each takes the whole file as bytes
// and gives back the store it was written from. A file whose size or
// structure does not fit its kind is refused with a message that says what
// is wrong and where; no reader ever looks past the end of its bytes, so any
// input at all may be handed to them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/model.h"
#include "compiler/route_rules.h"

namespace scenario {

// Each reader returns false for a refused file and then sets `*error`, when
// `error` is not null, to one line that says what is wrong and where.
//
// Beyond the sizes, the table must carry the format mark 610 in
// voci(85).numero1 and the route 5121 in percorso(1).dato1: bytes without
// them are not a compiled file, whatever their size.

// The scenario table file into its 87 entries. After a refusal `voci` may
// hold the entries read before the fault.
bool read_table(std::string_view bytes, std::array<voce, kVoci>* voci, std::string* error);

// The route file into cells 0 to N.
bool read_route(std::string_view bytes, std::vector<cella>* percorso, std::string* error);

// The line geometry file into its rows. An integer item is held as the
// double of its value, an item without value as 0 with the tag `vuoto`.
bool read_geometry(std::string_view bytes, Tracciato* tracciato, std::string* error);

}  // namespace scenario
