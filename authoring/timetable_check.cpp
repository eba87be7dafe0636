#include "authoring/timetable_check.h"

#include <cmath>
#include <cstdio>
#include <optional>

#include "running/recovery_margin.h"

namespace scenario {

namespace {

// Railways count a delay in whole minutes, and the timetable states minutes:
// a train less than a minute behind its time keeps it. A shorter shortfall
// shows as a negative margin, under the standard one.
constexpr double kMissedAfter = 60;

// The hours, minutes and seconds of a station row: fields 14 to 16.
constexpr std::size_t kHoursField = 13;
constexpr std::size_t kSecondsField = 15;

long whole(double seconds) {
    return std::lround(seconds);
}

std::string signed_duration(double seconds) {
    return whole(seconds) < 0 ? "-" + duration_text(-seconds) : duration_text(seconds);
}

class TimetableChecker {
  public:
    TimetableChecker(const RouteRun& run, const SourceCheck& treno, const SourceLines& lines)
        : run_(run), lines_(lines) {
        for (const CheckedRecord& r : treno.records) {
            if (r.kind == RecordKindId::stazione) stations_.push_back(&r);
        }
    }

    std::vector<Diagnostic> run() {
        check_order();
        check_run();
        return std::move(out_);
    }

  private:
    // The station row of entry n, if the walk read it.
    const CheckedRecord* record(int entry) const {
        const auto i = static_cast<std::size_t>(entry - 1);
        return i < stations_.size() ? stations_[i] : nullptr;
    }

    void add(DiagnosticId id, const TimetablePoint& p, const std::string& text) {
        const CheckedRecord* r = record(p.entry);
        SourceRange range;
        if (r != nullptr) {
            const bool timed = r->fields.size() > kSecondsField;
            const std::size_t begin = timed ? r->fields[kHoursField].begin : r->keyword;
            const std::size_t end = timed ? r->fields[kSecondsField].end : r->end;
            const TextPosition b = lines_.at(begin);
            const TextPosition e = lines_.at(std::max(begin, end));
            range = {b.line, b.column, e.line, e.column};
        }
        out_.push_back({id,
                        diagnostic_kind(id).severity,
                        SourceKind::treno,
                        range,
                        "station " + p.name + ": " + text,
                        {}});
    }

    void check_order();
    void check_run();
    void tight(const TimetablePoint& p, const TimetablePoint& from);
    void below_standard(const TimetablePoint& p, double run_length);

    const RouteRun& run_;
    const SourceLines& lines_;
    std::vector<const CheckedRecord*> stations_;
    std::vector<Diagnostic> out_;
};

void TimetableChecker::check_order() {
    const TimetablePoint* previous = nullptr;
    for (const TimetablePoint& p : run_.stations) {
        if (!p.scheduled) continue;
        if (previous != nullptr && *p.scheduled <= *previous->scheduled) {
            add(DiagnosticId::timetable_not_increasing, p,
                "its time " + clock_text(*p.scheduled) + " is not after " +
                    clock_text(*previous->scheduled) + ", the time of " + previous->name);
        }
        previous = &p;
    }
}

void TimetableChecker::check_run() {
    if (!run_.first_stop || !run_.last_stop) return;
    const double run_length =
        run_.stations[*run_.last_stop].position - run_.stations[*run_.first_stop].position;
    const TimetablePoint* from = &run_.stations[*run_.first_stop];
    for (std::size_t i = *run_.first_stop + 1; i <= *run_.last_stop; ++i) {
        const TimetablePoint& p = run_.stations[i];
        if (!p.in_run) break;
        if (p.margin && *p.margin <= -kMissedAfter) {
            tight(p, *from);
        } else if (p.margin && p.stops) {
            below_standard(p, run_length);
        }
        if (p.stops) from = &p;
    }
}

void TimetableChecker::tight(const TimetablePoint& p, const TimetablePoint& from) {
    const bool last = &p == &run_.stations[*run_.last_stop];
    const std::string what = !p.stops ? "passing" : last ? "arrival" : "departure";
    std::string text = "the " + what + " at " + clock_text(*p.scheduled) + " is " +
                       std::to_string(whole(-*p.margin)) +
                       " s earlier than the train can make it, " + clock_text(p.earliest) +
                       ": the fastest run from " + from.name + " takes " +
                       duration_text(p.section_time);
    if (p.stops && !last) text += ", and the stop " + duration_text(p.dwell);
    add(DiagnosticId::timetable_too_tight, p, text);
}

void TimetableChecker::below_standard(const TimetablePoint& p, double run_length) {
    const double standard = standard_margin(p.section_time, p.section_length, run_length);
    if (*p.margin >= standard) return;
    char km[32];
    std::snprintf(km, sizeof km, "%.1f km", p.section_length / 1000.0);
    add(DiagnosticId::margin_below_standard, p,
        "a margin of " + signed_duration(*p.margin) + ", under the standard " +
            duration_text(standard) + " for its " + km + " and its fastest run of " +
            duration_text(p.section_time));
}

}  // namespace

std::vector<Diagnostic> timetable_diagnostics(const RouteRun& run, const SourceCheck& treno,
                                              const SourceLines& lines) {
    return TimetableChecker(run, treno, lines).run();
}

std::string clock_text(double seconds_of_day) {
    const long s = std::max(0L, whole(seconds_of_day));
    char text[32];
    std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld", s / 3600, s / 60 % 60, s % 60);
    return text;
}

std::string duration_text(double seconds) {
    const long s = std::max(0L, whole(seconds));
    if (s < 60) return std::to_string(s) + " s";
    std::string text = s >= 3600 ? std::to_string(s / 3600) + " h " : "";
    text += std::to_string(s / 60 % 60) + " min";
    return s % 60 == 0 ? text : text + " " + std::to_string(s % 60) + " s";
}

}  // namespace scenario
