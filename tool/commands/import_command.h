// `import`: a whole scenario from a map extract, the line from one station
// to another as the map has it, with the ground from elevation models.
#pragma once

#include <span>
#include <string>

#include "tool/commands/tool.h"

namespace scenario {

int import_command(std::span<const std::string> args, ToolContext& ctx);

}  // namespace scenario
