// The lines of the shared extracts made into scenarios: each passes `check`
// with no error and no warning, and follows the map as closely as promised.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "importing/map_path.h"
#include "importing/osm_reader.h"
#include "importing/scenario_maker.h"
#include "made_scenario_check.h"

namespace scenario::importing {
namespace {

TEST(RealImports, EachLineChecksCleanAndFollowsTheMap) {
    const std::string data = SCENARIO_OSM_DATA;
    struct Case {
        const char* file;
        const char* from;
        const char* to;
        std::vector<std::string> dem;
        std::size_t stations;
        double profile_rms;  // m, the most allowed against the DEM
    } cases[] = {
        {"liechtenstein.osm.pbf", "Schaan-Vaduz", "Schaanwald", {}, 4, 0},
        {"north-bayreuth.osm.gz",
         "Bindlach",
         "Harsdorf",
         {"N49E011.hgt.zip", "N50E011.hgt.zip"},
         3,
         3},
        {"krems.osm.gz", "Krems a.d. Donau", "Furth-Palt", {}, 2, 0},
        {"berlin-s42-signals.osm",
         "Halensee",
         "Beusselstra\xC3\x9F"
         "e",
         {},
         6,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string file = data + "/" + c.file;
        if (!std::filesystem::exists(file)) GTEST_SKIP() << file << " is not there";
        // The Windows build reads .osm.pbf only.
        if (!reads_osm_xml() && !file.ends_with(".pbf")) continue;
        RailwayGraph graph;
        std::string error;
        ASSERT_TRUE(read_railway_graph(file, &graph, &error)) << error;
        PathRequest request;
        request.from = c.from;
        request.to = c.to;
        ImportPath path;
        ASSERT_TRUE(find_path(graph, request, &path, &error)) << error;
        MakeRequest make;
        for (const std::string& d : c.dem)
            make.dem_files.push_back(data + "/" + d);
        MadeScenario m;
        ASSERT_TRUE(make_scenario(path, make, &m, &error)) << error;

        EXPECT_EQ(testing::check_findings(m.linea_txt, m.treno_txt), "");
        const double length = m.summary.route_length;
        EXPECT_LE(m.accuracy.plan_rms, 0.005 * length);
        EXPECT_LE(m.accuracy.plan_max, 0.01 * length);
        if (!c.dem.empty()) {
            ASSERT_TRUE(m.accuracy.profile_rms);
            EXPECT_LE(*m.accuracy.profile_rms, c.profile_rms);
        }
        ASSERT_EQ(m.summary.stations.size(), c.stations);
        // Each station on the multiple of 50 nearest its place on the map.
        for (const SummaryStation& s : m.summary.stations)
            EXPECT_LE(std::fabs(s.position - s.chainage), 25.0) << s.name;
        EXPECT_LE(m.summary.route_length - m.summary.path_length, 400);
    }
}

}  // namespace
}  // namespace scenario::importing
