#include "tool/reference/record_text.h"

#include <algorithm>

#include "content/embedded_texts.h"
#include "formats/field_reader.h"

namespace scenario {

namespace {

std::string quoted(std::string_view word) {
    return "`" + std::string(word) + "`";
}

// "a", "a and b", "a, b and c".
std::string listed(const std::vector<std::string>& items) {
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0) out += i + 1 == items.size() ? " and " : ", ";
        out += items[i];
    }
    return out;
}

// What the compiler does with a field of each role, beyond storing it.
std::string role_text(const FieldInfo& f) {
    switch (f.role) {
        case FieldRole::position:
            return "range-tested (code 15), then taken to its 50 m cell";
        case FieldRole::station:
            return "range-tested with room for the far end (code 15)";
        case FieldRole::start:
            return "range-tested (code 15); the curve starts at this very metre";
        case FieldRole::speed:
            return "rounded to a multiple of 5 km/h; outside the range, a read failure (code 25)";
        case FieldRole::tempo:
            return "1 to 100 become 101";
        case FieldRole::text:
            return "read up to the next comma or the line end";
        case FieldRole::value:
            break;
    }
    return {};
}

void add(std::string& text, std::string_view part) {
    if (part.empty()) return;
    if (!text.empty()) text += "; ";
    text += part;
}

}  // namespace

std::string_view block_text(RecordBlock block) {
    switch (block) {
        case RecordBlock::line_header:
            return "line file, header block";
        case RecordBlock::line_body:
            return "line file, body";
        case RecordBlock::train:
            break;
    }
    return "train file";
}

std::string keyword_text(const RecordKind& kind) {
    std::string text = "The keyword field holds " + quoted(kind.word);
    if (!kind.also.empty()) text += " and " + quoted(kind.also);
    text += kind.letters == WordCase::lower ? ", in lower case" : ", in any letter case";
    const std::size_t n = kind.fields.size();
    text += "; " + std::to_string(n) + (n == 1 ? " value field follows." : " value fields follow.");
    return text;
}

std::string codes_text(const RecordKind& kind) {
    if (kind.codes.empty()) return "25 only, for a read failure";
    std::vector<std::string> codes;
    for (const std::int32_t code : kind.codes)
        codes.push_back(std::to_string(code));
    return listed(codes) + ", and 25 for a read failure";
}

std::string range_text(const FieldInfo& f) {
    if (f.type == FieldType::text) return "no comma";
    const bool from_lowest = f.min == type_min(f.type);
    const bool to_highest = f.max == type_max(f.type);
    if (from_lowest && to_highest) return "any";
    if (to_highest) return std::to_string(f.min) + " or more";
    if (from_lowest) return std::to_string(f.max) + " or less";
    return std::to_string(f.min) + " to " + std::to_string(f.max);
}

std::string handling_text(const FieldInfo& f) {
    std::string text = role_text(f);
    if (f.beyond == Beyond::low_bits)
        add(text, "outside the range, only its low-order bits are kept");
    if (f.beyond == Beyond::refused) add(text, "outside the range: the record is refused, code 25");
    if (f.multiple != 0) {
        add(text, "not a multiple of " + std::to_string(f.multiple) + ": " +
                      (f.code != 0 ? "code " + std::to_string(f.code) : "rounded"));
    }
    return text;
}

std::vector<std::string> example_values(const RecordKind& kind) {
    FieldReader in(kind.example);
    std::string keyword;
    std::vector<std::string> values;
    if (!in.read_text(&keyword)) return values;
    for (const FieldInfo& f : kind.fields) {
        std::string text;
        std::int32_t number = 0;
        if (f.type == FieldType::text ? !in.read_text(&text) : !in.read_long(&number)) break;
        const FieldSpan span = in.last_field();
        values.push_back(std::string(kind.example.substr(span.begin, span.end - span.begin)));
    }
    return values;
}

bool example_is_embedded(const RecordKind& kind) {
    const auto holds = [&](std::span<const std::string_view> lines) {
        return std::find(lines.begin(), lines.end(), kind.example) != lines.end();
    };
    return holds(kind.block == RecordBlock::train ? testo_treno() : testo_linea());
}

std::string_view position_text(const ErrorCodeInfo& info) {
    return info.has_position ? "its position in metres" : "no position";
}

}  // namespace scenario
