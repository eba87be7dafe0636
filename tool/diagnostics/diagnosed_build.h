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
#include "running/rolling_stock.h"
#include "running/route_run.h"
#include "tool/diagnostics/diagnostic_output.h"

namespace scenario {

struct DiagnosedBuild {
    DiagnosedBuild() = default;
    // `treno_check` may point into the build itself.
    DiagnosedBuild(const DiagnosedBuild&) = delete;
    DiagnosedBuild& operator=(const DiagnosedBuild&) = delete;

    Scenario s;
    BuildOutcome outcome;
    std::vector<Diagnostic> diagnostics;
    std::string linea_text;  // the sources as read, which the diagnostics quote
    std::string treno_text;
    // The train's run, when the build compiled without an error: the stock
    // it ran with, and the stock file as the diagnostics quote it.
    std::optional<RollingStock> stock;
    std::optional<RouteRun> run;
    std::string stock_path;
    std::string stock_text;  // in Windows-1252, one byte a character
    std::string card_path;   // the train card in the folder, when there is one
    std::string card_text;
    // The walks of the sources that the diagnostics came from: given by the
    // caller or made here, so that the run's checks need not walk again.
    std::optional<SourceCheck> linea_walk;
    std::optional<SourceCheck> treno_walk;
    const SourceCheck* treno_check = nullptr;
};

// The folder's own rolling-stock file, read when no other is named:
// `<line>_<train>_stock.toml` beside the sources.
std::string default_stock_path(const ScenarioFiles& files);

// The stock file a command reads: the one `--stock` names, else the
// folder's own when it is there, else none (empty).
std::string chosen_stock_path(const std::string& given, const ScenarioFiles& files, FileSystem& fs);

// Builds `files` into `fs` as the builder does, leaving the sources in
// place. `write` false stops where the files would be encoded: the
// diagnostics are the same, and nothing is written. `given` are the checks
// of the sources that the caller has made already (see `diagnose`).
void run_diagnosed_build(DiagnosedBuild& b, FileSystem& fs, const ScenarioFiles& files,
                         bool geometry, bool write, const SourceChecks& given = {});

// Runs the train of a build over its route and sets the run against the
// timetable, adding the diagnostics of the run and of the stock file at
// `stock_path` (empty: the train file's default train). A missing file
// named there is an error; nothing runs after an error of the build.
// `memo`, when given, keeps the run for the next build of the same train.
void add_run_diagnostics(DiagnosedBuild& b, FileSystem& fs, const std::string& stock_path,
                         RunMemo* memo = nullptr);

// Sets the train card at `card_path`, when the folder holds one, against
// the train file's timetable, adding a warning where they disagree.
void add_card_diagnostics(DiagnosedBuild& b, FileSystem& fs, const std::string& card_path);

// The files the diagnostics name, with `scenario_name` for the scenario as
// a whole. REQUIRES: `b` outlives the result.
DiagnosedFiles diagnosed_files(const DiagnosedBuild& b, const ScenarioFiles& files,
                               std::string scenario_name);

}  // namespace scenario
