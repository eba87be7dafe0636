// The scenario a command reads from the author's folder: FOLDER, --line,
// --train and --stock, as `check`, `run` and `documents` take them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "output/file_names.h"
#include "tool/commands/command_line.h"
#include "tool/commands/tool.h"
#include "tool/diagnostics/diagnosed_build.h"

namespace scenario {

struct ScenarioRequest {
    std::string folder;
    std::string nome_linea;
    std::string numero_treno;
    ScenarioFiles files;
    std::string stock_path;  // empty: the train file's default train
};

// The line and train that --line and --train name; without them, the
// builder's own, unless `folder` holds none of its files and one scenario
// of other names only (by its source files, else by its compiled table).
std::pair<std::string, std::string> scenario_names(const ParsedArgs& parsed, const ToolContext& ctx,
                                                   const std::string& folder);

// The request the arguments name; the exit status of a usage error, told on
// the error stream, when they name none.
std::optional<int> scenario_request(const ParsedArgs& parsed, ToolContext& ctx,
                                    std::string_view command, ScenarioRequest* out);

// Builds the scenario as `check` does, writing nothing, and runs its train;
// with `card`, sets the folder's train card against the timetable too.
void build_with_run(const ScenarioRequest& r, ToolContext& ctx, DiagnosedBuild& b,
                    bool card = true);

}  // namespace scenario
