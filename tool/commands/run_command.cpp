#include "tool/commands/run_command.h"

#include <cmath>
#include <cstdio>
#include <ostream>

#include "authoring/timetable_check.h"
#include "tool/commands/check_command.h"
#include "tool/commands/scenario_request.h"
#include "tool/json/json_writer.h"
#include "tool/text/code_page.h"

namespace scenario {

namespace {

constexpr std::string_view kCommand = "run";

constexpr std::string_view kHelp =
    "usage: scenario_tool run [--line ID] [--train NUMBER] [--stock FILE] [--json]\n"
    "                         [FOLDER]\n"
    "\n"
    "Compiles ID_linea.txt and ID_NUMBER-.txt from FOLDER (default: the current\n"
    "folder), writes nothing, and runs the train over the route as fast as the\n"
    "line's limits, the slowdowns, the gradients and the train's traction and\n"
    "brakes allow, stopping at every station that has a time and a stop point.\n"
    "It prints every station in running order: its position (for a stop, where\n"
    "the head of the train stands), its kilometre, stop or pass, the scheduled\n"
    "time, the earliest the train can keep, the margin between them (seconds,\n"
    "and per cent of the running time since the last stop) and that fastest\n"
    "running time; the totals at the end. The train is the train file's default\n"
    "regional train, or the one FOLDER/ID_NUMBER_stock.toml or --stock\n"
    "describes; docs/running-time.md gives the method. Diagnostics, when there\n"
    "are any, go to standard error as 'check' prints them.\n"
    "\n"
    "  --line ID       line identifier (default Alvena_Sorbio, or the folder's only line)\n"
    "  --train NUMBER  train number (default 4271, or the folder's only train)\n"
    "  --stock FILE    the rolling stock, a TOML file\n"
    "  --json          print one JSON document: the stations, the running time and\n"
    "                  the profile of position (m), speed (km/h) and time (s)\n"
    "  --help          this text\n"
    "\n"
    "Exit status: as 'check': 0 no errors; 2 errors; 1 nothing could be\n"
    "compiled; 64 usage error.\n";

constexpr KnownOption kOptions[] = {
    {"line", true}, {"train", true}, {"stock", true}, {"json", false}};

std::string formatted(const char* format, double v) {
    char text[48];
    std::snprintf(text, sizeof text, format, v);
    return text;
}

std::string margin_text(const TimetablePoint& p) {
    if (!p.margin) return "-";
    std::string text = formatted("%+.0f s", *p.margin);
    if (p.section_time > 0) text += formatted(" %+.1f%%", 100 * *p.margin / p.section_time);
    return text;
}

constexpr const char* kRow = "%-24s %9s %9s  %-4s  %9s  %9s  %14s  %s\n";

void print_station(const TimetablePoint& p, std::ostream& out) {
    char line[256];
    std::snprintf(line, sizeof line, kRow, ansi_to_utf8(p.name).c_str(),
                  formatted("%.0f", p.position).c_str(),
                  formatted("%.3f", p.kilometre / 1000).c_str(), p.stops ? "stop" : "pass",
                  p.scheduled ? clock_text(*p.scheduled).c_str() : "-",
                  p.in_run ? clock_text(p.earliest).c_str() : "-", margin_text(p).c_str(),
                  p.in_run && p.section_time > 0 ? duration_text(p.section_time).c_str() : "");
    out << line;
}

void print_totals(const RouteRun& r, std::ostream& out) {
    const double fastest = r.run.profile.back().time_s;
    const double scheduled = *r.stations[*r.last_stop].scheduled - r.start;
    out << "fastest run " << duration_text(fastest) << " from " << clock_text(r.start)
        << ", stops included; scheduled " << duration_text(scheduled);
    if (r.stations[*r.last_stop].in_run) {
        const double spare = scheduled - fastest;
        out << ": " << (spare < 0 ? "short by " : "") << duration_text(std::abs(spare))
            << (spare < 0 ? "" : " to spare") << formatted(" (%.1f %%)", 100 * spare / fastest);
    }
    out << '\n';
}

void print_table(const DiagnosedBuild& b, std::ostream& out) {
    const RouteRun& r = *b.run;
    const RollingStock& st = *b.stock;
    out << "train " << b.s.numero_treno << ": " << formatted("%.0f t", st.mass) << ", "
        << formatted("%.0f m", st.length) << ", top speed " << formatted("%.0f km/h", st.top_speed)
        << ", braking " << formatted("%.2f m/s^2", st.braking) << '\n';
    char heading[256];
    std::snprintf(heading, sizeof heading, kRow, "station", "m", "km", "", "scheduled", "earliest",
                  "margin", "fastest run from the last stop");
    out << heading;
    for (const TimetablePoint& p : r.stations)
        print_station(p, out);
    if (r.first_stop && r.last_stop && !r.run.profile.empty()) print_totals(r, out);
}

void put_station(JsonWriter& json, const TimetablePoint& p) {
    json.begin_object();
    json.key("name");
    json.ansi_string(p.name);
    json.key("position");
    json.number(p.position);
    json.key("kilometre");
    json.number(p.kilometre);
    json.key("stops");
    json.boolean(p.stops);
    json.key("scheduled");
    p.scheduled ? json.number(*p.scheduled) : json.null();
    json.key("earliest");
    p.in_run ? json.number(std::round(p.earliest)) : json.null();
    json.key("margin");
    p.margin ? json.number(std::round(*p.margin)) : json.null();
    json.key("section_time");
    p.in_run ? json.number(std::round(p.section_time)) : json.null();
    json.end_object();
}

void put_run(JsonWriter& json, const DiagnosedBuild& b) {
    json.key("stations");
    json.begin_array();
    if (b.run) {
        for (const TimetablePoint& p : b.run->stations)
            put_station(json, p);
    }
    json.end_array();
    const bool ran = b.run && !b.run->run.profile.empty();
    json.key("running_time");
    ran ? json.number(b.run->run.profile.back().time_s) : json.null();
    json.key("profile");
    json.begin_array();
    if (ran) {
        for (const ProfilePoint& p : b.run->run.profile) {
            json.begin_array();
            json.number(p.position);
            json.number(p.speed_kmh);
            json.number(p.time_s);
            json.end_array();
        }
    }
    json.end_array();
}

}  // namespace

int run_command(std::span<const std::string> args, ToolContext& ctx) {
    ParsedArgs parsed;
    if (const auto done = parse_command(args, kOptions, kCommand, kHelp, ctx.out, ctx.err, &parsed))
        return *done;
    ScenarioRequest r;
    if (const auto usage = scenario_request(parsed, ctx, kCommand, &r)) return *usage;
    DiagnosedBuild b;
    build_with_run(r, ctx, b);
    const int status = check_exit_status(b, false);
    const DiagnosedFiles named = diagnosed_files(b, r.files, r.folder);
    if (parsed.has("json")) {
        JsonWriter json(ctx.out);
        json.begin_object();
        put_run(json, b);
        put_diagnostics_json(b.diagnostics, named, json);
        json.key("exit_status");
        json.number(status);
        json.end_object();
        ctx.out << '\n';
        return status;
    }
    if (!b.diagnostics.empty())
        print_diagnostics_text(b.diagnostics, named, ctx.err_colour, true, ctx.err);
    if (b.run) print_table(b, ctx.out);
    return status;
}

}  // namespace scenario
