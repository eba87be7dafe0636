#include "tool/commands/tool.h"

#include <ostream>
#include <string_view>

#include "tool/commands/check_command.h"
#include "tool/commands/compile_command.h"
#include "tool/commands/documents_command.h"
#include "tool/commands/dump_command.h"
#include "tool/commands/explain_command.h"
#include "tool/commands/format_command.h"
#include "tool/commands/init_command.h"
#include "tool/commands/lsp_command.h"
#include "tool/commands/plot_command.h"
#include "tool/commands/run_command.h"
#include "tool/commands/timetable_command.h"
#include "tool/commands/view_command.h"

namespace scenario {

namespace {

constexpr std::string_view kHelp =
    "usage: scenario_tool COMMAND [OPTIONS] [ARGUMENTS]\n"
    "\n"
    "Tools for scenario authors, on the builder's own compiler.\n"
    "\n"
    "  init       write a first scenario to change: the builder's own two source\n"
    "             files and its three documents\n"
    "  explain    say what a code, a diagnostic or a record keyword means\n"
    "  check      print every diagnostic of the line and train source files:\n"
    "             recorded codes, what the compiler reads silently, and a\n"
    "             timetable the train cannot keep\n"
    "  compile    compile line and train source files into the compiled files,\n"
    "             showing the code, meaning, position and source line of a failure\n"
    "  documents  make the train card and the slowdown bulletin from the sources\n"
    "  dump       print a compiled file (table, route or geometry) as text or JSON\n"
    "  format     lay out the records of source files as the builder writes its own\n"
    "  lsp        a language server for editors, on standard input and output\n"
    "  plot       draw a compiled scenario as one SVG picture\n"
    "  run        run the train over the route as fast as it can, and set the run\n"
    "             against the timetable, station by station\n"
    "  timetable  draft the timetable from the fastest run and the recovery margin,\n"
    "             and write it into the train file\n"
    "  view       a live view of the scenario in the browser, updated on every\n"
    "             save\n"
    "\n"
    "'scenario_tool COMMAND --help' describes each command;\n"
    "'scenario_tool --version' prints the version. docs/source-formats.md\n"
    "describes the source files.\n";

using Command = int (*)(std::span<const std::string>, ToolContext&);

struct NamedCommand {
    std::string_view name;
    Command run;
};

// In the order of the help text, one command a line, so that a new command
// is one new line.
// clang-format off
constexpr NamedCommand kCommands[] = {
    {"init", init_command},
    {"explain", explain_command},
    {"check", check_command},
    {"compile", compile_command},
    {"documents", documents_command},
    {"dump", dump_command},
    {"format", format_command},
    // Started by an editor, not by a person.
    {"lsp", lsp_command},
    {"plot", plot_command},
    {"run", run_command},
    {"timetable", timetable_command},
    // Runs until Ctrl+C.
    {"view", view_command},
};
// clang-format on

int top_usage_error(ToolContext& ctx, std::string_view message) {
    ctx.err << kToolName << ": " << message << " (see '" << kToolName << " --help')\n";
    return kExitUsage;
}

}  // namespace

std::string_view tool_version() {
    return SCENARIO_VERSION;
}

int run_tool(std::span<const std::string> args, ToolContext& ctx) {
    if (args.empty()) return top_usage_error(ctx, "no command given");
    const std::string& word = args[0];
    if (word == "--help" || word == "-h" || word == "help") {
        ctx.out << kHelp;
        return kExitClean;
    }
    if (word == "--version") {
        ctx.out << kToolName << ' ' << tool_version() << '\n';
        return kExitClean;
    }
    for (const NamedCommand& command : kCommands) {
        if (command.name == word) return command.run(args.subspan(1), ctx);
    }
    if (word.rfind('-', 0) == 0) return top_usage_error(ctx, "unknown option '" + word + "'");
    return top_usage_error(ctx, "unknown command '" + word + "'");
}

}  // namespace scenario
