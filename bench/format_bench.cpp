// The layout of both source files, as `scenario_tool format` and the
// language server's formatting make it: the compiler's walk through each
// file and the edits of its blanks, for the embedded scenario and for the
// longest route.
#include <benchmark/benchmark.h>

#include <string>

#include "authoring/source_format.h"
#include "bench/synthetic_scenario.h"
#include "content/embedded_texts.h"
#include "content/emitter.h"

namespace {

void format_both(benchmark::State& state, const std::string& linea, const std::string& treno) {
    std::size_t changed = 0;
    for (auto _ : state) {
        const std::string l = scenario::formatted_source(linea, scenario::SourceKind::linea);
        const std::string t = scenario::formatted_source(treno, scenario::SourceKind::treno);
        changed = (l != linea) + (t != treno);
        benchmark::DoNotOptimize(l.data());
        benchmark::DoNotOptimize(t.data());
    }
    state.counters["bytes"] = static_cast<double>(linea.size() + treno.size());
    state.counters["files_changed"] = static_cast<double>(changed);
}

void BM_Format_Embedded(benchmark::State& state) {
    format_both(state, scenario::emit_text(scenario::testo_linea()),
                scenario::emit_text(scenario::testo_treno()));
}
BENCHMARK(BM_Format_Embedded)->Unit(benchmark::kMillisecond);

void BM_Format_Longest(benchmark::State& state) {
    format_both(state, scenario::bench::synthetic_linea(scenario::bench::kLunghezzaMassima),
                scenario::bench::synthetic_treno(scenario::bench::kLunghezzaMassima));
}
BENCHMARK(BM_Format_Longest)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
