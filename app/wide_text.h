// Text at the edge of the Windows API: the program keeps UTF-8, the system
// wants UTF-16, so every path and message is converted where it crosses.
#pragma once

#include <string>
#include <string_view>

namespace scenario {

std::wstring to_wide(std::string_view utf8);
std::string to_utf8(std::wstring_view wide);

// The system's own description of an error code (GetLastError), in UTF-8,
// without the line break the system puts at its end.
std::string system_message(unsigned long code);

}  // namespace scenario
