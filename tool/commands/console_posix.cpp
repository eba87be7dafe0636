#include <unistd.h>

#include "tool/commands/console.h"

namespace scenario {

bool is_terminal(std::FILE* stream) {
    return isatty(fileno(stream)) != 0;
}

// The system passes bytes through unchanged already.
void binary_stdio() {}

}  // namespace scenario
