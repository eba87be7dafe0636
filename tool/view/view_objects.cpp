#include "tool/view/view_objects.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "compiler/record_kinds.h"
#include "formats/source_lines.h"
#include "tool/text/code_page.h"

namespace scenario {

namespace {

bool placed_kind(RecordKindId kind) {
    switch (kind) {
        case RecordKindId::stazione:
        case RecordKindId::segnale:
        case RecordKindId::indicatori_vmax:
        case RecordKindId::cartello_indicatore:
        case RecordKindId::montagna:
        case RecordKindId::rallentamento:
        case RecordKindId::abbattimento:
            return true;
        default:
            return false;
    }
}

bool placing(FieldRole role) {
    return role == FieldRole::position || role == FieldRole::station || role == FieldRole::start;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

std::optional<double> number_in(std::string_view text, FieldSpan span) {
    if (span.end > text.size() || span.begin > span.end) return std::nullopt;
    const std::string_view field = trimmed(text.substr(span.begin, span.end - span.begin));
    double v = 0;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), v);
    if (ec != std::errc() || end != field.data() + field.size() || !std::isfinite(v))
        return std::nullopt;
    return v;
}

std::string metres_text(double m) {
    return std::to_string(std::llround(m)) + " m";
}

}  // namespace

void add_view_objects(const SourceCheck& walk, std::string_view text, const std::string& file,
                      std::vector<ViewObject>& out) {
    const SourceLines lines(text);
    for (const CheckedRecord& r : walk.records) {
        if (!placed_kind(r.kind)) continue;
        const RecordKind& kind = record_kind(r.kind);
        std::vector<double> places;
        std::optional<double> end;  // a tunnel's `fine`
        std::string name;
        for (std::size_t i = 0; i < r.fields.size() && i < kind.fields.size(); ++i) {
            const FieldSpan span = r.fields[i];
            if (placing(kind.fields[i].role)) {
                if (const auto v = number_in(text, span)) places.push_back(*v);
            } else if (r.kind == RecordKindId::montagna && kind.fields[i].name == "fine") {
                end = number_in(text, span);
            } else if (kind.fields[i].role == FieldRole::text && span.end <= text.size() &&
                       span.begin <= span.end) {
                name = std::string(trimmed(text.substr(span.begin, span.end - span.begin)));
            }
        }
        // A record whose position does not read as a number places nothing.
        if (places.empty()) continue;
        ViewObject o;
        o.from = places.front();
        o.to = end.value_or(o.from);
        if (o.to < o.from) std::swap(o.from, o.to);
        o.label = std::string(kind.name) + (name.empty() ? "" : " " + ansi_to_utf8(name)) +
                  (end ? " from " + metres_text(places.front()) + " to " + metres_text(*end)
                       : " at " + metres_text(places.front()));
        o.file = file;
        o.line = lines.at(r.keyword).line;
        out.push_back(std::move(o));
    }
}

const ViewObject* object_near(const std::vector<ViewObject>& objects, double at, double tolerance) {
    const ViewObject* best = nullptr;
    double best_distance = 0;
    for (const ViewObject& o : objects) {
        const double distance = at < o.from ? o.from - at : at > o.to ? at - o.to : 0;
        if (distance > tolerance) continue;
        const bool nearer = best == nullptr || distance < best_distance ||
                            (distance == best_distance && o.to - o.from < best->to - best->from);
        if (nearer) {
            best = &o;
            best_distance = distance;
        }
    }
    return best;
}

}  // namespace scenario
