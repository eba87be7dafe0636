#include "tool/commands/view_command.h"

#include <charconv>
#include <ostream>

#include "tool/commands/command_line.h"
#include "tool/commands/scenario_request.h"
#include "tool/view/file_watch.h"
#include "tool/view/view_model.h"
#include "tool/view/view_server.h"

namespace scenario {

namespace {

constexpr std::string_view kCommand = "view";

constexpr std::string_view kHelp =
    "usage: scenario_tool view [--line ID] [--train NUMBER] [--stock FILE]\n"
    "                          [--port N] [FOLDER]\n"
    "\n"
    "Serves a live view of the scenario in FOLDER (default: the current folder)\n"
    "to a web browser on this computer, at the address it prints: the panels\n"
    "of 'plot' with a cursor that reads out the position, kilometre, gradient,\n"
    "line limit, fastest speed, time of the run and the object there with its\n"
    "file and line; zoom and pan along the line; the timetable of 'run' and the\n"
    "diagnostics of 'check'. ID_linea.txt, ID_NUMBER-.txt, the stock file and\n"
    "the train card are read again whenever they change on disk, and the page\n"
    "follows without reloading; sources that do not compile show their\n"
    "diagnostics over the last good picture. Only 127.0.0.1 is served.\n"
    "docs/viewer.md describes the page.\n"
    "\n"
    "  --line ID       line identifier (default Alvena_Sorbio, or the folder's only line)\n"
    "  --train NUMBER  train number (default 4271, or the folder's only train)\n"
    "  --stock FILE    the rolling stock, a TOML file\n"
    "  --port N        the port to listen on (default 0: any free one)\n"
    "  --help          this text\n"
    "\n"
    "Ctrl+C ends it. Exit status: 0 ended by Ctrl+C; 1 the port cannot be had;\n"
    "64 usage error.\n";

constexpr KnownOption kOptions[] = {
    {"line", true}, {"train", true}, {"stock", true}, {"port", true}};

std::optional<unsigned short> port_argument(std::string_view text) {
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value > 65535) return std::nullopt;
    return static_cast<unsigned short>(value);
}

}  // namespace

int view_command(std::span<const std::string> args, ToolContext& ctx) {
    ParsedArgs parsed;
    if (const auto done = parse_command(args, kOptions, kCommand, kHelp, ctx.out, ctx.err, &parsed))
        return *done;
    const auto port = port_argument(parsed.value_or("port", "0"));
    if (!port) return usage_error(ctx.err, kCommand, "--port takes a number from 0 to 65535");
    ScenarioRequest r;
    if (const auto usage = scenario_request(parsed, ctx, kCommand, &r)) return *usage;
    const bool stock_named = parsed.has("stock");
    // The folder's own stock file is watched even while it is absent, so
    // that one written later is taken up.
    FileWatch watch({r.files.linea_txt, r.files.treno_txt,
                     stock_named ? r.stock_path : default_stock_path(r.files), r.files.scheda});
    ViewModel model(std::move(r), stock_named);
    return serve_view(model, watch, ctx, *port);
}

}  // namespace scenario
