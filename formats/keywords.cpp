#include "formats/keywords.h"

#include <algorithm>

namespace scenario {

namespace {

char fold(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool same_letter(char a, char b) {
    return fold(a) == fold(b);
}

}  // namespace

bool contains_word(std::string_view field, std::string_view word) {
    return find_word(field, word) != std::string_view::npos;
}

std::size_t find_word(std::string_view field, std::string_view word) {
    if (word.empty()) return 0;
    const auto at = std::search(field.begin(), field.end(), word.begin(), word.end(), same_letter);
    return at == field.end() ? std::string_view::npos
                             : static_cast<std::size_t>(at - field.begin());
}

bool contains_exact(std::string_view field, std::string_view word) {
    return field.find(word) != std::string_view::npos;
}

}  // namespace scenario
