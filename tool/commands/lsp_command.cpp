#include "tool/commands/lsp_command.h"

#include <ostream>

#include "tool/commands/command_line.h"
#include "tool/lsp/server.h"

namespace scenario {

namespace {

constexpr std::string_view kCommand = "lsp";

constexpr KnownOption kOptions[] = {{"stdio", false}};

constexpr std::string_view kHelp =
    "usage: scenario_tool lsp [--stdio]\n"
    "\n"
    "A language server for ID_linea.txt and ID_NUMBER-.txt: an editor with a\n"
    "Language Server Protocol client starts it and talks to it on standard\n"
    "input and output. It underlines every diagnostic of 'check' as the author\n"
    "types (a train file is checked against the line file of its folder, a line\n"
    "file with a train file of its line, each as the editor holds it when it is\n"
    "open there), describes the field under the cursor with the value the\n"
    "compiler reads there, labels every value field with its name, and lists\n"
    "the sections and records for the outline. docs/editors.md says how to\n"
    "attach it in Neovim, Helix, Kate and VS Code.\n"
    "\n"
    "  --stdio  the channel, standard input and output: the only one, so the\n"
    "           switch that some editors add changes nothing\n"
    "  --help   this text\n"
    "\n"
    "Nothing but protocol messages goes to standard output; what the server\n"
    "drops is said on standard error.\n"
    "\n"
    "Exit status: 0 after the editor's shutdown and exit; 1 when the editor\n"
    "leaves without shutdown; 64 usage error.\n";

}  // namespace

int lsp_command(std::span<const std::string> args, ToolContext& ctx) {
    ParsedArgs parsed;
    if (const auto done = parse_command(args, kOptions, kCommand, kHelp, ctx.out, ctx.err, &parsed))
        return *done;
    if (!parsed.words.empty())
        return usage_error(ctx.err, kCommand, "unexpected argument '" + parsed.words[0] + "'");
    if (ctx.in == nullptr) return usage_error(ctx.err, kCommand, "no standard input");
    if (ctx.binary_stdio != nullptr) ctx.binary_stdio();
    return serve_lsp(*ctx.in, LspEnvironment{.disk = ctx.fs,
                                             .list_folder = ctx.list_folder,
                                             .out = ctx.out,
                                             .log = ctx.err,
                                             .read_ahead = true});
}

}  // namespace scenario
