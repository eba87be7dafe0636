// Start-up and control flow of the builder: the whole run, in order.
#pragma once

#include <string_view>

#include "app/platform.h"
#include "content/embedded_texts.h"
#include "output/exit_status.h"
#include "output/file_system.h"

namespace scenario {

// Runs the whole build and returns the exit status.
int run_builder(Platform& platform, FileSystem& fs);

// `errore`: shows " Errore n. " followed by `a`. The caller ends the program.
void errore(Platform& platform, std::string_view a);

}  // namespace scenario
