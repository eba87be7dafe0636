// The kinds of object a route cell holds, in words for the author.
#pragma once

#include <cstdint>
#include <string_view>

namespace scenario {

// "signal", "station stop", ... for a known `tipo`, "none" for 0 and
// "unknown" for a number no compiler writes.
std::string_view tipo_name(std::uint8_t tipo);

}  // namespace scenario
