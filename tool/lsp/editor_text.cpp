#include "tool/lsp/editor_text.h"

#include <algorithm>

#include "tool/text/code_page.h"

namespace scenario {

namespace {

constexpr char kUnmapped = '?';
constexpr char32_t kFirstAstral = 0x10000;  // needs two UTF-16 units

std::int64_t width(char32_t c, std::size_t utf8_length, PositionEncoding encoding) {
    switch (encoding) {
        case PositionEncoding::utf16:
            return c >= kFirstAstral ? 2 : 1;
        case PositionEncoding::utf8:
            return static_cast<std::int64_t>(utf8_length);
        case PositionEncoding::utf32:
            break;
    }
    return 1;
}

}  // namespace

std::string_view encoding_name(PositionEncoding e) {
    switch (e) {
        case PositionEncoding::utf16:
            return "utf-16";
        case PositionEncoding::utf8:
            return "utf-8";
        case PositionEncoding::utf32:
            break;
    }
    return "utf-32";
}

EditorText::EditorText(std::string_view utf8, PositionEncoding encoding) : line_starts_{0} {
    bytes_.reserve(utf8.size());
    std::int64_t extra = 0;
    for (std::size_t at = 0; at < utf8.size();) {
        // A run of ASCII, most of any source, is its own bytes.
        const std::size_t run = at;
        while (at < utf8.size() && static_cast<unsigned char>(utf8[at]) < 0x80)
            ++at;
        bytes_.append(utf8.substr(run, at - run));
        if (at == utf8.size()) break;
        char32_t c = 0;
        std::size_t n = utf8_sequence(utf8, at, &c);
        const bool broken = n == 0;
        if (broken) n = 1;  // a byte that is no UTF-8 stands for one character
        const std::int64_t w = broken ? 1 : width(c, n, encoding);
        if (w > 1) {
            extra += w - 1;
            wide_at_.push_back(bytes_.size());
            wide_extra_.push_back(extra);
        }
        bytes_ += broken ? kUnmapped : ansi_byte(c).value_or(kUnmapped);
        at += n;
    }
    for (std::size_t i = 0; i < bytes_.size(); ++i) {
        if (bytes_[i] != '\r' && bytes_[i] != '\n') continue;
        line_ends_.push_back(i);
        if (bytes_[i] == '\r' && i + 1 < bytes_.size() && bytes_[i + 1] == '\n') ++i;
        line_starts_.push_back(i + 1);
    }
    line_ends_.push_back(bytes_.size());
}

std::int64_t EditorText::units(std::size_t line_start, std::size_t offset) const {
    const auto extra_before = [&](std::size_t at) -> std::int64_t {
        const auto i = std::lower_bound(wide_at_.begin(), wide_at_.end(), at) - wide_at_.begin();
        return i == 0 ? 0 : wide_extra_[static_cast<std::size_t>(i - 1)];
    };
    return static_cast<std::int64_t>(offset - line_start) + extra_before(offset) -
           extra_before(line_start);
}

EditorPosition EditorText::position(std::size_t offset) const {
    offset = std::min(offset, bytes_.size());
    const auto next = std::upper_bound(line_starts_.begin(), line_starts_.end(), offset);
    const auto line = static_cast<std::size_t>(next - line_starts_.begin()) - 1;
    offset = std::min(offset, line_ends_[line]);
    return {static_cast<std::int64_t>(line), units(line_starts_[line], offset)};
}

std::size_t EditorText::offset(EditorPosition p) const {
    if (p.line < 0) return 0;
    if (p.line >= static_cast<std::int64_t>(line_starts_.size())) return bytes_.size();
    const std::size_t start = line_starts_[static_cast<std::size_t>(p.line)];
    std::size_t low = start;
    std::size_t high = line_ends_[static_cast<std::size_t>(p.line)];
    // The last byte of the line whose units do not pass the position.
    while (low < high) {
        const std::size_t mid = low + (high - low + 1) / 2;
        if (units(start, mid) <= p.character) {
            low = mid;
        } else {
            high = mid - 1;
        }
    }
    return low;
}

}  // namespace scenario
