// The viewer's one page, HTML with its style and script inside: nothing is
// fetched from anywhere but this server's own paths.
#pragma once

#include <string_view>

namespace scenario {

std::string_view view_page();

}  // namespace scenario
