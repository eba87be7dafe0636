// Builds the longest route the format allows, on the real disk, so that its
// time and peak memory can be measured as a whole process:
//   scenario_big_route <folder> [length in metres]
// Writes the synthetic sources into the folder, then compiles and writes
// the compiled files there. Exit status 0 when the files were written with
// no recorded failure.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/disk.h"
#include "app/driver.h"
#include "bench/synthetic_scenario.h"
#include "compiler/error_codes.h"
#include "compiler/model.h"
#include "output/file_names.h"
#include "output/memorizza_percorso.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s <folder> [length in metres]\n", argv[0]);
        return 2;
    }
    const std::int32_t lunghezza = argc == 3 ? static_cast<std::int32_t>(std::atol(argv[2]))
                                             : scenario::bench::kLunghezzaMassima;
    scenario::DiskFileSystem disk;
    const scenario::ScenarioFiles files =
        scenario::scenario_files(argv[1], '/', scenario::kNomeLinea, scenario::kNumeroTreno);
    scenario::FileError error;
    if (!disk.replace(files.linea_txt, scenario::bench::synthetic_linea(lunghezza), &error) ||
        !disk.replace(files.treno_txt, scenario::bench::synthetic_treno(lunghezza), &error)) {
        std::fprintf(stderr, "cannot %s %s: %s\n", error.operation.c_str(), error.path.c_str(),
                     error.reason.c_str());
        return 1;
    }
    scenario::Scenario s;
    s.nome_linea = scenario::kNomeLinea;
    s.numero_treno = scenario::kNumeroTreno;
    const scenario::BuildOutcome outcome = scenario::memorizza_percorso(s, 1, disk, files);
    if (outcome.status != scenario::BuildOutcome::Status::written) {
        std::fprintf(stderr, "not written (status %d, %s)\n", static_cast<int>(outcome.status),
                     scenario::describe_error(s.codice_errore, s.posizione_errore).c_str());
        return 1;
    }
    if (s.codice_errore != 0) {
        std::fprintf(stderr, "%s\n",
                     scenario::describe_error(s.codice_errore, s.posizione_errore).c_str());
        return 1;
    }
    std::printf("%d cells, %zu geometry rows\n", s.ultima_cella() + 1,
                static_cast<std::size_t>(s.tracciato.rows()));
    return 0;
}
