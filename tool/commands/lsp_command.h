// `lsp`: the language server for the two source formats, on standard input
// and output, for editors that speak the Language Server Protocol.
#pragma once

#include <span>
#include <string>

#include "tool/commands/tool.h"

namespace scenario {

int lsp_command(std::span<const std::string> args, ToolContext& ctx);

}  // namespace scenario
