// The embedded scenario, as the lines of each emitted file. Each table ends
// with the sentinel entry.
#pragma once

#include <span>
#include <string_view>

namespace scenario {

// The identity of the embedded scenario, from which every file name is formed.
inline constexpr std::string_view kNomeLinea = "Alvena_Sorbio";
inline constexpr std::string_view kNumeroTreno = "4271";

std::span<const std::string_view> testo_linea();          // the line source file
std::span<const std::string_view> testo_treno();          // the train source file
std::span<const std::string_view> testo_note();           // notes for the driver
std::span<const std::string_view> testo_rallentamenti();  // slowdown bulletin
std::span<const std::string_view> testo_scheda();         // train card

}  // namespace scenario
