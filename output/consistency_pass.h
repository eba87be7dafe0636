// The route consistency pass: speed reduction points around every slowdown.
//
// One sweep over the route cells 1 to N - 2 that places points (`tipo` 12,
// value 180) ahead of the signals before a warning cell, in three bands
// before a slowdown's start, every 400 m inside a slow slowdown and before
// the first signal after its end. A point that finds no cell is recorded as
// code 11, 12 or 13 with its position; the pass never stops the build.
#pragma once

namespace scenario {

struct Scenario;

// Completes `percorso` in place; touches only `tipo` and `dato1` of the cells
// it fills, and `codice_errore` / `posizione_errore` on a failure.
// No walk or search leaves the route: a cell past N counts as occupied.
// REQUIRES: s.has_route().
void consistency_pass(Scenario& s);

}  // namespace scenario
