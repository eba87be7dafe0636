#include <fcntl.h>
#include <io.h>

#include "tool/commands/console.h"

namespace scenario {

bool is_terminal(std::FILE* stream) {
    return _isatty(_fileno(stream)) != 0;
}

void binary_stdio() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
}

}  // namespace scenario
