#include <algorithm>
#include <ostream>

#include "tool/diagnostics/diagnostic_output.h"
#include "tool/json/json_writer.h"

namespace scenario {

namespace {

void put_position(JsonWriter& json, std::string_view key, std::int32_t v, bool known) {
    json.key(key);
    known ? json.number(v) : json.null();
}

void put_range(JsonWriter& json, const SourceRange& r) {
    put_position(json, "line", r.line, true);
    put_position(json, "column", r.column, true);
    put_position(json, "end_line", r.end_line, true);
    put_position(json, "end_column", r.end_column, true);
}

// The fixes of diagnostic `i`: each edit replaces its range with its text.
void put_fixes(JsonWriter& json, std::size_t i, std::span<const Fix> fixes, FixLines& lines) {
    bool any = false;
    for (const Fix& f : fixes) {
        if (std::find(f.mends.begin(), f.mends.end(), i) == f.mends.end()) continue;
        if (!any) {
            json.key("fixes");
            json.begin_array();
            any = true;
        }
        json.begin_object();
        json.key("title");
        json.ansi_string(f.title);
        json.key("certain");
        json.boolean(f.certain);
        json.key("file");
        json.string(lines.path(f.file));
        json.key("edits");
        json.begin_array();
        for (const TextEdit& e : f.edits) {
            json.begin_object();
            put_range(json, lines.range(f.file, e));
            json.key("text");
            json.ansi_string(e.text);
            json.end_object();
        }
        json.end_array();
        json.end_object();
    }
    if (any) json.end_array();
}

}  // namespace

SourceRange FixLines::range(SourceKind file, const TextEdit& e) {
    const bool linea = file == SourceKind::linea;
    std::optional<SourceLines>& l = linea ? linea_ : treno_;
    if (!l) l.emplace(linea ? files_.linea_text : files_.treno_text);
    const TextPosition b = l->at(e.begin);
    const TextPosition end = l->at(e.end);
    return {b.line, b.column, end.line, end.column};
}

const std::string& FixLines::path(SourceKind file) const {
    return file == SourceKind::linea ? files_.linea_path : files_.treno_path;
}

void put_diagnostics_json(std::span<const Diagnostic> diagnostics, const DiagnosedFiles& files,
                          JsonWriter& json, std::span<const Fix> fixes) {
    FixLines lines(files);
    json.key("diagnostics");
    json.begin_array();
    for (std::size_t i = 0; i < diagnostics.size(); ++i) {
        const Diagnostic& d = diagnostics[i];
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
        put_fixes(json, i, fixes, lines);
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
