// The emitters: each writes one embedded text to its file in the program's
// folder, one table entry per line, up to the sentinel entry.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "output/file_names.h"
#include "output/file_system.h"

namespace scenario {

// Marks the end of an emitter's table; it is never written.
inline constexpr std::string_view kSentinella = "riferimento fine del file";

// The bytes of a text file: the entries of `table` up to the first entry
// equal to the sentinel, each followed by CR LF. Texts hold single
// Windows-1252 bytes already, so no conversion happens here.
std::string emit_text(std::span<const std::string_view> table);

// Each writes its file; false, with `error` filled, when the file cannot be
// written.
bool dati_linea(FileSystem& fs, const ScenarioFiles& files, FileError* error);
bool dati_treno(FileSystem& fs, const ScenarioFiles& files, FileError* error);
bool dati_note(FileSystem& fs, const ScenarioFiles& files, FileError* error);
bool dati_rallentamenti(FileSystem& fs, const ScenarioFiles& files, FileError* error);
bool dati_scheda(FileSystem& fs, const ScenarioFiles& files, FileError* error);

}  // namespace scenario
