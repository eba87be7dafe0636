// Repairs of an author's mistakes, as edits of the source texts, for the
// diagnostics whose repair the program can work out: what an editor offers
// as a quick fix and `check --fix` makes. Each is computed when asked for,
// from the texts the diagnostics were made from.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "authoring/text_edit.h"
#include "compiler/diagnostic.h"
#include "running/route_run.h"

namespace scenario {

struct FixSources {
    // The two texts the diagnostics were made from, in Windows-1252.
    std::string_view linea;
    std::string_view treno;
    // The run of the train, when it could be made: the timetable's fixes.
    const RouteRun* run = nullptr;
};

struct Fix {
    std::vector<std::size_t> mends;  // the diagnostics it repairs: indices into those given
    std::string title;               // Windows-1252, "Replace `segnal` with `segnale`"
    SourceKind file;                 // the text the edits change
    std::vector<TextEdit> edits;
    // A repair with one right answer, made by `check --fix` unasked. The
    // others are an author's choice: a timetable's times.
    bool certain = false;
};

// The fixes of `diagnostics`, in their order. A certain fix has been tried:
// its diagnostic is gone and no new error has come.
std::vector<Fix> quick_fixes(std::span<const Diagnostic> diagnostics, const FixSources& sources);

// What `explain` says of a diagnostic kind's fix, in a sentence; empty
// when it has none.
std::string_view fix_description(DiagnosticId id);

}  // namespace scenario
