// `view`: a live viewer of the author's scenario in the browser, served on
// the loopback address and updated on every save.
#pragma once

#include <span>
#include <string>

#include "tool/commands/tool.h"

namespace scenario {

int view_command(std::span<const std::string> args, ToolContext& ctx);

}  // namespace scenario
