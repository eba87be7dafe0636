// Runs the train over a route built from a line text and a train text, with
// a rolling-stock file, all taken from the input, and checks what the run
// promises an author: no crash and no hang on any text, every number of
// the run and of the timetable finite, the profile in running order and
// within the limits, and the timetable's diagnostics inside the train file.
//
// Input: a flags byte (unused, kept for the shape of the other targets),
// the line text, a NUL byte, the train text, a NUL byte and the stock file
// (none when there is no second NUL).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "authoring/timetable_check.h"
#include "compiler/source_check.h"
#include "formats/source_lines.h"
#include "fuzz/two_sources.h"
#include "output/memorizza_percorso.h"
#include "running/route_run.h"
#include "running/stock_file.h"

namespace {

[[noreturn]] void broken() {
    __builtin_trap();
}

void finite(double v) {
    if (!std::isfinite(v)) broken();
}

void check_run(const scenario::RouteRun& r) {
    double position = -INFINITY;
    double time = 0;
    for (const scenario::ProfilePoint& p : r.run.profile) {
        finite(p.position);
        finite(p.speed_kmh);
        finite(p.time_s);
        if (p.position < position || p.time_s < time || p.speed_kmh < 0) broken();
        position = p.position;
        time = p.time_s;
    }
    for (const scenario::TimetablePoint& p : r.stations) {
        for (double v : {p.position, p.kilometre, p.earliest, p.arrival, p.section_time,
                         p.section_length, p.dwell})
            finite(v);
        if (p.margin) finite(*p.margin);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    scenario::fuzzing::TwoSources in = scenario::fuzzing::split_input(data, size);
    std::string_view stock_text;
    if (const std::size_t split = in.treno.find('\0'); split != std::string_view::npos) {
        stock_text = in.treno.substr(split + 1);
        in.treno = in.treno.substr(0, split);
    }
    in.flags = 0;  // no geometry: the run never reads it

    scenario::testing::MemoryFileSystem fs;
    scenario::Scenario s;
    const std::int32_t j = scenario::fuzzing::prepare_build(in, fs, s);
    const scenario::BuildOutcome outcome = scenario::memorizza_percorso(
        s, j, fs, scenario::fuzzing::fuzz_files(), scenario::BuildOptions{.delete_sources = false});
    if (outcome.status != scenario::BuildOutcome::Status::written) return 0;

    scenario::RollingStock stock = scenario::scenario_stock(s);
    if (!stock_text.empty()) {
        const scenario::StockRead read = scenario::read_stock_file(stock_text, stock);
        if (read.stock.has_value() != read.problems.empty()) broken();
        if (!read.stock) return 0;
        stock = *read.stock;
    }
    const scenario::RouteRun r = scenario::run_route(s, stock);
    check_run(r);

    const scenario::SourceCheck treno = scenario::check_treno(in.treno, s.ultima_cella());
    const scenario::SourceLines lines(in.treno);
    for (const scenario::Diagnostic& d : scenario::timetable_diagnostics(r, treno, lines)) {
        if (d.range.line > lines.count()) broken();
    }
    return 0;
}
