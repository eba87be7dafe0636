// Timings of the build in memory, with no disk in the way:
//   BM_WholeBuild           the whole run: emit the five texts, compile,
//                           finish the route, stamp and encode the files;
//   BM_CompileAndWrite/...  compile and encode only (the files' pieces are
//                           counted and dropped), over the embedded
//                           sources or over a synthetic route of the given
//                           length, to show that the cost grows with the
//                           length of the route and nothing else.
// tools/bench.sh turns these into the ratios reported in docs/performance.md.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "app/driver.h"
#include "app/native_platform.h"
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

// Serves the two sources and takes every file written a piece at a time,
// keeping only its size: the benchmark then times the program's own work,
// not the copying of a 20 MB file into a test folder.
class CountingFileSystem final : public scenario::FileSystem {
  public:
    CountingFileSystem(std::string linea, std::string treno) {
        const scenario::ScenarioFiles& files = bench_files();
        sources_[files.linea_txt] = std::move(linea);
        sources_[files.treno_txt] = std::move(treno);
    }
    bool exists(const std::string& path) override { return sources_.count(path) != 0; }
    bool read(const std::string& path, std::string* contents, scenario::FileError*) override {
        *contents = sources_.at(path);
        return true;
    }
    bool replace(const std::string& path, std::string_view bytes, scenario::FileError*) override {
        sizes[path] = bytes.size();
        return true;
    }
    bool replace_in_pieces(const std::string& path, const scenario::FileContents& contents,
                           scenario::FileError*) override {
        Counter counter;
        contents.write_to(counter);
        sizes[path] = counter.bytes;
        return true;
    }
    bool remove(const std::string&, scenario::FileError*) override { return true; }

    std::map<std::string, std::size_t> sizes;

  private:
    struct Counter final : scenario::PieceSink {
        bool put(std::string_view piece) override {
            bytes += piece.size();
            return true;
        }
        std::size_t bytes = 0;
    };
    std::map<std::string, std::string> sources_;
};

// Compiles the two texts and encodes the compiled files, `state` times. The
// sources stay in the folder so that every iteration reads the same input.
void compile_and_write(benchmark::State& state, const std::string& linea,
                       const std::string& treno) {
    const scenario::ScenarioFiles& files = bench_files();
    CountingFileSystem fs(linea, treno);
    // The builder's memory for the geometry, which keeps its pages from one
    // iteration to the next as a run keeps them from compile to write.
    scenario::NativePlatform platform;
    scenario::BuildOptions options;
    options.delete_sources = false;
    std::int32_t codice = 0;
    for (auto _ : state) {
        scenario::Scenario s;
        s.nome_linea = scenario::kNomeLinea;
        s.numero_treno = scenario::kNumeroTreno;
        s.memoria_tracciato = platform.geometry_memory();
        const scenario::BuildOutcome outcome =
            scenario::memorizza_percorso(s, 1, fs, files, options);
        benchmark::DoNotOptimize(outcome.written.size());
        codice = s.codice_errore;
    }
    state.counters["codice_errore"] = codice;
    state.counters["bytes"] = static_cast<double>(
        fs.sizes[files.linea_dat] + fs.sizes[files.tabella_sim] + fs.sizes[files.percorso_dat]);
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
