#include "authoring/quick_fixes.h"

#include <algorithm>
#include <optional>

#include "authoring/edit_distance.h"
#include "authoring/timetable_check.h"
#include "authoring/timetable_draft.h"
#include "compiler/memorizza_dati.h"
#include "compiler/record_kinds.h"
#include "compiler/route_rules.h"
#include "compiler/source_check.h"
#include "formats/source_lines.h"
#include "output/route_writer.h"
#include "output/table_writer.h"

namespace scenario {

namespace {

// A misspelling of two letters (one dropped, one doubled, two swapped) is
// still plainly the keyword meant; at three, the nearest keyword is often
// a different record.
constexpr std::size_t kMostKeywordDistance = 2;

constexpr std::string_view kFineLine = "[fine]\r\n";

struct FixKind {
    DiagnosticId id;
    std::string_view description;
};

constexpr std::string_view kTimetableFix =
    "set this station's time to one drafted from the fastest run, or draft the whole "
    "timetable as 'scenario_tool timetable' does; an author's choice, which check --fix "
    "leaves alone";

constexpr FixKind kFixKinds[] = {
    {DiagnosticId::unknown_keyword,
     "replace the keyword with the record keyword nearest in spelling, when one lies within "
     "two letters; certain, made by check --fix"},
    {DiagnosticId::not_a_number,
     "write the number meant where a letter stands for a digit (O for 0, l or I for 1); "
     "certain, made by check --fix"},
    {DiagnosticId::not_a_multiple,
     "write the nearest multiple that keeps the record valid; certain, made by check --fix"},
    {DiagnosticId::recorded_code,
     "for a value that must be a multiple (codes 2, 3, 4, 8 and 9), write the nearest "
     "multiple that keeps the record valid; certain, made by check --fix"},
    {DiagnosticId::last_field_not_fine,
     "add the line [fine] at the end, unless the last field is a record keyword that would "
     "then read it as a value; certain, made by check --fix"},
    {DiagnosticId::speed_rounded,
     "write the speed as stored, where that changes no compiled byte; certain, made by check "
     "--fix"},
    {DiagnosticId::position_rounded,
     "write the position as the cell it lands on stores it, where that changes no compiled "
     "byte (not for curves); certain, made by check --fix"},
    {DiagnosticId::tempo_raised,
     "write 101, the time stored, which changes no compiled byte; certain, made by check --fix"},
    {DiagnosticId::timetable_too_tight, kTimetableFix},
    {DiagnosticId::timetable_not_increasing, kTimetableFix},
    {DiagnosticId::margin_below_standard, kTimetableFix},
};

bool is_timetable(DiagnosticId id) {
    return id == DiagnosticId::timetable_too_tight ||
           id == DiagnosticId::timetable_not_increasing ||
           id == DiagnosticId::margin_below_standard;
}

std::string_view keyword_of(const RecordKind& kind) {
    return kind.example.substr(0, kind.example.find(','));
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

std::string quoted(std::string_view s) {
    return "`" + std::string(s) + "`";
}

int error_count(const SourceCheck& c) {
    return static_cast<int>(std::ranges::count_if(c.findings, [](const Finding& f) {
        return f.code != 0 || diagnostic_kind(f.id).severity == Severity::error;
    }));
}

class Fixer {
  public:
    Fixer(std::span<const Diagnostic> diagnostics, const FixSources& sources)
        : diagnostics_(diagnostics), sources_(sources) {}

    std::vector<Fix> run();

  private:
    std::string_view text(SourceKind k) const {
        return k == SourceKind::linea ? sources_.linea : sources_.treno;
    }
    const SourceLines& lines(SourceKind k);
    const SourceCheck& check(SourceKind k);
    SourceCheck check_text(SourceKind k, std::string_view text);
    std::optional<FieldSpan> located(const Diagnostic& d);
    // The record and the index of its value field that begins at `at`.
    std::pair<const CheckedRecord*, std::size_t> field_at(SourceKind k, std::size_t at);

    void keyword(std::size_t i, const FieldSpan& span);
    void digits(std::size_t i, const FieldSpan& span);
    void multiple(std::size_t i, const FieldSpan& span);
    void fine(std::size_t i, const FieldSpan& span);
    void station_time(std::size_t i, const FieldSpan& span);
    // A value the compiler stores otherwise than written, written as stored.
    void as_stored(std::size_t i, const FieldSpan& span);
    void whole_timetable(const std::vector<std::size_t>& mends);

    // Offers a certain fix once it is tried: the edited text's checks have
    // no finding `id` where the edits are, and no more errors than before.
    bool add_tried(Fix fix, DiagnosticId id);
    bool compiles_past(const Fix& fix, std::size_t guard);
    bool same_bytes(const Fix& fix);

    std::span<const Diagnostic> diagnostics_;
    const FixSources& sources_;
    std::optional<SourceLines> lines_[2];
    std::optional<SourceCheck> checks_[2];
    // The table and route the texts compile to, once made.
    std::optional<std::optional<std::string>> compiled_;
    std::vector<Fix> out_;
};

std::size_t slot(SourceKind k) {
    return k == SourceKind::linea ? 0 : 1;
}

const SourceLines& Fixer::lines(SourceKind k) {
    std::optional<SourceLines>& l = lines_[slot(k)];
    if (!l) l.emplace(text(k));
    return *l;
}

SourceCheck Fixer::check_text(SourceKind k, std::string_view t) {
    if (k == SourceKind::linea) return check_linea(t, true);
    return check_treno(t, check(SourceKind::linea).ultima_cella);
}

const SourceCheck& Fixer::check(SourceKind k) {
    std::optional<SourceCheck>& c = checks_[slot(k)];
    if (!c) c.emplace(check_text(k, text(k)));
    return *c;
}

std::optional<FieldSpan> Fixer::located(const Diagnostic& d) {
    if ((d.file != SourceKind::linea && d.file != SourceKind::treno) || d.range.line <= 0)
        return std::nullopt;
    const SourceLines& l = lines(d.file);
    const std::size_t begin = l.offset({d.range.line, d.range.column});
    const std::size_t end = l.offset({d.range.end_line, d.range.end_column});
    if (end < begin || end > text(d.file).size()) return std::nullopt;
    return FieldSpan{begin, end};
}

std::pair<const CheckedRecord*, std::size_t> Fixer::field_at(SourceKind k, std::size_t at) {
    for (const CheckedRecord& r : check(k).records) {
        for (std::size_t f = 0; f < r.fields.size(); ++f)
            if (r.fields[f].begin == at) return {&r, f};
    }
    return {nullptr, 0};
}

bool Fixer::add_tried(Fix fix, DiagnosticId id) {
    const std::optional<std::string> edited = apply_edits(text(fix.file), fix.edits);
    if (!edited) return false;
    const SourceCheck after = check_text(fix.file, *edited);
    if (error_count(after) > error_count(check(fix.file))) return false;
    // Where the edits stand in the edited text.
    std::size_t from = edited->size();
    std::size_t to = 0;
    std::ptrdiff_t shift = 0;
    for (const TextEdit& e : fix.edits) {
        from = std::min(from, static_cast<std::size_t>(std::ptrdiff_t(e.begin) + shift));
        shift += std::ptrdiff_t(e.text.size()) - std::ptrdiff_t(e.end - e.begin);
        to = std::max(to, static_cast<std::size_t>(std::ptrdiff_t(e.end) + shift));
    }
    for (const Finding& f : after.findings) {
        if (f.id == id && f.span.end >= from && f.span.begin <= to) return false;
    }
    fix.certain = true;
    out_.push_back(std::move(fix));
    return true;
}

void Fixer::keyword(std::size_t i, const FieldSpan& span) {
    const SourceKind k = diagnostics_[i].file;
    const std::string_view written = trimmed(text(k).substr(span.begin, span.end - span.begin));
    std::string_view best;
    std::size_t best_distance = kMostKeywordDistance + 1;
    bool tie = false;
    const RecordBlock blocks[] = {
        k == SourceKind::linea ? RecordBlock::line_header : RecordBlock::train,
        k == SourceKind::linea ? RecordBlock::line_body : RecordBlock::train};
    for (std::size_t b = 0; b < (k == SourceKind::linea ? 2u : 1u); ++b) {
        for (const RecordKind& kind : record_kinds(blocks[b])) {
            const std::string_view candidate = keyword_of(kind);
            const std::size_t d = edit_distance(written, candidate);
            if (d < best_distance) {
                best = candidate;
                best_distance = d;
                tie = false;
            } else if (d == best_distance && candidate != best) {
                tie = true;
            }
        }
    }
    if (best.empty() || tie || best_distance == 0) return;
    add_tried({{i},
               "Replace " + quoted(written) + " with " + quoted(best),
               k,
               {{span.begin, span.begin + written.size(), std::string(best)}}},
              DiagnosticId::unknown_keyword);
}

void Fixer::digits(std::size_t i, const FieldSpan& span) {
    const SourceKind k = diagnostics_[i].file;
    const std::string_view written = text(k).substr(span.begin, span.end - span.begin);
    std::string number(written);
    for (char& c : number) {
        if (c == 'O' || c == 'o') c = '0';
        if (c == 'l' || c == 'I') c = '1';
    }
    if (number == written || !decimal_text(number).is_number) return;
    add_tried({{i},
               "Replace " + quoted(written) + " with " + quoted(number),
               k,
               {{span.begin, span.end, number}}},
              DiagnosticId::not_a_number);
}

// A value that must be a multiple: the nearer multiple first, the one the
// compiler's rounding of halves to even takes when both are as near.
void Fixer::multiple(std::size_t i, const FieldSpan& span) {
    const SourceKind k = diagnostics_[i].file;
    const auto [record, f] = field_at(k, span.begin);
    if (record == nullptr) return;
    const RecordKind& kind = record_kind(record->kind);
    if (f >= kind.fields.size() || kind.fields[f].multiple == 0) return;
    const std::int64_t m = kind.fields[f].multiple;
    const DecimalText v = decimal_text(text(k).substr(span.begin, span.end - span.begin));
    if (!v.is_number || v.value % m == 0) return;
    const std::int64_t low = v.value - ((v.value % m) + m) % m;
    const std::int64_t twice_rest = 2 * (v.value - low);
    const bool low_first = twice_rest < m || (twice_rest == m && (low / m) % 2 == 0);
    // A station moved or lengthened may come too near the next one: the
    // compile must get past that one too.
    std::size_t guard = record->keyword;
    if (record->kind == RecordKindId::stazione) {
        const std::vector<CheckedRecord>& all = check(k).records;
        for (auto r = all.begin() + (record - all.data()) + 1; r != all.end(); ++r) {
            if (r->kind != RecordKindId::stazione) continue;
            guard = r->keyword;
            break;
        }
    }
    for (const std::int64_t candidate : {low_first ? low : low + m, low_first ? low + m : low}) {
        const std::optional<TextEdit> e = number_edit(text(k), record->fields[f], candidate);
        if (!e) continue;
        Fix fix{{i},
                "Replace " + std::to_string(v.value) + " with " + std::to_string(candidate),
                k,
                {*e}};
        if (!compiles_past(fix, guard)) continue;
        if (add_tried(std::move(fix), DiagnosticId::not_a_multiple)) return;
    }
}

// Whether the compile of the edited sources records no code up to the
// record at `guard`, the last whose reading the edit can change.
bool Fixer::compiles_past(const Fix& fix, std::size_t guard) {
    const std::optional<std::string> edited = apply_edits(text(fix.file), fix.edits);
    if (!edited) return false;
    const bool linea = fix.file == SourceKind::linea;
    Scenario s;
    const CompileResult r =
        memorizza_dati(s, {SourceState::present, linea ? *edited : sources_.linea},
                       {SourceState::present, linea ? sources_.treno : std::string_view(*edited)});
    if (s.codice_errore == 0) return true;
    const std::int32_t guard_line = lines(fix.file).at(guard).line;
    return r.where.file != fix.file || r.where.line > guard_line;
}

// The compiled table and route files of two texts, without the line's
// geometry; none without a route.
std::optional<std::string> compiled(std::string_view linea, std::string_view treno) {
    Scenario s;
    memorizza_dati(s, {SourceState::present, linea}, {SourceState::present, treno});
    if (!s.has_route()) return std::nullopt;
    const Bytes table = table_image(s);
    const Bytes route = route_image(s);
    std::string out(table.begin(), table.end());
    out.append(route.begin(), route.end());
    return out;
}

// Whether the edited texts compile to the very bytes the texts did.
bool Fixer::same_bytes(const Fix& fix) {
    const std::optional<std::string> edited = apply_edits(text(fix.file), fix.edits);
    if (!edited) return false;
    if (!compiled_) compiled_ = compiled(sources_.linea, sources_.treno);
    const bool linea = fix.file == SourceKind::linea;
    const std::optional<std::string> now =
        compiled(linea ? std::string_view(*edited) : sources_.linea,
                 linea ? sources_.treno : std::string_view(*edited));
    return now && *compiled_ && *now == **compiled_;
}

// Where a value is stored rounded (a speed to 5 km/h, a position to a
// cell, a signal's time raised to 101), writing the stored value changes
// no compiled byte, which is tried. A position may be read on the cell of
// it or on the cell after it: either cell's start is tried. Curves are
// left alone: their positions shape the geometry by the metre.
void Fixer::as_stored(std::size_t i, const FieldSpan& span) {
    const Diagnostic& d = diagnostics_[i];
    const auto [record, f] = field_at(d.file, span.begin);
    if (record == nullptr || record->kind == RecordKindId::curva) return;
    const DecimalText v = decimal_text(text(d.file).substr(span.begin, span.end - span.begin));
    if (!v.is_number) return;
    std::vector<std::int64_t> candidates;
    if (d.id == DiagnosticId::speed_rounded) candidates = {kept_speed(v.value)};
    if (d.id == DiagnosticId::tempo_raised) candidates = {kShortestTempo};
    if (d.id == DiagnosticId::position_rounded)
        candidates = {cell_start(cell_of(v.value)), position_before(cell_after(v.value))};
    for (const std::int64_t stored : candidates) {
        const std::optional<TextEdit> e = number_edit(text(d.file), record->fields[f], stored);
        if (!e) continue;
        Fix fix{{i},
                "Replace " + std::to_string(v.value) + " with " + std::to_string(stored) +
                    ", the value stored",
                d.file,
                {*e}};
        if (same_bytes(fix) && add_tried(std::move(fix), d.id)) return;
    }
}

// The last field is never read, so a line [fine] after it changes nothing
// the compile reads, unless that field is a keyword that would then read
// [fine] as its value.
void Fixer::fine(std::size_t i, const FieldSpan& span) {
    const SourceKind k = diagnostics_[i].file;
    const std::string_view t = text(k);
    const std::string_view last = t.substr(span.begin, span.end - span.begin);
    const RecordBlock block = k == SourceKind::linea ? RecordBlock::line_body : RecordBlock::train;
    const bool keyword = std::ranges::any_of(
        record_kinds(block), [&](const RecordKind& kind) { return selects(kind, last); });
    if (keyword && last.find('-') == std::string_view::npos) return;
    const bool ended = t.empty() || t.back() == '\n';
    add_tried({{i},
               "Add the line [fine] at the end",
               k,
               {{t.size(), t.size(), (ended ? "" : "\r\n") + std::string(kFineLine)}}},
              DiagnosticId::last_field_not_fine);
}

void Fixer::station_time(std::size_t i, const FieldSpan& span) {
    if (sources_.run == nullptr) return;
    int entry = kPrimaStazione;
    const CheckedRecord* row = nullptr;
    for (const CheckedRecord& r : check(SourceKind::treno).records) {
        if (r.kind != RecordKindId::stazione) continue;
        if (r.keyword <= span.begin && span.begin <= r.end) {
            row = &r;
            break;
        }
        ++entry;
    }
    if (row == nullptr) return;
    const std::optional<DraftedTime> t = draft_station(*sources_.run, entry);
    if (!t || (t->current && *t->current == t->drafted)) return;
    if (first_past_midnight({{*t}, {}}) != nullptr) return;
    const std::vector<TextEdit> edits =
        station_time_edits(sources_.treno, check(SourceKind::treno), {&*t, 1});
    if (edits.empty()) return;
    out_.push_back({{i},
                    "Set the time of " + t->name + " to " + clock_text(t->drafted) +
                        ", drafted from the fastest run",
                    SourceKind::treno,
                    edits,
                    false});
}

void Fixer::whole_timetable(const std::vector<std::size_t>& mends) {
    if (sources_.run == nullptr || mends.empty()) return;
    const TimetableDraft d = draft_timetable(*sources_.run);
    if (first_past_midnight(d) != nullptr) return;
    std::vector<TextEdit> edits =
        station_time_edits(sources_.treno, check(SourceKind::treno), d.times);
    if (edits.empty()) return;
    out_.push_back({mends, "Draft the whole timetable from the fastest run", SourceKind::treno,
                    std::move(edits), false});
}

std::vector<Fix> Fixer::run() {
    std::vector<std::size_t> timetable;
    for (std::size_t i = 0; i < diagnostics_.size(); ++i) {
        const Diagnostic& d = diagnostics_[i];
        const std::optional<FieldSpan> span = located(d);
        if (!span) continue;
        if (is_timetable(d.id) && d.file == SourceKind::treno) {
            timetable.push_back(i);
            station_time(i, *span);
            continue;
        }
        switch (d.id) {
            case DiagnosticId::unknown_keyword:
                keyword(i, *span);
                break;
            case DiagnosticId::not_a_number:
                digits(i, *span);
                break;
            case DiagnosticId::not_a_multiple:
            case DiagnosticId::recorded_code:
                multiple(i, *span);
                break;
            case DiagnosticId::last_field_not_fine:
                fine(i, *span);
                break;
            case DiagnosticId::speed_rounded:
            case DiagnosticId::position_rounded:
            case DiagnosticId::tempo_raised:
                as_stored(i, *span);
                break;
            default:
                break;
        }
    }
    whole_timetable(timetable);
    return std::move(out_);
}

}  // namespace

std::vector<Fix> quick_fixes(std::span<const Diagnostic> diagnostics, const FixSources& sources) {
    return Fixer(diagnostics, sources).run();
}

std::string_view fix_description(DiagnosticId id) {
    for (const FixKind& k : kFixKinds)
        if (k.id == id) return k.description;
    return {};
}

}  // namespace scenario
