// `documents`: the driver's train card and slowdown bulletin, made from the
// two sources and the run of the train.
#pragma once

#include <iosfwd>
#include <span>
#include <string>

#include "output/file_names.h"
#include "tool/commands/tool.h"

namespace scenario {

int documents_command(std::span<const std::string> args, ToolContext& ctx);

// Writes the card and the bulletin of a build whose train has run into
// `files.scheda` and `files.rallentamenti`, saying so on `ctx.out` unless
// `quiet`; false, said on `ctx.err`, when there is no run to make them from
// or a file cannot be written.
struct DiagnosedBuild;
bool write_documents(const DiagnosedBuild& b, const ScenarioFiles& files, ToolContext& ctx,
                     bool quiet = false);

}  // namespace scenario
