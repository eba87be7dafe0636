#include "authoring/source_format.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
#include <optional>
#include <span>

#include "compiler/record_kinds.h"

namespace scenario {

namespace {

// The blanks before a value field (after its comma, or between two numbers
// written with blanks only), and those after a number before the comma
// that follows it.
struct FieldGap {
    std::uint8_t before;
    std::uint8_t after = 0;
};

enum class Align : std::uint8_t {
    gaps,     // each value after its own blanks, as the line file is written
    columns,  // numbers right-aligned in columns over consecutive rows, as the train file
};

// How the builder writes the rows of one kind, read off its own two files;
// a kind they hold no row of follows its neighbours (the slowdown and the
// speed-reduction point are written as the signal and the profiles are).
struct KindLayout {
    RecordKindId kind;
    Align align;
    std::span<const FieldGap> fields;
    // Blanks after a number that ends the line: the clock row's one.
    std::uint8_t line_end = 0;
    // A profile's row at position 0 is written "aderenza,   0,   100":
    // its position stands after its blanks, outside the column.
    bool zero_outside = false;
};

constexpr FieldGap kHeader1[] = {{4}};
constexpr FieldGap kHeader3[] = {{4}, {4}, {4}};
// "ripetizione segnali 4 codici,    0    ,0": the one header row written
// with blanks before its comma and none after it.
constexpr FieldGap kRipetizione[] = {{4, 4}, {0}};
constexpr FieldGap kPendenza[] = {{2}, {3}};
constexpr FieldGap kCurva[] = {{2}, {2}};
constexpr FieldGap kMontagna[] = {{3}, {2}, {2}};
constexpr FieldGap kIndicatori[] = {{2}, {2}, {2}, {2}, {2}, {2}, {2}, {2}, {2}};
constexpr FieldGap kCartello[] = {{2}, {3}};
// "orologio,    17              42            30 ".
constexpr FieldGap kOrologio[] = {{4}, {14}, {12}};
constexpr FieldGap kProfile[] = {{3}, {3}};
// "segnale,    1250,   2, 5, 6,  0, 0,    2,  1,0,0, 0".
constexpr FieldGap kSegnale[] = {{3}, {3}, {1}, {1}, {2}, {1}, {4}, {2}, {0}, {0}, {1}};
constexpr FieldGap kRallentamento[] = {{3}, {3}, {3}, {3}, {3}, {3}};
// "stazione,       0,  8,  500,  0, 0, 0,  1,1,0,  4,1,1,    1,  17,43, 0, ALVENA P.NUOVA".
constexpr FieldGap kStazione[] = {{2}, {1}, {2}, {2}, {1}, {1}, {2}, {0}, {0},
                                  {2}, {0}, {0}, {3}, {2}, {0}, {1}, {1}};

// In the order of RecordKindId.
constexpr KindLayout kLayouts[] = {
    {RecordKindId::lunghezza, Align::gaps, kHeader1},
    {RecordKindId::progressiva_tre, Align::gaps, kHeader3},
    {RecordKindId::progressiva_due, Align::gaps, kHeader3},
    {RecordKindId::progressiva_uno, Align::gaps, kHeader3},
    {RecordKindId::sfondo_uno, Align::gaps, kHeader1},
    {RecordKindId::sfondo_due, Align::gaps, kHeader1},
    {RecordKindId::sfondo_tre, Align::gaps, kHeader1},
    {RecordKindId::ripetizione, Align::gaps, kRipetizione},
    {RecordKindId::pendenza, Align::gaps, kPendenza},
    {RecordKindId::curva, Align::gaps, kCurva},
    {RecordKindId::montagna, Align::gaps, kMontagna},
    {RecordKindId::indicatori_vmax, Align::gaps, kIndicatori},
    {RecordKindId::cartello_indicatore, Align::gaps, kCartello},
    {RecordKindId::massa_frenata, Align::columns, kHeader1},
    {RecordKindId::vetture, Align::columns, kHeader1},
    {RecordKindId::velocita, Align::columns, kProfile, 0, true},
    {RecordKindId::aderenza, Align::columns, kProfile, 0, true},
    {RecordKindId::orologio, Align::columns, kOrologio, 1},
    {RecordKindId::sabbia, Align::columns, kHeader1},
    {RecordKindId::segnale, Align::columns, kSegnale},
    {RecordKindId::rallentamento, Align::columns, kRallentamento},
    {RecordKindId::abbattimento, Align::columns, kProfile},
    {RecordKindId::stazione, Align::columns, kStazione},
};

constexpr bool in_kind_order() {
    for (std::size_t i = 0; i < std::size(kLayouts); ++i) {
        if (static_cast<std::size_t>(kLayouts[i].kind) != i) return false;
    }
    return true;
}
static_assert(std::size(kLayouts) == static_cast<std::size_t>(RecordKindId::stazione) + 1 &&
                  in_kind_order(),
              "one layout for every record kind, in the order of RecordKindId");

const KindLayout& layout_of(RecordKindId kind) {
    return kLayouts[static_cast<std::size_t>(kind)];
}

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

bool all_blank(std::string_view text) {
    return std::all_of(text.begin(), text.end(), is_blank);
}

// The bytes between two fields of a row: blanks, then at most one comma
// and more blanks. `comma` is where the comma stands, if there is one.
struct Separator {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::optional<std::size_t> comma;
};

// One value field of a row as laid out: the blanks wanted before it (after
// its comma), and after it before the next comma.
struct Cell {
    Separator before;
    std::size_t length = 0;  // of the field's own text
    bool text = false;
    bool outside = false;  // stands outside its column
    std::size_t blanks = 0;
};

// A line that holds one whole record and nothing else.
struct Row {
    const CheckedRecord* record;
    std::size_t line_begin;
    std::size_t line_end;  // where its line end begins, or the end of the text
    std::size_t line = 0;  // index among the lines
    std::vector<Cell> cells;
};

class Layout {
  public:
    Layout(std::string_view text, const SourceCheck& check) : text_(text), check_(check) {
        find_lines();
    }

    std::vector<BlankEdit> edits(std::size_t begin, std::size_t end, bool whole);

  private:
    void find_lines();
    std::size_t line_of(std::size_t offset) const;
    std::optional<Row> row_of(const CheckedRecord& record) const;
    std::optional<Separator> separator(std::size_t from, std::size_t to, bool after_text) const;
    void lay_out(std::span<Row> block) const;
    void edit(std::size_t begin, std::size_t end, std::size_t spaces,
              std::vector<BlankEdit>* out) const;
    void edits_of(const Row& row, std::vector<BlankEdit>* out) const;

    std::string_view text_;
    const SourceCheck& check_;
    std::vector<std::size_t> starts_;  // where each line begins
    std::vector<std::size_t> ends_;    // where its line end begins
};

void Layout::find_lines() {
    std::size_t at = 0;
    starts_.push_back(0);
    while (at < text_.size()) {
        const std::size_t eol = line_end_length(text_, at);
        if (eol == 0) {
            ++at;
            continue;
        }
        ends_.push_back(at);
        at += eol;
        starts_.push_back(at);
    }
    ends_.push_back(text_.size());
}

std::size_t Layout::line_of(std::size_t offset) const {
    return static_cast<std::size_t>(std::upper_bound(starts_.begin(), starts_.end(), offset) -
                                    starts_.begin()) -
           1;
}

// The separator that the reader consumed from `from` to `to`: after a text
// field it is its comma and blanks; after a number, blanks, then a comma
// and blanks, or blanks alone.
std::optional<Separator> Layout::separator(std::size_t from, std::size_t to,
                                           bool after_text) const {
    if (from > to) return std::nullopt;
    const std::string_view between = text_.substr(from, to - from);
    const std::size_t comma = between.find(',');
    Separator s{from, to, std::nullopt};
    if (comma == std::string_view::npos) {
        if (after_text || between.empty() || !all_blank(between)) return std::nullopt;
        return s;
    }
    if (after_text && comma != 0) return std::nullopt;
    if (!all_blank(between.substr(0, comma)) || !all_blank(between.substr(comma + 1)))
        return std::nullopt;
    s.comma = from + comma;
    return s;
}

std::optional<Row> Layout::row_of(const CheckedRecord& record) const {
    const RecordKind& kind = record_kind(record.kind);
    if (record.fields.size() != kind.fields.size() ||
        layout_of(record.kind).fields.size() != kind.fields.size())
        return std::nullopt;
    const std::size_t line = line_of(record.keyword);
    Row row{&record, starts_[line], ends_[line], line, {}};
    if (!all_blank(text_.substr(row.line_begin, record.keyword - row.line_begin)))
        return std::nullopt;
    std::size_t previous_end = record.keyword_end;
    bool previous_text = true;
    for (std::size_t i = 0; i < record.fields.size(); ++i) {
        const FieldSpan span = record.fields[i];
        if (span.end > row.line_end) return std::nullopt;
        const std::optional<Separator> s = separator(previous_end, span.begin, previous_text);
        if (!s) return std::nullopt;
        const bool text = kind.fields[i].type == FieldType::text;
        row.cells.push_back({*s, span.end - span.begin, text, false, 0});
        previous_end = span.end;
        previous_text = text;
    }
    // A text field runs to its line end; after a number only blanks may
    // follow it there.
    const std::string_view rest = text_.substr(previous_end, row.line_end - previous_end);
    if (previous_text ? !rest.empty() : !all_blank(rest)) return std::nullopt;
    return row;
}

// Sets the blanks of every cell of a block of rows of one kind.
void Layout::lay_out(std::span<Row> block) const {
    const KindLayout& layout = layout_of(block.front().record->kind);
    const auto keyword_length = [](const Row& r) {
        return r.record->keyword_end - r.record->keyword;
    };
    std::size_t keyword_width = 0;
    for (const Row& r : block)
        keyword_width = std::max(keyword_width, keyword_length(r));
    for (std::size_t i = 0; i < layout.fields.size(); ++i) {
        const FieldGap gap = layout.fields[i];
        // What stands in a row before the field's own blanks: the blanks
        // after the number before it and the comma; and the blanks it needs.
        const auto lead = [&](const Cell& c) {
            return c.before.comma ? std::size_t{1} + (i > 0 ? layout.fields[i - 1].after : 0)
                                  : std::size_t{0};
        };
        // Numbers written with blanks only between them keep one at least.
        const auto least = [&](const Cell& c) {
            return c.before.comma ? std::size_t{gap.before} : std::max<std::size_t>(gap.before, 1);
        };
        const bool last = i + 1 == layout.fields.size();
        std::size_t width = 0;
        for (Row& r : block) {
            Cell& c = r.cells[i];
            c.outside = layout.align == Align::gaps || (last && c.length == 0) ||
                        (layout.zero_outside && i == 0 &&
                         text_.substr(r.record->fields[0].begin, c.length) == "0");
            if (c.outside) continue;
            width = std::max(width, lead(c) + least(c) + (c.text ? 0 : c.length));
        }
        for (Row& r : block) {
            Cell& c = r.cells[i];
            // An empty field that ends the line gets no blanks.
            if (last && c.length == 0 && c.before.comma) {
                c.blanks = 0;
            } else if (c.outside) {
                c.blanks = least(c);
            } else {
                c.blanks = width - lead(c) - (c.text ? 0 : c.length);
            }
            if (i == 0 && layout.align == Align::columns)
                c.blanks += keyword_width - keyword_length(r);
        }
    }
}

void Layout::edit(std::size_t begin, std::size_t end, std::size_t spaces,
                  std::vector<BlankEdit>* out) const {
    const std::string_view now = text_.substr(begin, end - begin);
    if (now.size() == spaces && now.find('\t') == std::string_view::npos) return;
    out->push_back({begin, end, spaces});
}

void Layout::edits_of(const Row& row, std::vector<BlankEdit>* out) const {
    const KindLayout& layout = layout_of(row.record->kind);
    edit(row.line_begin, row.record->keyword, 0, out);
    for (std::size_t i = 0; i < row.cells.size(); ++i) {
        const Cell& c = row.cells[i];
        const Separator& s = c.before;
        if (!s.comma) {
            edit(s.begin, s.end, c.blanks, out);
            continue;
        }
        if (i > 0 && !row.cells[i - 1].text)
            edit(s.begin, *s.comma, layout.fields[i - 1].after, out);
        edit(*s.comma + 1, s.end, c.blanks, out);
    }
    const Cell& last = row.cells.back();
    if (last.text) return;
    const std::size_t end = row.record->fields.back().end;
    edit(end, row.line_end, last.length == 0 ? 0 : layout.line_end, out);
}

std::vector<BlankEdit> Layout::edits(std::size_t begin, std::size_t end, bool whole) {
    std::vector<Row> rows;
    std::vector<std::size_t> on_line(starts_.size(), 0);
    for (const CheckedRecord& record : check_.records)
        ++on_line[line_of(record.keyword)];
    for (const CheckedRecord& record : check_.records) {
        if (on_line[line_of(record.keyword)] != 1) continue;
        if (std::optional<Row> row = row_of(record)) rows.push_back(std::move(*row));
    }
    // A block: rows of one kind on lines that follow each other.
    for (std::size_t first = 0; first < rows.size();) {
        std::size_t next = first + 1;
        while (next < rows.size() && rows[next].line == rows[next - 1].line + 1 &&
               rows[next].record->kind == rows[first].record->kind)
            ++next;
        lay_out(std::span<Row>(rows).subspan(first, next - first));
        first = next;
    }
    const std::size_t first_line = line_of(std::min(begin, text_.size()));
    // A range that ends at the start of a line ends with the line before.
    std::size_t last = std::min(std::max(begin, end), text_.size());
    if (last > begin && line_of(last) > first_line && starts_[line_of(last)] == last) --last;
    const std::size_t last_line = line_of(last);
    std::vector<BlankEdit> out;
    for (const Row& row : rows) {
        if (!whole && (row.line < first_line || row.line > last_line)) continue;
        edits_of(row, &out);
    }
    return out;
}

}  // namespace

std::vector<BlankEdit> layout_edits(std::string_view text, const SourceCheck& check) {
    return Layout(text, check).edits(0, text.size(), true);
}

std::vector<BlankEdit> layout_edits(std::string_view text, const SourceCheck& check,
                                    std::size_t begin, std::size_t end) {
    return Layout(text, check).edits(begin, end, false);
}

std::string apply_edits(std::string_view text, const std::vector<BlankEdit>& edits) {
    std::string out;
    out.reserve(text.size());
    std::size_t at = 0;
    for (const BlankEdit& e : edits) {
        out.append(text.substr(at, e.begin - at));
        out.append(e.spaces, ' ');
        at = e.end;
    }
    out.append(text.substr(at));
    return out;
}

std::string formatted_source(std::string_view text, SourceKind kind) {
    const SourceCheck check =
        kind == SourceKind::linea ? check_linea(text, true) : check_treno(text, std::nullopt);
    return apply_edits(text, layout_edits(text, check));
}

}  // namespace scenario
