#include "tool/diagnostics/diagnosed_build.h"

#include <algorithm>
#include <cstdio>

#include "authoring/card_check.h"
#include "authoring/compile_events.h"
#include "authoring/diagnose.h"
#include "authoring/timetable_check.h"
#include "formats/source_lines.h"
#include "running/stock_file.h"
#include "tool/text/code_page.h"

namespace scenario {

namespace {

SourceFile load(FileSystem& fs, const std::string& path, std::string* text) {
    if (!fs.exists(path)) return {SourceState::missing, {}};
    if (!fs.read(path, text, nullptr)) return {SourceState::unreadable, {}};
    return {SourceState::present, *text};
}

Diagnostic make(DiagnosticId id, SourceKind file, SourceRange range, std::string message) {
    return {id, diagnostic_kind(id).severity, file, range, std::move(message), {}};
}

bool has_error(const DiagnosedBuild& b) {
    return std::any_of(b.diagnostics.begin(), b.diagnostics.end(),
                       [](const Diagnostic& d) { return d.severity == Severity::error; });
}

// The stock the run uses: the train file's default train, or that train
// with the file's keys; none, with the file's problems told, when the file
// cannot be used.
std::optional<RollingStock> chosen_stock(DiagnosedBuild& b, FileSystem& fs,
                                         const std::string& path) {
    RollingStock stock = scenario_stock(b.s);
    if (path.empty()) {
        if (const std::string problem = stock_problem(stock); !problem.empty()) {
            b.diagnostics.push_back(make(DiagnosticId::stock_problem, SourceKind::none, {},
                                         "the train file's carriages and braked-mass percentage "
                                         "give no train to run: " +
                                             problem));
            return std::nullopt;
        }
        return stock;
    }
    b.stock_path = path;
    std::string utf8;
    if (!fs.exists(path) || !fs.read(path, &utf8, nullptr)) {
        b.diagnostics.push_back(make(DiagnosticId::stock_problem, SourceKind::stock, {},
                                     "the rolling-stock file cannot be read"));
        return std::nullopt;
    }
    b.stock_text = utf8_to_ansi(utf8);
    StockRead read = read_stock_file(utf8, stock);
    for (const StockProblem& problem : read.problems) {
        const SourceRange at{problem.line, problem.column, problem.line, problem.column + 1};
        b.diagnostics.push_back(make(DiagnosticId::stock_problem, SourceKind::stock, at,
                                     utf8_to_ansi(problem.message)));
    }
    return read.stock;
}

// By file (the scenario's own last), then line and column, as `diagnose`
// orders them.
void put_in_order(std::vector<Diagnostic>& diagnostics) {
    std::stable_sort(diagnostics.begin(), diagnostics.end(),
                     [](const Diagnostic& x, const Diagnostic& y) {
                         const auto order = [](SourceKind k) {
                             return k == SourceKind::none ? 9 : static_cast<int>(k);
                         };
                         if (x.file != y.file) return order(x.file) < order(y.file);
                         if (x.range.line != y.range.line) return x.range.line < y.range.line;
                         return x.range.column < y.range.column;
                     });
}

void add_run_failure(DiagnosedBuild& b) {
    const TrainRun& run = b.run->run;
    if (run.status == RunStatus::kOk) return;
    char where[32];
    std::snprintf(where, sizeof where, "%.0f m", run.failure_position);
    std::string message =
        run.status == RunStatus::kBlocked
            ? std::string("the train cannot go past ") + where + ": the limit there is 0 km/h"
        : run.status == RunStatus::kStalled
            ? std::string("the train cannot move on at ") + where +
                  ": its effort does not overcome the gradient and its "
                  "running resistance"
            : "the run cannot be made: " + run.detail;
    b.diagnostics.push_back(make(DiagnosticId::run_blocked, SourceKind::none, {}, message));
}

}  // namespace

std::string default_stock_path(const ScenarioFiles& files) {
    const std::string& treno = files.treno_txt;
    const std::size_t dash = treno.rfind('-');
    return dash == std::string::npos ? std::string() : treno.substr(0, dash) + "_stock.toml";
}

void add_card_diagnostics(DiagnosedBuild& b, FileSystem& fs, const std::string& card_path) {
    if (b.outcome.status != BuildOutcome::Status::written || b.s.codice_errore != 0 ||
        card_path.empty() || !fs.exists(card_path) || !fs.read(card_path, &b.card_text, nullptr))
        return;
    b.card_path = card_path;
    const std::vector<Diagnostic> card = card_diagnostics(b.card_text, b.s);
    b.diagnostics.insert(b.diagnostics.end(), card.begin(), card.end());
    put_in_order(b.diagnostics);
}

std::string chosen_stock_path(const std::string& given, const ScenarioFiles& files,
                              FileSystem& fs) {
    if (!given.empty()) return given;
    std::string folder_own = default_stock_path(files);
    return fs.exists(folder_own) ? folder_own : std::string();
}

void add_run_diagnostics(DiagnosedBuild& b, FileSystem& fs, const std::string& stock_path,
                         RunMemo* memo) {
    if (b.outcome.status != BuildOutcome::Status::written || b.s.codice_errore != 0 ||
        b.treno_check == nullptr || has_error(b))
        return;
    b.stock = chosen_stock(b, fs, stock_path);
    if (b.stock) {
        b.run = run_route(b.s, *b.stock, {}, memo);
        add_run_failure(b);
        const std::vector<Diagnostic> timetable =
            timetable_diagnostics(*b.run, *b.treno_check, SourceLines(b.treno_text));
        b.diagnostics.insert(b.diagnostics.end(), timetable.begin(), timetable.end());
    }
    put_in_order(b.diagnostics);
}

void run_diagnosed_build(DiagnosedBuild& b, FileSystem& fs, const ScenarioFiles& files,
                         bool geometry, bool write, const SourceChecks& given) {
    const SourceFile linea = load(fs, files.linea_txt, &b.linea_text);
    const SourceFile treno = load(fs, files.treno_txt, &b.treno_text);
    CompileEvents events;
    b.outcome = memorizza_percorso(
        b.s, geometry ? 1 : 0, fs, files,
        BuildOptions{.delete_sources = false, .observer = &events, .files = write});
    SourceChecks checks = given;
    if (checks.linea == nullptr && linea.state == SourceState::present)
        checks.linea = &b.linea_walk.emplace(check_linea(b.linea_text, b.s.genera_linea != 0));
    if (checks.treno == nullptr && treno.state == SourceState::present) {
        const std::optional<std::int32_t> route =
            checks.linea != nullptr ? checks.linea->ultima_cella : std::nullopt;
        checks.treno = &b.treno_walk.emplace(check_treno(b.treno_text, route));
    }
    b.treno_check = checks.treno;
    b.diagnostics = diagnose(linea, treno, b.s, b.outcome, events, checks);
}

DiagnosedFiles diagnosed_files(const DiagnosedBuild& b, const ScenarioFiles& files,
                               std::string scenario_name) {
    DiagnosedFiles named;
    named.linea_path = files.linea_txt;
    named.linea_text = b.linea_text;
    named.treno_path = files.treno_txt;
    named.treno_text = b.treno_text;
    named.scenario_name = std::move(scenario_name);
    named.stock_path = b.stock_path;
    named.stock_text = b.stock_text;
    named.card_path = b.card_path;
    named.card_text = b.card_text;
    return named;
}

}  // namespace scenario
