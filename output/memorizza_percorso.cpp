#include "output/memorizza_percorso.h"

#include <string>
#include <utility>

#include "compiler/error_codes.h"
#include "compiler/route_rules.h"
#include "output/check_codes.h"
#include "output/consistency_pass.h"
#include "output/format_marks.h"
#include "output/geometry_writer.h"
#include "output/route_writer.h"
#include "output/table_writer.h"

namespace scenario {

namespace {

// Loads one source file; `text` keeps the bytes that `SourceFile` points to.
SourceFile load_source(FileSystem& fs, const std::string& path, std::string* text) {
    if (!fs.exists(path)) return {SourceState::missing, {}};
    if (!fs.read(path, text, nullptr)) return {SourceState::unreadable, {}};
    return {SourceState::present, *text};
}

BuildOutcome& fail_file(BuildOutcome& outcome, FileError error) {
    outcome.status = BuildOutcome::Status::file_failure;
    outcome.file_error = std::move(error);
    return outcome;
}

// The line file goes first, as it is the first one read.
bool delete_consumed(FileSystem& fs, const ScenarioFiles& files, BuildOutcome& outcome) {
    const std::pair<bool, const std::string*> sources[] = {
        {outcome.compile.linea_consumed, &files.linea_txt},
        {outcome.compile.treno_consumed, &files.treno_txt},
    };
    for (const auto& [consumed, path] : sources) {
        FileError error;
        if (consumed && !fs.remove(*path, &error)) {
            fail_file(outcome, std::move(error));
            return false;
        }
    }
    return true;
}

// The marks and codes go into places that nothing else may use: a value
// already there means the compiler put an object on the header, and
// stamping over it would corrupt both. Returns the fatal code, or 0.
std::int32_t stamp_header(Scenario& s) {
    voce* linea = s.entry(kVoceTestataLinea);
    cella* testata = s.cell(kCellaTestata);
    // A route always has its header cell; without one there is nowhere to stamp.
    if (linea == nullptr || testata == nullptr) return codice::kMarcaFormato;
    if (linea->numero1 != 0 || testata->dato1 != 0) return codice::kMarcaFormato;
    linea->numero1 = kMarcaTabella;
    testata->dato1 = kMarcaPercorso;
    if (linea->valore4 != 0 || testata->dato2 != 0) return codice::kCodiceGara;
    linea->valore4 = codice_gara_st(s);
    testata->dato2 = low16(codice_gara_og(s));
    return codice::kNessuno;
}

bool write_one(FileSystem& fs, const std::string& path, const FileContents& contents,
               BuildOutcome& outcome) {
    FileError error;
    if (!fs.replace_in_pieces(path, contents, &error)) {
        fail_file(outcome, std::move(error));
        return false;
    }
    outcome.written.push_back(path);
    return true;
}

// The geometry, which can reach 20 MB, is encoded a piece at a time straight
// from the model; the table and the route are small images, each built just
// before its write.
void write_files(const Scenario& s, FileSystem& fs, const ScenarioFiles& files,
                 BuildOutcome& outcome) {
    if (s.genera_linea != 0 &&
        !write_one(fs, files.linea_dat, GeometryFile(s.tracciato), outcome)) {
        return;
    }
    if (!write_one(fs, files.tabella_sim, WholeContents(as_text(table_image(s))), outcome)) return;
    write_one(fs, files.percorso_dat, WholeContents(as_text(route_image(s))), outcome);
}

// A build starts from nothing: a route or geometry left by an earlier build
// in the same model must not be written as this build's result.
void start_build(Scenario& s, std::int32_t j, bool rows) {
    s.genera_linea = j;
    s.righe_tracciato = rows;
    s.codice_errore = codice::kNessuno;
    clear_voci(s);
    s.percorso.clear();
    s.tracciato = Tracciato{};
}

}  // namespace

BuildOutcome memorizza_percorso(Scenario& s, std::int32_t j, FileSystem& fs,
                                const ScenarioFiles& files, const BuildOptions& options) {
    start_build(s, j, options.files);
    BuildOutcome outcome;
    std::string linea_text;
    std::string treno_text;
    const SourceFile linea = load_source(fs, files.linea_txt, &linea_text);
    const SourceFile treno = load_source(fs, files.treno_txt, &treno_text);
    outcome.compile = memorizza_dati(s, linea, treno, options.observer);
    if (options.delete_sources && !delete_consumed(fs, files, outcome)) return outcome;

    if (!s.has_route()) {
        outcome.status = BuildOutcome::Status::no_route;
        return outcome;
    }
    consistency_pass(s);
    outcome.fatal_code = stamp_header(s);
    if (outcome.fatal_code != codice::kNessuno) {
        outcome.status = BuildOutcome::Status::fatal_check;
        return outcome;
    }
    outcome.status = BuildOutcome::Status::written;
    if (options.files) write_files(s, fs, files, outcome);
    return outcome;
}

}  // namespace scenario
