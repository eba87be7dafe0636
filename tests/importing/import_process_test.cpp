// The real tool on the real extracts, as an author would go: import, then
// check with no error and no warning, compile, run, documents and plot;
// bad input ends with one line, its status, and nothing written. The
// reader's count of tracks is checked against osmium-tool's, an
// independent reader. POSIX only: it runs programs through the shell.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "importing/osm_reader.h"
#include "importing/track_tags.h"
#include "support/temp_folder.h"

namespace scenario {
namespace {

using testing::TempFolder;

const std::string kData = SCENARIO_OSM_DATA;
const std::string kTool = SCENARIO_TOOL_EXE;

struct Ran {
    int status = -1;
    std::string out;
};

// Runs the shell command with both streams captured.
Ran run(const std::string& command) {
    Ran r;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return r;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        r.out.append(buffer, n);
    const int raw = pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return r;
}

bool have(const std::string& file) {
    return std::ifstream(kData + "/" + file).good();
}

struct Line {
    const char* file;
    const char* options;
    const char* names;  // --line and --train as the import names the files
};

const Line kLines[] = {
    {"liechtenstein.osm.pbf", "--from Schaan-Vaduz --to Schaanwald",
     "--line Schaan_Vaduz_Schaanwald --train 1"},
    {"north-bayreuth.osm.gz",
     "--from Bindlach --to Harsdorf --dem " SCENARIO_OSM_DATA
     "/N49E011.hgt.zip --dem " SCENARIO_OSM_DATA "/N50E011.hgt.zip",
     "--line Bindlach_Harsdorf --train 1"},
    {"krems.osm.gz", "--from 'Krems a.d. Donau' --to Furth-Palt",
     "--line Krems_a_d_Donau_Furth_Palt --train 1"},
    {"berlin-s42-signals.osm", "--from Gesundbrunnen --to Westkreuz",
     "--line Gesundbrunnen_Westkreuz --train 1"},
};

TEST(ImportProcess, EachLineImportsChecksCompilesRunsAndDraws) {
    for (const Line& line : kLines) {
        SCOPED_TRACE(line.file);
        if (!have(line.file)) GTEST_SKIP() << "no " << kData << "/" << line.file;
        TempFolder folder("import_process");
        const std::string f = folder.path().string();
        const Ran imported =
            run(kTool + " import --osm " + kData + "/" + line.file + " " + line.options + " " + f);
        ASSERT_EQ(imported.status, 0) << imported.out;
        const Ran checked = run(kTool + " check " + line.names + " " + f);
        EXPECT_EQ(checked.status, 0) << checked.out;
        EXPECT_NE(checked.out.find("0 errors, 0 warnings"), std::string::npos) << checked.out;
        for (const std::string command : {"compile", "run", "documents"}) {
            const Ran r = run(kTool + " " + command + " " + line.names + " " + f);
            EXPECT_EQ(r.status, 0) << command << ": " << r.out;
        }
        const Ran plotted = run(kTool + " plot " + line.names + " --out " + f + "/route.svg " + f);
        EXPECT_EQ(plotted.status, 0) << plotted.out;
        EXPECT_GT(std::filesystem::file_size(f + "/route.svg"), 1000u);
        const Ran json = run(kTool + " import --force --json --osm " + kData + "/" + line.file +
                             " " + line.options + " " + f);
        EXPECT_EQ(json.status, 0) << json.out;
        EXPECT_EQ(json.out.substr(0, 11), "{\"written\":") << json.out;
    }
}

TEST(ImportProcess, BadInputWritesNothing) {
    if (!have("liechtenstein.osm.pbf") || !have("josm-edit-with-deletions.osm"))
        GTEST_SKIP() << "no data";
    TempFolder folder("import_bad");
    const std::string out = folder.file("out");
    const std::string map = " --osm " + kData + "/liechtenstein.osm.pbf";
    const std::string not_a_map = folder.file("not.osm");
    std::ofstream(not_a_map) << "<?xml version='1.0'?><osm><node id='1' lat='1'";
    const std::string cut = folder.file("cut.osm.pbf");
    {
        std::ifstream in(kData + "/liechtenstein.osm.pbf", std::ios::binary);
        std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        std::ofstream(cut, std::ios::binary) << bytes.substr(0, bytes.size() / 2);
    }
    const struct {
        std::string args;
        int status;
        const char* says;
    } cases[] = {
        {"--osm " + kData + "/josm-edit-with-deletions.osm --from a --to b", 1,
         "changes not yet uploaded"},
        {map + " --from Schaanwald --to schaanwald", 64, "name the same station"},
        {"--from a --to b", 64, "--osm is needed"},
        {map + " --from Vaduz --to Schaanwald", 1, "no station or halt named \"Vaduz\""},
        {map + " --from Schaan-Vaduz --to Schaanwald --depart 25:00", 64, "--depart"},
        {"--osm " + not_a_map + " --from a --to b", 1, "cannot read"},
        {"--osm " + cut + " --from Schaan-Vaduz --to Schaanwald", 1, "cannot read"},
        {map + " --from Schaan-Vaduz --to Schaanwald --dem " + not_a_map, 1, ""},
    };
    for (const auto& c : cases) {
        const Ran r = run(kTool + " import " + c.args + " " + out);
        EXPECT_EQ(r.status, c.status) << c.args << ": " << r.out;
        EXPECT_NE(r.out.find(c.says), std::string::npos) << r.out;
        EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 1) << r.out;
        EXPECT_FALSE(std::filesystem::exists(out)) << c.args;
    }
    // Nothing replaced without --force.
    ASSERT_EQ(run(kTool + " import" + map + " --from Schaan-Vaduz --to Schaanwald " + out).status,
              0);
    const Ran again = run(kTool + " import" + map + " --from Schaan-Vaduz --to Schaanwald " + out);
    EXPECT_EQ(again.status, 1);
    EXPECT_NE(again.out.find("--force replaces"), std::string::npos) << again.out;
}

// osmium-tool reads the same file on its own: the tracks it keeps are the
// tracks the reader keeps.
TEST(ImportProcess, TracksAsOsmiumToolCountsThem) {
    if (!have("liechtenstein.osm.pbf")) GTEST_SKIP() << "no data";
    if (run("osmium --version").status != 0) GTEST_SKIP() << "no osmium-tool";
    TempFolder folder("import_osmium");
    const std::string opl = folder.file("tracks.opl");
    const Ran filtered =
        run("osmium tags-filter -R " + kData +
            "/liechtenstein.osm.pbf w/railway=rail,light_rail,narrow_gauge -f opl -o " + opl);
    ASSERT_EQ(filtered.status, 0) << filtered.out;
    std::ifstream in(opl);
    int osmium_ways = 0;
    for (std::string line; std::getline(in, line);)
        osmium_ways += line.rfind('w', 0) == 0 && line.find("area=yes") == std::string::npos;
    importing::RailwayGraph graph;
    std::string error;
    ASSERT_TRUE(importing::read_railway_graph(kData + "/liechtenstein.osm.pbf", &graph, &error))
        << error;
    int tracks = 0;
    for (const importing::GraphWay& way : graph.ways)
        tracks += importing::is_track(way.tags);
    EXPECT_EQ(tracks, osmium_ways);
    EXPECT_GT(tracks, 0);
}

}  // namespace
}  // namespace scenario
