#include "tool/commands/init_command.h"

#include <ostream>
#include <vector>

#include "content/embedded_texts.h"
#include "content/emitter.h"
#include "output/file_names.h"
#include "tool/commands/command_line.h"

namespace scenario {

namespace {

constexpr std::string_view kCommand = "init";

constexpr std::string_view kHelp =
    "usage: scenario_tool init [--line ID] [--train NUMBER] [--force] [FOLDER]\n"
    "\n"
    "Starts a scenario in FOLDER (default: the current folder, which is made\n"
    "when missing) from the builder's own: writes its line and train source\n"
    "files as ID_linea.txt and ID_NUMBER-.txt, byte for byte as the builder\n"
    "writes them, and its notes, slowdown bulletin and train card as\n"
    "templates for yours. Change them, then try the three commands it prints:\n"
    "check, compile and plot. The format reference, docs/source-formats.md,\n"
    "and 'scenario_tool explain KEYWORD' describe every record.\n"
    "\n"
    "  --line ID       line identifier (default Alvena_Sorbio)\n"
    "  --train NUMBER  train number (default 4271)\n"
    "  --force         replace files that have those names\n"
    "  --help          this text\n"
    "\n"
    "Without --force, a file of one of the five names stops it before anything\n"
    "is written.\n"
    "\n"
    "Exit status: 0 written; 1 a file of those names exists, or a file or the\n"
    "folder could not be written; 64 usage error.\n";

constexpr KnownOption kOptions[] = {{"line", true}, {"train", true}, {"force", false}};

using Emitter = bool (*)(FileSystem&, const ScenarioFiles&, FileError*);

// The files in the order in which the builder writes them.
struct InitFile {
    std::string ScenarioFiles::*path;
    Emitter emit;
};
constexpr InitFile kFiles[] = {
    {&ScenarioFiles::linea_txt, dati_linea}, {&ScenarioFiles::treno_txt, dati_treno},
    {&ScenarioFiles::note, dati_note},       {&ScenarioFiles::rallentamenti, dati_rallentamenti},
    {&ScenarioFiles::scheda, dati_scheda},
};

// The identity forms file names: it must not be empty or reach into another
// folder, nor hold a character that Windows refuses in a file name.
bool fits_file_names(std::string_view name) {
    constexpr std::string_view kRefused = "/\\:*?\"<>|";
    if (name.empty()) return false;
    for (const char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || kRefused.find(c) != std::string_view::npos)
            return false;
    }
    return true;
}

int fatal(ToolContext& ctx, const std::string& message) {
    ctx.err << kToolName << ' ' << kCommand << ": " << message << '\n';
    return kExitFatal;
}

// A word of a command to copy, in double quotes when a shell would split it.
std::string shown(std::string_view word) {
    constexpr std::string_view kPlain =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-.,/\\:+=@%";
    if (!word.empty() && word.find_first_not_of(kPlain) == std::string_view::npos)
        return std::string(word);
    return "\"" + std::string(word) + "\"";
}

struct InitRequest {
    std::string folder;
    std::string nome_linea;
    std::string numero_treno;
    ScenarioFiles files;
};

// The next three commands, for the folder and the names just written.
void print_next_steps(const InitRequest& r, const ToolContext& ctx) {
    std::string names;
    if (r.nome_linea != kNomeLinea) names += " --line " + shown(r.nome_linea);
    if (r.numero_treno != kNumeroTreno) names += " --train " + shown(r.numero_treno);
    const bool here = r.folder == ".";
    const std::string folder = here ? "" : " " + shown(r.folder);
    const std::string picture = here ? "route.svg" : r.folder + ctx.separator + "route.svg";
    const std::string program = "  " + shown(ctx.program);
    ctx.out << "\nThe builder's own scenario, the line from Alvena to Sorbio and train 4271:\n"
               "change it, then check it, compile it and draw it:\n\n"
            << program << " check" << names << folder << '\n'
            << program << " compile" << names << folder << '\n'
            << program << " plot" << names << " --out " << shown(picture) << folder << '\n';
}

// Writes the five files; on a failure, removes those this run created.
int write_files(const InitRequest& r, ToolContext& ctx) {
    std::vector<std::string> created;
    for (const InitFile& file : kFiles) {
        const std::string& path = r.files.*file.path;
        const bool existed = ctx.fs.exists(path);
        FileError error;
        if (!file.emit(ctx.fs, r.files, &error)) {
            for (const std::string& done : created)
                ctx.fs.remove(done, nullptr);
            return fatal(ctx,
                         "cannot " + error.operation + " '" + error.path + "': " + error.reason);
        }
        if (!existed) created.push_back(path);
    }
    for (const InitFile& file : kFiles)
        ctx.out << "wrote " << r.files.*file.path << '\n';
    print_next_steps(r, ctx);
    return kExitClean;
}

// Names every file of the five that exists already; true when there is one.
bool any_exists(const InitRequest& r, ToolContext& ctx) {
    bool found = false;
    for (const InitFile& file : kFiles) {
        if (!ctx.fs.exists(r.files.*file.path)) continue;
        ctx.err << kToolName << ' ' << kCommand << ": '" << r.files.*file.path
                << "' exists already\n";
        found = true;
    }
    return found;
}

}  // namespace

int init_command(std::span<const std::string> args, ToolContext& ctx) {
    ParsedArgs parsed;
    if (const auto done = parse_command(args, kOptions, kCommand, kHelp, ctx.out, ctx.err, &parsed))
        return *done;
    if (parsed.words.size() > 1)
        return usage_error(ctx.err, kCommand, "more than one folder named");
    InitRequest r;
    r.folder = folder_argument(parsed.words.empty() ? "." : parsed.words[0], ctx.separator);
    r.nome_linea = parsed.value_or("line", kNomeLinea);
    r.numero_treno = parsed.value_or("train", kNumeroTreno);
    for (const auto& [option, name] :
         {std::pair{"--line", &r.nome_linea}, {"--train", &r.numero_treno}}) {
        if (!fits_file_names(*name)) {
            return usage_error(
                ctx.err, kCommand,
                std::string(option) + " '" + *name + "' cannot be part of a file name");
        }
    }
    r.files = scenario_files(r.folder, ctx.separator, r.nome_linea, r.numero_treno);
    const bool folder_there = ctx.folder_exists(r.folder);
    if (folder_there && !parsed.has("force") && any_exists(r, ctx))
        return fatal(ctx, "nothing written; --force replaces those files");
    if (!folder_there && !ctx.make_folder(r.folder))
        return fatal(ctx, "cannot make the folder '" + r.folder + "'");
    return write_files(r, ctx);
}

}  // namespace scenario
