#include "tool/commands/command_line.h"

#include <ostream>

#include "tool/commands/tool.h"

namespace scenario {

namespace {

const KnownOption* find_option(std::span<const KnownOption> known, std::string_view name) {
    for (const KnownOption& option : known) {
        if (option.name == name) return &option;
    }
    return nullptr;
}

bool fail(std::string* error, std::string message) {
    *error = std::move(message);
    return false;
}

// The option at args[*i], "--name" or "--name=value"; a value given as the
// next argument moves *i past it.
bool take_option(std::span<const std::string> args, std::size_t* i,
                 std::span<const KnownOption> known, ParsedArgs* parsed, std::string* error) {
    constexpr KnownOption kHelp{"help", false};
    const std::string& arg = args[*i];
    if (arg.rfind("--", 0) != 0) return fail(error, "unknown option '" + arg + "'");
    const std::string body = arg.substr(2);
    const std::size_t equals = body.find('=');
    const std::string name = body.substr(0, equals);
    const KnownOption* option = name == kHelp.name ? &kHelp : find_option(known, name);
    if (option == nullptr) return fail(error, "unknown option '--" + name + "'");
    if (!option->takes_value) {
        if (equals != std::string::npos)
            return fail(error, "option '--" + name + "' takes no value");
        parsed->options[name];
    } else if (equals != std::string::npos) {
        parsed->options[name] = body.substr(equals + 1);
        parsed->every[name].push_back(parsed->options[name]);
    } else if (*i + 1 < args.size()) {
        parsed->options[name] = args[++*i];
        parsed->every[name].push_back(parsed->options[name]);
    } else {
        return fail(error, "option '--" + name + "' needs a value");
    }
    return true;
}

}  // namespace

std::string ParsedArgs::value_or(std::string_view name, std::string_view fallback) const {
    const auto it = options.find(name);
    return it == options.end() ? std::string(fallback) : it->second;
}

std::vector<std::string> ParsedArgs::values(std::string_view name) const {
    const auto it = every.find(name);
    return it == every.end() ? std::vector<std::string>{} : it->second;
}

bool parse_args(std::span<const std::string> args, std::span<const KnownOption> known,
                ParsedArgs* parsed, std::string* error) {
    bool only_words = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (only_words || arg.size() < 2 || arg[0] != '-') {
            parsed->words.push_back(arg);
        } else if (arg == "--") {
            only_words = true;
        } else if (arg == "-h") {
            parsed->options["help"];
        } else if (!take_option(args, &i, known, parsed, error)) {
            return false;
        }
    }
    return true;
}

std::optional<int> parse_command(std::span<const std::string> args,
                                 std::span<const KnownOption> known, std::string_view command,
                                 std::string_view help, std::ostream& out, std::ostream& err,
                                 ParsedArgs* parsed) {
    std::string error;
    if (!parse_args(args, known, parsed, &error)) return usage_error(err, command, error);
    if (!parsed->has("help")) return std::nullopt;
    out << help;
    return kExitClean;
}

int usage_error(std::ostream& err, std::string_view command, std::string_view message) {
    err << kToolName << ' ' << command << ": " << message << " (see '" << kToolName << ' '
        << command << " --help')\n";
    return kExitUsage;
}

std::string folder_argument(std::string_view folder, char separator) {
    if (folder.empty()) return ".";
    const auto is_separator = [&](char c) { return c == separator || c == '/'; };
    while (folder.size() > 1 && is_separator(folder.back()) && folder[folder.size() - 2] != ':')
        folder.remove_suffix(1);
    return std::string(folder);
}

}  // namespace scenario
