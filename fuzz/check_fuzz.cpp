// Runs the author's checks over a line text and a train text taken from the
// input, with the compile observed, and checks what they promise: no crash
// and no hang on any text, every diagnostic's range inside its file, the
// checks reading every record as the compile reads it, and a compile that
// writes the same bytes whether it is listened to or not. Every output form
// is rendered as well, with the quick fixes, each of which must apply to
// its text and name only diagnostics there are.
//
// Input: as for the compile target: a flags byte (bit 0: build the line
// geometry; bit 1: no line source file; bit 2: no train source file), then
// the line text, a NUL byte and the train text.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include "authoring/diagnose.h"
#include "authoring/quick_fixes.h"
#include "authoring/source_format.h"
#include "formats/source_lines.h"
#include "fuzz/two_sources.h"
#include "output/file_names.h"
#include "output/memorizza_percorso.h"
#include "tests/support/memory_file_system.h"
#include "tool/diagnostics/diagnostic_output.h"
#include "tool/json/json_writer.h"

namespace {

using scenario::fuzzing::kNoLinea;
using scenario::fuzzing::kNoTreno;

[[noreturn]] void broken() {
    __builtin_trap();
}

struct Build {
    scenario::Scenario s;
    scenario::testing::MemoryFileSystem fs;
    scenario::BuildOutcome outcome;
};

void build(const scenario::fuzzing::TwoSources& in, scenario::CompileObserver* observer, Build& b) {
    const std::int32_t j = scenario::fuzzing::prepare_build(in, b.fs, b.s);
    b.outcome = scenario::memorizza_percorso(
        b.s, j, b.fs, scenario::fuzzing::fuzz_files(),
        scenario::BuildOptions{.delete_sources = true, .observer = observer});
}

// A range lies inside its file: on an existing line, from a column of that
// line (or just past its end) to a later place that does the same.
void check_range(const scenario::Diagnostic& d, const scenario::SourceLines& linea,
                 const scenario::SourceLines& treno) {
    if (d.range.line == 0) return;
    if (d.file == scenario::SourceKind::none) broken();
    const scenario::SourceLines& lines = d.file == scenario::SourceKind::linea ? linea : treno;
    const auto inside = [&](std::int32_t line, std::int32_t column) {
        return line >= 1 && line <= lines.count() && column >= 1 &&
               static_cast<std::size_t>(column) <= lines.line(line).size() + 1;
    };
    const scenario::SourceRange& r = d.range;
    if (!inside(r.line, r.column) || !inside(r.end_line, r.end_column)) broken();
    if (r.end_line < r.line || (r.end_line == r.line && r.end_column < r.column)) broken();
}

void render(const std::vector<scenario::Diagnostic>& diagnostics,
            const std::vector<scenario::Fix>& fixes, std::string_view linea,
            std::string_view treno) {
    const scenario::DiagnosedFiles files{"l.txt",  linea, "t.txt", treno, ".",
                                         "s.toml", {},    "c.txt", {}};
    std::ostringstream out;
    scenario::print_diagnostics_text(diagnostics, files, true, true, out);
    scenario::print_diagnostics_sarif(diagnostics, files, out, fixes);
    scenario::JsonWriter json(out);
    json.begin_object();
    scenario::put_diagnostics_json(diagnostics, files, json, fixes);
    json.end_object();
}

// Laying out both sources changes no byte the compile writes, nor its
// outcome, and laying them out again changes nothing.
void check_layout(const scenario::fuzzing::TwoSources& in, Build& as_written) {
    const std::string linea = scenario::formatted_source(in.linea, scenario::SourceKind::linea);
    const std::string treno = scenario::formatted_source(in.treno, scenario::SourceKind::treno);
    if (scenario::formatted_source(linea, scenario::SourceKind::linea) != linea) broken();
    if (scenario::formatted_source(treno, scenario::SourceKind::treno) != treno) broken();
    if (linea == in.linea && treno == in.treno) return;
    Build laid_out;
    build({in.flags, linea, treno}, nullptr, laid_out);
    // What the compile left of the sources differs, by the layout, where it
    // did not read them.
    for (Build* b : {&laid_out, &as_written}) {
        b->fs.files.erase(scenario::fuzzing::fuzz_files().linea_txt);
        b->fs.files.erase(scenario::fuzzing::fuzz_files().treno_txt);
    }
    if (laid_out.fs.files != as_written.fs.files) broken();
    if (laid_out.outcome.status != as_written.outcome.status) broken();
    if (laid_out.s.codice_errore != as_written.s.codice_errore) broken();
    if (laid_out.s.posizione_errore != as_written.s.posizione_errore) broken();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const scenario::fuzzing::TwoSources in = scenario::fuzzing::split_input(data, size);
    const auto [flags, linea, treno] = in;

    Build heard;
    scenario::CompileEvents events;
    build(in, &events, heard);
    Build unheard;
    build(in, nullptr, unheard);
    if (heard.fs.files != unheard.fs.files) broken();

    const auto source = [](bool present, std::string_view text) {
        return present ? scenario::SourceFile{scenario::SourceState::present, text}
                       : scenario::SourceFile{};
    };
    const scenario::SourceFile l = source((flags & kNoLinea) == 0, linea);
    const scenario::SourceFile t = source((flags & kNoTreno) == 0, treno);
    if (!scenario::reading_difference(l, t, heard.s, events).empty()) broken();
    const auto diagnostics = scenario::diagnose(l, t, heard.s, heard.outcome, events);
    const scenario::SourceLines linea_lines(linea);
    const scenario::SourceLines treno_lines(treno);
    for (const scenario::Diagnostic& d : diagnostics)
        check_range(d, linea_lines, treno_lines);
    const auto fixes = scenario::quick_fixes(diagnostics, {linea, treno, nullptr});
    for (const scenario::Fix& f : fixes) {
        const std::string_view text = f.file == scenario::SourceKind::linea ? linea : treno;
        if (!scenario::apply_edits(text, f.edits)) broken();
        for (const std::size_t i : f.mends)
            if (i >= diagnostics.size()) broken();
    }
    render(diagnostics, fixes, linea, treno);
    check_layout(in, unheard);
    return 0;
}
