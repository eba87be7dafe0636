// Timings of the build in memory, with no disk in the way:
//   BM_WholeBuild           the whole run: emit the five texts, compile,
//                           finish the route, stamp and encode the files;
//   BM_CompileAndWrite/...  compile and encode only, over the embedded
//                           sources or over a synthetic route of the given
//                           length, to show that the cost grows with the
//                           length of the route and nothing else.
// tools/bench.sh turns these into the ratios reported in README.md.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "app/driver.h"
#include "bench/synthetic_scenario.h"
#include "compiler/model.h"
#include "content/embedded_texts.h"
#include "content/emitter.h"
#include "output/file_names.h"
#include "output/memorizza_percorso.h"
#include "tests/support/fake_platform.h"
#include "tests/support/memory_file_system.h"

namespace {

using scenario::testing::FakePlatform;
using scenario::testing::MemoryFileSystem;

const scenario::ScenarioFiles& bench_files() {
    static const scenario::ScenarioFiles files =
        scenario::scenario_files("/bench", '/', scenario::kNomeLinea, scenario::kNumeroTreno);
    return files;
}

// Compiles the two texts and encodes the compiled files, `state` times. The
// sources stay in the folder so that every iteration reads the same input.
void compile_and_write(benchmark::State& state, const std::string& linea,
                       const std::string& treno) {
    const scenario::ScenarioFiles& files = bench_files();
    MemoryFileSystem fs;
    fs.files[files.linea_txt] = linea;
    fs.files[files.treno_txt] = treno;
    scenario::BuildOptions options;
    options.delete_sources = false;
    std::int32_t codice = 0;
    for (auto _ : state) {
        scenario::Scenario s;
        s.nome_linea = scenario::kNomeLinea;
        s.numero_treno = scenario::kNumeroTreno;
        const scenario::BuildOutcome outcome =
            scenario::memorizza_percorso(s, 1, fs, files, options);
        benchmark::DoNotOptimize(outcome.written.size());
        codice = s.codice_errore;
    }
    state.counters["codice_errore"] = codice;
    state.counters["bytes"] =
        static_cast<double>(fs.files[files.linea_dat].size() + fs.files[files.tabella_sim].size() +
                            fs.files[files.percorso_dat].size());
}

void BM_WholeBuild(benchmark::State& state) {
    int status = 0;
    for (auto _ : state) {
        FakePlatform platform;
        MemoryFileSystem fs;
        status = scenario::run_builder(platform, fs);
        benchmark::DoNotOptimize(fs.files.size());
    }
    state.counters["exit_status"] = status;
}
BENCHMARK(BM_WholeBuild)->Unit(benchmark::kMillisecond);

void BM_CompileAndWrite_Embedded(benchmark::State& state) {
    compile_and_write(state, scenario::emit_text(scenario::testo_linea()),
                      scenario::emit_text(scenario::testo_treno()));
}
BENCHMARK(BM_CompileAndWrite_Embedded)->Unit(benchmark::kMillisecond);

void BM_CompileAndWrite_Synthetic(benchmark::State& state) {
    const auto lunghezza = static_cast<std::int32_t>(state.range(0));
    compile_and_write(state, scenario::bench::synthetic_linea(lunghezza),
                      scenario::bench::synthetic_treno(lunghezza));
}
BENCHMARK(BM_CompileAndWrite_Synthetic)
    ->Arg(100000)
    ->Arg(500000)
    ->Arg(scenario::bench::kLunghezzaMassima)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
