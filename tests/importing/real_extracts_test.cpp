// The real extracts: each line's path, its length on the ellipsoid and
// the stations along it with their chainage, as measured when the import
// was written (the counts of tracks cross-checked with osmium-tool in the
// process test). Skipped when the data folder is absent.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "importing/map_path.h"
#include "importing/osm_reader.h"
#include "importing/path_builder.h"

namespace scenario::importing {
namespace {

struct Extract {
    const char* file;
    PathRequest request;
    double length;                      // m
    std::vector<std::string> stations;  // in running order
    std::vector<int> chainage;          // m, each station's, rounded
    int signals;                        // facing the train
    int milestones;
};

const Extract kExtracts[] = {
    {"liechtenstein.osm.pbf",
     {"Schaan-Vaduz", "Schaanwald", {}, {}, {}},
     6449,
     {"Schaan-Vaduz", "Forst Hilti", "Nendeln", "Schaanwald"},
     {0, 1717, 4403, 6449},
     0,
     0},
    {"north-bayreuth.osm.gz",
     {"Bindlach", "Harsdorf", {}, {}, {}},
     6308,
     {"Bindlach", "Ramsenthal", "Harsdorf"},
     {0, 3282, 6308},
     0,
     0},
    {"krems.osm.gz",
     {"Krems a.d. Donau", "Furth-Palt", {}, {}, {}},
     3068,
     {"Krems a.d. Donau", "Furth-Palt"},
     {0, 3068},
     0,
     0},
    // Its signals face the trains that run as the way is drawn: Harsdorf
    // to Bindlach, not the other way.
    {"north-bayreuth.osm.gz",
     {"Harsdorf", "Bindlach", {}, {}, {}},
     6308,
     {"Harsdorf", "Ramsenthal", "Bindlach"},
     {0, 3026, 6308},
     4,
     0},
    // One track, whose signals face trains from Gesundbrunnen.
    {"berlin-s42-signals.osm",
     {"Gesundbrunnen", "Westkreuz", {}, {}, {}},
     10892,
     {"Gesundbrunnen", "Wedding", "Westhafen",
      "Beusselstra\xC3\x9F"
      "e",
      "Jungfernheide", "Westend", "Messe Nord/ICC", "Westkreuz"},
     {0, 1781, 3567, 4620, 6624, 8841, 10096, 10892},
     14,
     5},
};

double chainage_of(const ImportPath& path, const PathObject& o) {
    ImportPath head;
    head.points.assign(path.points.begin(),
                       path.points.begin() + static_cast<std::ptrdiff_t>(o.segment) + 2);
    const double segment = path_length(head);
    head.points.pop_back();
    const double before = path_length(head);
    return before + (segment - before) * o.along;
}

TEST(RealExtracts, PathsAndStations) {
    for (const Extract& e : kExtracts) {
        SCOPED_TRACE(e.file);
        const std::string file = std::string(SCENARIO_OSM_DATA) + "/" + e.file;
        if (!std::ifstream(file)) GTEST_SKIP() << "no " << file;
        const bool xml = std::string(e.file).find(".pbf") == std::string::npos;
        if (xml && !reads_osm_xml()) continue;  // a build that reads .osm.pbf only
        RailwayGraph graph;
        std::string error;
        ASSERT_TRUE(read_railway_graph(file, &graph, &error)) << error;
        ImportPath path;
        ASSERT_TRUE(find_path(graph, e.request, &path, &error)) << e.file << ": " << error;
        EXPECT_NEAR(path_length(path), e.length, 1) << e.file;
        std::vector<std::string> names;
        std::vector<int> chainage;
        int signals = 0;
        int milestones = 0;
        for (const PathObject& o : path.objects) {
            if (o.kind == ObjectKind::station || o.kind == ObjectKind::halt) {
                names.push_back(o.name);
                chainage.push_back(static_cast<int>(std::lround(chainage_of(path, o))));
            }
            signals += o.kind == ObjectKind::main_signal || o.kind == ObjectKind::distant_signal ||
                       o.kind == ObjectKind::combined_signal;
            milestones += o.kind == ObjectKind::milestone;
        }
        EXPECT_EQ(names, e.stations) << e.file;
        EXPECT_EQ(chainage, e.chainage) << e.file;
        EXPECT_EQ(signals, e.signals) << e.file;
        EXPECT_EQ(milestones, e.milestones) << e.file;
        for (const ImportNote& n : path.notes)
            std::cout << e.file << ": " << n.ref << ": " << n.message << '\n';
    }
}

}  // namespace
}  // namespace scenario::importing
