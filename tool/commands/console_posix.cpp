#include <unistd.h>

#include <ios>

#include "tool/commands/console.h"

namespace scenario {

bool is_terminal(std::FILE* stream) {
    return isatty(fileno(stream)) != 0;
}

// The system passes bytes through unchanged already; the standard streams
// stop waiting on C's, so that input is read in blocks, not a byte a call.
void binary_stdio() {
    std::ios::sync_with_stdio(false);
}

}  // namespace scenario
