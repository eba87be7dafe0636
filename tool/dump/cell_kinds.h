// The kinds of object a route cell holds, in words for the author: an
// object a record kind puts there is named as the record kind is, as the
// diagnostics name it.
#pragma once

#include <cstdint>
#include <string_view>

namespace scenario {

// "signal", "station stop", ... for a known `tipo`, "none" for 0 and
// "unknown" for a number no compiler writes.
std::string_view tipo_name(std::uint8_t tipo);

}  // namespace scenario
