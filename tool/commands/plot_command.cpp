#include "tool/commands/plot_command.h"

#include <array>
#include <ostream>
#include <sstream>
#include <vector>

#include "authoring/compiled_readers.h"
#include "compiler/model.h"
#include "content/embedded_texts.h"
#include "output/file_names.h"
#include "running/stock_file.h"
#include "tool/commands/command_line.h"
#include "tool/commands/scenario_request.h"
#include "tool/diagnostics/diagnosed_build.h"
#include "tool/plot/route_svg.h"

namespace scenario {

namespace {

constexpr std::string_view kCommand = "plot";

constexpr std::string_view kHelp =
    "usage: scenario_tool plot [--line ID] [--train NUMBER] [--stock FILE]\n"
    "                          [--out FILE.svg] [FOLDER]\n"
    "\n"
    "Draws the compiled scenario found in FOLDER (default: the current folder)\n"
    "as one SVG picture: the plan of the line from ID_linea.dat and, beneath it\n"
    "on one distance axis, the stations, tunnels and name boards, the gradient\n"
    "and speed-limit profiles with the speed boards and the train's fastest\n"
    "speed, the time over distance of that run with the scheduled times, and\n"
    "the signals, from ID_NUMBER.sim and ID_NUMBER.dat. Without a geometry file\n"
    "the plan is left empty. The train is the one 'run' runs: the default\n"
    "regional train, or FOLDER/ID_NUMBER_stock.toml, or --stock.\n"
    "\n"
    "  --line ID       line identifier (default Alvena_Sorbio, or the folder's only line)\n"
    "  --train NUMBER  train number (default 4271, or the folder's only train)\n"
    "  --stock FILE    the rolling stock, a TOML file\n"
    "  --out FILE      write the picture to FILE instead of standard output\n"
    "  --help          this text\n"
    "\n"
    "Exit status: 0 drawn, 1 a compiled file or the stock file was refused or\n"
    "the picture could not be written, 64 usage error.\n";

constexpr KnownOption kOptions[] = {
    {"line", true}, {"train", true}, {"stock", true}, {"out", true}};

struct CompiledScenario {
    std::array<voce, kVoci> voci;
    std::vector<cella> percorso;
    Tracciato tracciato;
};

// Reads and decodes one file; the message names the file.
template <typename Store>
bool load(FileSystem& fs, const std::string& path,
          bool (*decode)(std::string_view, Store*, std::string*), Store* store,
          std::string* error) {
    std::string bytes;
    FileError read_error;
    if (!fs.read(path, &bytes, &read_error)) {
        *error = "cannot read '" + path + "': " + read_error.reason;
        return false;
    }
    if (decode(bytes, store, error)) return true;
    *error = path + ": " + *error;
    return false;
}

bool load_scenario(FileSystem& fs, const ScenarioFiles& files, CompiledScenario* c,
                   std::string* error) {
    if (!load(fs, files.tabella_sim, read_table, &c->voci, error)) return false;
    if (!load(fs, files.percorso_dat, read_route, &c->percorso, error)) return false;
    // The geometry is optional: a scenario compiled without it has none.
    if (!fs.exists(files.linea_dat)) return true;
    return load(fs, files.linea_dat, read_geometry, &c->tracciato, error);
}

int fatal(ToolContext& ctx, const std::string& message) {
    ctx.err << kToolName << ' ' << kCommand << ": " << message << '\n';
    return kExitFatal;
}

// The run of the compiled scenario's train with the stock at `path` (empty:
// its default train); false, with the stock file's problems in `error`,
// when that cannot be read or used.
bool run_compiled(FileSystem& fs, const CompiledScenario& c, const std::string& path,
                  std::optional<RouteRun>* run, std::string* error) {
    Scenario s;
    s.voci = c.voci;
    s.percorso = c.percorso;
    RollingStock stock = scenario_stock(s);
    if (!path.empty()) {
        std::string text;
        if (!fs.read(path, &text, nullptr)) {
            *error = "cannot read '" + path + "'";
            return false;
        }
        const StockRead read = read_stock_file(text, stock);
        for (const StockProblem& p : read.problems) {
            *error += (error->empty() ? "" : "\n") + path + ":" + std::to_string(p.line) + ":" +
                      std::to_string(p.column) + ": " + p.message;
        }
        if (!read.stock) return false;
        stock = *read.stock;
    }
    if (stock_problem(stock).empty()) run->emplace(run_route(s, stock));
    return true;
}

}  // namespace

int plot_command(std::span<const std::string> args, ToolContext& ctx) {
    ParsedArgs parsed;
    if (const auto done = parse_command(args, kOptions, kCommand, kHelp, ctx.out, ctx.err, &parsed))
        return *done;
    if (parsed.words.size() > 1)
        return usage_error(ctx.err, kCommand, "more than one folder named");
    const std::string folder =
        folder_argument(parsed.words.empty() ? "." : parsed.words[0], ctx.separator);
    const auto [line, train] = scenario_names(parsed, ctx, folder);
    const ScenarioFiles files = scenario_files(folder, ctx.separator, line, train);
    for (const std::string* path : {&files.tabella_sim, &files.percorso_dat}) {
        if (!ctx.fs.exists(*path)) return usage_error(ctx.err, kCommand, "no file '" + *path + "'");
    }
    CompiledScenario compiled;
    std::string error;
    if (!load_scenario(ctx.fs, files, &compiled, &error)) return fatal(ctx, error);
    std::optional<RouteRun> run;
    const std::string stock = chosen_stock_path(parsed.value_or("stock", ""), files, ctx.fs);
    if (!run_compiled(ctx.fs, compiled, stock, &run, &error)) return fatal(ctx, error);
    const RouteRun* drawn = run && !run->run.profile.empty() ? &*run : nullptr;
    if (!parsed.has("out")) {
        write_route_svg(compiled.voci, compiled.percorso, compiled.tracciato, drawn, ctx.out);
        return kExitClean;
    }
    std::ostringstream svg;
    write_route_svg(compiled.voci, compiled.percorso, compiled.tracciato, drawn, svg);
    FileError write_error;
    if (!ctx.fs.replace(parsed.value_or("out", ""), svg.str(), &write_error)) {
        return fatal(ctx, "cannot " + write_error.operation + " '" + write_error.path +
                              "': " + write_error.reason);
    }
    return kExitClean;
}

}  // namespace scenario
