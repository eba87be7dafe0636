// Every diagnostic of one compile of a scenario's two source files: the
// checks that need no compile, run over both files to their ends, joined
// with what the compile recorded and what it reported while it read.
#pragma once

#include <string>
#include <vector>

#include "authoring/compile_events.h"
#include "compiler/diagnostic.h"
#include "compiler/memorizza_dati.h"
#include "compiler/model.h"
#include "compiler/source_check.h"
#include "output/memorizza_percorso.h"

namespace scenario {

// The checks of the two files when the caller has them already (an editor
// keeps them for its hovers): the line file's with curves read as
// `s.genera_linea` says, the train file's with the line file's route.
// nullptr: made here.
struct SourceChecks {
    const SourceCheck* linea = nullptr;
    const SourceCheck* treno = nullptr;
};

// REQUIRES: `s`, `outcome` and `events` come from one build of `linea` and
// `treno` with `events` as its observer. Sorted by file, line and column.
std::vector<Diagnostic> diagnose(const SourceFile& linea, const SourceFile& treno,
                                 const Scenario& s, const BuildOutcome& outcome,
                                 const CompileEvents& events, const SourceChecks& given = {});

// How messages name a cell: "cell 419 (20950 to 21000 m)".
std::string cell_text(std::int64_t cell);

// The first record that the compile and the checks read differently (kind,
// keyword or extent), described in words; empty when they read alike, as
// they always must, up to where the compile stopped.
std::string reading_difference(const SourceFile& linea, const SourceFile& treno, const Scenario& s,
                               const CompileEvents& events);

}  // namespace scenario
