// Placeholder until the compile-and-write procedure lands.
#include "output/memorizza_percorso.h"

namespace scenario {

BuildOutcome memorizza_percorso(Scenario& s, std::int32_t j, FileSystem& fs,
                                const ScenarioFiles& files, const BuildOptions& options) {
    s.genera_linea = j;
    s.codice_errore = 0;
    clear_voci(s);
    std::string linea_text, treno_text;
    SourceFile linea, treno;
    if (fs.exists(files.linea_txt) && fs.read(files.linea_txt, &linea_text, nullptr)) {
        linea = {SourceState::present, linea_text};
    }
    if (fs.exists(files.treno_txt) && fs.read(files.treno_txt, &treno_text, nullptr)) {
        treno = {SourceState::present, treno_text};
    }
    BuildOutcome outcome;
    outcome.compile = memorizza_dati(s, linea, treno);
    if (options.delete_sources) {
        if (outcome.compile.linea_consumed) fs.remove(files.linea_txt, nullptr);
        if (outcome.compile.treno_consumed) fs.remove(files.treno_txt, nullptr);
    }
    outcome.status = BuildOutcome::Status::no_route;
    return outcome;
}

}  // namespace scenario
