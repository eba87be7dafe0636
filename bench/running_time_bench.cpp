// Timings of the running-time engine over routes fed to it as the compiled
// route gives them, one section per 50 m cell:
//   BM_RunEmbedded  the embedded line, 101 km: its 20 limits, 88 gradients,
//                   18 adhesion values and the 16 stops of its train
//                   (target 1 ms);
//   BM_RunLongest   1000000 m, the first 100 km of that line ten times over,
//                   with 151 stops (target 20 ms; a language server runs it
//                   on every keystroke, so aim for a few).
//   cmake --preset bench && cmake --build --preset bench
//   build/bench/bench/scenario_running_bench
#include <benchmark/benchmark.h>

#include <vector>

#include "bench/synthetic_scenario.h"
#include "content/embedded_texts.h"
#include "content/emitter.h"
#include "output/file_names.h"
#include "output/memorizza_percorso.h"
#include "running/route_run.h"
#include "running/running_time.h"
#include "tests/support/memory_file_system.h"

namespace {

using scenario::RollingStock;
using scenario::Stop;
using scenario::Track;
using scenario::TrainRun;

struct Change {
    double at;
    double value;
};

// The embedded train and line files' speed limits (km/h), adhesion (per
// cent) and gradients (per mille), each from its position on.
constexpr Change kLimits[] = {
    {0, 30},      {700, 75},    {1300, 90},   {2300, 60},   {2950, 75},
    {4800, 100},  {14350, 110}, {20950, 100}, {23550, 130}, {28500, 100},
    {29850, 135}, {34200, 80},  {66600, 100}, {70900, 105}, {73900, 100},
    {75450, 105}, {83750, 100}, {89450, 140}, {96050, 110}, {98850, 90},
};
constexpr Change kAdhesion[] = {
    {0, 100},    {9900, 80},  {11050, 90}, {15900, 80},  {19450, 100}, {34850, 90},
    {40050, 80}, {44400, 70}, {47450, 85}, {50300, 70},  {54050, 85},  {57450, 70},
    {58700, 85}, {59550, 70}, {60700, 85}, {65850, 100}, {76100, 80},  {76400, 100},
};
constexpr Change kGradients[] = {
    {0, 0},       {550, 6},     {2500, 18},  {3400, 4},    {4300, 12},   {5100, -3},   {6200, 8},
    {7400, 0},    {8900, 5},    {9600, 11},  {11100, 2},   {12300, -6},  {13700, 9},   {15200, 0},
    {16100, 7},   {17300, 14},  {18400, 1},  {19000, 10},  {19750, -15}, {20800, -8},  {22200, -1},
    {22900, -10}, {24100, -4},  {25200, 3},  {26300, 12},  {27600, -5},  {28900, 6},   {30000, 0},
    {31000, 9},   {32400, -2},  {33600, 2},  {34400, 16},  {35600, 22},  {37600, 3},   {38200, 24},
    {39900, 18},  {41700, 4},   {42300, 26}, {44100, 21},  {45900, 25},  {47600, 12},  {48600, 2},
    {49100, 23},  {50300, 9},   {52200, -7}, {54100, -22}, {55900, -3},  {56500, -24}, {58000, -26},
    {59300, -19}, {60500, -17}, {61400, -2}, {62200, -21}, {63500, -14}, {64700, -4},  {65600, -1},
    {66400, -9},  {67800, -4},  {69200, 3},  {70500, -6},  {71300, 0},   {72000, -5},  {73300, 4},
    {74300, 0},   {75000, -7},  {76700, 2},  {78000, -3},  {79700, 1},   {80800, 6},   {82000, -2},
    {82900, 0},   {83800, -8},  {85300, -3}, {86900, 4},   {88300, 0},   {89000, -6},  {90700, -1},
    {91600, 5},   {92900, 0},   {93800, -4}, {95300, 3},   {96300, 0},   {97000, -5},  {98000, 2},
    {99000, -2},  {99900, 0},
};
// The stops: position and dwell (s).
constexpr Change kStops[] = {
    {0, 0},      {8550, 30},  {15650, 60}, {22500, 60}, {30500, 60}, {42000, 30},
    {56200, 30}, {61800, 30}, {66000, 60}, {71600, 30}, {80300, 30}, {83300, 60},
    {88600, 30}, {93400, 30}, {96600, 30}, {100750, 0},
};

template <std::size_t N>
double value_at(const Change (&changes)[N], double x) {
    double value = changes[0].value;
    for (const Change& c : changes)
        if (c.at <= x) value = c.value;
    return value;
}

// `periods` copies of the line's first `period` metres, in 50 m cells, with
// the stops that fall inside each copy; a copied route ends at a terminus of
// its own.
void build(double period, int periods, Track* track, std::vector<Stop>* stops) {
    for (int p = 0; p < periods; ++p) {
        const double base = p * period;
        for (double x = 0; x < period; x += 50)
            track->sections.push_back(
                {base + x, value_at(kLimits, x), value_at(kGradients, x), value_at(kAdhesion, x)});
        for (const Change& s : kStops)
            if (s.at < period) stops->push_back({base + s.at, s.value});
    }
    track->end = period * periods;
    if (periods > 1) stops->push_back({track->end, 0});
}

void run(benchmark::State& state, double period, int periods) {
    Track track;
    std::vector<Stop> stops;
    build(period, periods, &track, &stops);
    const RollingStock stock = scenario::regional_train(3, 120);
    double seconds = 0;
    for (auto _ : state) {
        TrainRun result = scenario::run_train(track, stops, stock);
        benchmark::DoNotOptimize(result.profile.data());
        seconds = result.stops.back().arrival_s;
    }
    state.counters["running_time_s"] = seconds;
    state.counters["sections"] = static_cast<double>(track.sections.size());
    state.counters["stops"] = static_cast<double>(stops.size());
}

void BM_RunEmbedded(benchmark::State& state) {
    run(state, 101000, 1);
}
BENCHMARK(BM_RunEmbedded)->Unit(benchmark::kMillisecond);

void BM_RunLongest(benchmark::State& state) {
    run(state, 100000, 10);
}
BENCHMARK(BM_RunLongest)->Unit(benchmark::kMillisecond);

// The run of a compiled scenario, as `run` and `check` make it: the track
// read off the route cells, the stops off the station entries, the times.
scenario::Scenario compiled(const std::string& linea, const std::string& treno) {
    scenario::testing::MemoryFileSystem fs;
    const scenario::ScenarioFiles files = scenario::scenario_files("/b", '/', "B", "1");
    fs.files[files.linea_txt] = linea;
    fs.files[files.treno_txt] = treno;
    scenario::Scenario s;
    scenario::memorizza_percorso(s, 0, fs, files);
    return s;
}

void route_run(benchmark::State& state, const scenario::Scenario& s) {
    const RollingStock stock = scenario::scenario_stock(s);
    double seconds = 0;
    for (auto _ : state) {
        const scenario::RouteRun r = scenario::run_route(s, stock);
        benchmark::DoNotOptimize(r.stations.data());
        seconds = r.run.profile.empty() ? 0 : r.run.profile.back().time_s;
    }
    state.counters["running_time_s"] = seconds;
}

void BM_RouteRun_Embedded(benchmark::State& state) {
    static const scenario::Scenario s = compiled(scenario::emit_text(scenario::testo_linea()),
                                                 scenario::emit_text(scenario::testo_treno()));
    route_run(state, s);
}
BENCHMARK(BM_RouteRun_Embedded)->Unit(benchmark::kMillisecond);

void BM_RouteRun_Synthetic(benchmark::State& state) {
    static const scenario::Scenario s =
        compiled(scenario::bench::synthetic_linea(scenario::bench::kLunghezzaMassima),
                 scenario::bench::synthetic_treno(scenario::bench::kLunghezzaMassima));
    route_run(state, s);
}
BENCHMARK(BM_RouteRun_Synthetic)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
