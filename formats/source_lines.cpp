#include "formats/source_lines.h"

#include <algorithm>

#include "formats/field_reader.h"

namespace scenario {

SourceLines::SourceLines(std::string_view text) : text_(text), starts_{0} {
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t eol = line_end_length(text, at);
        if (eol == 0) {
            ++at;
            continue;
        }
        ends_.push_back(at);
        at += eol;
        // A text that ends with its line end has no line after it.
        if (at < text.size()) starts_.push_back(at);
    }
    if (ends_.size() < starts_.size()) ends_.push_back(text.size());
}

TextPosition SourceLines::at(std::size_t offset) const {
    offset = std::min(offset, text_.size());
    const auto next = std::upper_bound(starts_.begin(), starts_.end(), offset);
    const auto index = static_cast<std::size_t>(next - starts_.begin()) - 1;
    const std::size_t within = std::min(offset, ends_[index]) - starts_[index];
    return {static_cast<std::int32_t>(index + 1), static_cast<std::int32_t>(within + 1)};
}

std::size_t SourceLines::offset(TextPosition p) const {
    if (p.line < 1) return 0;
    if (p.line > count()) return text_.size();
    const auto index = static_cast<std::size_t>(p.line - 1);
    const std::size_t within = p.column < 1 ? 0 : static_cast<std::size_t>(p.column - 1);
    return std::min(starts_[index] + within, ends_[index]);
}

std::string_view SourceLines::line(std::int32_t number) const {
    if (number < 1 || number > count()) return {};
    const auto index = static_cast<std::size_t>(number - 1);
    return text_.substr(starts_[index], ends_[index] - starts_[index]);
}

}  // namespace scenario
