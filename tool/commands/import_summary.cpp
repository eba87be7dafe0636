#include "tool/commands/import_summary.h"

#include <cmath>
#include <cstdio>
#include <ostream>

#include "tool/json/json_writer.h"
#include "tool/text/code_page.h"

namespace scenario {

namespace {

using importing::ImportNote;
using importing::ImportSummary;

constexpr std::string_view kCyan = "\x1b[1;36m";
constexpr std::string_view kReset = "\x1b[0m";

std::string metres(double m) {
    return std::to_string(std::lround(m)) + " m";
}

std::string one_decimal(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", v);
    return text;
}

std::string duration(double seconds) {
    const long s = std::lround(seconds);
    return std::to_string(s / 60) + " min " + std::to_string(s % 60) + " s";
}

std::string signed_per_mille(int v) {
    return (v > 0 ? "+" : "") + std::to_string(v);
}

// The path's notes first (reading and search), then the maker's.
std::vector<ImportNote> all_notes(const ImportReport& r) {
    std::vector<ImportNote> notes = r.path->notes;
    notes.insert(notes.end(), r.made->notes.begin(), r.made->notes.end());
    return notes;
}

void print_stations(const ImportSummary& s, std::ostream& out) {
    out << "stations (" << s.stations.size() << "), position on the route against the map:\n";
    for (const importing::SummaryStation& st : s.stations) {
        out << "  " << ansi_to_utf8(st.name) << ": " << metres(st.position) << " (map "
            << metres(st.chainage) << ")" << (st.stop ? "" : ", passed") << '\n';
    }
}

void print_note(const std::string& map, const ImportNote& n, std::ostream& out, bool colour) {
    out << map << ": ";
    if (!n.ref.empty()) out << n.ref << ": ";
    if (colour) out << kCyan;
    out << "note:";
    if (colour) out << kReset;
    out << ' ' << n.message << '\n';
}

void put_notes(JsonWriter& json, const std::vector<ImportNote>& notes) {
    json.begin_array();
    for (const ImportNote& n : notes) {
        json.begin_object();
        json.key("ref");
        json.string(n.ref);
        json.key("message");
        json.string(n.message);
        json.end_object();
    }
    json.end_array();
}

void put_stations(JsonWriter& json, const ImportSummary& s) {
    json.begin_array();
    for (const importing::SummaryStation& st : s.stations) {
        json.begin_object();
        json.key("name");
        json.ansi_string(st.name);
        json.key("node");
        json.number(st.node);
        json.key("position");
        json.number(st.position);
        json.key("chainage");
        json.number(std::round(st.chainage * 10) / 10);
        json.key("stops");
        json.boolean(st.stop);
        json.end_object();
    }
    json.end_array();
}

}  // namespace

void print_import_text(const ImportReport& r, std::ostream& out, bool colour) {
    const ImportSummary& s = r.made->summary;
    for (const std::string& file : r.written)
        out << "wrote " << file << '\n';
    out << '\n'
        << r.path->from << " to " << r.path->to << ": a route of " << metres(s.route_length)
        << ", the map's path " << metres(s.path_length) << '\n';
    print_stations(s, out);
    out << "tunnels " << s.tunnels << ", boards " << s.boards << " (speed " << s.speed_boards
        << ", names " << s.name_boards << "), signals " << s.signals << ", kilometric references "
        << s.kilometric_references << '\n';
    out << "gradients " << signed_per_mille(s.gradient_min) << " to "
        << signed_per_mille(s.gradient_max) << " per mille, from " << s.gradient_source << '\n';
    if (s.run_time) out << "the default train's fastest run: " << duration(*s.run_time) << '\n';
    const importing::ImportAccuracy& a = r.made->accuracy;
    out << "the plan against the map: RMS " << one_decimal(a.plan_rms) << " m, at most "
        << one_decimal(a.plan_max) << " m";
    if (a.profile_rms)
        out << "; the profile against the DEM: RMS " << one_decimal(*a.profile_rms) << " m";
    out << '\n';
    out << "left out, the formats cannot hold them: level crossings " << s.level_crossings
        << ", other railway objects " << s.other_objects << '\n';
    const std::vector<ImportNote> notes = all_notes(r);
    if (!notes.empty()) out << '\n';
    for (const ImportNote& n : notes)
        print_note(r.map, n, out, colour);
}

void print_import_json(const ImportReport& r, std::ostream& out) {
    const ImportSummary& s = r.made->summary;
    const importing::ImportAccuracy& a = r.made->accuracy;
    JsonWriter json(out);
    json.begin_object();
    json.key("written");
    json.begin_array();
    for (const std::string& file : r.written)
        json.string(file);
    json.end_array();
    json.key("from");
    json.string(r.path->from);
    json.key("to");
    json.string(r.path->to);
    json.key("route_length");
    json.number(s.route_length);
    json.key("path_length");
    json.number(std::round(s.path_length * 10) / 10);
    json.key("stations");
    put_stations(json, s);
    for (const auto& [name, value] : {std::pair{"tunnels", s.tunnels},
                                      {"boards", s.boards},
                                      {"speed_boards", s.speed_boards},
                                      {"name_boards", s.name_boards},
                                      {"signals", s.signals},
                                      {"kilometric_references", s.kilometric_references},
                                      {"gradient_min", s.gradient_min},
                                      {"gradient_max", s.gradient_max},
                                      {"level_crossings", s.level_crossings},
                                      {"other_objects", s.other_objects}}) {
        json.key(name);
        json.number(value);
    }
    json.key("kilometric_positions");
    json.begin_array();
    for (const int p : s.kilometric_positions)
        json.number(p);
    json.end_array();
    json.key("gradient_source");
    json.string(s.gradient_source);
    json.key("run_time");
    s.run_time ? json.number(std::round(*s.run_time)) : json.null();
    json.key("plan_rms");
    json.number(std::round(a.plan_rms * 100) / 100);
    json.key("plan_max");
    json.number(std::round(a.plan_max * 100) / 100);
    json.key("profile_rms");
    a.profile_rms ? json.number(std::round(*a.profile_rms * 100) / 100) : json.null();
    json.key("notes");
    put_notes(json, all_notes(r));
    json.end_object();
    out << '\n';
}

}  // namespace scenario
