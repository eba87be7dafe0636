// `compile`: an author's line and train source files into the compiled
// files, by the builder's own procedure, leaving the sources in place.
#pragma once

#include <span>
#include <string>

#include "tool/commands/tool.h"

namespace scenario {

int compile_command(std::span<const std::string> args, ToolContext& ctx);

}  // namespace scenario
