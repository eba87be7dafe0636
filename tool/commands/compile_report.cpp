#include "tool/commands/compile_report.h"

#include <ostream>

#include "compiler/error_codes.h"
#include "output/exit_status.h"
#include "tool/json/json_writer.h"

namespace scenario {

namespace {

// The route pass runs after both files are read: its codes name a cell of
// the route, not a line of a source file.
bool is_pass_code(std::int32_t code) {
    return code == codice::kPuntoPrimaDelSegnale || code == codice::kFasciaOccupata ||
           code == codice::kPuntoNelRallentamento;
}

// These codes are about a source file as a whole: no line of it is to blame.
bool is_file_code(std::int32_t code) {
    return code == codice::kLineaMancante || code == codice::kGeneraleMancante;
}

std::string_view status_name(BuildOutcome::Status status) {
    switch (status) {
        case BuildOutcome::Status::written:
            return "written";
        case BuildOutcome::Status::no_route:
            return "no_route";
        case BuildOutcome::Status::fatal_check:
            return "fatal_check";
        case BuildOutcome::Status::file_failure:
            break;
    }
    return "file_failure";
}

// Why nothing, or not everything, was written; empty when all was.
std::string fatal_text(const BuildOutcome& outcome) {
    switch (outcome.status) {
        case BuildOutcome::Status::written:
            return {};
        case BuildOutcome::Status::no_route:
            return "the compile created no route: nothing written";
        case BuildOutcome::Status::fatal_check:
            return describe_error(outcome.fatal_code, 0) + ": nothing written";
        case BuildOutcome::Status::file_failure:
            break;
    }
    const FileError& e = outcome.file_error;
    return "cannot " + e.operation + " '" + e.path + "': " + e.reason;
}

std::string located(const std::optional<SourceRecord>& record) {
    if (!record) return {};
    if (record->line == 0) return record->file + ": ";
    return record->file + ":" + std::to_string(record->line) + ": ";
}

void put_code(JsonWriter& json, const Scenario& s) {
    const ErrorCodeInfo* info = find_error_code(s.codice_errore);
    json.key("code");
    json.number(s.codice_errore);
    json.key("meaning");
    info != nullptr ? json.string(info->meaning) : json.null();
    json.key("position");
    info != nullptr && info->has_position ? json.number(s.posizione_errore) : json.null();
}

void put_record(JsonWriter& json, const std::optional<SourceRecord>& record) {
    json.key("file");
    record ? json.string(record->file) : json.null();
    json.key("line");
    record && record->line > 0 ? json.number(record->line) : json.null();
}

}  // namespace

std::optional<SourceRecord> source_record(const Scenario& s, const BuildOutcome& outcome,
                                          const ScenarioFiles& files) {
    if (s.codice_errore == codice::kNessuno || is_pass_code(s.codice_errore)) return std::nullopt;
    const SourceLocation& where = outcome.compile.where;
    const std::int32_t line = is_file_code(s.codice_errore) ? 0 : where.line;
    switch (where.file) {
        case SourceKind::linea:
            return SourceRecord{files.linea_txt, line};
        case SourceKind::treno:
            return SourceRecord{files.treno_txt, line};
        case SourceKind::none:
        case SourceKind::stock:
        case SourceKind::card:
            break;
    }
    return std::nullopt;
}

void report_compile(const Scenario& s, const BuildOutcome& outcome, const ScenarioFiles& files,
                    std::ostream& out, std::ostream& err) {
    for (const std::string& path : outcome.written)
        out << "wrote " << path << '\n';
    if (s.codice_errore != codice::kNessuno) {
        err << located(source_record(s, outcome, files))
            << describe_error(s.codice_errore, s.posizione_errore) << '\n';
    }
    const std::string fatal = fatal_text(outcome);
    if (!fatal.empty()) err << "fatal: " << fatal << '\n';
}

void report_compile_json(const Scenario& s, const BuildOutcome& outcome, const ScenarioFiles& files,
                         std::span<const Diagnostic> diagnostics, const DiagnosedFiles& named,
                         std::ostream& out) {
    JsonWriter json(out);
    json.begin_object();
    json.key("status");
    json.string(status_name(outcome.status));
    json.key("exit_status");
    json.number(build_exit_status(s, outcome));
    put_code(json, s);
    put_record(json, source_record(s, outcome, files));
    json.key("written");
    json.begin_array();
    for (const std::string& path : outcome.written)
        json.string(path);
    json.end_array();
    const std::string fatal = fatal_text(outcome);
    json.key("fatal");
    fatal.empty() ? json.null() : json.string(fatal);
    put_diagnostics_json(diagnostics, named, json);
    json.end_object();
    out << '\n';
}

}  // namespace scenario
