#include "content/emitter.h"

#include "content/embedded_texts.h"

namespace scenario {

namespace {

bool emit(FileSystem& fs, const std::string& path, std::span<const std::string_view> table,
          FileError* error) {
    return fs.replace(path, emit_text(table), error);
}

}  // namespace

std::string emit_text(std::span<const std::string_view> table) {
    std::string out;
    for (std::string_view entry : table) {
        if (entry == kSentinella) break;
        out += entry;
        out += "\r\n";
    }
    return out;
}

bool dati_linea(FileSystem& fs, const ScenarioFiles& files, FileError* error) {
    return emit(fs, files.linea_txt, testo_linea(), error);
}

bool dati_treno(FileSystem& fs, const ScenarioFiles& files, FileError* error) {
    return emit(fs, files.treno_txt, testo_treno(), error);
}

bool dati_note(FileSystem& fs, const ScenarioFiles& files, FileError* error) {
    return emit(fs, files.note, testo_note(), error);
}

bool dati_rallentamenti(FileSystem& fs, const ScenarioFiles& files, FileError* error) {
    return emit(fs, files.rallentamenti, testo_rallentamenti(), error);
}

bool dati_scheda(FileSystem& fs, const ScenarioFiles& files, FileError* error) {
    return emit(fs, files.scheda, testo_scheda(), error);
}

}  // namespace scenario
