// The small recorders of the line half: the order of the kilometric
// references, the tunnels, the maximum-speed boards, and `minimo`.
//
// A recorder returns false when its record would reach outside a store or
// would not fit its fields; the caller then hands over to the failure
// handler of `memorizza_dati`. Codes the recorders own are recorded in the
// model and the call returns true.
#pragma once

#include <cstdint>

#include "compiler/model.h"

namespace scenario {

// Puts `voci(81)` to `voci(83)` in their final order (largest starting
// position first, or by kilometric value when every position is 0) and adds
// 100 to the kilometric value of each reference that counts down. False when
// a sum leaves the 32-bit range.
bool progressive_ordina(Scenario& s);

// Records the tunnel from `inizio` to `fine` metres in the tunnel lists and
// lays it into the route cells, marking every fourth cell when `*tipo` is
// above 10. Writes back the kind it used into `*tipo`. False, with nothing
// changed, for an 81st tunnel or a tunnel whose cells leave the route.
bool memo_montagna(Scenario& s, std::int32_t inizio, std::int32_t fine, std::int32_t* tipo);

// Places a maximum-speed board on the cell after `posizione`, or records
// code 21 when that cell is not free. Does not set `posizione_errore`.
// False, with nothing changed, when the cell lies outside the route or a
// packed value does not fit its 16-bit field.
bool memo_indicatori_v_max(Scenario& s, std::int32_t posizione, std::int32_t vas, std::int32_t vbs,
                           std::int32_t vcs, std::int16_t strisces, std::int32_t vad,
                           std::int32_t vbd, std::int32_t vcd, std::int16_t strisced);

// `y` when `x` > `y`, otherwise `x` (so `x` when they are equal).
std::int32_t minimo(std::int32_t x, std::int32_t y);

}  // namespace scenario
