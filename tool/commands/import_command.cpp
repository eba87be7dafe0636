#include "tool/commands/import_command.h"

#include <charconv>
#include <ostream>
#include <vector>

#include "importing/map_path.h"
#include "importing/osm_reader.h"
#include "importing/scenario_maker.h"
#include "importing/station_names.h"
#include "output/file_names.h"
#include "tool/commands/command_line.h"
#include "tool/commands/import_summary.h"

namespace scenario {

namespace {

constexpr std::string_view kCommand = "import";

constexpr std::string_view kHelp =
    "usage: scenario_tool import --osm FILE --from NAME --to NAME [--via NAME]...\n"
    "           [--pass NAME]... [--relation ID] [--dem FILE]... [--depart HH:MM]\n"
    "           [--line ID] [--train NUMBER] [--force] [--json] FOLDER\n"
    "\n"
    "Makes a whole scenario from an OpenStreetMap extract: the line from one\n"
    "station to another as the map has it, its curves, gradients, tunnels,\n"
    "bridges, speed limits, stations, signals and kilometres, and a timetable\n"
    "the default train keeps. Writes ID_linea.txt and ID_NUMBER-.txt into\n"
    "FOLDER (made when missing), then prints what it made and every guess.\n"
    "\n"
    "  --osm FILE      the map: .osm, .osm.pbf, .osm.gz or .osm.bz2\n"
    "  --from NAME     the first station, by its name on the map (case, accents,\n"
    "                  blanks and punctuation do not matter) or as n<node id>\n"
    "  --to NAME       the last station\n"
    "  --via NAME      a station the path runs through, in order (repeatable)\n"
    "  --pass NAME     a station the train runs through without stopping\n"
    "  --relation ID   follow this route relation (r<id> or <id>) instead of the\n"
    "                  cheapest path over the tracks\n"
    "  --dem FILE      an elevation model: SRTM .hgt (raw or zipped) or GeoTIFF\n"
    "                  (repeatable; without one: incline tags, then ele, then level)\n"
    "  --depart HH:MM  the train's departure (default 08:00)\n"
    "  --line ID       line identifier (default: the two end stations' names)\n"
    "  --train NUMBER  train number (default 1)\n"
    "  --force         replace files that have those names\n"
    "  --json          print the summary as one JSON document\n"
    "  --help          this text\n"
    "\n"
    "docs/importing.md tells which tags are read and what each becomes.\n"
    "\n"
    "Exit status: 0 written; 1 the map or a station cannot make a scenario, a\n"
    "file of those names exists, or a file could not be written (nothing is\n"
    "written then); 64 usage error.\n";

constexpr KnownOption kOptions[] = {
    {"osm", true},  {"from", true},     {"to", true},     {"via", true},
    {"pass", true}, {"relation", true}, {"dem", true},    {"depart", true},
    {"line", true}, {"train", true},    {"force", false}, {"json", false},
};

constexpr int kMinutesPerDay = 24 * 60;

int fatal(ToolContext& ctx, const std::string& message) {
    ctx.err << kToolName << ' ' << kCommand << ": " << message << '\n';
    return kExitFatal;
}

// The identity forms file names: it must not be empty or reach into another
// folder, nor hold a character that Windows refuses in a file name.
bool fits_file_names(std::string_view name) {
    constexpr std::string_view kRefused = "/\\:*?\"<>|";
    if (name.empty()) return false;
    for (const char c : name)
        if (static_cast<unsigned char>(c) < 0x20 || kRefused.find(c) != std::string_view::npos)
            return false;
    return true;
}

std::optional<int> parse_depart(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0 || colon > 2 || text.size() != colon + 3)
        return std::nullopt;
    int hours = -1;
    int minutes = -1;
    const auto h = std::from_chars(text.data(), text.data() + colon, hours);
    const auto m = std::from_chars(text.data() + colon + 1, text.data() + text.size(), minutes);
    if (h.ptr != text.data() + colon || m.ptr != text.data() + text.size()) return std::nullopt;
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59) return std::nullopt;
    return hours * 60 + minutes;
}

std::optional<std::int64_t> parse_relation(std::string_view text) {
    if (!text.empty() && (text[0] == 'r' || text[0] == 'R')) text.remove_prefix(1);
    std::int64_t id = 0;
    const auto r = std::from_chars(text.data(), text.data() + text.size(), id);
    if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size() || id <= 0)
        return std::nullopt;
    return id;
}

struct ImportRequest {
    std::string map;
    std::string folder;
    importing::PathRequest path;
    importing::MakeRequest make;
    bool line_given = false;
    bool force = false;
    bool json = false;
};

// The request from the command line, or the usage error's status.
std::optional<int> read_request(const ParsedArgs& parsed, ToolContext& ctx, ImportRequest* r) {
    if (parsed.words.size() != 1)
        return usage_error(ctx.err, kCommand,
                           parsed.words.empty() ? "no FOLDER named" : "more than one FOLDER named");
    for (const std::string_view needed : {"osm", "from", "to"}) {
        if (!parsed.has(needed) || parsed.value_or(needed, "").empty())
            return usage_error(ctx.err, kCommand, "--" + std::string(needed) + " is needed");
    }
    r->folder = folder_argument(parsed.words[0], ctx.separator);
    r->map = parsed.value_or("osm", "");
    r->path.from = parsed.value_or("from", "");
    r->path.to = parsed.value_or("to", "");
    r->path.via = parsed.values("via");
    r->path.pass = parsed.values("pass");
    if (importing::normalised_name(r->path.from) == importing::normalised_name(r->path.to))
        return usage_error(ctx.err, kCommand, "--from and --to name the same station");
    if (parsed.has("relation")) {
        r->path.relation = parse_relation(parsed.value_or("relation", ""));
        if (!r->path.relation)
            return usage_error(ctx.err, kCommand,
                               "--relation wants a relation id, as 12345 or r12345");
    }
    const std::optional<int> depart = parse_depart(parsed.value_or("depart", "08:00"));
    if (!depart) return usage_error(ctx.err, kCommand, "--depart wants a time of day as HH:MM");
    r->make.depart_minutes = *depart % kMinutesPerDay;
    r->make.dem_files = parsed.values("dem");
    r->make.numero_treno = parsed.value_or("train", "1");
    r->line_given = parsed.has("line");
    r->make.nome_linea = parsed.value_or("line", "");
    for (const auto& [option, name] :
         {std::pair{"--line", &r->make.nome_linea}, {"--train", &r->make.numero_treno}}) {
        if ((option != std::string_view("--line") || r->line_given) && !fits_file_names(*name))
            return usage_error(
                ctx.err, kCommand,
                std::string(option) + " '" + *name + "' cannot be part of a file name");
    }
    r->force = parsed.has("force");
    r->json = parsed.has("json");
    return std::nullopt;
}

// Writes the two files; on a failure, removes what this run created.
int write_files(const ImportRequest& r, const ScenarioFiles& files,
                const importing::MadeScenario& made, ToolContext& ctx) {
    if (!ctx.folder_exists(r.folder) && !ctx.make_folder(r.folder))
        return fatal(ctx, "cannot make the folder '" + r.folder + "'");
    std::vector<std::string> created;
    for (const auto& [path, bytes] :
         {std::pair{&files.linea_txt, &made.linea_txt}, {&files.treno_txt, &made.treno_txt}}) {
        const bool existed = ctx.fs.exists(*path);
        FileError error;
        if (!ctx.fs.replace(*path, *bytes, &error)) {
            for (const std::string& done : created)
                ctx.fs.remove(done, nullptr);
            return fatal(ctx,
                         "cannot " + error.operation + " '" + error.path + "': " + error.reason);
        }
        if (!existed) created.push_back(*path);
    }
    return kExitClean;
}

}  // namespace

int import_command(std::span<const std::string> args, ToolContext& ctx) {
    ParsedArgs parsed;
    if (const auto done = parse_command(args, kOptions, kCommand, kHelp, ctx.out, ctx.err, &parsed))
        return *done;
    ImportRequest r;
    if (const auto done = read_request(parsed, ctx, &r)) return *done;
    if (!ctx.fs.exists(r.map)) return fatal(ctx, "no map file '" + r.map + "'");
    importing::RailwayGraph graph;
    std::string error;
    if (!importing::read_railway_graph(r.map, &graph, &error)) return fatal(ctx, error);
    importing::ImportPath path;
    if (!importing::find_path(graph, r.path, &path, &error)) return fatal(ctx, error);
    if (!r.line_given)
        r.make.nome_linea = importing::ascii_name(path.from) + "_" + importing::ascii_name(path.to);
    if (!fits_file_names(r.make.nome_linea)) r.make.nome_linea = "Line";
    const ScenarioFiles files =
        scenario_files(r.folder, ctx.separator, r.make.nome_linea, r.make.numero_treno);
    if (!r.force && ctx.folder_exists(r.folder)) {
        bool found = false;
        for (const std::string* f : {&files.linea_txt, &files.treno_txt}) {
            if (!ctx.fs.exists(*f)) continue;
            ctx.err << kToolName << ' ' << kCommand << ": '" << *f << "' exists already\n";
            found = true;
        }
        if (found) return fatal(ctx, "nothing written; --force replaces those files");
    }
    importing::MadeScenario made;
    if (!importing::make_scenario(path, r.make, &made, &error)) return fatal(ctx, error);
    if (const int status = write_files(r, files, made, ctx); status != kExitClean) return status;
    const ImportReport report{r.map, {files.linea_txt, files.treno_txt}, &path, &made};
    if (r.json)
        print_import_json(report, ctx.out);
    else
        print_import_text(report, ctx.out, ctx.out_colour);
    return kExitClean;
}

}  // namespace scenario
