// `run`: the fastest run of the train over its route, set against its
// timetable, station by station.
#pragma once

#include <span>
#include <string>

#include "tool/commands/tool.h"

namespace scenario {

int run_command(std::span<const std::string> args, ToolContext& ctx);

}  // namespace scenario
