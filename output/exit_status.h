// The exit statuses of a build, which the builder gives and the authoring
// tool's commands share.
#pragma once

#include "compiler/error_codes.h"
#include "compiler/model.h"
#include "output/memorizza_percorso.h"

namespace scenario {

inline constexpr int kExitClean = 0;     // every file written, nothing recorded
inline constexpr int kExitFatal = 1;     // ended early: nothing, or not everything, written
inline constexpr int kExitRecorded = 2;  // every file written, with a recorded failure

// The status of a finished build of `s`.
inline int build_exit_status(const Scenario& s, const BuildOutcome& outcome) {
    if (outcome.status != BuildOutcome::Status::written) return kExitFatal;
    return s.codice_errore == codice::kNessuno ? kExitClean : kExitRecorded;
}

}  // namespace scenario
