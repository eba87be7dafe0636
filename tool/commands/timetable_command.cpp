#include "tool/commands/timetable_command.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ostream>

#include "authoring/timetable_check.h"
#include "authoring/timetable_draft.h"
#include "tool/commands/check_command.h"
#include "tool/commands/scenario_request.h"
#include "tool/diagnostics/diagnostic_output.h"
#include "tool/text/code_page.h"

namespace scenario {

namespace {

constexpr std::string_view kCommand = "timetable";

constexpr std::string_view kHelp =
    "usage: scenario_tool timetable [--line ID] [--train NUMBER] [--stock FILE]\n"
    "                               [--margin standard|PERCENT] [--depart HH:MM]\n"
    "                               [--write] [FOLDER]\n"
    "\n"
    "Drafts the timetable of ID_NUMBER-.txt in FOLDER (default: the current\n"
    "folder) from the fastest run of the train, as 'run' makes it: every stop's\n"
    "time is the earliest the train can be there after leaving the stop before at\n"
    "its drafted time, plus its dwell, plus a recovery margin, rounded up to the\n"
    "whole minute; the first stop keeps its time unless --depart moves it. A\n"
    "place passed with a time gets the earliest passing time with the margin so\n"
    "far, rounded up likewise. It prints every drafted station with its time now,\n"
    "the drafted one and the change. 'check' finds no drafted time the train\n"
    "cannot keep and none out of order; with the standard margin, no section\n"
    "under it either.\n"
    "\n"
    "  --line ID        line identifier (default Alvena_Sorbio, or the folder's only line)\n"
    "  --train NUMBER   train number (default 4271, or the folder's only train)\n"
    "  --stock FILE     the rolling stock, a TOML file\n"
    "  --margin standard|PERCENT\n"
    "                   the recovery margin of each section: 'standard' (the\n"
    "                   default), the one 'margin-below-standard' asks for (UIC\n"
    "                   leaflet 451-1: 3 % of the running time, and 1.5 min per\n"
    "                   100 km on runs over 30 km), or PERCENT of the running time\n"
    "  --depart HH:MM   the departure from the first stop\n"
    "  --write          put the drafted times into the train file's station rows\n"
    "                   (fields 14 to 16, hours, minutes and seconds), changing no\n"
    "                   other byte; then 'documents' makes the train card anew\n"
    "  --help           this text\n"
    "\n"
    "Exit status: 0 drafted (and written); 1 nothing could be compiled or run, or\n"
    "the file could not be written; 2 the sources have errors (nothing is\n"
    "drafted); 64 usage error.\n";

constexpr KnownOption kOptions[] = {{"line", true},   {"train", true},  {"stock", true},
                                    {"margin", true}, {"depart", true}, {"write", false}};

constexpr double kMostPercent = 100;

bool read_margin(std::string_view text, DraftOptions* options) {
    if (text == "standard") return true;
    if (!text.empty() && text.back() == '%') text.remove_suffix(1);
    double percent = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), percent);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(percent) ||
        percent < 0 || percent > kMostPercent)
        return false;
    options->margin_percent = percent;
    return true;
}

// "HH:MM", hours counting on past midnight as the train file's do.
bool read_departure(std::string_view text, DraftOptions* options) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || text.size() - colon != 3) return false;
    int hours = 0;
    int minutes = 0;
    const char* h_end = text.data() + colon;
    const char* m_end = text.data() + text.size();
    if (std::from_chars(text.data(), h_end, hours).ptr != h_end ||
        std::from_chars(h_end + 1, m_end, minutes).ptr != m_end)
        return false;
    if (hours < 0 || hours > 99 || minutes < 0 || minutes > 59 || colon == 0) return false;
    options->departure = hours * 3600 + minutes * 60;
    return true;
}

std::string change_text(const DraftedTime& t) {
    if (!t.current) return "new";
    const long change = std::lround(t.drafted - *t.current);
    if (change == 0) return "0";
    return (change < 0 ? "-" : "+") + duration_text(std::abs(static_cast<double>(change)));
}

constexpr const char* kRow = "%-24s %-4s  %9s  %9s  %s\n";

void print_draft(const TimetableDraft& d, std::ostream& out) {
    char line[256];
    std::snprintf(line, sizeof line, kRow, "station", "", "now", "drafted", "change");
    out << line;
    for (const DraftedTime& t : d.times) {
        std::snprintf(line, sizeof line, kRow, ansi_to_utf8(t.name).c_str(),
                      t.stops ? "stop" : "pass", t.current ? clock_text(*t.current).c_str() : "-",
                      clock_text(t.drafted).c_str(), change_text(t).c_str());
        out << line;
    }
}

int write_draft(const DiagnosedBuild& b, const ScenarioRequest& r, const TimetableDraft& d,
                ToolContext& ctx) {
    if (const DraftedTime* late = first_past_midnight(d)) {
        ctx.err << kToolName << ' ' << kCommand << ": the drafted timetable passes midnight ("
                << ansi_to_utf8(late->name) << " at " << clock_text(late->drafted)
                << "), and the train file's hours run from 0 to 23: nothing is written\n";
        return kExitFatal;
    }
    const std::string text = with_station_times(b.treno_text, d.times);
    if (text == b.treno_text) {
        ctx.out << r.files.treno_txt << " has these times already\n";
        return kExitClean;
    }
    FileError error;
    if (!ctx.fs.replace(r.files.treno_txt, text, &error)) {
        ctx.err << kToolName << ' ' << kCommand << ": cannot " << error.operation << " '"
                << error.path << "': " << error.reason << '\n';
        return kExitFatal;
    }
    ctx.out << "wrote " << r.files.treno_txt << '\n';
    if (ctx.fs.exists(r.files.scheda))
        ctx.out << "the train card " << r.files.scheda << " has the old times: '" << ctx.program
                << " documents " << r.folder << "' makes it anew\n";
    return kExitClean;
}

}  // namespace

int timetable_command(std::span<const std::string> args, ToolContext& ctx) {
    ParsedArgs parsed;
    if (const auto done = parse_command(args, kOptions, kCommand, kHelp, ctx.out, ctx.err, &parsed))
        return *done;
    DraftOptions options;
    if (!read_margin(parsed.value_or("margin", "standard"), &options))
        return usage_error(ctx.err, kCommand,
                           "--margin takes 'standard' or a percentage from 0 to 100");
    if (parsed.has("depart") && !read_departure(parsed.value_or("depart", ""), &options))
        return usage_error(ctx.err, kCommand, "--depart takes a time as HH:MM");
    ScenarioRequest r;
    if (const auto usage = scenario_request(parsed, ctx, kCommand, &r)) return *usage;
    DiagnosedBuild b;
    build_with_run(r, ctx, b, false);
    const int status = check_exit_status(b, false);
    if (status != kExitClean) {
        print_diagnostics_text(b.diagnostics, diagnosed_files(b, r.files, r.folder), ctx.err_colour,
                               true, ctx.err);
        return status;
    }
    if (!b.run || b.run->run.status != RunStatus::kOk) {
        ctx.err << kToolName << ' ' << kCommand
                << ": the train cannot be run over its route (see 'run'): nothing is drafted\n";
        return kExitFatal;
    }
    const TimetableDraft d = draft_timetable(*b.run, options);
    if (!d.problem.empty()) {
        ctx.err << kToolName << ' ' << kCommand << ": " << d.problem << '\n';
        if (d.times.empty()) return kExitFatal;
    }
    print_draft(d, ctx.out);
    return parsed.has("write") ? write_draft(b, r, d, ctx) : kExitClean;
}

}  // namespace scenario
