// The recorders of the train file: `memo_segnale` places one signal on the
// route, `memo_rallentamento` one slowdown (end, start, a warning cell 1200 m
// ahead of the start and, on request, four lead-in cells before it).
//
// A conflict with an object already on the route is recorded in
// `codice_errore` (16 to 20); the caller sets `posizione_errore`. Neither
// recorder clears `codice_errore`.
//
// Both return false, having written nothing, when a cell they would touch
// lies outside `percorso` (a signal closer than 325 m to the start, a
// slowdown ending beyond the route or starting before it): the caller
// treats that as a failed read of the row.
#pragma once

#include <cstdint>

namespace scenario {

struct Scenario;
class CompileObserver;

// Signal at `posizione` on the cell after it, with approach marks on the
// 2nd, 4th, 6th and 8th cells before it. A `tempo` of 1 to 100 is raised to
// 101 in the caller's copy. `observer`, when there is one, hears of every
// approach mark that replaces another.
bool memo_segnale(Scenario& s, std::int32_t posizione, const std::int32_t& sx,
                  const std::int32_t& s1, const std::int32_t& s2, const std::int32_t& s3,
                  const std::int32_t& rapp, const std::int32_t& dx, const std::int32_t& d1,
                  const std::int32_t& d2, const std::int32_t& d3, std::int32_t& tempo,
                  CompileObserver* observer = nullptr);

// Slowdown from `x` over `l` metres at speed `v`. The warning cell and the
// lead-in cells (asked for by a nonzero `f_ta`) exist only when x > 1500.
bool memo_rallentamento(Scenario& s, std::int32_t x, const std::int32_t& v, const std::int32_t& l,
                        const std::int32_t& f_tt, std::int32_t f_ta, const std::int32_t& d_v);

}  // namespace scenario
