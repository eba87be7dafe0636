#include "tool/commands/compile_command.h"

#include <ostream>
#include <tuple>

#include "compiler/model.h"
#include "content/embedded_texts.h"
#include "output/exit_status.h"
#include "output/file_names.h"
#include "output/memorizza_percorso.h"
#include "tool/commands/command_line.h"
#include "tool/commands/compile_report.h"
#include "tool/commands/documents_command.h"
#include "tool/commands/scenario_request.h"
#include "tool/diagnostics/diagnosed_build.h"

namespace scenario {

namespace {

constexpr std::string_view kCommand = "compile";

constexpr std::string_view kHelp =
    "usage: scenario_tool compile [--line ID] [--train NUMBER] [--out FOLDER]\n"
    "                             [--no-geometry] [--documents] [--json]\n"
    "                             [SOURCE_FOLDER]\n"
    "\n"
    "Compiles ID_linea.txt and ID_NUMBER-.txt from SOURCE_FOLDER (default: the\n"
    "current folder) exactly as the builder does, and writes ID_linea.dat,\n"
    "ID_NUMBER.sim and ID_NUMBER.dat. The source files are left in place.\n"
    "The diagnostics of 'scenario_tool check' come first, on standard error;\n"
    "then a recorded failure is printed as 'file:line: code N: meaning, at P m'.\n"
    "\n"
    "  --line ID       line identifier (default Alvena_Sorbio, or the folder's only line)\n"
    "  --train NUMBER  train number (default 4271, or the folder's only train)\n"
    "  --out FOLDER    folder for the compiled files (default: SOURCE_FOLDER)\n"
    "  --no-geometry   neither build nor write the line geometry file\n"
    "  --documents     write the train card and the slowdown bulletin beside the\n"
    "                  compiled files, made from the sources as 'documents' makes\n"
    "                  them\n"
    "  --json          print the outcome as one JSON object\n"
    "  --help          this text\n"
    "\n"
    "Exit status: 0 written, nothing recorded; 2 written with a recorded failure;\n"
    "1 nothing, or not everything, written (a missing source file among the\n"
    "causes); 64 usage error.\n";

constexpr KnownOption kOptions[] = {
    {"line", true},         {"train", true},      {"out", true},
    {"no-geometry", false}, {"documents", false}, {"json", false},
};

struct CompileRequest {
    std::string nome_linea;
    std::string numero_treno;
    ScenarioFiles files;
    std::string out_folder;
    bool geometry = true;
    bool documents = false;
    bool json = false;
};

// The sources are named from the source folder, the compiled files from
// the output folder.
CompileRequest make_request(const ParsedArgs& parsed, const ToolContext& ctx) {
    const char separator = ctx.separator;
    CompileRequest r;
    const std::string sources =
        folder_argument(parsed.words.empty() ? "." : parsed.words[0], separator);
    std::tie(r.nome_linea, r.numero_treno) = scenario_names(parsed, ctx, sources);
    r.out_folder = folder_argument(parsed.value_or("out", sources), separator);
    r.files = scenario_files(sources, separator, r.nome_linea, r.numero_treno);
    const ScenarioFiles compiled =
        scenario_files(r.out_folder, separator, r.nome_linea, r.numero_treno);
    r.files.linea_dat = compiled.linea_dat;
    r.files.tabella_sim = compiled.tabella_sim;
    r.files.percorso_dat = compiled.percorso_dat;
    r.geometry = !parsed.has("no-geometry");
    r.documents = parsed.has("documents");
    r.json = parsed.has("json");
    return r;
}

// Both sources must be there before anything runs: without one nothing can
// be compiled, as `check` says too, and nothing is written.
std::string missing_source(const CompileRequest& r, ToolContext& ctx) {
    if (!ctx.fs.exists(r.files.linea_txt)) return "no line source file '" + r.files.linea_txt + "'";
    if (!ctx.fs.exists(r.files.treno_txt))
        return "no train source file '" + r.files.treno_txt + "'";
    return {};
}

int run_compile(const CompileRequest& r, ToolContext& ctx, const std::string& folder) {
    DiagnosedBuild b;
    b.s.nome_linea = r.nome_linea;
    b.s.numero_treno = r.numero_treno;
    run_diagnosed_build(b, ctx.fs, r.files, r.geometry, true);
    add_run_diagnostics(b, ctx.fs, chosen_stock_path({}, r.files, ctx.fs));
    if (!r.documents) add_card_diagnostics(b, ctx.fs, r.files.scheda);
    const DiagnosedFiles named = diagnosed_files(b, r.files, folder);
    if (r.json) {
        report_compile_json(b.s, b.outcome, r.files, b.diagnostics, named, ctx.out);
    } else {
        if (!b.diagnostics.empty())
            print_diagnostics_text(b.diagnostics, named, ctx.err_colour, true, ctx.err);
        report_compile(b.s, b.outcome, r.files, ctx.out, ctx.err);
    }
    const int status = build_exit_status(b.s, b.outcome);
    if (!r.documents || b.outcome.status != BuildOutcome::Status::written) return status;
    const ScenarioFiles beside =
        scenario_files(r.out_folder, ctx.separator, r.nome_linea, r.numero_treno);
    return write_documents(b, beside, ctx, r.json) ? status : kExitFatal;
}

}  // namespace

int compile_command(std::span<const std::string> args, ToolContext& ctx) {
    ParsedArgs parsed;
    if (const auto done = parse_command(args, kOptions, kCommand, kHelp, ctx.out, ctx.err, &parsed))
        return *done;
    if (parsed.words.size() > 1)
        return usage_error(ctx.err, kCommand, "more than one folder named");
    const CompileRequest request = make_request(parsed, ctx);
    if (!ctx.folder_exists(request.out_folder))
        return usage_error(ctx.err, kCommand, "no output folder '" + request.out_folder + "'");
    if (const std::string missing = missing_source(request, ctx); !missing.empty()) {
        ctx.err << kToolName << ' ' << kCommand << ": " << missing << ": nothing is compiled\n";
        return kExitFatal;
    }
    return run_compile(request, ctx, parsed.words.empty() ? "." : parsed.words[0]);
}

}  // namespace scenario
