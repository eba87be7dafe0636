#include "running/route_run.h"

#include <algorithm>

#include "compiler/route_rules.h"

namespace scenario {

namespace {

struct CellConditions {
    double limit = 0;
    double gradient = 0;
    double adhesion = 0;
    bool operator==(const CellConditions&) const = default;
};

std::vector<CellConditions> cell_conditions(const Scenario& s) {
    const auto cells = static_cast<std::size_t>(
        std::max<std::int64_t>(0, profile_end(static_cast<std::int64_t>(s.percorso.size()) - 1)));
    std::vector<CellConditions> out(cells);
    for (std::size_t i = 0; i < cells; ++i) {
        const cella& c = s.percorso[i];
        out[i] = {double(speed_kmh(c.velocita)), double(gradient_per_mille(c.pendenza)),
                  double(c.aderenza)};
    }
    // A slowdown holds from its start to its end, each read back from the
    // cell after it.
    for (const Slowdown& slow : slowdowns(s.percorso)) {
        const std::int64_t from = std::max<std::int64_t>(0, slow.start_cell - 1);
        const std::int64_t to = std::min<std::int64_t>(std::ssize(out), slow.end_cell - 1);
        for (std::int64_t i = from; i < to; ++i) {
            double& limit = out[static_cast<std::size_t>(i)].limit;
            limit = std::min(limit, double(std::max(slow.speed, 0)));
        }
    }
    return out;
}

int dwell_of(const voce& e) {
    return e.byte2 != 0 ? e.byte2 : static_cast<int>(kDwellDefault);
}

// Every station of the table in running order, with its place on the run.
std::vector<TimetablePoint> timetable_points(const Scenario& s) {
    std::vector<TimetablePoint> out;
    const int count = station_count(s.voci, s.percorso);
    for (int n = kPrimaStazione; n < kPrimaStazione + count; ++n) {
        const voce& e = s.voci[static_cast<std::size_t>(n)];
        TimetablePoint p;
        p.entry = n;
        p.name = e.testo;
        p.kilometre = kilometre_at(s.voci, e.valore3);
        if (e.valore4 != 0) p.scheduled = e.valore4;
        const std::int64_t stop = stop_cell(e.valore2);
        p.stops = p.scheduled && has_stop_point(e.tipo) && beyond_header(stop);
        p.position = p.stops ? double(cell_start(stop)) : double(e.valore3);
        p.dwell = p.stops ? dwell_of(e) : 0;
        out.push_back(std::move(p));
    }
    return out;
}

// The run's times set against the timetable: the train leaves each stop at
// its scheduled time, or later when it cannot be there by then.
void set_times(RouteRun& r) {
    if (!r.first_stop || !r.last_stop) return;
    const TrainRun& run = r.run;
    double departure = r.start;  // of the previous stop, s of the day
    double run_departure = 0;    // the same on the run's clock
    double previous_position = r.stations[*r.first_stop].position;
    const double reached = run.profile.empty() ? previous_position : run.profile.back().position;
    std::size_t stop = 0;
    for (std::size_t i = *r.first_stop; i <= *r.last_stop; ++i) {
        TimetablePoint& p = r.stations[i];
        if (p.position > reached || (p.stops && stop >= run.stops.size())) break;
        p.in_run = true;
        if (i == *r.first_stop) {
            p.earliest = p.arrival = r.start;
            r.leaves.push_back(r.start);
            ++stop;
            continue;
        }
        const double here = p.stops ? run.stops[stop].arrival_s : run.time_at(p.position);
        p.section_time = here - run_departure;
        p.section_length = p.position - previous_position;
        p.arrival = departure + p.section_time;
        p.earliest = p.arrival + (p.stops && i != *r.last_stop ? p.dwell : 0);
        if (p.scheduled) p.margin = *p.scheduled - p.earliest;
        if (!p.stops) continue;
        departure = std::max(p.earliest, p.scheduled ? double(*p.scheduled) : p.earliest);
        if (i != *r.last_stop) r.leaves.push_back(departure);
        run_departure = run.stops[stop].departure_s;
        previous_position = p.position;
        ++stop;
    }
}

}  // namespace

Track route_track(const Scenario& s) {
    Track track;
    const std::vector<CellConditions> cells = cell_conditions(s);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0 && cells[i] == cells[i - 1]) continue;
        const double from = double(cell_start(static_cast<std::int64_t>(i)));
        track.sections.push_back({from, cells[i].limit, cells[i].gradient, cells[i].adhesion});
    }
    track.end = double(cell_start(std::ssize(cells)));
    return track;
}

const TrainRun& RunMemo::run(const Track& track, std::span<const Stop> stops,
                             const RollingStock& stock, const RunOptions& options) {
    const bool same = run_ && track == track_ && std::ranges::equal(stops, stops_) &&
                      stock == stock_ && options == options_;
    if (same) return *run_;
    track_ = track;
    stops_.assign(stops.begin(), stops.end());
    stock_ = stock;
    options_ = options;
    return run_.emplace(run_train(track, stops, stock, options));
}

RouteRun run_route(const Scenario& s, const RollingStock& stock, const RunOptions& options,
                   RunMemo* memo) {
    RouteRun r;
    r.stations = timetable_points(s);
    std::vector<Stop> stops;
    for (std::size_t i = 0; i < r.stations.size(); ++i) {
        const TimetablePoint& p = r.stations[i];
        if (!p.stops) continue;
        if (!r.first_stop) r.first_stop = i;
        r.last_stop = i;
        stops.push_back({p.position, p.dwell});
    }
    if (stops.size() < 2) {
        r.first_stop.reset();
        r.last_stop.reset();
        return r;
    }
    r.start = *r.stations[*r.first_stop].scheduled;
    const Track track = route_track(s);
    r.run = memo != nullptr ? memo->run(track, stops, stock, options)
                            : run_train(track, stops, stock, options);
    set_times(r);
    return r;
}

double time_of_day(const RouteRun& r, const ProfilePoint& p) {
    // The run's clock leaves each stop at its dwell's end: the later
    // departure shifts every point after it.
    double shift = 0;
    for (std::size_t k = 0; k < r.leaves.size() && k < r.run.stops.size(); ++k) {
        if (p.time_s < r.run.stops[k].departure_s) break;
        shift = r.leaves[k] - r.start - r.run.stops[k].departure_s;
    }
    return r.start + p.time_s + shift;
}

RollingStock scenario_stock(const Scenario& s) {
    const voce& treno = s.voci[kVoceTestataTreno];
    return regional_train(treno.valore3, treno.valore1);
}

}  // namespace scenario
