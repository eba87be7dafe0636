// For the import's tests: paths drawn with geodesics, and what `check`
// says of a made scenario's two files.
#pragma once

#include <GeographicLib/Geodesic.hpp>

#include <string>
#include <vector>

#include "importing/import_path.h"
#include "output/file_names.h"
#include "support/memory_file_system.h"
#include "tool/diagnostics/diagnosed_build.h"

namespace scenario::importing::testing {

// Draws a path from (lat, lon) heading `azimuth` degrees, a point every
// `step` m: each leg runs `metres` turning by `turn` degrees over it.
struct Leg {
    double metres = 0;
    double turn = 0;  // degrees, positive clockwise
};

inline ImportPath drawn_path(const std::vector<Leg>& legs, double step = 20, double lat = 47.1,
                             double lon = 9.5, double azimuth = 20) {
    const GeographicLib::Geodesic& g = GeographicLib::Geodesic::WGS84();
    ImportPath p;
    std::int64_t node = 1;
    p.points.push_back({node++, lat, lon, std::nullopt});
    for (const Leg& leg : legs) {
        const int n = static_cast<int>(leg.metres / step);
        for (int i = 0; i < n; ++i) {
            azimuth += leg.turn / n / 2;
            double a = 0, b = 0;
            g.Direct(lat, lon, azimuth, step, a, b);
            azimuth += leg.turn / n / 2;
            lat = a, lon = b;
            p.points.push_back({node++, lat, lon, std::nullopt});
        }
    }
    p.spans.push_back({0, p.points.size() - 1, 100, true, 100, false, false, "", std::nullopt});
    return p;
}

inline PathObject station_at(const ImportPath& p, std::size_t point, std::string name,
                             ObjectKind kind = ObjectKind::station) {
    PathObject o;
    o.kind = kind;
    o.node = p.points[point].node;
    o.segment = point + 1 < p.points.size() ? point : point - 1;
    o.along = point + 1 < p.points.size() ? 0 : 1;
    o.name = std::move(name);
    return o;
}

// Every error and warning `check` gives the two texts, the run's and the
// timetable's included, one a line; empty when there is none.
inline std::string check_findings(const std::string& linea, const std::string& treno) {
    scenario::testing::MemoryFileSystem fs;
    const ScenarioFiles files = scenario_files("/c", '/', "Imported", "1");
    fs.files[files.linea_txt] = linea;
    fs.files[files.treno_txt] = treno;
    DiagnosedBuild b;
    run_diagnosed_build(b, fs, files, true, false);
    add_run_diagnostics(b, fs, "");
    std::string out;
    for (const Diagnostic& d : b.diagnostics)
        if (d.severity != Severity::note) out += d.message + "\n";
    return out;
}

}  // namespace scenario::importing::testing
