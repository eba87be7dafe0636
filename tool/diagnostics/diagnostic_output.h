// The three forms in which the tool prints diagnostics: text as compilers
// print it, one JSON document, and SARIF 2.1.0 for code-scanning services
// and editor viewers. None of them reads a source file again: the texts
// they quote are the ones the diagnostics were made from.
#pragma once

#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "authoring/quick_fixes.h"
#include "compiler/diagnostic.h"
#include "formats/source_lines.h"

namespace scenario {

// The files behind a list of diagnostics, each text in Windows-1252 as the
// diagnostics' columns count it, and the name shown for a diagnostic of the
// scenario as a whole (SourceKind::none).
struct DiagnosedFiles {
    std::string linea_path;
    std::string_view linea_text;
    std::string treno_path;
    std::string_view treno_text;
    std::string scenario_name;
    std::string stock_path;  // the rolling-stock file, when one was read
    std::string_view stock_text;
    std::string card_path;  // the train card, when one was read
    std::string_view card_text;
};

struct DiagnosticCounts {
    int errors = 0;
    int warnings = 0;
    int notes = 0;
};

DiagnosticCounts count_diagnostics(std::span<const Diagnostic> diagnostics);

// The file a diagnostic names: one of the two, or the scenario's name.
const std::string& diagnosed_path(const Diagnostic& d, const DiagnosedFiles& files);
// The text of the file a diagnostic names; empty for the scenario.
std::string_view diagnosed_text(const Diagnostic& d, const DiagnosedFiles& files);

// "FILE:LINE:COL: SEVERITY: MESSAGE [ID]", the source line and a caret line
// under the range, a hint line where there is one; then, with `closing`,
// the count ("1 error, 2 warnings"). `colour` adds terminal colours.
void print_diagnostics_text(std::span<const Diagnostic> diagnostics, const DiagnosedFiles& files,
                            bool colour, bool closing, std::ostream& out);

// The members of one JSON object: "diagnostics" (every diagnostic as data,
// with "fixes" where it has some) and the counts. The caller opens and
// closes the object.
class JsonWriter;
void put_diagnostics_json(std::span<const Diagnostic> diagnostics, const DiagnosedFiles& files,
                          JsonWriter& json, std::span<const Fix> fixes = {});

// One SARIF 2.1.0 log with one run: every diagnostic kind as a rule, every
// diagnostic as a result, with its fixes.
void print_diagnostics_sarif(std::span<const Diagnostic> diagnostics, const DiagnosedFiles& files,
                             std::ostream& out, std::span<const Fix> fixes = {});

// The two source texts' lines, each made when first asked for, to place
// the edits of fixes.
class FixLines {
  public:
    explicit FixLines(const DiagnosedFiles& files) : files_(files) {}
    // Where an edit of a fix to `file` stands, in the diagnostics' lines
    // and columns.
    SourceRange range(SourceKind file, const TextEdit& e);
    const std::string& path(SourceKind file) const;

  private:
    const DiagnosedFiles& files_;
    std::optional<SourceLines> linea_;
    std::optional<SourceLines> treno_;
};

}  // namespace scenario
