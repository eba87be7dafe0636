// Compiles and writes one route on the real disk, as a process of its own,
// so that its time and peak memory can be measured as the program meets
// them, page faults and all:
//   scenario_big_route <folder> [length in metres | embedded]
// Writes the sources into the folder (the synthetic route of the given
// length, the longest by default, or the embedded scenario's), then times
// the compile-and-write procedure alone, with the geometry in the memory
// the builder gives it. Prints one `name value` per line; exit status 0
// when the files were written with no recorded failure.
#include <sys/resource.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/disk.h"
#include "app/driver.h"
#include "app/native_platform.h"
#include "bench/synthetic_scenario.h"
#include "compiler/error_codes.h"
#include "compiler/model.h"
#include "content/embedded_texts.h"
#include "content/emitter.h"
#include "output/file_names.h"
#include "output/memorizza_percorso.h"

namespace {

double processor_seconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s <folder> [length in metres | embedded]\n", argv[0]);
        return 2;
    }
    const std::string_view which = argc == 3 ? argv[2] : "";
    const bool embedded = which == "embedded";
    const std::int32_t lunghezza = which.empty() || embedded
                                       ? scenario::bench::kLunghezzaMassima
                                       : static_cast<std::int32_t>(std::atol(argv[2]));
    scenario::NativePlatform platform;
    scenario::DiskFileSystem disk;
    const scenario::ScenarioFiles files =
        scenario::scenario_files(argv[1], '/', scenario::kNomeLinea, scenario::kNumeroTreno);
    const std::string linea = embedded ? scenario::emit_text(scenario::testo_linea())
                                       : scenario::bench::synthetic_linea(lunghezza);
    const std::string treno = embedded ? scenario::emit_text(scenario::testo_treno())
                                       : scenario::bench::synthetic_treno(lunghezza);
    scenario::FileError error;
    if (!disk.replace(files.linea_txt, linea, &error) ||
        !disk.replace(files.treno_txt, treno, &error)) {
        std::fprintf(stderr, "cannot %s %s: %s\n", error.operation.c_str(), error.path.c_str(),
                     error.reason.c_str());
        return 1;
    }
    scenario::Scenario s;
    s.nome_linea = scenario::kNomeLinea;
    s.numero_treno = scenario::kNumeroTreno;
    s.memoria_tracciato = platform.geometry_memory();

    const double processor_start = processor_seconds();
    const auto start = std::chrono::steady_clock::now();
    const scenario::BuildOutcome outcome = scenario::memorizza_percorso(s, 1, disk, files);
    const auto end = std::chrono::steady_clock::now();
    const double processor = processor_seconds() - processor_start;

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
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("cells %d\n", s.ultima_cella() + 1);
    std::printf("geometry_rows %lld\n", static_cast<long long>(s.tracciato.rows()));
    std::printf("compile_and_write_seconds %.6f\n",
                std::chrono::duration<double>(end - start).count());
    std::printf("compile_and_write_processor_seconds %.6f\n", processor);
    std::printf("peak_kib %ld\n", usage.ru_maxrss);
    return 0;
}
