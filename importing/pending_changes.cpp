#include "importing/pending_changes.h"

namespace scenario::importing {

namespace {

// A start tag longer than this is no OSM element's: its carry is dropped
// so that no input makes the scanner hold more.
constexpr std::size_t kLongestStartTag = 1 << 16;

constexpr std::string_view kElements[] = {"<node", "<way", "<relation"};

bool is_element(std::string_view tag) {
    for (const std::string_view e : kElements) {
        if (tag.substr(0, e.size()) == e &&
            (tag.size() == e.size() || tag[e.size()] == ' ' || tag[e.size()] == '\t' ||
             tag[e.size()] == '\n' || tag[e.size()] == '\r'))
            return true;
    }
    return false;
}

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// The '>' that ends the tag opened at `open`, outside quoted attribute
// values (which may hold a '>'), or npos when the text ends first.
std::size_t tag_end(std::string_view text, std::size_t open) {
    char quote = 0;
    for (std::size_t i = open + 1; i < text.size(); ++i) {
        const char c = text[i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (c == '"' || c == '\'') {
            quote = c;
        } else if (c == '>') {
            return i;
        }
    }
    return std::string_view::npos;
}

// Calls each(name, value) for the attributes of a start tag, values
// unquoted; stops at the first thing that is not an attribute (the map
// library then says what is wrong with the file).
template <typename Each>
void for_each_attribute(std::string_view tag, Each each) {
    std::size_t i = tag.find_first_of(" \t\r\n");
    while (i < tag.size()) {
        while (i < tag.size() && (is_blank(tag[i]) || tag[i] == '/'))
            ++i;
        const std::size_t name_start = i;
        while (i < tag.size() && !is_blank(tag[i]) && tag[i] != '=')
            ++i;
        const std::string_view name = tag.substr(name_start, i - name_start);
        while (i < tag.size() && is_blank(tag[i]))
            ++i;
        if (i >= tag.size() || tag[i] != '=') return;
        ++i;
        while (i < tag.size() && is_blank(tag[i]))
            ++i;
        if (i >= tag.size() || (tag[i] != '"' && tag[i] != '\'')) return;
        const char quote = tag[i++];
        const std::size_t end = tag.find(quote, i);
        if (end == std::string_view::npos) return;
        each(name, tag.substr(i, end - i));
        i = end + 1;
    }
}

}  // namespace

void PendingChangeScanner::feed(std::string_view piece) {
    if (stopped()) return;
    std::string text = carry_;
    text.append(piece);
    carry_.clear();
    scan(text);
}

void PendingChangeScanner::scan(std::string_view text) {
    std::size_t at = 0;
    while (!stopped()) {
        const std::size_t open = text.find('<', at);
        if (open == std::string_view::npos) return;
        const std::size_t close = tag_end(text, open);
        if (close == std::string_view::npos) {
            if (text.size() - open <= kLongestStartTag) {
                carry_ = std::string(text.substr(open));
            } else if (is_element(text.substr(open, kLongestStartTag))) {
                unsafe_ =
                    "an element is longer than " + std::to_string(kLongestStartTag) + " bytes";
            }
            return;
        }
        const std::string_view tag = text.substr(open, close - open);
        at = close + 1;
        if (!is_element(tag)) continue;
        for_each_attribute(tag, [&](std::string_view name, std::string_view value) {
            if (name == "action" && !found_) {
                found_ = true;
                action_ = std::string(value.substr(0, 16));
            }
            const bool coordinate = name == "lat" || name == "lon";
            if (coordinate && value.find_first_of("eE&") != std::string_view::npos &&
                unsafe_.empty())
                unsafe_ = "the coordinate \"" + std::string(value.substr(0, 32)) +
                          "\" is not a plain decimal";
        });
    }
}

}  // namespace scenario::importing
