// What a compile of the tool reports: the recorded code with its meaning,
// position and the source record behind it, the files written, and the
// exit status, as text or as one JSON object.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

#include "compiler/model.h"
#include "output/file_names.h"
#include "output/memorizza_percorso.h"
#include "tool/diagnostics/diagnostic_output.h"

namespace scenario {

// The source record that caused the recorded code: its file and 1-based
// line (0 when the code belongs to the file as a whole).
struct SourceRecord {
    std::string file;
    std::int32_t line = 0;
};

// The record behind `s.codice_errore`, or nothing when no record stands
// behind it: no code, a code of the route pass, or a code that the
// compiler records for no single record.
std::optional<SourceRecord> source_record(const Scenario& s, const BuildOutcome& outcome,
                                          const ScenarioFiles& files);

// Text: the files written on `out`; the recorded code, as
// "file:line: code N: meaning, at P m", and any fatal end on `err`.
void report_compile(const Scenario& s, const BuildOutcome& outcome, const ScenarioFiles& files,
                    std::ostream& out, std::ostream& err);

// JSON: {"status":..., "exit_status":..., "code":..., "meaning":..., "position":...,
// "file":..., "line":..., "written":[...], "fatal":..., "diagnostics":[...],
// "errors":..., "warnings":..., "notes":...}; absent values are null.
void report_compile_json(const Scenario& s, const BuildOutcome& outcome, const ScenarioFiles& files,
                         std::span<const Diagnostic> diagnostics, const DiagnosedFiles& named,
                         std::ostream& out);

}  // namespace scenario
