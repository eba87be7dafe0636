#include "tool/commands/check_command.h"

#include <memory>
#include <ostream>

#include "authoring/quick_fixes.h"
#include "content/embedded_texts.h"
#include "output/file_names.h"
#include "tool/commands/command_line.h"
#include "tool/commands/scenario_request.h"
#include "tool/diagnostics/diagnosed_build.h"
#include "tool/json/json_writer.h"
#include "tool/text/code_page.h"

namespace scenario {

namespace {

constexpr std::string_view kCommand = "check";

constexpr std::string_view kHelp =
    "usage: scenario_tool check [--line ID] [--train NUMBER] [--stock FILE] [--json]\n"
    "                           [--sarif] [--werror] [--fix] [FOLDER]\n"
    "\n"
    "Reads ID_linea.txt and ID_NUMBER-.txt from FOLDER (default: the current\n"
    "folder) as 'compile' does, writes nothing, and prints every diagnostic of\n"
    "both files: errors (a code the compiler records, a missing file, a failed\n"
    "header check), warnings (what the compiler accepts but an author almost\n"
    "certainly did not mean) and notes (harmless roundings). A recorded code\n"
    "stops the compile, but the checks go on to the end of both files.\n"
    "Each is printed as 'FILE:LINE:COL: SEVERITY: MESSAGE [ID]' with the source\n"
    "line and a caret line under the field, then the count.\n"
    "\n"
    "When both files compile, the train is run over the route (as 'run' does)\n"
    "and the timetable checked: a time the train cannot keep, times out of\n"
    "order, a margin under the standard one. The train is the train file's\n"
    "default regional train, or the one that FOLDER/ID_NUMBER_stock.toml or\n"
    "--stock describes (docs/running-time.md).\n"
    "\n"
    "  --line ID       line identifier (default Alvena_Sorbio, or the folder's only line)\n"
    "  --train NUMBER  train number (default 4271, or the folder's only train)\n"
    "  --stock FILE    the rolling stock, a TOML file\n"
    "  --json          print one JSON document instead, each diagnostic with the\n"
    "                  fixes it has\n"
    "  --sarif         print a SARIF 2.1.0 log instead, with the fixes\n"
    "  --werror        count warnings as errors in the exit status\n"
    "  --fix           make the fixes whose repair is certain (a misspelt keyword,\n"
    "                  a letter for a digit, the nearest valid multiple, a missing\n"
    "                  [fine], a rounded value written as stored) in the files,\n"
    "                  print each as 'fixed FILE:LINE:COL: WHAT [ID]' (on standard\n"
    "                  error with --json or --sarif), then what is left; a\n"
    "                  timetable is drafted by 'timetable --write'\n"
    "  --help          this text\n"
    "\n"
    "Colour is used only when standard output is a terminal and NO_COLOR is\n"
    "unset.\n"
    "\n"
    "Exit status: 0 no errors (warnings and notes allowed); 2 errors: a recorded\n"
    "code (or, with --werror, a warning); 1 nothing could be compiled (a missing\n"
    "file, no route, a failed header check); 64 usage error.\n";

constexpr KnownOption kOptions[] = {
    {"line", true},   {"train", true},   {"stock", true}, {"json", false},
    {"sarif", false}, {"werror", false}, {"fix", false},
};

std::vector<Fix> fixes_of(const DiagnosedBuild& b) {
    return quick_fixes(b.diagnostics, {b.linea_text, b.treno_text, b.run ? &*b.run : nullptr});
}

// The certain fixes of one file, made in its text as far as they do not
// overlap one made already, and the file replaced as every file is.
// Returns how many were made, or none when the file cannot be written.
std::optional<int> fix_file(SourceKind file, const DiagnosedBuild& b, std::span<const Fix> fixes,
                            const ScenarioFiles& files, ToolContext& ctx, std::ostream& told) {
    const std::string& path = file == SourceKind::linea ? files.linea_txt : files.treno_txt;
    const std::string& text = file == SourceKind::linea ? b.linea_text : b.treno_text;
    std::vector<TextEdit> edits;
    std::vector<const Fix*> made;
    for (const Fix& f : fixes) {
        if (!f.certain || f.file != file || f.mends.empty()) continue;
        std::vector<TextEdit> more = edits;
        more.insert(more.end(), f.edits.begin(), f.edits.end());
        if (!apply_edits(text, more)) continue;
        edits = std::move(more);
        made.push_back(&f);
    }
    if (made.empty()) return 0;
    FileError error;
    if (!ctx.fs.replace(path, *apply_edits(text, edits), &error)) {
        ctx.err << kToolName << ' ' << kCommand << ": cannot " << error.operation << " '"
                << error.path << "': " << error.reason << '\n';
        return std::nullopt;
    }
    for (const Fix* f : made) {
        const Diagnostic& d = b.diagnostics[f->mends.front()];
        told << "fixed " << path << ':' << d.range.line << ':' << d.range.column << ": "
             << ansi_to_utf8(f->title) << " [" << diagnostic_kind(d.id).name << "]\n";
    }
    return static_cast<int>(made.size());
}

}  // namespace

int check_exit_status(const DiagnosedBuild& b, bool werror) {
    bool compiled = b.outcome.status == BuildOutcome::Status::written;
    DiagnosticCounts n = count_diagnostics(b.diagnostics);
    for (const Diagnostic& d : b.diagnostics)
        compiled = compiled && d.id != DiagnosticId::missing_source;
    if (!compiled) return kExitFatal;
    if (b.s.codice_errore != 0 || n.errors > 0 || (werror && n.warnings > 0)) return kExitRecorded;
    return kExitClean;
}

int check_command(std::span<const std::string> args, ToolContext& ctx) {
    ParsedArgs parsed;
    if (const auto done = parse_command(args, kOptions, kCommand, kHelp, ctx.out, ctx.err, &parsed))
        return *done;
    if (parsed.has("json") && parsed.has("sarif"))
        return usage_error(ctx.err, kCommand, "--json and --sarif exclude each other");
    ScenarioRequest r;
    if (const auto usage = scenario_request(parsed, ctx, kCommand, &r)) return *usage;
    auto built = std::make_unique<DiagnosedBuild>();
    build_with_run(r, ctx, *built);
    const bool machine = parsed.has("json") || parsed.has("sarif");
    std::vector<Fix> fixes = machine || parsed.has("fix") ? fixes_of(*built) : std::vector<Fix>{};
    if (parsed.has("fix")) {
        int made = 0;
        for (const SourceKind file : {SourceKind::linea, SourceKind::treno}) {
            const std::optional<int> n =
                fix_file(file, *built, fixes, r.files, ctx, machine ? ctx.err : ctx.out);
            if (!n) return kExitFatal;
            made += *n;
        }
        // What is left is told of the files as they are now.
        if (made > 0) {
            built = std::make_unique<DiagnosedBuild>();
            build_with_run(r, ctx, *built);
            fixes = machine ? fixes_of(*built) : std::vector<Fix>{};
        }
    }
    const DiagnosedBuild& b = *built;
    const DiagnosedFiles named = diagnosed_files(b, r.files, r.folder);
    const int status = check_exit_status(b, parsed.has("werror"));
    if (parsed.has("sarif")) {
        print_diagnostics_sarif(b.diagnostics, named, ctx.out, fixes);
    } else if (parsed.has("json")) {
        JsonWriter json(ctx.out);
        json.begin_object();
        put_diagnostics_json(b.diagnostics, named, json, fixes);
        json.key("exit_status");
        json.number(status);
        json.end_object();
        ctx.out << '\n';
    } else {
        print_diagnostics_text(b.diagnostics, named, ctx.out_colour, true, ctx.out);
    }
    return status;
}

}  // namespace scenario
