// `plot`: one SVG picture of a compiled scenario.
#pragma once

#include <span>
#include <string>

#include "tool/commands/tool.h"

namespace scenario {

int plot_command(std::span<const std::string> args, ToolContext& ctx);

}  // namespace scenario
