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

}  // namespace

void PendingChangeScanner::feed(std::string_view piece) {
    if (found_) return;
    std::string text = carry_;
    text.append(piece);
    carry_.clear();
    scan(text);
}

void PendingChangeScanner::scan(std::string_view text) {
    std::size_t at = 0;
    while (!found_) {
        const std::size_t open = text.find('<', at);
        if (open == std::string_view::npos) return;
        const std::size_t close = text.find('>', open);
        if (close == std::string_view::npos) {
            if (text.size() - open <= kLongestStartTag) carry_ = std::string(text.substr(open));
            return;
        }
        const std::string_view tag = text.substr(open, close - open);
        at = close + 1;
        if (!is_element(tag)) continue;
        // Attribute values are quoted: look for " action=" outside quotes.
        char quote = 0;
        for (std::size_t i = 1; i < tag.size(); ++i) {
            const char c = tag[i];
            if (quote) {
                if (c == quote) quote = 0;
                continue;
            }
            if (c == '"' || c == '\'') {
                quote = c;
                continue;
            }
            if (is_blank(tag[i - 1]) && tag.substr(i, 6) == "action") {
                std::size_t j = i + 6;
                while (j < tag.size() && is_blank(tag[j]))
                    ++j;
                if (j < tag.size() && tag[j] == '=') {
                    found_ = true;
                    const std::size_t v = tag.find_first_of("\"'", j);
                    if (v != std::string_view::npos) {
                        const std::size_t e = tag.find(tag[v], v + 1);
                        action_ = std::string(
                            tag.substr(v + 1, e == std::string_view::npos ? 16 : e - v - 1));
                    }
                    return;
                }
            }
        }
    }
}

}  // namespace scenario::importing
