#include "tool/command_line.h"

#include <ostream>

#include "tool/tool.h"

namespace scenario {

namespace {

const OptionSpec* find_spec(std::span<const OptionSpec> specs, std::string_view name) {
    for (const OptionSpec& spec : specs) {
        if (spec.name == name) return &spec;
    }
    return nullptr;
}

bool fail(std::string* error, std::string message) {
    *error = std::move(message);
    return false;
}

}  // namespace

std::string ParsedArgs::value_or(std::string_view name, std::string_view fallback) const {
    const auto it = options.find(name);
    return it == options.end() ? std::string(fallback) : it->second;
}

bool parse_args(std::span<const std::string> args, std::span<const OptionSpec> specs,
                ParsedArgs* parsed, std::string* error) {
    constexpr OptionSpec kHelp{"help", false};
    bool only_words = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (only_words || arg.size() < 2 || arg[0] != '-') {
            parsed->words.push_back(arg);
            continue;
        }
        if (arg == "--") {
            only_words = true;
            continue;
        }
        if (arg == "-h") {
            parsed->options["help"];
            continue;
        }
        if (arg.rfind("--", 0) != 0) return fail(error, "unknown option '" + arg + "'");
        const std::string body = arg.substr(2);
        const std::size_t equals = body.find('=');
        const std::string name = body.substr(0, equals);
        const OptionSpec* spec = name == kHelp.name ? &kHelp : find_spec(specs, name);
        if (spec == nullptr) return fail(error, "unknown option '--" + name + "'");
        if (!spec->takes_value) {
            if (equals != std::string::npos) {
                return fail(error, "option '--" + name + "' takes no value");
            }
            parsed->options[name];
            continue;
        }
        if (equals != std::string::npos) {
            parsed->options[name] = body.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            parsed->options[name] = args[++i];
        } else {
            return fail(error, "option '--" + name + "' needs a value");
        }
    }
    return true;
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
