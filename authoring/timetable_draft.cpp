#include "authoring/timetable_draft.h"

#include <cmath>

#include "compiler/route_rules.h"
#include "compiler/source_check.h"
#include "formats/field_reader.h"
#include "running/recovery_margin.h"

namespace scenario {

namespace {

constexpr int kMinute = 60;
// A sum of run times may land a hair under the exact second it stands for;
// rounding up from a little above it keeps every drafted time at or past
// what the check computes, bit for bit.
constexpr double kRoundingSlack = 1e-6;

// The hours, minutes and seconds of a station row: fields 14 to 16.
constexpr std::size_t kHoursField = 13;
constexpr std::size_t kMinutesField = 14;
constexpr std::size_t kSecondsField = 15;

int whole_minute_from(double seconds_of_day) {
    const auto s = static_cast<long>(std::ceil(seconds_of_day + kRoundingSlack));
    return static_cast<int>((s + kMinute - 1) / kMinute * kMinute);
}

double margin_of(const TimetablePoint& p, double run_length, const DraftOptions& options) {
    if (options.margin_percent) return *options.margin_percent / 100.0 * p.section_time;
    return standard_margin(p.section_time, p.section_length, run_length);
}

// A passing point's time rounded up to its minute may reach the next stop's
// minute, or a point before it may hold that minute already: then it takes
// the second just before the next time, or just after the last.
void keep_increasing(std::vector<DraftedTime>& times) {
    for (std::size_t k = 1; k < times.size(); ++k) {
        DraftedTime& t = times[k];
        if (t.stops) continue;
        for (std::size_t j = k + 1; j < times.size(); ++j) {
            if (!times[j].stops) continue;
            if (t.drafted >= times[j].drafted) t.drafted = times[j].drafted - 1;
            break;
        }
        if (t.drafted <= times[k - 1].drafted) t.drafted = times[k - 1].drafted + 1;
    }
}

}  // namespace

TimetableDraft draft_timetable(const RouteRun& r, const DraftOptions& options) {
    TimetableDraft out;
    if (!r.first_stop || !r.last_stop) {
        out.problem = "the train file has no two stations with a time and a stop point";
        return out;
    }
    const TimetablePoint& origin = r.stations[*r.first_stop];
    const int departure = options.departure.value_or(*origin.scheduled);
    if (departure <= 0) {
        out.problem = "a departure at 00:00:00 is no time: the first stop would be passed";
        return out;
    }
    out.times.push_back({origin.entry, origin.name, true, origin.scheduled, departure});
    const double run_length = r.stations[*r.last_stop].position - origin.position;
    double leaves = departure;  // the drafted departure from the stop before
    for (std::size_t i = *r.first_stop + 1; i <= *r.last_stop; ++i) {
        const TimetablePoint& p = r.stations[i];
        if (!p.in_run) {
            out.problem = "the run ends before " + p.name +
                          ": it and the stations after it keep "
                          "their times";
            break;
        }
        if (!p.stops && !p.scheduled) continue;
        const double dwell = p.stops && i != *r.last_stop ? p.dwell : 0;
        const double earliest = leaves + p.section_time + dwell;
        const int drafted = whole_minute_from(earliest + margin_of(p, run_length, options));
        out.times.push_back({p.entry, p.name, p.stops, p.scheduled, drafted});
        if (p.stops) leaves = drafted;
    }
    keep_increasing(out.times);
    return out;
}

std::optional<DraftedTime> draft_station(const RouteRun& r, int entry,
                                         const DraftOptions& options) {
    if (!r.first_stop || !r.last_stop) return std::nullopt;
    const double run_length =
        r.stations[*r.last_stop].position - r.stations[*r.first_stop].position;
    for (std::size_t i = *r.first_stop + 1; i <= *r.last_stop; ++i) {
        const TimetablePoint& p = r.stations[i];
        if (p.entry != entry) continue;
        if (!p.in_run) return std::nullopt;
        const int drafted = whole_minute_from(p.earliest + margin_of(p, run_length, options));
        return DraftedTime{p.entry, p.name, p.stops, p.scheduled, drafted};
    }
    return std::nullopt;
}

TimetableDraft draft_timetable(const Scenario& s, const RollingStock& stock,
                               const DraftOptions& options) {
    return draft_timetable(run_route(s, stock), options);
}

namespace {

void edit_number(std::string_view text, const FieldSpan& span, long value,
                 std::vector<TextEdit>& out) {
    if (std::optional<TextEdit> e = number_edit(text, span, value)) out.push_back(std::move(*e));
}

}  // namespace

std::vector<TextEdit> station_time_edits(std::string_view treno,
                                         std::span<const DraftedTime> times) {
    return station_time_edits(treno, check_treno(treno, std::nullopt), times);
}

std::vector<TextEdit> station_time_edits(std::string_view treno, const SourceCheck& walk,
                                         std::span<const DraftedTime> times) {
    std::vector<const CheckedRecord*> rows;
    for (const CheckedRecord& r : walk.records)
        if (r.kind == RecordKindId::stazione) rows.push_back(&r);
    std::vector<TextEdit> out;
    for (const DraftedTime& t : times) {
        const auto row = static_cast<std::size_t>(t.entry - kPrimaStazione);
        if (t.entry < kPrimaStazione || row >= rows.size()) continue;
        const std::vector<FieldSpan>& f = rows[row]->fields;
        if (f.size() <= kSecondsField) continue;
        const long s = t.drafted;
        edit_number(treno, f[kHoursField], s / 3600, out);
        edit_number(treno, f[kMinutesField], s / 60 % 60, out);
        edit_number(treno, f[kSecondsField], s % 60, out);
    }
    return out;
}

std::string with_station_times(std::string_view treno, std::span<const DraftedTime> times) {
    const std::vector<TextEdit> edits = station_time_edits(treno, times);
    return apply_edits(treno, edits).value_or(std::string(treno));
}

const DraftedTime* first_past_midnight(const TimetableDraft& d) {
    constexpr int kSecondsPerDay = 24 * 3600;
    for (const DraftedTime& t : d.times)
        if (t.drafted >= kSecondsPerDay) return &t;
    return nullptr;
}

}  // namespace scenario
