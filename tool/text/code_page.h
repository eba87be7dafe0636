// Texts of the compiled files hold one Windows-1252 byte per character;
// the tool prints UTF-8.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace scenario {

// Each byte as the character it stands for in Windows-1252, encoded in
// UTF-8. The five bytes that code page leaves undefined keep their own
// number as a code point, so no byte is lost.
std::string ansi_to_utf8(std::string_view ansi);

// Replaces every byte that is not part of a well-formed UTF-8 sequence by
// U+FFFD, so that a name from the system is always printable.
std::string valid_utf8(std::string_view text);

// The length of the well-formed UTF-8 sequence at text[at], storing the
// code point it carries in `c`; 0 when the bytes there are not one.
// REQUIRES: at < text.size().
std::size_t utf8_sequence(std::string_view text, std::size_t at, char32_t* c);

// Appends `c` encoded in UTF-8. REQUIRES: c is a code point, not a surrogate.
void append_utf8(std::string& out, char32_t c);

// The Windows-1252 byte that stands for `c`, the inverse of ansi_to_utf8;
// nothing for a character that code page lacks.
std::optional<char> ansi_byte(char32_t c);

// UTF-8 as Windows-1252: each character its byte, "?" for one the code page
// lacks and for each byte that is not part of a well-formed sequence, so
// that every character still stands for one byte.
std::string utf8_to_ansi(std::string_view utf8);

}  // namespace scenario
