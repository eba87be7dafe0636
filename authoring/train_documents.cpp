#include "authoring/train_documents.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "compiler/route_rules.h"

namespace scenario {

namespace {

constexpr double kHalfMinute = 30;
// The mass box of the builder's own card, kept when no stock file gives one.
constexpr std::string_view kBuilderMassBox = "250T";
// "Vel. Marc." is a speed the driver can hold: rounded down to 5 km/h.
constexpr int kRunningStep = 5;

int to_half_minute(double seconds) {
    return static_cast<int>(std::lround(seconds / kHalfMinute) * kHalfMinute);
}

// A stop of the run, with its section's scheduled time spread over the
// fastest run.
struct StopSchedule {
    const TimetablePoint* at = nullptr;
    double leave = 0;    // s of the day: the scheduled departure (the last: arrival)
    double arrival = 0;  // s of the day
    double stretch = 1;  // scheduled over fastest running time, from the stop before
    int recovery = 0;    // half minutes
};

std::vector<StopSchedule> stop_schedule(const RouteRun& r) {
    std::vector<StopSchedule> out;
    if (!r.first_stop || !r.last_stop) return out;
    for (std::size_t i = *r.first_stop; i <= *r.last_stop; ++i) {
        const TimetablePoint& p = r.stations[i];
        if (!p.stops || !p.in_run) continue;
        StopSchedule t{&p, double(*p.scheduled), double(*p.scheduled)};
        if (!out.empty()) {
            const bool last = i == *r.last_stop;
            const double scheduled = t.leave - (last ? 0 : p.dwell) - out.back().leave;
            t.arrival = out.back().leave + scheduled;
            if (p.section_time > 0) t.stretch = scheduled / p.section_time;
            const double margin = scheduled - p.section_time;
            t.recovery = margin >= kHalfMinute ? int(margin / kHalfMinute) : 0;
        }
        out.push_back(t);
    }
    return out;
}

// The time of day at which the train passes `x`, with its section's margin
// shared out; nothing outside the run.
std::optional<double> passing_time(const RouteRun& r, const std::vector<StopSchedule>& stops,
                                   double x) {
    for (std::size_t k = 1; k < stops.size() && k < r.run.stops.size(); ++k) {
        if (x > stops[k].at->position) continue;
        if (x < stops[k - 1].at->position) return std::nullopt;
        const double run = r.run.time_at(x) - r.run.stops[k - 1].departure_s;
        return stops[k - 1].leave + run * stops[k].stretch;
    }
    return std::nullopt;
}

int line_limit(const Scenario& s, double position) {
    const std::int64_t last = profile_end(static_cast<std::int64_t>(s.percorso.size()) - 1) - 1;
    const std::int64_t cell = std::clamp<std::int64_t>(cell_of(std::llround(position)), 0, last);
    return cell >= 0 ? speed_kmh(s.percorso[static_cast<std::size_t>(cell)].velocita) : 0;
}

// The highest speed of the run from `from` to `to`.
double top_speed_between(const TrainRun& run, double from, double to) {
    double top = std::max(run.speed_at(from), run.speed_at(to));
    for (const ProfilePoint& p : run.profile) {
        if (p.position > from && p.position < to) top = std::max(top, p.speed_kmh);
    }
    return top;
}

// A row to be: a station, or a place where the line's limit changes.
struct Place {
    double position = 0;      // for the kilometre, the limit and the order
    double run_position = 0;  // where the run passes it
    const TimetablePoint* station = nullptr;
};

std::vector<Place> places(const Scenario& s, const RouteRun& r) {
    std::vector<Place> out;
    for (const TimetablePoint& p : r.stations) {
        const voce& e = s.voci[static_cast<std::size_t>(p.entry)];
        out.push_back({double(e.valore3), p.position, &p});
    }
    if (out.size() < 2) return out;
    const double first = out.front().position;
    const double last = out.back().position;
    const std::int64_t end = profile_end(static_cast<std::int64_t>(s.percorso.size()) - 1);
    for (std::int64_t i = 1; i < end; ++i) {
        const auto c = static_cast<std::size_t>(i);
        if (s.percorso[c].velocita == s.percorso[c - 1].velocita) continue;
        const double at = double(cell_start(i));
        const bool at_station = std::any_of(out.begin(), out.end(), [&](const Place& p) {
            return p.station != nullptr && p.position == at;
        });
        if (at > first && at < last && !at_station) out.push_back({at, at, nullptr});
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const Place& a, const Place& b) { return a.position < b.position; });
    return out;
}

CardRow timed_row(const Place& place, const RouteRun& r, const std::vector<StopSchedule>& stops) {
    CardRow row;
    const TimetablePoint* p = place.station;
    const auto stop = std::find_if(stops.begin(), stops.end(), [&](const StopSchedule& t) {
        return p != nullptr && t.at == p;
    });
    if (stop != stops.end()) {
        row.departure = int(stop->leave);
        row.arrival = to_half_minute(stop->arrival);
        row.recovery = stop->recovery;
        row.kind = stop == stops.begin()     ? CardRow::Kind::origin
                   : stop + 1 == stops.end() ? CardRow::Kind::terminus
                                             : CardRow::Kind::stop;
        if (row.kind == CardRow::Kind::terminus) row.arrival = int(stop->leave);
        return row;
    }
    std::optional<double> time = passing_time(r, stops, place.run_position);
    if (p != nullptr && p->scheduled && time) time = *p->scheduled;
    row.kind = time ? CardRow::Kind::pass : CardRow::Kind::untimed;
    row.arrival = time ? to_half_minute(*time) : 0;
    return row;
}

}  // namespace

CardIdentity card_identity(const Scenario& s, const RollingStock& stock) {
    CardIdentity id;
    id.train = s.numero_treno;
    const int count = station_count(s.voci, s.percorso);
    if (count > 0) {
        id.origin = s.voci[kPrimaStazione].testo;
        id.terminus = s.voci[static_cast<std::size_t>(kPrimaStazione + count - 1)].testo;
    }
    id.top_speed = static_cast<int>(std::lround(stock.top_speed));
    id.braked_percent = s.voci[kVoceTestataTreno].valore1;
    id.classification = stock.classification;
    if (stock.braked_mass) {
        char box[32];
        std::snprintf(box, sizeof box, "%.0fT", *stock.braked_mass);
        id.braked_mass = box;
    } else {
        id.braked_mass = kBuilderMassBox;
    }
    return id;
}

std::vector<CardRow> card_rows(const Scenario& s, const RouteRun& r) {
    const std::vector<StopSchedule> stops = stop_schedule(r);
    const std::vector<Place> all = places(s, r);
    std::vector<CardRow> rows;
    std::optional<int> limit;
    std::optional<int> running;
    for (std::size_t i = 0; i < all.size(); ++i) {
        const Place& place = all[i];
        CardRow row = timed_row(place, r, stops);
        row.kilometre = kilometre_at(s.voci, place.position);
        row.place = place.station != nullptr ? place.station->name
                                             : "Chilometro " + kilometre_mark(row.kilometre);
        if (const int here = line_limit(s, place.position); here != limit) row.limit = limit = here;
        const bool runs_on = row.kind != CardRow::Kind::terminus &&
                             row.kind != CardRow::Kind::untimed && i + 1 < all.size();
        if (runs_on) {
            const double top =
                top_speed_between(r.run, place.run_position, all[i + 1].run_position);
            const int held = int(top / kRunningStep) * kRunningStep;
            if (held != running) row.running = running = held;
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<BulletinEntry> bulletin_entries(const Scenario& s) {
    std::vector<BulletinEntry> out;
    for (const Slowdown& slow : slowdowns(s.percorso)) {
        out.push_back({kilometre_at(s.voci, double(position_before(slow.start_cell))),
                       kilometre_at(s.voci, double(position_before(slow.end_cell))), slow.speed});
    }
    return out;
}

std::string document_text(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

}  // namespace scenario
