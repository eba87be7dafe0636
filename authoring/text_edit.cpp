#include "authoring/text_edit.h"

#include <algorithm>
#include <vector>

namespace scenario {

namespace {

bool is_blank(char c) {
    return c == ' ' || c == '\t';
}

// The field's own bytes: its number and the blanks before it that the
// reader skips as leading blanks, that is those after a comma or at a
// line's start. Blanks after a number ended by a blank are that number's
// separator, and stay.
std::size_t field_start(std::string_view text, const FieldSpan& span) {
    std::size_t b = span.begin;
    while (b > 0 && is_blank(text[b - 1]))
        --b;
    const bool leading = b == 0 || text[b - 1] == ',' || text[b - 1] == '\n';
    return leading ? b : span.begin;
}

}  // namespace

std::optional<TextEdit> number_edit(std::string_view text, const FieldSpan& span,
                                    std::int64_t value) {
    if (span.end > text.size() || span.begin > span.end) return std::nullopt;
    const DecimalText now = decimal_text(text.substr(span.begin, span.end - span.begin));
    if (now.is_number && now.value == value) return std::nullopt;
    const std::size_t begin = field_start(text, span);
    std::string number = std::to_string(value);
    const std::size_t width = span.end - begin;
    if (number.size() < width) number.insert(0, width - number.size(), ' ');
    return TextEdit{begin, span.end, std::move(number)};
}

std::optional<std::string> apply_edits(std::string_view text, std::span<const TextEdit> edits) {
    std::vector<const TextEdit*> order;
    for (const TextEdit& e : edits)
        order.push_back(&e);
    std::ranges::stable_sort(order, {}, [](const TextEdit* e) { return e->begin; });
    std::string out;
    std::size_t at = 0;
    for (const TextEdit* e : order) {
        if (e->begin < at || e->end < e->begin || e->end > text.size()) return std::nullopt;
        out.append(text.substr(at, e->begin - at));
        out += e->text;
        at = e->end;
    }
    out.append(text.substr(at));
    return out;
}

}  // namespace scenario
