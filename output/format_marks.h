// Format marks by which the simulator recognises the files it can load: one
// in the table's line entry, one in the route's header cell. The check codes
// go beside them, in the same entry and cell (`kCellaTestata`).
#pragma once

#include <cstdint>

namespace scenario {

inline constexpr std::int16_t kMarcaTabella = 610;    // `voci(85).numero1`
inline constexpr std::int16_t kMarcaPercorso = 5121;  // `percorso(1).dato1`

}  // namespace scenario
