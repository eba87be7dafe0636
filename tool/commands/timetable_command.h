// `timetable`: a timetable drafted from the fastest run of the train, set
// beside the one the train file has, and written into it on request.
#pragma once

#include <span>
#include <string>

#include "tool/commands/tool.h"

namespace scenario {

int timetable_command(std::span<const std::string> args, ToolContext& ctx);

}  // namespace scenario
