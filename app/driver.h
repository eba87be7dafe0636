// Start-up and control flow of the builder: the whole run, in order.
#pragma once

#include <string_view>

#include "app/platform.h"
#include "output/file_system.h"

namespace scenario {

inline constexpr std::string_view kNomeLinea = "Alvena_Sorbio";
inline constexpr std::string_view kNumeroTreno = "4271";

// Exit statuses of the program.
inline constexpr int kExitClean = 0;     // every file written, nothing recorded
inline constexpr int kExitFatal = 1;     // ended early: nothing, or not everything, written
inline constexpr int kExitRecorded = 2;  // every file written, with a recorded failure

// Runs the whole build and returns the exit status.
int run_builder(Platform& platform, FileSystem& fs);

// `errore`: shows " Errore n. " followed by `a`. The caller ends the program.
void errore(Platform& platform, std::string_view a);

}  // namespace scenario
