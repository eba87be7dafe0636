#include "authoring/card_check.h"

#include <cctype>
#include <cstdio>
#include <optional>
#include <string>

#include "compiler/route_rules.h"
#include "formats/source_lines.h"

namespace scenario {

namespace {

// The eight bars of a timetable row, 0-based.
constexpr std::size_t kBars[] = {1, 7, 13, 24, 30, 59, 77, 83};
constexpr std::size_t kPlace = 31;  // the place's cell, after its leading blank
constexpr std::size_t kPlaceWidth = 28;
constexpr std::size_t kOrario = 60;
// Where the times stand in the "Orario" cell.
constexpr std::size_t kArrivalSlot = 1;
constexpr std::size_t kPassingSlot = 6;
constexpr std::size_t kDepartureSlot = 11;

std::string comparable(std::string_view name) {
    std::string out;
    for (const char c : name) {
        if (c == ' ' || c == '.' || c == '\t') continue;
        out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

bool is_row(std::string_view line) {
    if (line.size() < kBars[7] + 1) return false;
    for (const std::size_t bar : kBars) {
        if (line[bar] != '|') return false;
    }
    return true;
}

// "18.09" at `at` of the row as minutes of the day; nothing when no time
// stands there.
std::optional<int> card_minutes(std::string_view line, std::size_t at) {
    const std::string_view t = line.substr(kOrario + at, 5);
    const auto digit = [&](std::size_t i) {
        return std::isdigit(static_cast<unsigned char>(t[i])) != 0;
    };
    if (!digit(0) || !digit(1) || t[2] != '.' || !digit(3) || !digit(4)) return std::nullopt;
    return ((t[0] - '0') * 10 + (t[1] - '0')) * 60 + (t[3] - '0') * 10 + (t[4] - '0');
}

std::string minutes_text(int minutes) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d.%02d", minutes / 60 % 24, minutes % 60);
    return text;
}

struct Timed {
    std::string name;  // as the train file writes it
    int minutes = 0;   // of the day, as the card prints it
    bool stops = false;
    std::size_t slot = 0;  // where the card gives its time
    std::string what;
};

// The stations of the train file that have a time, with the time the card
// must give each.
std::vector<Timed> timed_stations(const Scenario& s) {
    std::vector<Timed> out;
    const int count = station_count(s.voci, s.percorso);
    int last_stop = -1;
    for (int n = kPrimaStazione; n < kPrimaStazione + count; ++n) {
        const voce& e = s.voci[static_cast<std::size_t>(n)];
        const bool stops = e.valore4 != 0 && has_stop_point(e.tipo);
        if (stops) last_stop = static_cast<int>(out.size());
        if (e.valore4 != 0) out.push_back({e.testo, e.valore4 / 60 % (24 * 60), stops, 0, {}});
    }
    for (std::size_t i = 0; i < out.size(); ++i) {
        Timed& t = out[i];
        const bool terminus = static_cast<int>(i) == last_stop;
        t.slot = !t.stops ? kPassingSlot : terminus ? kArrivalSlot : kDepartureSlot;
        t.what = !t.stops ? "passing" : terminus ? "arrival" : "departure";
    }
    return out;
}

Diagnostic at_line(const SourceLines& lines, std::int32_t line, std::string message) {
    const auto width = static_cast<std::int32_t>(lines.line(line).size());
    const DiagnosticId id = DiagnosticId::card_disagrees;
    return {id,
            diagnostic_kind(id).severity,
            SourceKind::card,
            {line, 1, line, width + 1},
            std::move(message),
            {}};
}

}  // namespace

std::vector<Diagnostic> card_diagnostics(std::string_view card, const Scenario& s) {
    const SourceLines lines(card);
    std::vector<Diagnostic> out;
    for (const Timed& t : timed_stations(s)) {
        const std::string wanted = comparable(t.name);
        std::int32_t found = 0;
        for (std::int32_t n = 1; n <= lines.count() && found == 0; ++n) {
            const std::string_view line = lines.line(n);
            if (is_row(line) && comparable(line.substr(kPlace, kPlaceWidth)) == wanted) found = n;
        }
        if (found == 0) {
            if (t.stops) {
                const DiagnosticId id = DiagnosticId::card_disagrees;
                out.push_back({id,
                               diagnostic_kind(id).severity,
                               SourceKind::card,
                               {},
                               "the stop " + t.name + " of the train file is not on the card",
                               {}});
            }
            continue;
        }
        const std::optional<int> given = card_minutes(lines.line(found), t.slot);
        if (given == t.minutes) continue;
        out.push_back(at_line(
            lines, found,
            t.name + ": the card gives " +
                (given ? "the " + t.what + " " + minutes_text(*given) : "no " + t.what + " time") +
                ", the train file " + minutes_text(t.minutes)));
    }
    return out;
}

}  // namespace scenario
