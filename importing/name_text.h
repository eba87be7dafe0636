// Names from the map (UTF-8) as the source files hold them: upper case, one
// Windows-1252 byte a character, letters the code page lacks written
// without their marks, and no comma (a text field ends at one).
#pragma once

#include <string>
#include <string_view>

namespace scenario::importing {

std::string upper_windows_1252(std::string_view utf8);

// The name in plain ASCII letters, digits and `_`, for file names.
std::string ascii_identifier(std::string_view utf8);

}  // namespace scenario::importing
