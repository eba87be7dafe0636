// Texts of the compiled files hold one Windows-1252 byte per character;
// the tool prints UTF-8.
#pragma once

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

}  // namespace scenario
