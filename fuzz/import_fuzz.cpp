// Runs the import over an OSM XML text taken from the input, and checks
// what it promises: no crash and no hang on any map, and a scenario it
// makes passes the author's checks without an error.
//
// Input: a first line "FROM|TO" or "FROM|TO|RELATION" naming the stations
// (and a route relation's id), then the map's XML text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "importing/map_path.h"
#include "importing/osm_reader.h"
#include "importing/scenario_maker.h"
#include "output/file_names.h"
#include "tests/support/memory_file_system.h"
#include "tool/diagnostics/diagnosed_build.h"

namespace {

[[noreturn]] void broken() {
    __builtin_trap();
}

std::string_view field(std::string_view* line) {
    const std::size_t bar = line->find('|');
    const std::string_view f = line->substr(0, bar);
    *line = bar == std::string_view::npos ? std::string_view{} : line->substr(bar + 1);
    return f;
}

void check_made(const scenario::importing::MadeScenario& made) {
    scenario::testing::MemoryFileSystem fs;
    const scenario::ScenarioFiles files = scenario::scenario_files("/c", '/', "Imported", "1");
    fs.files[files.linea_txt] = made.linea_txt;
    fs.files[files.treno_txt] = made.treno_txt;
    scenario::DiagnosedBuild b;
    scenario::run_diagnosed_build(b, fs, files, true, false);
    scenario::add_run_diagnostics(b, fs, "");
    for (const scenario::Diagnostic& d : b.diagnostics)
        if (d.severity == scenario::Severity::error) broken();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t newline = input.find('\n');
    if (newline == std::string_view::npos) return 0;
    std::string_view names = input.substr(0, newline);
    scenario::importing::PathRequest request;
    request.from = std::string(field(&names));
    request.to = std::string(field(&names));
    const std::string relation(field(&names));
    if (!relation.empty() && relation.size() < 12 &&
        relation.find_first_not_of("0123456789") == std::string::npos)
        request.relation = std::stoll(relation);
    scenario::importing::RailwayGraph graph;
    std::string error;
    if (!scenario::importing::read_railway_graph_text(input.substr(newline + 1), "osm", &graph,
                                                      &error))
        return 0;
    scenario::importing::ImportPath path;
    if (!scenario::importing::find_path(graph, request, &path, &error)) return 0;
    if (path.points.size() < 2 || path.spans.empty()) broken();
    scenario::importing::MakeRequest make;
    make.nome_linea = "Imported";
    scenario::importing::MadeScenario made;
    if (!scenario::importing::make_scenario(path, make, &made, &error)) return 0;
    check_made(made);
    return 0;
}
