#include "tool/features/field_hover.h"

#include "authoring/diagnose.h"
#include "compiler/model.h"
#include "compiler/route_rules.h"
#include "formats/field_reader.h"
#include "tool/features/source_outline.h"
#include "tool/text/code_page.h"

namespace scenario {

namespace {

// The two forms of a note: Markdown, or plain text for editors without it.
class Markup {
  public:
    explicit Markup(bool markdown) : markdown_(markdown) {}

    std::string strong(std::string_view s) const { return wrap("**", s); }
    // Text of the source, or a name from the table.
    std::string code(std::string_view s) const { return wrap("`", without_backticks(s)); }
    // A sentence of the table, whose names stand in backticks.
    std::string prose(std::string_view s) const {
        return markdown_ ? std::string(s) : without_backticks(s);
    }

  private:
    std::string wrap(std::string_view mark, std::string_view s) const {
        if (!markdown_) return std::string(s);
        return std::string(mark) + std::string(s) + std::string(mark);
    }
    static std::string without_backticks(std::string_view s) {
        std::string out;
        for (const char c : s) {
            if (c != '`') out += c;
        }
        return out;
    }

    bool markdown_;
};

std::string_view block_name(RecordBlock block) {
    switch (block) {
        case RecordBlock::line_header:
            return "Line file header record";
        case RecordBlock::line_body:
            return "Line file record";
        case RecordBlock::train:
            break;
    }
    return "Train file record";
}

std::string range_text(const FieldInfo& f) {
    const bool from_lowest = f.min <= type_min(f.type);
    const bool to_highest = f.max >= type_max(f.type);
    if (from_lowest && to_highest) return "any " + std::string(field_type_name(f.type)) + " value";
    if (to_highest) return std::to_string(f.min) + " or more";
    if (from_lowest) return "at most " + std::to_string(f.max);
    return std::to_string(f.min) + " to " + std::to_string(f.max);
}

std::string type_line(const FieldInfo& f) {
    std::string line(field_type_name(f.type));
    if (f.type == FieldType::text) return line;
    if (!f.unit.empty()) line += ", " + std::string(f.unit);
    line += ", " + range_text(f);
    if (f.multiple != 0 && f.code != 0) {
        line += "; a multiple of " + std::to_string(f.multiple) + ", else code " +
                std::to_string(f.code);
    }
    return line;
}

// The cell that position `p` lands on, and the rounding that takes it there.
std::string cell_reading(std::int64_t p, CellRule rule) {
    const std::int64_t cell = rule == CellRule::cell_after ? cell_after(p) : cell_of(p);
    std::string s = cell_text(cell) + ", ";
    const std::string quotient = std::to_string(p) + " / " + std::to_string(kMetriCella);
    s += rule == CellRule::cell_after ? "the cell after it, R(" + quotient + " + 1)"
                                      : "its cell, R(" + quotient + ")";
    return s;
}

// What the compiler takes from the field's text.
std::string value_line(const RecordKind& kind, const FieldInfo& f, std::string_view token,
                       const Markup& m) {
    if (f.type == FieldType::text) {
        if (token.empty()) return "Reads an empty text";
        return "Reads " + m.code(ansi_to_utf8(token));
    }
    if (token.empty()) return "Empty: reads 0";
    const DecimalText d = decimal_text(token);
    if (!d.is_number) return m.code(ansi_to_utf8(token)) + " is not a number: reads 0";
    const std::int64_t v = d.value;
    if (v < type_min(f.type) || v > type_max(f.type)) {
        return std::to_string(v) + " does not fit a " + std::string(field_type_name(f.type)) +
               " field: a read failure, the compile ends with code 25";
    }
    std::string line = "Reads " + m.strong(std::to_string(v));
    if (!f.unit.empty()) line += " " + std::string(f.unit);
    const CellRule rule = cell_rule(kind.id, f);
    if (rule != CellRule::none) line += ": " + cell_reading(v, rule);
    if (const std::int64_t kept = kept_speed(v); f.role == FieldRole::speed && kept != v)
        line += ", kept as " + std::to_string(kept) + " km/h";
    if (f.role == FieldRole::tempo && tempo_raised(v))
        line += ", raised to " + std::to_string(kShortestTempo);
    return line;
}

std::string field_note(std::string_view text, const FieldAt& at, const Markup& m) {
    const RecordKind& kind = record_kind(at.record->kind);
    const std::size_t i = *at.field;
    const FieldInfo& f = kind.fields[i];
    const std::string_view token = text.substr(at.span.begin, at.span.end - at.span.begin);
    return m.strong(kind.name) + ", field " + std::to_string(i + 1) + " of " +
           std::to_string(kind.fields.size()) + ": " + m.strong(f.name) + "\n\n" + type_line(f) +
           "\n\n" + m.prose(f.meaning) + "\n\n" + value_line(kind, f, token, m);
}

std::string keyword_note(const FieldAt& at, const Markup& m) {
    const RecordKind& kind = record_kind(at.record->kind);
    std::string words = "holding " + m.code(kind.word);
    if (!kind.also.empty()) words += " and " + m.code(kind.also);
    if (kind.letters == WordCase::lower) words += " in lower case";
    std::string names;
    for (const FieldInfo& f : kind.fields)
        names += (names.empty() ? "" : ", ") + m.code(f.name);
    return m.strong(kind.name) + ": " + m.prose(kind.meaning) + "\n\n" +
           std::string(block_name(kind.block)) + ", selected by a keyword " + words + "; " +
           std::to_string(kind.fields.size()) + " value field" +
           (kind.fields.size() == 1 ? "" : "s") + ": " + names +
           "\n\nExample: " + m.code(kind.example);
}

}  // namespace

CellRule cell_rule(RecordKindId kind, const FieldInfo& field) {
    if (field.role == FieldRole::station) return CellRule::cell_of;
    if (field.role != FieldRole::position) return CellRule::none;
    switch (kind) {
        case RecordKindId::cartello_indicatore:
        case RecordKindId::indicatori_vmax:
        case RecordKindId::segnale:
        case RecordKindId::rallentamento:
            return CellRule::cell_after;
        default:
            break;
    }
    return CellRule::cell_of;
}

std::optional<HoverNote> hover_note(std::string_view text, const SourceCheck& check,
                                    std::size_t offset, bool markdown) {
    const std::optional<FieldAt> at = field_at(check, offset);
    if (!at) return std::nullopt;
    const Markup m(markdown);
    const std::size_t fields = record_kind(at->record->kind).fields.size();
    if (at->field && *at->field >= fields) return std::nullopt;
    return HoverNote{at->field ? field_note(text, *at, m) : keyword_note(*at, m), at->span};
}

}  // namespace scenario
