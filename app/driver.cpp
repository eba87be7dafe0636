#include "app/driver.h"

#include <string>

#include "compiler/error_codes.h"
#include "compiler/model.h"
#include "content/emitter.h"
#include "output/file_names.h"
#include "output/memorizza_percorso.h"

namespace scenario {

namespace {

using Emitter = bool (*)(FileSystem&, const ScenarioFiles&, FileError*);

// Keeps the wait window up for exactly the length of the run.
class WaitWindow {
  public:
    explicit WaitWindow(Platform& platform) : platform_(platform) { platform_.show_wait(); }
    ~WaitWindow() { platform_.hide_wait(); }
    WaitWindow(const WaitWindow&) = delete;
    WaitWindow& operator=(const WaitWindow&) = delete;

  private:
    Platform& platform_;
};

int report_outcome(Platform& platform, const Scenario& s, const BuildOutcome& outcome) {
    switch (outcome.status) {
        case BuildOutcome::Status::written:
            if (s.codice_errore == codice::kNessuno) break;
            [[fallthrough]];
        case BuildOutcome::Status::no_route:
            platform.report_recorded_failure(describe_error(s.codice_errore, s.posizione_errore));
            break;
        case BuildOutcome::Status::fatal_check:
            errore(platform, std::to_string(outcome.fatal_code));
            break;
        case BuildOutcome::Status::file_failure:
            platform.report_file_failure(outcome.file_error);
            break;
    }
    return build_exit_status(s, outcome);
}

}  // namespace

void errore(Platform& platform, std::string_view a) {
    std::string message = " Errore n. ";
    message += a;
    platform.show_fatal(message);
}

int run_builder(Platform& platform, FileSystem& fs) {
    Scenario s;
    s.nome_linea = kNomeLinea;
    s.numero_treno = kNumeroTreno;
    s.memoria_tracciato = platform.geometry_memory();

    WaitWindow wait(platform);
    const ScenarioFiles files = scenario_files(platform.program_folder(), platform.separator(),
                                               s.nome_linea, s.numero_treno);
    // Every file the run writes, the source texts it deletes included: while
    // another run works in the folder this one waits, then it clears away
    // what killed runs left of their temporary files.
    const std::string owned[] = {files.linea_txt,     files.treno_txt,   files.note,
                                 files.rallentamenti, files.scheda,      files.linea_dat,
                                 files.tabella_sim,   files.percorso_dat};
    fs.claim(owned);

    // The source texts first, then the documents: notes, slowdowns, card.
    constexpr Emitter kEmitters[] = {dati_linea, dati_treno, dati_note, dati_rallentamenti,
                                     dati_scheda};
    for (Emitter emit : kEmitters) {
        FileError error;
        if (!emit(fs, files, &error)) {
            platform.report_file_failure(error);
            return kExitFatal;
        }
    }

    const BuildOutcome outcome = memorizza_percorso(s, 1, fs, files);
    return report_outcome(platform, s, outcome);
}

}  // namespace scenario
