// The authoring tool: compile an author's source files, look inside the
// compiled files, draw the route. One entry point, one command per word.
#pragma once

#include <functional>
#include <iosfwd>
#include <span>
#include <string>
#include <vector>

#include "output/exit_status.h"
#include "output/file_system.h"

namespace scenario {

// A command line the tool cannot act on: an unknown command or option, a
// missing value or file. One line on the error stream says why.
inline constexpr int kExitUsage = 64;

inline constexpr std::string_view kToolName = "scenario_tool";

// The project's version, as the build sets it ("1.0.0").
std::string_view tool_version();

// What the commands need from outside: the files, the two output streams,
// the folder separator of the system, a test for folders and a way to make
// one.
struct ToolContext {
    FileSystem& fs;
    std::ostream& out;
    std::ostream& err;
    char separator = '/';
    std::function<bool(const std::string&)> folder_exists = [](const std::string&) { return true; };
    // Makes the folder, and those above it that are missing; false when it
    // cannot.
    std::function<bool(const std::string&)> make_folder = [](const std::string&) { return false; };
    // Whether diagnostics on each stream may be coloured: it is a terminal
    // and NO_COLOR is unset.
    bool out_colour = false;
    bool err_colour = false;
    // The program as the user started it, for commands printed to be copied.
    std::string program = std::string(kToolName);
    // Standard input, for a command that reads it; none in most tests.
    std::istream* in = nullptr;
    // The names of the files in a folder; none when it cannot be listed.
    std::function<std::vector<std::string>(const std::string&)> list_folder =
        [](const std::string&) { return std::vector<std::string>{}; };
    // Puts standard input and output in binary mode, for a command that
    // speaks a byte protocol (on Windows, no CR is added); none in tests.
    void (*binary_stdio)() = nullptr;
};

// Runs the command named by args[0] with the rest of `args` (the program's
// own name is not in `args`) and returns the exit status.
int run_tool(std::span<const std::string> args, ToolContext& ctx);

}  // namespace scenario
