#include "tool/features/timetable_notes.h"

#include <cmath>
#include <cstdio>

#include "authoring/timetable_check.h"

namespace scenario {

namespace {

// Hours, minutes and seconds: fields 14 to 16 of a station row.
constexpr std::size_t kHoursField = 13;
constexpr std::size_t kSecondsField = 15;

std::string margin_text(const TimetablePoint& p) {
    char text[64];
    const double share = p.section_time > 0 ? 100 * *p.margin / p.section_time : 0;
    std::snprintf(text, sizeof text, "%+.0f s (%+.1f %%)", std::round(*p.margin), share);
    return text;
}

// The station of the run behind each station record, in file order: the
// n-th station record is entry n.
const TimetablePoint* station_of(const RouteRun& run, int entry) {
    for (const TimetablePoint& p : run.stations) {
        if (p.entry == entry) return p.in_run ? &p : nullptr;
    }
    return nullptr;
}

}  // namespace

std::optional<std::string> timetable_note(const SourceCheck& check, const RouteRun& run,
                                          std::size_t offset) {
    int entry = 0;
    for (const CheckedRecord& r : check.records) {
        if (r.kind != RecordKindId::stazione) continue;
        ++entry;
        if (r.fields.size() <= kSecondsField) continue;
        if (offset < r.fields[kHoursField].begin || offset > r.fields[kSecondsField].end) continue;
        const TimetablePoint* p = station_of(run, entry);
        if (p == nullptr) return std::nullopt;
        const bool last = run.last_stop && &run.stations[*run.last_stop] == p;
        const std::string what = !p->stops ? "passing" : last ? "arrival" : "departure";
        std::string note = "Earliest " + what + ": " + clock_text(p->earliest);
        if (p->margin) note += ", margin " + margin_text(*p);
        if (p->section_time > 0)
            note +=
                "; the fastest run from the stop before takes " + duration_text(p->section_time);
        return note;
    }
    return std::nullopt;
}

std::vector<lsp::InlayHint> timetable_hints(const EditorText& text, const SourceCheck& check,
                                            const RouteRun& run, EditorPosition start,
                                            EditorPosition end) {
    const std::size_t from = text.offset(start);
    const std::size_t to = text.offset(end);
    std::vector<lsp::InlayHint> hints;
    int entry = 0;
    for (const CheckedRecord& r : check.records) {
        if (r.kind != RecordKindId::stazione) continue;
        ++entry;
        if (r.end < from || r.end > to) continue;
        const TimetablePoint* p = station_of(run, entry);
        if (p == nullptr || !p->stops || p->section_time <= 0) continue;
        std::string label = "  run " + duration_text(p->section_time);
        if (p->margin) label += ", margin " + margin_text(*p);
        hints.push_back({text.position(r.end), std::move(label), lsp::InlayHintKind::type, false});
    }
    return hints;
}

}  // namespace scenario
