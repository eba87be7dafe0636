#include "tool/commands/documents_command.h"

#include <ostream>

#include "authoring/train_documents.h"
#include "tool/commands/check_command.h"
#include "tool/commands/scenario_request.h"

namespace scenario {

namespace {

constexpr std::string_view kCommand = "documents";

constexpr std::string_view kHelp =
    "usage: scenario_tool documents [--line ID] [--train NUMBER] [--stock FILE]\n"
    "                               [--out FOLDER] [FOLDER]\n"
    "\n"
    "Makes the driver's train card, ID_NUMBER_scheda_treno.txt, and slowdown\n"
    "bulletin, ID_NUMBER_rallentamenti.txt, from ID_linea.txt and ID_NUMBER-.txt\n"
    "in FOLDER (default: the current folder), in the builder's layout:\n"
    "\n"
    "  card      a row for every station and where the line's speed limit\n"
    "            changes; the limits, the train's running speeds, the line's\n"
    "            kilometres; the train file's departures (the arrival at the\n"
    "            last station); arrivals and passing times with each section's\n"
    "            margin shared out over the fastest run; the margin as 'Rec'\n"
    "  bulletin  every slowdown with its kilometres and speed, or NESSUNA\n"
    "            PRESCRIZIONE\n"
    "\n"
    "The notes are the author's own and are left alone. docs/running-time.md\n"
    "says how the times are made.\n"
    "\n"
    "  --line ID       line identifier (default Alvena_Sorbio, or the folder's only line)\n"
    "  --train NUMBER  train number (default 4271, or the folder's only train)\n"
    "  --stock FILE    the rolling stock, a TOML file (the card shows its top\n"
    "                  speed, 'classification' and 'braked_mass')\n"
    "  --out FOLDER    where the documents go (default: FOLDER)\n"
    "  --help          this text\n"
    "\n"
    "Exit status: 0 written; 1 nothing could be compiled or run, or a file could\n"
    "not be written; 2 the sources have errors (nothing is written); 64 usage\n"
    "error.\n";

constexpr KnownOption kOptions[] = {
    {"line", true}, {"train", true}, {"stock", true}, {"out", true}};

}  // namespace

bool write_documents(const DiagnosedBuild& b, const ScenarioFiles& files, ToolContext& ctx,
                     bool quiet) {
    if (!b.run || !b.stock || b.run->run.profile.empty()) {
        ctx.err << kToolName << ' ' << kCommand
                << ": the train cannot be run (it needs two stations with a time and a stop "
                   "point, and sources without errors): no document is written\n";
        return false;
    }
    const std::string card =
        document_text(train_card(card_identity(b.s, *b.stock), card_rows(b.s, *b.run)));
    const std::string bulletin = document_text(slowdown_bulletin(bulletin_entries(b.s)));
    for (const auto& [path, text] :
         {std::pair{&files.scheda, &card}, std::pair{&files.rallentamenti, &bulletin}}) {
        FileError error;
        if (!ctx.fs.replace(*path, *text, &error)) {
            ctx.err << kToolName << ' ' << kCommand << ": cannot " << error.operation << " '"
                    << error.path << "': " << error.reason << '\n';
            return false;
        }
        if (!quiet) ctx.out << "wrote " << *path << '\n';
    }
    return true;
}

int documents_command(std::span<const std::string> args, ToolContext& ctx) {
    ParsedArgs parsed;
    if (const auto done = parse_command(args, kOptions, kCommand, kHelp, ctx.out, ctx.err, &parsed))
        return *done;
    ScenarioRequest r;
    if (const auto usage = scenario_request(parsed, ctx, kCommand, &r)) return *usage;
    const std::string out = folder_argument(parsed.value_or("out", r.folder), ctx.separator);
    if (!ctx.folder_exists(out)) return usage_error(ctx.err, kCommand, "no folder '" + out + "'");
    DiagnosedBuild b;
    build_with_run(r, ctx, b, false);  // the card is about to be made anew
    const int status = check_exit_status(b, false);
    if (!b.diagnostics.empty()) {
        print_diagnostics_text(b.diagnostics, diagnosed_files(b, r.files, r.folder), ctx.err_colour,
                               true, ctx.err);
    }
    if (status != kExitClean) return status;
    const ScenarioFiles written = scenario_files(out, ctx.separator, r.nome_linea, r.numero_treno);
    return write_documents(b, written, ctx) ? kExitClean : kExitFatal;
}

}  // namespace scenario
