#include <fcntl.h>
#include <io.h>

#include <ios>

#include "tool/commands/console.h"

namespace scenario {

bool is_terminal(std::FILE* stream) {
    return _isatty(_fileno(stream)) != 0;
}

// The standard streams stop waiting on C's, so that input is read in
// blocks, not a byte a call.
void binary_stdio() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    std::ios::sync_with_stdio(false);
}

}  // namespace scenario
