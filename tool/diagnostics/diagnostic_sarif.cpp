#include <algorithm>
#include <ostream>

#include "tool/commands/tool.h"
#include "tool/diagnostics/diagnostic_output.h"
#include "tool/json/json_writer.h"
#include "tool/text/code_page.h"
#include "tool/text/percent_encoding.h"

namespace scenario {

namespace {

constexpr std::string_view kSarifSchema = "https://json.schemastore.org/sarif-2.1.0.json";
constexpr std::string_view kSarifVersion = "2.1.0";

// SARIF messages are sentences.
std::string sentence(std::string_view text) {
    std::string s = ansi_to_utf8(text);
    if (!s.empty() && s.back() != '.') s += '.';
    return s;
}

void put_text(JsonWriter& json, std::string_view key, std::string_view text) {
    json.key(key);
    json.begin_object();
    json.key("text");
    json.string(text);
    json.end_object();
}

void put_rule(JsonWriter& json, const DiagnosticKind& kind) {
    json.begin_object();
    json.key("id");
    json.string(kind.name);
    put_text(json, "shortDescription", sentence(kind.summary));
    put_text(json, "fullDescription", sentence(kind.explanation));
    json.key("defaultConfiguration");
    json.begin_object();
    json.key("level");
    json.string(severity_name(kind.severity));
    json.end_object();
    json.end_object();
}

void put_region(JsonWriter& json, const SourceRange& r) {
    json.key("region");
    json.begin_object();
    json.key("startLine");
    json.number(r.line);
    json.key("startColumn");
    json.number(r.column);
    json.key("endLine");
    json.number(r.end_line);
    json.key("endColumn");
    json.number(r.end_column);
    json.end_object();
}

// A finding about a file as a whole covers all of its text.
void put_whole_file(JsonWriter& json, std::string_view text) {
    json.key("region");
    json.begin_object();
    json.key("charOffset");
    json.number(std::int64_t{0});
    json.key("charLength");
    json.number(static_cast<std::int64_t>(text.size()));
    json.end_object();
}

// A fix as SARIF 2.1.0 gives it (section 3.55): one artifact change of
// the file it edits, each edit a replacement of a deleted region (empty
// for an insertion) by inserted content.
void put_fix(JsonWriter& json, const Fix& f, FixLines& lines) {
    json.begin_object();
    put_text(json, "description", sentence(f.title));
    json.key("artifactChanges");
    json.begin_array();
    json.begin_object();
    json.key("artifactLocation");
    json.begin_object();
    json.key("uri");
    json.string(path_uri(lines.path(f.file)));
    json.end_object();
    json.key("replacements");
    json.begin_array();
    for (const TextEdit& e : f.edits) {
        json.begin_object();
        json.key("deletedRegion");
        const SourceRange r = lines.range(f.file, e);
        json.begin_object();
        json.key("startLine");
        json.number(r.line);
        json.key("startColumn");
        json.number(r.column);
        json.key("endLine");
        json.number(r.end_line);
        json.key("endColumn");
        json.number(r.end_column);
        json.end_object();
        json.key("insertedContent");
        json.begin_object();
        json.key("text");
        json.string(ansi_to_utf8(e.text));
        json.end_object();
        json.end_object();
    }
    json.end_array();
    json.end_object();
    json.end_array();
    json.end_object();
}

void put_fixes(JsonWriter& json, std::size_t i, std::span<const Fix> fixes, FixLines& lines) {
    bool any = false;
    for (const Fix& f : fixes) {
        if (std::find(f.mends.begin(), f.mends.end(), i) == f.mends.end()) continue;
        if (!any) {
            json.key("fixes");
            json.begin_array();
            any = true;
        }
        put_fix(json, f, lines);
    }
    if (any) json.end_array();
}

// Opens the result's object, which the caller closes after its fixes.
void put_result(JsonWriter& json, const Diagnostic& d, const DiagnosedFiles& files) {
    json.begin_object();
    json.key("ruleId");
    json.string(diagnostic_kind(d.id).name);
    json.key("ruleIndex");
    json.number(static_cast<std::int64_t>(d.id));
    json.key("level");
    json.string(severity_name(d.severity));
    put_text(json, "message", sentence(d.hint.empty() ? d.message : d.message + "; " + d.hint));
    json.key("locations");
    json.begin_array();
    if (d.file != SourceKind::none) {
        json.begin_object();
        json.key("physicalLocation");
        json.begin_object();
        json.key("artifactLocation");
        json.begin_object();
        json.key("uri");
        json.string(path_uri(diagnosed_path(d, files)));
        json.end_object();
        if (d.range.line > 0) {
            put_region(json, d.range);
        } else {
            put_whole_file(json, diagnosed_text(d, files));
        }
        json.end_object();
        json.end_object();
    }
    json.end_array();
}

}  // namespace

void print_diagnostics_sarif(std::span<const Diagnostic> diagnostics, const DiagnosedFiles& files,
                             std::ostream& out, std::span<const Fix> fixes) {
    FixLines lines(files);
    JsonWriter json(out);
    json.begin_object();
    json.key("$schema");
    json.string(kSarifSchema);
    json.key("version");
    json.string(kSarifVersion);
    json.key("runs");
    json.begin_array();
    json.begin_object();
    json.key("tool");
    json.begin_object();
    json.key("driver");
    json.begin_object();
    json.key("name");
    json.string(kToolName);
    json.key("version");
    json.string(tool_version());
    json.key("rules");
    json.begin_array();
    for (const DiagnosticKind& kind : diagnostic_kinds())
        put_rule(json, kind);
    json.end_array();
    json.end_object();
    json.end_object();
    // Sources are single-byte text: a byte column is one UTF-16 code unit.
    json.key("columnKind");
    json.string("utf16CodeUnits");
    json.key("results");
    json.begin_array();
    for (std::size_t i = 0; i < diagnostics.size(); ++i) {
        put_result(json, diagnostics[i], files);
        put_fixes(json, i, fixes, lines);
        json.end_object();
    }
    json.end_array();
    json.end_object();
    json.end_array();
    json.end_object();
    out << '\n';
}

}  // namespace scenario
