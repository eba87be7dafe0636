// `init`: a first scenario for an author to change, the builder's own: its
// two source files under the author's names and its three documents as
// templates.
#pragma once

#include <span>
#include <string>

#include "tool/commands/tool.h"

namespace scenario {

int init_command(std::span<const std::string> args, ToolContext& ctx);

}  // namespace scenario
