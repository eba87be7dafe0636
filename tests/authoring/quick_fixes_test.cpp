#include "authoring/quick_fixes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "content/embedded_texts.h"
#include "content/emitter.h"
#include "output/memorizza_percorso.h"
#include "support/memory_file_system.h"
#include "tool/diagnostics/diagnosed_build.h"

namespace scenario {
namespace {

struct Sources {
    std::string linea = emit_text(testo_linea());
    std::string treno = emit_text(testo_treno());
    std::string& of(SourceKind k) { return k == SourceKind::linea ? linea : treno; }
};

// The diagnostics and the run of the two texts, as `check` makes them.
void build(const Sources& src, DiagnosedBuild& b) {
    testing::MemoryFileSystem fs;
    const ScenarioFiles files = scenario_files("src", '/', "Alvena_Sorbio", "4271");
    fs.files[files.linea_txt] = src.linea;
    fs.files[files.treno_txt] = src.treno;
    b.s.nome_linea = "Alvena_Sorbio";
    b.s.numero_treno = "4271";
    run_diagnosed_build(b, fs, files, true, false);
    add_run_diagnostics(b, fs, "");
}

// The compiled table and route files of the two texts.
std::string compiled(const Sources& src) {
    testing::MemoryFileSystem fs;
    const ScenarioFiles files = scenario_files("/c", '/', "Alvena_Sorbio", "4271");
    fs.files[files.linea_txt] = src.linea;
    fs.files[files.treno_txt] = src.treno;
    Scenario s;
    memorizza_percorso(s, 0, fs, files);
    return fs.files[files.tabella_sim] + fs.files[files.percorso_dat];
}

int errors(const DiagnosedBuild& b) {
    return static_cast<int>(std::ranges::count_if(
        b.diagnostics, [](const Diagnostic& d) { return d.severity == Severity::error; }));
}

// Every fix applied to its case: its diagnostic is gone and no error has
// come. A fix that restores the embedded text gives it byte for byte; one
// that mends no value (a missing [fine]) leaves the compiled bytes as they
// were.
TEST(QuickFixes, EachFixMendsItsDiagnostic) {
    struct Row {
        SourceKind file;
        std::string_view was, becomes;  // the author's mistake
        DiagnosticId id;
        std::string_view title;
        bool certain;
        bool restores;            // the fixed text is the embedded one
        bool same_bytes = false;  // it compiles to the bytes it did before the fix
    } rows[] = {
        {SourceKind::treno, "segnale,   20900,", "segnal,   20900,", DiagnosticId::unknown_keyword,
         "Replace `segnal` with `segnale`", true, true},
        {SourceKind::linea, "cartello_indicatore,  5650,", "cartelo_indicatore,  5650,",
         DiagnosticId::unknown_keyword, "Replace `cartelo_indicatore` with `cartello_indicatore`",
         true, true},
        {SourceKind::treno, "velocita,    1300,    90", "velocita,    1300,    9O",
         DiagnosticId::not_a_number, "Replace `9O` with `90`", true, true},
        {SourceKind::treno, "aderenza,    9900,    80", "aderenza,    9900,    8O",
         DiagnosticId::not_a_number, "Replace `8O` with `80`", true, true},
        {SourceKind::linea, "sfondo due,    1", "sfondo due,    l", DiagnosticId::not_a_number,
         "Replace `l` with `1`", true, true},
        // Halfway between two multiples: the one the compiler's rounding takes.
        {SourceKind::treno, "stazione,   22500,", "stazione,   22525,", DiagnosticId::recorded_code,
         "Replace 22525 with 22500", true, true},
        // 19300 would begin Dorsia less than 350 m after Le Caselle's far end.
        {SourceKind::treno, "stazione,   22500,", "stazione,   19310,", DiagnosticId::recorded_code,
         "Replace 19310 with 19350", true, false},
        {SourceKind::treno, "[fine]\r\n", "", DiagnosticId::last_field_not_fine,
         "Add the line [fine] at the end", true, true, true},
        {SourceKind::linea, "[fine]\r\n", "", DiagnosticId::last_field_not_fine,
         "Add the line [fine] at the end", true, true, true},
        // Values written as the compiler stores them: no compiled byte changes.
        {SourceKind::treno, "velocita,     700,    75", "velocita,     700,    77",
         DiagnosticId::speed_rounded, "Replace 77 with 75, the value stored", true, true, true},
        {SourceKind::treno, "velocita,     700,", "velocita,     725,",
         DiagnosticId::position_rounded, "Replace 725 with 700, the value stored", true, true,
         true},
        {SourceKind::treno, "segnale,    2150,   2, 2, 4,  1, 1,    2,  1,1,0, 0",
         "segnale,    2150,   2, 2, 4,  1, 1,    2,  1,1,0, 50", DiagnosticId::tempo_raised,
         "Replace 50 with 101, the value stored", true, false, true},
        // Dorsia three minutes too early.
        {SourceKind::treno, "  60,  18, 9, 0, DORSIA", "  60,  18, 6, 0, DORSIA",
         DiagnosticId::timetable_too_tight,
         "Set the time of DORSIA to 18:08:00, drafted from the fastest run", false, false},
        {SourceKind::treno, "  60,  18, 9, 0, DORSIA", "  60,  18, 6, 0, DORSIA",
         DiagnosticId::timetable_too_tight, "Draft the whole timetable from the fastest run", false,
         false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.becomes);
        Sources src;
        std::string& text = src.of(row.file);
        const std::size_t at = row.was == "[fine]\r\n" ? text.rfind(row.was) : text.find(row.was);
        ASSERT_NE(at, std::string::npos);
        text.replace(at, row.was.size(), row.becomes);
        DiagnosedBuild b;
        build(src, b);
        const std::vector<Fix> fixes =
            quick_fixes(b.diagnostics, {b.linea_text, b.treno_text, b.run ? &*b.run : nullptr});
        const auto fix = std::ranges::find(fixes, row.title, &Fix::title);
        ASSERT_NE(fix, fixes.end());
        const auto mends = std::ranges::find_if(
            fix->mends, [&](std::size_t i) { return b.diagnostics[i].id == row.id; });
        ASSERT_NE(mends, fix->mends.end());
        const Diagnostic& mended = b.diagnostics[*mends];
        EXPECT_EQ(fix->certain, row.certain);
        const std::string before = compiled(src);
        text = apply_edits(text, fix->edits).value();
        if (row.same_bytes) {
            EXPECT_EQ(compiled(src), before);
        }
        if (row.restores) {
            EXPECT_EQ(text, Sources().of(row.file));
        }
        DiagnosedBuild again;
        build(src, again);
        EXPECT_EQ(errors(again), 0);
        for (const Diagnostic& d : again.diagnostics)
            EXPECT_FALSE(d.id == row.id && d.range.line == mended.range.line) << d.message;
    }
}

}  // namespace
}  // namespace scenario
