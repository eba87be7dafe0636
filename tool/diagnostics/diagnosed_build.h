// A build of an author's two source files with the compile observed, and
// every diagnostic it gives: the common ground of `check` and `compile`.
#pragma once

#include <string>
#include <vector>

#include "authoring/diagnose.h"
#include "compiler/diagnostic.h"
#include "compiler/model.h"
#include "output/file_names.h"
#include "output/file_system.h"
#include "output/memorizza_percorso.h"
#include "tool/diagnostics/diagnostic_output.h"

namespace scenario {

struct DiagnosedBuild {
    Scenario s;
    BuildOutcome outcome;
    std::vector<Diagnostic> diagnostics;
    std::string linea_text;  // the sources as read, which the diagnostics quote
    std::string treno_text;
};

// Builds `files` into `fs` as the builder does, leaving the sources in
// place. `write` false stops where the files would be encoded: the
// diagnostics are the same, and nothing is written. `given` are the checks
// of the sources that the caller has made already (see `diagnose`).
void run_diagnosed_build(DiagnosedBuild& b, FileSystem& fs, const ScenarioFiles& files,
                         bool geometry, bool write, const SourceChecks& given = {});

// The files the diagnostics name, with `scenario_name` for the scenario as
// a whole. REQUIRES: `b` outlives the result.
DiagnosedFiles diagnosed_files(const DiagnosedBuild& b, const ScenarioFiles& files,
                               std::string scenario_name);

}  // namespace scenario
