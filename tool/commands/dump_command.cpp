#include "tool/commands/dump_command.h"

#include <array>
#include <ostream>
#include <vector>

#include "authoring/compiled_readers.h"
#include "compiler/model.h"
#include "tool/commands/command_line.h"
#include "tool/dump/dump_json.h"
#include "tool/dump/dump_text.h"

namespace scenario {

namespace {

constexpr std::string_view kCommand = "dump";

constexpr std::string_view kHelp =
    "usage: scenario_tool dump [--kind table|route|geometry] [--json] FILE\n"
    "\n"
    "Prints a compiled file field by field: the scenario table's 87 records,\n"
    "the route's cells that are not all zero (tipo spelled out), or the line\n"
    "geometry's rows with their tags. A file whose size or structure does not\n"
    "fit its kind is refused.\n"
    "\n"
    "  --kind KIND  table, route or geometry; by default the name tells:\n"
    "               *_linea.dat geometry, *.sim table, any other *.dat route\n"
    "  --json       one JSON object instead of text\n"
    "  --help       this text\n"
    "\n"
    "Exit status: 0 printed, 1 the file was refused, 64 usage error.\n";

constexpr KnownOption kOptions[] = {{"kind", true}, {"json", false}};

bool ends_with(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

std::optional<CompiledKind> kind_from_word(std::string_view word) {
    if (word == "table") return CompiledKind::table;
    if (word == "route") return CompiledKind::route;
    if (word == "geometry") return CompiledKind::geometry;
    return std::nullopt;
}

bool dump_table(std::string_view bytes, bool json, std::ostream& out, std::string* error) {
    std::array<voce, kVoci> voci;
    if (!read_table(bytes, &voci, error)) return false;
    json ? print_table_json(voci, bytes.size(), out) : print_table(voci, bytes.size(), out);
    return true;
}

bool dump_route(std::string_view bytes, bool json, std::ostream& out, std::string* error) {
    std::vector<cella> percorso;
    if (!read_route(bytes, &percorso, error)) return false;
    json ? print_route_json(percorso, bytes.size(), out) : print_route(percorso, bytes.size(), out);
    return true;
}

bool dump_geometry(std::string_view bytes, bool json, std::ostream& out, std::string* error) {
    Tracciato t;
    if (!read_geometry(bytes, &t, error)) return false;
    json ? print_geometry_json(t, bytes.size(), out) : print_geometry(t, bytes.size(), out);
    return true;
}

}  // namespace

bool dump_compiled(CompiledKind kind, std::string_view bytes, bool json, std::ostream& out,
                   std::string* error) {
    switch (kind) {
        case CompiledKind::table:
            return dump_table(bytes, json, out, error);
        case CompiledKind::route:
            return dump_route(bytes, json, out, error);
        case CompiledKind::geometry:
            break;
    }
    return dump_geometry(bytes, json, out, error);
}

std::optional<CompiledKind> kind_from_name(std::string_view path) {
    if (ends_with(path, "_linea.dat")) return CompiledKind::geometry;
    if (ends_with(path, ".sim")) return CompiledKind::table;
    if (ends_with(path, ".dat")) return CompiledKind::route;
    return std::nullopt;
}

int dump_command(std::span<const std::string> args, ToolContext& ctx) {
    ParsedArgs parsed;
    if (const auto done = parse_command(args, kOptions, kCommand, kHelp, ctx.out, ctx.err, &parsed))
        return *done;
    if (parsed.words.size() != 1) {
        return usage_error(ctx.err, kCommand,
                           parsed.words.empty() ? "no file named" : "more than one file named");
    }
    const std::string& path = parsed.words[0];
    const std::optional<CompiledKind> kind =
        parsed.has("kind") ? kind_from_word(parsed.value_or("kind", "")) : kind_from_name(path);
    if (!kind) {
        return usage_error(ctx.err, kCommand,
                           parsed.has("kind")
                               ? "--kind is table, route or geometry"
                               : "the name of '" + path + "' does not tell its kind; give --kind");
    }
    std::string bytes;
    if (!ctx.fs.exists(path)) return usage_error(ctx.err, kCommand, "no file '" + path + "'");
    FileError read_error;
    if (!ctx.fs.read(path, &bytes, &read_error)) {
        ctx.err << kToolName << ' ' << kCommand << ": cannot read '" << path
                << "': " << read_error.reason << '\n';
        return kExitFatal;
    }
    std::string error;
    if (!dump_compiled(*kind, bytes, parsed.has("json"), ctx.out, &error)) {
        ctx.err << kToolName << ' ' << kCommand << ": " << path << ": " << error << '\n';
        return kExitFatal;
    }
    return kExitClean;
}

}  // namespace scenario
