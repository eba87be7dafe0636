// `explain`: what a recorded code, a diagnostic identifier or a record
// keyword means, from the same tables that fill the format reference.
#pragma once

#include <span>
#include <string>

#include "tool/commands/tool.h"

namespace scenario {

int explain_command(std::span<const std::string> args, ToolContext& ctx);

}  // namespace scenario
