// `format`: lays out the records of source files as the builder writes its
// own, or with --check says which files that would change.
#pragma once

#include <span>
#include <string>

#include "tool/commands/tool.h"

namespace scenario {

int format_command(std::span<const std::string> args, ToolContext& ctx);

}  // namespace scenario
