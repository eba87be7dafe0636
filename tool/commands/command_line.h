// Options of the tool's commands: "--name value", "--name=value", plain
// switches, and the words that are not options.
#pragma once

#include <iosfwd>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {

struct KnownOption {
    std::string_view name;  // without the leading "--"
    bool takes_value = false;
};

struct ParsedArgs {
    std::map<std::string, std::string, std::less<>> options;             // the last value of each
    std::map<std::string, std::vector<std::string>, std::less<>> every;  // all, in order
    std::vector<std::string> words;

    bool has(std::string_view name) const { return options.find(name) != options.end(); }
    std::string value_or(std::string_view name, std::string_view fallback) const;
    // Each value of an option that may be given more than once.
    std::vector<std::string> values(std::string_view name) const;
};

// "--help" and "-h" are known to every command. After "--" every argument
// is a word. False, with `error` set to a short reason, for an unknown
// option, a switch given a value or an option missing its value.
bool parse_args(std::span<const std::string> args, std::span<const KnownOption> known,
                ParsedArgs* parsed, std::string* error);

// Reads a command's arguments into `parsed`. Returns the exit status when
// the command ends here (a usage error, or its help printed on `out`), and
// nothing when the command goes on.
std::optional<int> parse_command(std::span<const std::string> args,
                                 std::span<const KnownOption> known, std::string_view command,
                                 std::string_view help, std::ostream& out, std::ostream& err,
                                 ParsedArgs* parsed);

// Prints the one-line usage error of `command` ("scenario_tool dump: ...")
// with a pointer to its help, and returns the usage exit status.
int usage_error(std::ostream& err, std::string_view command, std::string_view message);

// A folder named on the command line, without the separators that end it
// (a root folder stays as it is), so that file names get exactly one.
std::string folder_argument(std::string_view folder, char separator);

}  // namespace scenario
