#include <ostream>

#include "tool/diagnostics/diagnostic_output.h"
#include "tool/json/json_writer.h"

namespace scenario {

namespace {

void put_position(JsonWriter& json, std::string_view key, std::int32_t v, bool known) {
    json.key(key);
    known ? json.number(v) : json.null();
}

}  // namespace

void put_diagnostics_json(std::span<const Diagnostic> diagnostics, const DiagnosedFiles& files,
                          JsonWriter& json) {
    json.key("diagnostics");
    json.begin_array();
    for (const Diagnostic& d : diagnostics) {
        const bool located = d.range.line > 0;
        json.begin_object();
        json.key("id");
        json.string(diagnostic_kind(d.id).name);
        json.key("severity");
        json.string(severity_name(d.severity));
        json.key("file");
        json.string(diagnosed_path(d, files));
        put_position(json, "line", d.range.line, located);
        put_position(json, "column", d.range.column, located);
        put_position(json, "end_line", d.range.end_line, located);
        put_position(json, "end_column", d.range.end_column, located);
        json.key("message");
        json.ansi_string(d.message);
        json.key("hint");
        d.hint.empty() ? json.null() : json.ansi_string(d.hint);
        json.end_object();
    }
    json.end_array();
    const DiagnosticCounts n = count_diagnostics(diagnostics);
    json.key("errors");
    json.number(n.errors);
    json.key("warnings");
    json.number(n.warnings);
    json.key("notes");
    json.number(n.notes);
}

}  // namespace scenario
