// Writes the two source texts of the synthetic route into a folder, for a
// benchmark that runs the tool on them (the viewer's update after a save):
//   scenario_synthetic_sources <folder> [length in metres]
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/disk.h"
#include "bench/synthetic_scenario.h"
#include "content/embedded_texts.h"
#include "output/file_names.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s <folder> [length in metres]\n", argv[0]);
        return 2;
    }
    const std::int32_t lunghezza = argc == 3 ? static_cast<std::int32_t>(std::atol(argv[2]))
                                             : scenario::bench::kLunghezzaMassima;
    const scenario::ScenarioFiles files =
        scenario::scenario_files(argv[1], '/', scenario::kNomeLinea, scenario::kNumeroTreno);
    scenario::DiskFileSystem disk;
    scenario::FileError error;
    if (!disk.replace(files.linea_txt, scenario::bench::synthetic_linea(lunghezza), &error) ||
        !disk.replace(files.treno_txt, scenario::bench::synthetic_treno(lunghezza), &error)) {
        std::fprintf(stderr, "cannot write '%s': %s\n", error.path.c_str(), error.reason.c_str());
        return 1;
    }
    return 0;
}
