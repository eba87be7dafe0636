#include "tool/commands/format_command.h"

#include <ostream>
#include <vector>

#include "authoring/source_format.h"
#include "tool/commands/command_line.h"

namespace scenario {

namespace {

constexpr std::string_view kCommand = "format";

constexpr std::string_view kHelp =
    "usage: scenario_tool format [--check] FILE...\n"
    "\n"
    "Lays out the records of each source file as the builder writes its own:\n"
    "in a line file (ID_linea.txt) every value after a fixed run of blanks, in\n"
    "a train file (ID_NUMBER-.txt) the numbers of the rows of one kind that\n"
    "follow each other right-aligned in columns. Only the blanks that the\n"
    "compiler skips or reads as separators change: keywords, texts, names,\n"
    "commas and line ends stay as they are, and the file compiles to the same\n"
    "bytes. A line that holds anything but one whole record is left alone. Each\n"
    "file that changes is written anew in one step, and named.\n"
    "\n"
    "  --check  write nothing; name each file that would change\n"
    "  --help   this text\n"
    "\n"
    "Exit status: 0 done (with --check: nothing would change); 1 with --check a\n"
    "file would change, or a file could not be read or written; 64 usage\n"
    "error.\n";

constexpr KnownOption kOptions[] = {{"check", false}};

bool ends_with(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// The builder's names: <line>_linea.txt and <line>_<train>-.txt.
SourceKind kind_of(std::string_view path, char separator) {
    const std::string_view file = path.substr(path.find_last_of(std::string{'/', separator}) + 1);
    if (ends_with(file, "_linea.txt")) return SourceKind::linea;
    if (ends_with(file, "-.txt")) return SourceKind::treno;
    return SourceKind::none;
}

}  // namespace

int format_command(std::span<const std::string> args, ToolContext& ctx) {
    ParsedArgs parsed;
    if (const auto done = parse_command(args, kOptions, kCommand, kHelp, ctx.out, ctx.err, &parsed))
        return *done;
    if (parsed.words.empty()) return usage_error(ctx.err, kCommand, "no file given");
    for (const std::string& path : parsed.words) {
        if (kind_of(path, ctx.separator) == SourceKind::none) {
            return usage_error(ctx.err, kCommand,
                               "'" + path +
                                   "' is named as no source file (ID_linea.txt or "
                                   "ID_NUMBER-.txt)");
        }
        if (!ctx.fs.exists(path)) return usage_error(ctx.err, kCommand, "no file '" + path + "'");
    }
    const bool check = parsed.has("check");
    int status = kExitClean;
    for (const std::string& path : parsed.words) {
        std::string text;
        FileError error;
        if (!ctx.fs.read(path, &text, &error)) {
            ctx.err << kToolName << ' ' << kCommand << ": cannot read '" << path
                    << "': " << error.reason << '\n';
            status = kExitFatal;
            continue;
        }
        const std::string laid_out = formatted_source(text, kind_of(path, ctx.separator));
        if (laid_out == text) continue;
        // As gofmt -l and clang-format --dry-run do for a check in CI: the
        // file is named, and the status says that something would change.
        if (check) {
            ctx.out << path << '\n';
            status = kExitFatal;
            continue;
        }
        if (!ctx.fs.replace(path, laid_out, &error)) {
            ctx.err << kToolName << ' ' << kCommand << ": cannot " << error.operation << " '"
                    << error.path << "': " << error.reason << '\n';
            status = kExitFatal;
            continue;
        }
        ctx.out << "formatted " << path << '\n';
    }
    return status;
}

}  // namespace scenario
