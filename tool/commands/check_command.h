// `check`: every diagnostic of an author's two source files, in one run,
// without writing anything.
#pragma once

#include <span>
#include <string>

#include "tool/commands/tool.h"

namespace scenario {

int check_command(std::span<const std::string> args, ToolContext& ctx);

// The exit status of `check` for diagnostics of a build: 1 when nothing
// could be compiled, 2 for a recorded code or any other error (and, with
// `werror`, any warning), otherwise 0.
struct DiagnosedBuild;
int check_exit_status(const DiagnosedBuild& b, bool werror);

}  // namespace scenario
