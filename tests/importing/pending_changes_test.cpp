// A map an editor saved with changes not yet uploaded is recognised in
// pieces of any size, and a tag's value that only looks like it is not.
#include "importing/pending_changes.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "importing/osm_reader.h"

namespace scenario::importing {
namespace {

bool pending(std::string_view text, std::size_t piece) {
    PendingChangeScanner scanner;
    for (std::size_t at = 0; at < text.size(); at += piece)
        scanner.feed(text.substr(at, piece));
    return scanner.found();
}

TEST(PendingChanges, FoundInAnyPieces) {
    const struct {
        const char* text;
        bool pending;
    } cases[] = {
        {"<osm><node id='1' action='delete' lat='1' lon='2'/></osm>", true},
        {"<osm><way id=\"1\"\n action=\"modify\"><nd ref='1'/></way></osm>", true},
        {"<osm><relation action = 'delete' id='3'></relation></osm>", true},
        // In a tag's value, or in another element: no change.
        {"<osm><node id='1'><tag k='note' v=' action=x'/></node></osm>", false},
        {"<osm><node id='1' note=' action=x'/></osm>", false},
        {"<osm><bounds action='x'/><node id='1' transaction='2'/></osm>", false},
    };
    for (const auto& c : cases) {
        for (const std::size_t piece : {1u, 3u, 7u, 1000u})
            EXPECT_EQ(pending(c.text, piece), c.pending) << c.text << " in pieces of " << piece;
    }
}

// The map library scales an exponent's digits in a 64-bit integer that
// overflows (found by the fuzz target): such a coordinate is refused.
TEST(PendingChanges, ExponentCoordinatesRefused) {
    for (const char* text :
         {"<osm><node id='12' lat='034.00E050' lon='9'/></osm>",
          "<osm><node lon=\"9e0\" id='1' lat='1'/></osm>",
          "<osm><node id='1' lat='9&#101;5' lon='1'/></osm>",  // an "e" in disguise
          // A '>' inside a quoted value does not end the tag.
          "<osm><node id='0' lat='47' lon='9.03e4200>\nng'/></osm>"}) {
        PendingChangeScanner scanner;
        scanner.feed(text);
        EXPECT_FALSE(scanner.unsafe().empty()) << text;
        EXPECT_FALSE(scanner.found());
    }
    PendingChangeScanner plain;
    plain.feed("<osm><node id='1' lat='-47.1' lon='9.5'><tag k='lat' v='1e5'/></node></osm>");
    EXPECT_TRUE(plain.unsafe().empty());
}

TEST(PendingChanges, TheEditorsFileIsRefused) {
    const std::string file = std::string(SCENARIO_OSM_DATA) + "/josm-edit-with-deletions.osm";
    if (!std::ifstream(file)) GTEST_SKIP() << "no " << file;
    RailwayGraph graph;
    std::string error;
    EXPECT_FALSE(read_railway_graph(file, &graph, &error));
    EXPECT_NE(error.find("changes not yet uploaded"), std::string::npos) << error;
    EXPECT_TRUE(graph.ways.empty());
}

}  // namespace
}  // namespace scenario::importing
