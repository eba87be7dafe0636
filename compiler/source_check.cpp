#include "compiler/source_check.h"

#include <array>

#include "compiler/error_codes.h"
#include "compiler/model.h"
#include "compiler/route_rules.h"
#include "formats/keywords.h"
#include "formats/source_layout.h"

namespace scenario {

namespace {

constexpr std::string_view kCurveWord = "curva";
constexpr std::string_view kClassDigits = "123456";

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

bool is_blank_text(std::string_view text) {
    for (const char c : text) {
        if (!is_blank(c)) return false;
    }
    return true;
}

std::string quoted(std::string_view text) {
    return "`" + std::string(text) + "`";
}

std::string count_of(std::size_t n, std::string_view what) {
    return std::to_string(n) + " " + std::string(what) + (n == 1 ? "" : "s");
}

// "2 and 5", "1, 2 and 5": each character of `items`.
std::string listed(std::string_view items) {
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) out += i + 1 == items.size() ? " and " : ", ";
        out += items[i];
    }
    return out;
}

std::string metres(std::int64_t m) {
    return std::to_string(m) + " m";
}

// One value field as the walk read it.
struct ReadField {
    const FieldInfo* info;
    FieldSpan span;
    std::int32_t line = 0;
    DecimalText number;  // for numeric fields
};

// The records that one keyword field selected, read one after the other.
struct ReadRecord {
    const RecordKind* kind;
    std::size_t first;  // index of its first field among the keyword's fields
    std::string subject;
};

class SourceChecker {
  public:
    SourceChecker(std::string_view text, std::optional<std::int32_t> ultima_cella)
        : text_(text), in_(text) {
        out_.ultima_cella = ultima_cella;
    }

    SourceCheck linea(bool curves_read);
    SourceCheck treno();

  private:
    // Reads the next keyword field as the compiler does; false at the end.
    bool next_keyword(CommentRule rule);
    void examine_keyword(RecordBlock block);
    void note_unread(RecordBlock block, std::string_view keyword, FieldSpan span);
    bool read_record(const RecordKind& kind, FieldSpan keyword, std::vector<ReadField>* fields);
    void learn_route(const RecordKind& kind, const std::vector<ReadField>& fields);
    void check_field(const ReadField& f, const std::string& subject);
    void check_range(const ReadField& f, std::int64_t v, const std::string& subject);
    void check_position(const ReadField& f, std::int64_t v, const std::string& subject);
    void check_order(const RecordKind& kind, const std::vector<ReadField>& fields,
                     const std::string& subject);
    void check_slowdown_end(const RecordKind& kind, const std::vector<ReadField>& fields,
                            const std::string& subject);
    void check_curve_keyword(std::string_view keyword, FieldSpan span, const std::string& subject);
    bool check_line_ends(FieldSpan keyword, std::int32_t line, const std::vector<ReadField>& fields,
                         const std::string& subject);
    void check_last_field();

    void find(DiagnosticId id, FieldSpan span, std::string message, std::int32_t code = 0) {
        out_.findings.push_back({id, span, std::move(message), code});
    }
    bool first_on_line(std::size_t offset) const;
    // Where the line holding `offset` ends; each line is scanned once.
    std::size_t line_end_after(std::size_t offset);
    std::string_view text_of(FieldSpan span) const {
        return text_.substr(span.begin, span.end - span.begin);
    }
    std::string subject_of(const RecordKind& kind, const std::vector<ReadField>& fields,
                           std::size_t first) const;

    std::string_view text_;
    FieldReader in_;
    std::string riga_;
    SourceCheck out_;
    bool curves_read_ = true;
    bool in_body_ = false;
    bool route_missing_told_ = false;
    bool length_seen_ = false;
    // What the last field of the file was read as, for the end-of-file check.
    const FieldInfo* last_value_ = nullptr;
    std::string last_subject_;
    bool last_keyword_had_fine_ = false;
    bool cut_short_ = false;
    // The previous row of each profile and the end of the previous curve.
    std::array<std::optional<std::int64_t>, 3> previous_row_{};
    std::optional<std::int64_t> previous_curve_end_;
    std::size_t scanned_line_begin_ = 1;  // the line end found last, for offsets from here
    std::size_t scanned_line_end_ = 0;
};

bool SourceChecker::first_on_line(std::size_t offset) const {
    while (offset > 0 && is_blank(text_[offset - 1]))
        --offset;
    return offset == 0 || text_[offset - 1] == '\n';
}

std::size_t SourceChecker::line_end_after(std::size_t offset) {
    if (offset >= scanned_line_begin_ && offset <= scanned_line_end_) return scanned_line_end_;
    std::size_t eol = offset;
    while (eol < text_.size() && line_end_length(text_, eol) == 0)
        ++eol;
    scanned_line_begin_ = offset;
    scanned_line_end_ = eol;
    return eol;
}

SourceCheck SourceChecker::linea(bool curves_read) {
    curves_read_ = curves_read;
    if (skip_preamble(in_, &riga_) != Preamble::found) return std::move(out_);
    while (next_keyword(kHeaderComments)) {
        examine_keyword(RecordBlock::line_header);
        if (ends_header(riga_)) break;
    }
    in_body_ = true;
    while (!cut_short_ && next_keyword(kBodyComments))
        examine_keyword(RecordBlock::line_body);
    check_last_field();
    return std::move(out_);
}

SourceCheck SourceChecker::treno() {
    if (skip_preamble(in_, &riga_) != Preamble::found) {
        if (!contains_word(riga_, kGenerale)) {
            find(DiagnosticId::no_generale, {0, 0},
                 "no field holds [generale]: no record of the train file is read");
        }
        return std::move(out_);
    }
    in_body_ = true;
    length_seen_ = true;  // the route, if any, came from the line file
    while (!cut_short_ && next_keyword(kBodyComments))
        examine_keyword(RecordBlock::train);
    check_last_field();
    return std::move(out_);
}

bool SourceChecker::next_keyword(CommentRule rule) {
    if (in_.at_end()) return false;
    CommentTrace trace;
    const KeywordRead read = read_keyword(in_, &riga_, rule, &trace);
    for (int i = 0; i < trace.count; ++i) {
        const FieldSpan comment = trace.skipped[static_cast<std::size_t>(i)];
        if (comment.end < text_.size() && text_[comment.end] == ',' &&
            first_on_line(comment.begin)) {
            find(DiagnosticId::comment_with_comma, comment,
                 "comment " + quoted(text_of(comment)) +
                     " is followed by a comma: the pieces after it are read as keywords");
        }
    }
    const FieldSpan span = in_.last_field();
    switch (read) {
        case KeywordRead::keyword:
            break;
        case KeywordRead::end:
            last_value_ = nullptr;
            return false;
        case KeywordRead::fail:
            cut_short_ = true;
            find(DiagnosticId::record_cut_short, span,
                 "the file ends among comment lines: nothing is left to read", codice::kLettura);
            return false;
    }
    if (trace.count == rule.max_in_a_row && is_comment(riga_) && first_on_line(span.begin)) {
        find(DiagnosticId::comment_taken_as_keyword, span,
             "comment " + quoted(riga_) + " follows " + std::to_string(trace.count) +
                 " comment fields in a row and is examined as a keyword");
    }
    return true;
}

void SourceChecker::note_unread(RecordBlock block, std::string_view keyword, FieldSpan span) {
    const RecordBlock other =
        block == RecordBlock::line_body ? RecordBlock::line_header : RecordBlock::line_body;
    if (block != RecordBlock::train) {
        for (const RecordKind& kind : record_kinds(other)) {
            if (!selects(kind, keyword)) continue;
            find(DiagnosticId::misplaced_record, span,
                 std::string(kind.name) + " record " + quoted(keyword) +
                     (block == RecordBlock::line_body
                          ? " stands in the body of the line file, where it is ignored"
                          : " stands in the header block, before the first section title, "
                            "where it is ignored"));
            return;
        }
    }
    if (!first_on_line(span.begin) || is_blank_text(keyword) || is_section_title(keyword) ||
        is_comment(keyword)) {
        return;
    }
    find(DiagnosticId::unknown_keyword, span,
         "keyword " + quoted(keyword) + " selects no record kind: the line is skipped");
}

void SourceChecker::examine_keyword(RecordBlock block) {
    const FieldSpan span = in_.last_field();
    const std::int32_t line = in_.line();
    last_keyword_had_fine_ = contains_word(riga_, kFine);
    last_value_ = nullptr;
    const std::string keyword = riga_;
    std::vector<const RecordKind*> kinds;
    for (const RecordKind& kind : record_kinds(block)) {
        if (kind.id == RecordKindId::curva && !curves_read_) continue;
        if (selects(kind, keyword)) kinds.push_back(&kind);
    }
    if (kinds.empty()) return note_unread(block, keyword, span);
    if (kinds.size() > 1) {
        std::string names;
        for (const RecordKind* kind : kinds)
            names += (names.empty() ? "" : " and ") + std::string(kind->name);
        find(DiagnosticId::two_record_kinds, span,
             "keyword " + quoted(keyword) + " selects " + names + ": it is read as " +
                 std::to_string(kinds.size()) + " records, one after the other");
    }
    std::vector<ReadField> fields;
    std::vector<ReadRecord> records;
    for (const RecordKind* kind : kinds) {
        const std::size_t first = fields.size();
        if (!read_record(*kind, span, &fields)) return;
        records.push_back({kind, first, out_.records.back().subject});
        learn_route(*kind, fields);
    }
    last_value_ = fields.empty() ? nullptr : fields.back().info;
    last_subject_ = records.back().subject;
    const bool in_place = check_line_ends(span, line, fields, records.front().subject);
    for (std::size_t r = 0; r < records.size(); ++r) {
        const ReadRecord& record = records[r];
        if (record.kind->id == RecordKindId::curva)
            check_curve_keyword(keyword, span, record.subject);
        if (!in_place) continue;
        const std::size_t end = r + 1 < records.size() ? records[r + 1].first : fields.size();
        const std::vector<ReadField> own(fields.begin() + static_cast<std::ptrdiff_t>(record.first),
                                         fields.begin() + static_cast<std::ptrdiff_t>(end));
        for (const ReadField& f : own)
            check_field(f, record.subject);
        check_order(*record.kind, own, record.subject);
        check_slowdown_end(*record.kind, own, record.subject);
    }
}

// The length record creates the route: later positions are tested against
// it, as the compiler tests them.
void SourceChecker::learn_route(const RecordKind& kind, const std::vector<ReadField>& fields) {
    if (kind.id != RecordKindId::lunghezza || fields.empty()) return;
    length_seen_ = true;
    const DecimalText& n = fields.back().number;
    out_.ultima_cella = std::nullopt;
    if (n.value >= 0 && n.value <= kind.fields[0].max)
        out_.ultima_cella = highest_cell(static_cast<std::int32_t>(n.value));
}

// Reads the record's value fields as the compiler does; a number of any
// width is consumed exactly as one of its own type.
bool SourceChecker::read_record(const RecordKind& kind, FieldSpan keyword,
                                std::vector<ReadField>* fields) {
    const std::size_t first = fields->size();
    for (const FieldInfo& info : kind.fields) {
        if (in_.at_end()) {
            cut_short_ = true;
            find(DiagnosticId::record_cut_short, in_.last_field(),
                 std::string(kind.name) + ": the file ends before " + quoted(info.name) +
                     ", value field " + std::to_string(fields->size() - first + 1) + " of " +
                     std::to_string(kind.fields.size()),
                 codice::kLettura);
            return false;
        }
        ReadField f{&info, {}, 0, {}};
        if (info.type == FieldType::text) {
            std::string ignored;
            in_.read_text(&ignored);
        } else {
            std::int32_t ignored = 0;
            in_.read_long(&ignored);
        }
        f.span = in_.last_field();
        f.line = in_.line();
        if (info.type != FieldType::text) f.number = decimal_text(text_of(f.span));
        fields->push_back(f);
    }
    CheckedRecord record{kind.id,
                         keyword.begin,
                         in_.last_field().end,
                         {},
                         subject_of(kind, *fields, first),
                         keyword.end,
                         {}};
    for (std::size_t i = first; i < fields->size(); ++i)
        record.fields.push_back((*fields)[i].span);
    if (fields->size() > first) record.first_value = (*fields)[first].span;
    out_.records.push_back(std::move(record));
    return true;
}

std::string SourceChecker::subject_of(const RecordKind& kind, const std::vector<ReadField>& fields,
                                      std::size_t first) const {
    std::string subject(kind.name);
    if (first >= fields.size()) return subject;
    const ReadField& f = fields[first];
    const bool placed = f.info->role == FieldRole::position || f.info->role == FieldRole::station ||
                        f.info->role == FieldRole::start;
    if (placed && f.number.is_number) subject += " at " + metres(f.number.value);
    return subject;
}

// A record must end on the line of its keyword: fewer fields there take the
// next line's first field, more leave pieces that are read as keywords.
// False when the fields are shifted, so that their values mean nothing.
bool SourceChecker::check_line_ends(FieldSpan keyword, std::int32_t line,
                                    const std::vector<ReadField>& fields,
                                    const std::string& subject) {
    const std::size_t first = 0;
    std::size_t on_line = first;
    while (on_line < fields.size() && fields[on_line].line == line)
        ++on_line;
    if (on_line < fields.size()) {
        const ReadField& stray = fields[on_line];
        find(DiagnosticId::record_spans_lines, {keyword.begin, fields.back().span.end},
             subject + ": " + count_of(on_line - first, "value field") + " on its line, " +
                 std::to_string(fields.size() - first) + " expected; the next line's " +
                 quoted(text_of(stray.span)) + " was read as " + quoted(stray.info->name));
        return false;
    }
    if (first == fields.size() || in_.at_end() || in_.next_line() != line) return true;
    std::size_t rest = fields.back().span.end;
    const std::size_t eol = line_end_after(rest);
    while (rest < eol && (is_blank(text_[rest]) || text_[rest] == ','))
        ++rest;
    if (rest < eol && rest > fields.back().span.end) {
        find(DiagnosticId::extra_fields, {rest, eol},
             subject + " reads " + count_of(fields.size() - first, "value field") +
                 "; the rest of its line, " + quoted(text_.substr(rest, eol - rest)) +
                 ", is examined as keywords");
    }
    return true;
}

void SourceChecker::check_field(const ReadField& f, const std::string& subject) {
    const FieldInfo& info = *f.info;
    if (info.type == FieldType::text) return;
    const std::string_view token = text_of(f.span);
    if (token.empty()) return;  // an empty field reads 0, as the format allows
    if (!f.number.is_number) {
        find(DiagnosticId::not_a_number, f.span,
             subject + ": " + quoted(token) + " is not a number, so " + quoted(info.name) +
                 " reads 0");
        return;
    }
    const std::int64_t v = f.number.value;
    if (v < type_min(info.type) || v > type_max(info.type)) {
        find(DiagnosticId::number_too_large, f.span,
             subject + ": " + std::to_string(v) + " does not fit " + quoted(info.name) + ", a " +
                 std::string(field_type_name(info.type)) + " field (" +
                 std::to_string(type_min(info.type)) + " to " +
                 std::to_string(type_max(info.type)) + "): the compile ends with code 25",
             codice::kLettura);
        return;
    }
    if (info.role == FieldRole::speed && (v < info.min || v > info.max)) {
        find(DiagnosticId::number_too_large, f.span,
             subject + ": " + std::to_string(v) + " km/h does not fit a route cell (" +
                 std::to_string(info.min) + " to " + std::to_string(info.max) +
                 " km/h): the compile ends with code 25 where the speed is laid",
             codice::kLettura);
        return;
    }
    check_range(f, v, subject);
    check_position(f, v, subject);
}

void SourceChecker::check_range(const ReadField& f, std::int64_t v, const std::string& subject) {
    const FieldInfo& info = *f.info;
    const std::string name = quoted(info.name);
    if (info.role == FieldRole::tempo && tempo_raised(v)) {
        find(DiagnosticId::tempo_raised, f.span,
             subject + ": " + name + " " + std::to_string(v) + " is raised to " +
                 std::to_string(kShortestTempo));
    } else if (v < info.min || v > info.max) {
        const std::string range = std::to_string(info.min) + " to " + std::to_string(info.max);
        if (info.beyond == Beyond::refused) {
            const std::string unit = info.unit.empty() ? "" : " " + std::string(info.unit);
            find(DiagnosticId::reaches_off_route, f.span,
                 subject + ": " + name + " " + std::to_string(v) +
                     (v < info.min ? " is below " + std::to_string(info.min)
                                   : " is above " + std::to_string(info.max)) +
                     unit +
                     ", so the record would write cells outside the route: the compile "
                     "ends with code 25",
                 codice::kLettura);
        } else if (info.beyond == Beyond::low_bits) {
            find(DiagnosticId::value_truncated, f.span,
                 subject + ": " + name + " " + std::to_string(v) + " lies outside " + range +
                     " and keeps only its low-order bits when stored");
        } else {
            find(DiagnosticId::value_out_of_range, f.span,
                 subject + ": " + name + " is " + std::to_string(v) + "; its documented range is " +
                     range + (info.unit.empty() ? "" : " " + std::string(info.unit)));
        }
    }
    if (info.multiple != 0 && v % info.multiple != 0) {
        if (info.code != 0) {
            find(DiagnosticId::not_a_multiple, f.span,
                 subject + ": " + name + " " + std::to_string(v) + " is not a multiple of " +
                     std::to_string(info.multiple) + " (code " + std::to_string(info.code) + ")",
                 info.code);
        }
    } else if (info.role == FieldRole::position && v % kMetriCella != 0) {
        find(DiagnosticId::position_rounded, f.span,
             subject + ": " + metres(v) + " is not a multiple of 50 and is rounded to a cell");
    }
    if (const std::int64_t kept = kept_speed(v); info.role == FieldRole::speed && kept != v) {
        find(DiagnosticId::speed_rounded, f.span,
             subject + ": " + std::to_string(v) + " km/h is stored as " + std::to_string(kept) +
                 " km/h");
    }
}

// Positions must leave room on the route, which the line file's length
// record creates before any body record.
void SourceChecker::check_position(const ReadField& f, std::int64_t v, const std::string& subject) {
    const FieldRole role = f.info->role;
    if (role != FieldRole::position && role != FieldRole::station && role != FieldRole::start)
        return;
    if (!out_.ultima_cella) {
        if (route_missing_told_ || length_seen_ || !in_body_) return;
        route_missing_told_ = true;
        find(DiagnosticId::record_before_length, f.span,
             subject + " comes before the route length record: there is no route yet",
             codice::kLettura);
        return;
    }
    const std::int64_t margin = role == FieldRole::station ? kMargineStazione : kMargineRecord;
    if (in_range(*out_.ultima_cella, v, margin)) return;
    const std::int64_t last = std::int64_t{*out_.ultima_cella} * kMetriCella - margin;
    find(DiagnosticId::beyond_route, f.span,
         subject + ": past " + metres(last) + ", the last position the route carries" +
             (role == FieldRole::station ? " for a station" : "") + " (code 15)",
         codice::kFuoriPercorso);
}

// A slowdown's end cell lies its length after its start: only the start is
// range-tested, so a long slowdown can reach past the last cell.
void SourceChecker::check_slowdown_end(const RecordKind& kind, const std::vector<ReadField>& fields,
                                       const std::string& subject) {
    constexpr std::size_t kStart = 0;
    constexpr std::size_t kLength = 2;
    if (kind.id != RecordKindId::rallentamento || fields.size() <= kLength || !out_.ultima_cella)
        return;
    const std::int64_t x = fields[kStart].number.value;
    if (!in_range(*out_.ultima_cella, x)) return;  // told as beyond the route
    const std::int64_t end = x + fields[kLength].number.value;
    const std::int64_t cell = cell_after(end);
    if (cell >= 0 && cell <= *out_.ultima_cella) return;
    find(DiagnosticId::reaches_off_route, fields[kLength].span,
         subject + ": its end at " + metres(end) + " falls on cell " + std::to_string(cell) +
             ", outside cells 0 to " + std::to_string(*out_.ultima_cella) +
             ": the compile ends with code 25",
         codice::kLettura);
}

// Profile rows take effect from their cell on, and curves go on from the
// end of the previous one: either must come in ascending order.
void SourceChecker::check_order(const RecordKind& kind, const std::vector<ReadField>& fields,
                                const std::string& subject) {
    if (fields.empty()) return;
    const std::int64_t p = fields[0].number.value;
    if (kind.id == RecordKindId::curva && fields.size() > 1) {
        if (previous_curve_end_ && p < *previous_curve_end_) {
            find(DiagnosticId::rows_out_of_order, fields[0].span,
                 subject + " starts before the previous curve ends at " +
                     metres(*previous_curve_end_) + ": it goes on turning from there");
        }
        previous_curve_end_ = p + fields[1].number.value;
        return;
    }
    std::size_t profile = 0;
    switch (kind.id) {
        case RecordKindId::pendenza:
            profile = 0;
            break;
        case RecordKindId::velocita:
            profile = 1;
            break;
        case RecordKindId::aderenza:
            profile = 2;
            break;
        default:
            return;
    }
    std::optional<std::int64_t>& previous = previous_row_[profile];
    if (previous && cell_of(p) <= cell_of(*previous)) {
        find(DiagnosticId::rows_out_of_order, fields[0].span,
             subject + ": not beyond the cell of the previous row, at " + metres(*previous) +
                 "; the rows apply in file order");
    }
    previous = p;
}

void SourceChecker::check_curve_keyword(std::string_view keyword, FieldSpan span,
                                        const std::string& subject) {
    std::string digits;
    for (const char digit : kClassDigits) {
        if (keyword.find(digit) != std::string_view::npos) digits += digit;
    }
    if (digits.empty()) {
        find(DiagnosticId::curve_without_class, span,
             subject + ": keyword " + quoted(keyword) + " has no class digit 1 to 6 (code 103)",
             codice::kCurva);
    } else if (digits.size() > 1) {
        find(DiagnosticId::curve_class_digits, span,
             subject + ": keyword " + quoted(keyword) + " has the class digits " + listed(digits) +
                 "; " + digits.substr(0, 1) + " is tried first and sets the radius");
    }
    const std::size_t side = find_word(keyword, kCurveWord) + kCurveWord.size();
    for (std::size_t i = 0; i < keyword.size(); ++i) {
        if (i == side || (keyword[i] != 's' && keyword[i] != 'S')) continue;
        find(DiagnosticId::curve_stray_s, span,
             subject + ": keyword " + quoted(keyword) +
                 " has an `s` besides its side letter, so the curve turns towards negative x");
        return;
    }
}

void SourceChecker::check_last_field() {
    if (cut_short_) return;
    const FieldSpan span = in_.last_field();
    const std::string_view last = text_of(span);
    if (last_value_ != nullptr) {
        find(DiagnosticId::last_field_not_fine, span,
             "the file ends with " + quoted(last) + ", read as " + quoted(last_value_->name) +
                 " of the " + last_subject_ + "; its last line should be [fine]");
    } else if (!contains_word(last, kFine) && !(is_blank_text(last) && last_keyword_had_fine_)) {
        find(DiagnosticId::last_field_not_fine, span,
             "the last field of the file, " +
                 (is_blank_text(last) ? std::string("an empty one") : quoted(last)) +
                 ", is never read; its last line should be [fine]");
    }
}

}  // namespace

SourceCheck check_linea(std::string_view text, bool curves_read) {
    return SourceChecker(text, std::nullopt).linea(curves_read);
}

SourceCheck check_treno(std::string_view text, std::optional<std::int32_t> ultima_cella) {
    return SourceChecker(text, ultima_cella).treno();
}

}  // namespace scenario
