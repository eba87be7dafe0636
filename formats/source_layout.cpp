#include "formats/source_layout.h"

#include "formats/keywords.h"

namespace scenario {

bool is_comment(std::string_view field) {
    return contains_exact(field, "-");
}

bool is_section_title(std::string_view field) {
    return contains_exact(field, "[") && contains_exact(field, "]");
}

bool ends_header(std::string_view field) {
    const std::size_t first = field.find_first_not_of(' ');
    const bool comment = first != std::string_view::npos && field[first] == '-';
    return !comment && is_section_title(field);
}

// The field that ends the file is never examined, even when it holds
// "[generale]".
Preamble skip_preamble(FieldReader& in, std::string* riga) {
    for (;;) {
        if (!in.read_text(riga)) return Preamble::fail;
        if (in.at_end()) return Preamble::end;
        if (contains_word(*riga, kGenerale)) return Preamble::found;
    }
}

KeywordRead read_keyword(FieldReader& in, std::string* riga, CommentRule rule,
                         CommentTrace* trace) {
    if (!in.read_text(riga)) return KeywordRead::fail;
    if (in.at_end()) return KeywordRead::end;
    for (int i = 0; i < rule.max_in_a_row && is_comment(*riga); ++i) {
        if (trace != nullptr)
            trace->skipped[static_cast<std::size_t>(trace->count++)] = in.last_field();
        if (!in.read_text(riga)) return KeywordRead::fail;
        if (rule.end_test_between && in.at_end()) return KeywordRead::end;
    }
    return KeywordRead::keyword;
}

}  // namespace scenario
