// The import in a build made without the map libraries.
#include <ostream>

#include "tool/commands/import_command.h"

namespace scenario {

int import_command(std::span<const std::string>, ToolContext& ctx) {
    ctx.err << kToolName << " import: this build has no import; install the Debian packages "
            << SCENARIO_IMPORT_PACKAGES << " and build again\n";
    return kExitFatal;
}

}  // namespace scenario
