// What the tool needs from the console that each system gives in its own
// way; CMake picks the source for the system built for.
#pragma once

#include <cstdio>

namespace scenario {

// Whether `stream` goes to a terminal, where a person reads it.
bool is_terminal(std::FILE* stream);

// The language server's messages are counted in bytes: the C runtime must
// neither add nor take a CR on standard input and output. Call before the
// standard streams are used.
void binary_stdio();

}  // namespace scenario
