// Lines and columns of a source text, counted as the field reader counts
// them: a line ends at CR LF or at a bare LF. Columns are 1-based bytes of
// the line, which in a single-byte code page are its characters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace scenario {

struct TextPosition {
    std::int32_t line = 0;
    std::int32_t column = 0;
};

class SourceLines {
  public:
    explicit SourceLines(std::string_view text);

    // The line and column of byte `offset`; an offset at a line end, or at
    // the end of the text, is the column just past the line's last byte.
    TextPosition at(std::size_t offset) const;

    // The byte offset of a line and column, the inverse of `at`: a column
    // past the line's end is its line end, a line past the last the end of
    // the text.
    std::size_t offset(TextPosition p) const;

    // The text of a 1-based line, without its line end; empty past the last.
    std::string_view line(std::int32_t number) const;

    std::int32_t count() const { return static_cast<std::int32_t>(starts_.size()); }

  private:
    std::string_view text_;
    std::vector<std::size_t> starts_;  // offset of the first byte of each line
    std::vector<std::size_t> ends_;    // offset of its line end, or of the end of the text
};

}  // namespace scenario
