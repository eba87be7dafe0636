// A document as an editor holds it and as the compiler reads it. The
// editor sends UTF-8 and counts positions in 0-based lines and in UTF-16
// code units (or UTF-8 bytes, or code points, as agreed); the compiler
// reads single Windows-1252 bytes. Every character that code page has
// becomes its byte; any other, which no source file written in it can
// hold, becomes "?" so that it still stands for one character. Lines are
// counted as the editor counts them, ended by CR LF, LF or a lone CR, so
// that every byte maps to the place where the editor shows it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace scenario {

enum class PositionEncoding : std::uint8_t { utf16, utf8, utf32 };

// "utf-16", "utf-8", "utf-32": the names the protocol uses.
std::string_view encoding_name(PositionEncoding e);

struct EditorPosition {
    std::int64_t line = 0;       // 0-based
    std::int64_t character = 0;  // 0-based, in units of the encoding
};

class EditorText {
  public:
    EditorText() = default;
    EditorText(std::string_view utf8, PositionEncoding encoding);

    // The text as the compiler reads it.
    const std::string& bytes() const { return bytes_; }

    // Where the editor shows the byte at `offset` (the end of the text for
    // an offset beyond it).
    EditorPosition position(std::size_t offset) const;

    // The byte at an editor position; a position inside a character is
    // that character's, one past the end of its line is the line end, and
    // one past the last line the end of the text.
    std::size_t offset(EditorPosition p) const;

  private:
    // The editor's units before byte `offset`, counted from `line_start`.
    std::int64_t units(std::size_t line_start, std::size_t offset) const;

    std::string bytes_;
    std::vector<std::size_t> line_starts_;
    std::vector<std::size_t> line_ends_;  // where each line's line end begins
    // The characters that take more than one unit, in order: their byte
    // and the units they take beyond one, summed up to and including them.
    std::vector<std::size_t> wide_at_;
    std::vector<std::int64_t> wide_extra_;
};

}  // namespace scenario
