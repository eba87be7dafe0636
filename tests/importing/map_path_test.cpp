// Paths over small maps written here: a way drawn against the train, a
// relation with a gap, a bus stop beside the track, a switch a train
// cannot reverse at, a double line with preferred directions, names that
// are unknown or ambiguous.
#include "importing/map_path.h"

#include <gtest/gtest.h>

#include <string>

#include "importing/osm_reader.h"

namespace scenario::importing {
namespace {

// Nodes on a grid of about 76 m (x, east) by 111 m (y, north) near 47 N.
struct MapText {
    std::string body;

    MapText& node(int id, double x, double y, const std::string& tags = "") {
        body += "<node id='" + std::to_string(id) + "' version='1' lat='" +
                std::to_string(47.0 + y * 0.001) + "' lon='" + std::to_string(9.0 + x * 0.001) +
                "'>" + tags + "</node>\n";
        return *this;
    }
    MapText& way(int id, std::initializer_list<int> nodes, const std::string& tags) {
        body += "<way id='" + std::to_string(id) + "' version='1'>";
        for (const int n : nodes)
            body += "<nd ref='" + std::to_string(n) + "'/>";
        body += tags + "</way>\n";
        return *this;
    }
    MapText& raw(const std::string& text) {
        body += text;
        return *this;
    }
    std::string text() const {
        return "<?xml version='1.0'?><osm version='0.6'>\n" + body + "</osm>\n";
    }
};

std::string tag(const std::string& k, const std::string& v) {
    return "<tag k='" + k + "' v='" + v + "'/>";
}

std::string stop(const std::string& name) {
    return tag("public_transport", "stop_position") + tag("train", "yes") + tag("name", name);
}

const std::string kRail = tag("railway", "rail") + tag("usage", "main");

struct Result {
    bool ok = false;
    ImportPath path;
    std::string error;
};

Result path_of(const MapText& map, PathRequest request) {
    RailwayGraph graph;
    Result r;
    if (!read_railway_graph_text(map.text(), "osm", &graph, &r.error)) return r;
    r.ok = find_path(graph, request, &r.path, &r.error);
    return r;
}

std::vector<std::int64_t> nodes_of(const ImportPath& p) {
    std::vector<std::int64_t> ids;
    for (const PathPoint& pt : p.points)
        ids.push_back(pt.node);
    return ids;
}

TEST(MapPath, AWayDrawnAgainstTheTrain) {
    MapText map;
    map.node(1, 0, 0, stop("Alpha"))
        .node(2, 5, 0)
        .node(3, 10, 0,
              tag("railway", "signal") + tag("railway:signal:main", "DE-ESO:ks") +
                  tag("railway:signal:direction", "backward"))
        .node(4, 11, 0,
              tag("railway", "signal") + tag("railway:signal:main", "DE-ESO:ks") +
                  tag("railway:signal:direction", "forward"))
        .node(5, 20, 0, stop("Beta"))
        .way(10, {5, 4, 3, 2, 1},
             kRail + tag("maxspeed:forward", "60") + tag("maxspeed:backward", "100") +
                 tag("incline", "2%"));
    const Result r = path_of(map, {"alpha", "BETA", {}, {}, {}});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(nodes_of(r.path), (std::vector<std::int64_t>{1, 2, 3, 4, 5}));
    ASSERT_EQ(r.path.spans.size(), 1u);
    EXPECT_FALSE(r.path.spans[0].forward);
    EXPECT_EQ(r.path.spans[0].maxspeed, 100);
    EXPECT_EQ(r.path.spans[0].incline, -20.0);  // uphill as drawn, downhill as run
    // Only the signal for the way's backward direction faces the train.
    std::vector<std::int64_t> signals;
    for (const PathObject& o : r.path.objects)
        if (o.kind == ObjectKind::main_signal) signals.push_back(o.node);
    EXPECT_EQ(signals, std::vector<std::int64_t>{3});
    EXPECT_EQ(r.path.objects.front().name, "Alpha");
    EXPECT_EQ(r.path.objects.back().name, "Beta");
    EXPECT_EQ(r.path.objects.back().along, 1.0);
}

TEST(MapPath, ARelationWithAGap) {
    MapText map;
    map.node(1, 0, 0, stop("Alpha")).node(2, 10, 0).node(3, 20, 0).node(4, 30, 0, stop("Beta"));
    map.node(5, 40, 0).node(6, 40, 10);
    map.way(11, {1, 2}, kRail).way(13, {3, 4}, kRail).way(14, {5, 6}, kRail);
    const std::string head =
        "<relation id='99' version='1'>" + tag("type", "route") + tag("route", "train");
    const std::string tail = "</relation>\n";
    // w12 (2 to 3) is not in the extract.
    map.raw(head + "<member type='way' ref='11' role=''/><member type='way' ref='12' role=''/>" +
            "<member type='way' ref='13' role=''/>" + tail);
    Result r = path_of(map, {"Alpha", "Beta", {}, {}, 99});
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("member 2 of r99, w12, is not a track of the extract"),
              std::string::npos)
        << r.error;
    // Members that do not meet.
    MapText broken = map;
    broken.way(12, {2, 3}, kRail);
    broken.raw("<relation id='98' version='1'>" + tag("type", "route") + tag("route", "train") +
               "<member type='way' ref='11' role=''/><member type='way' ref='14' role=''/>" + tail);
    r = path_of(broken, {"Alpha", "Beta", {}, {}, 98});
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("w14, does not meet w11"), std::string::npos) << r.error;
    // Whole, it is followed.
    r = path_of(broken, {"Alpha", "Beta", {}, {}, 99});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(nodes_of(r.path), (std::vector<std::int64_t>{1, 2, 3, 4}));
}

TEST(MapPath, ABusStopBesideTheTrackIsNoStation) {
    MapText map;
    map.node(1, 0, 0, stop("Alpha")).node(2, 20, 0, stop("Beta")).node(3, 40, 0);
    map.node(7, 10, 0.3,
             tag("highway", "bus_stop") + tag("public_transport", "stop_position") +
                 tag("bus", "yes") + tag("name", "Market"));
    map.node(8, 9, 0.5,
             tag("public_transport", "stop_position") + tag("bus", "yes") + tag("name", "Market"));
    map.node(9, 30, 0.5, tag("railway", "halt") + tag("name", "Gamma"));  // 55 m off: projected
    map.way(10, {1, 2, 3}, kRail).way(11, {7, 8}, tag("highway", "service"));
    Result r = path_of(map, {"Alpha", "Market", {}, {}, {}});
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.error.substr(0, 36), "no station or halt named \"Market\" on") << r.error;
    r = path_of(map, {"Alpha", "Gamma", {}, {}, {}});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.path.points.back().node, 0);  // a point of its own on w10
    EXPECT_NEAR(r.path.points.back().lon, 9.030, 1e-6);
    EXPECT_EQ(r.path.objects.size(), 3u);  // Alpha, Beta, Gamma; no Market
}

TEST(MapPath, NoReversingAtASwitch) {
    // The branch leaves the switch (2) back towards Alpha, 20 degrees from
    // the line: a train from Alpha would have to reverse there.
    MapText map;
    map.node(1, 0, 0, stop("Alpha")).node(2, 20, 0).node(3, 40, 0, stop("Beta"));
    map.node(4, 0, 5, stop("Gamma")).node(5, 30, 2, stop("Delta"));
    map.way(10, {1, 2, 3}, kRail).way(11, {2, 4}, kRail).way(12, {2, 5}, kRail);
    Result r = path_of(map, {"Alpha", "Gamma", {}, {}, {}});
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find("without reversing"), std::string::npos) << r.error;
    // A turnout of about 15 degrees is taken.
    r = path_of(map, {"Alpha", "Delta", {}, {}, {}});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(nodes_of(r.path), (std::vector<std::int64_t>{1, 2, 5}));
}

TEST(MapPath, DoubleTrackByPreferredDirection) {
    MapText map;
    map.node(1, 0, 0, stop("Alpha")).node(2, 40, 0, stop("Beta"));
    map.node(11, 10, 0.05).node(12, 30, 0.05).node(21, 10, -0.05).node(22, 30, -0.05);
    map.way(10, {1, 11, 12, 2}, kRail + tag("railway:preferred_direction", "backward"));
    map.way(20, {1, 21, 22, 2}, kRail + tag("railway:preferred_direction", "forward"));
    Result r = path_of(map, {"Alpha", "Beta", {}, {}, {}});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(nodes_of(r.path), (std::vector<std::int64_t>{1, 21, 22, 2}));
    r = path_of(map, {"Beta", "Alpha", {}, {}, {}});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(nodes_of(r.path), (std::vector<std::int64_t>{2, 12, 11, 1}));
}

TEST(MapPath, NamesThatFindNoOneStation) {
    MapText map;
    map.node(1, 0, 0, stop("Neustadt"))
        .node(2, 20, 0, stop("Altdorf"))
        .node(3, 200, 0, stop("Neustadt"));
    map.node(4, 220, 0, stop("Nendeln"))
        .node(5, 100, 3, tag("railway", "station") + tag("name", "Far"));
    map.way(10, {1, 2, 3, 4}, kRail);
    const struct {
        PathRequest request;
        const char* error_part;
    } cases[] = {
        {{"Nendln", "Altdorf", {}, {}, {}}, "the nearest names are \"Nendeln\""},
        {{"Neustadt", "Altdorf", {}, {}, {}},
         "\"Neustadt\" names 2 stations: n1 (\"Neustadt\") n3"},
        {{"Far", "Altdorf", {}, {}, {}}, "\"Far\" (n5) lies 330 m from the nearest track"},
        {{"Altdorf", "Nendeln", {}, {"Nowhere"}, {}}, "--pass \"Nowhere\": no station"},
        {{"Altdorf", "altdorf", {}, {}, {}}, "--from and --to name the same station"},
    };
    for (const auto& c : cases) {
        const Result r = path_of(map, c.request);
        EXPECT_FALSE(r.ok);
        EXPECT_NE(r.error.find(c.error_part), std::string::npos) << r.error;
    }
    // A node id names one of the two.
    const Result r = path_of(map, {"n3", "Nendeln", {}, {"Neustadt"}, {}});
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(nodes_of(r.path), (std::vector<std::int64_t>{3, 4}));
}

TEST(MapPath, MilestonesAndCountedObjects) {
    MapText map;
    map.node(1, 0, 0, stop("Alpha"))
        .node(2, 5, 0, tag("railway", "milestone") + tag("railway:position", "26.0+100"))
        .node(3, 10, 0, tag("railway", "milestone") + tag("railway:position", "twelve"))
        .node(4, 15, 0, tag("railway", "level_crossing"))
        .node(5, 20, 0, stop("Beta"));
    map.way(10, {1, 2, 3, 4, 5}, kRail + tag("maxspeed", "fast"));
    const Result r = path_of(map, {"Alpha", "Beta", {}, {}, {}});
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(r.path.objects.size(), 4u);
    EXPECT_EQ(r.path.objects[1].kind, ObjectKind::milestone);
    EXPECT_NEAR(*r.path.objects[1].kilometre, 26.1, 1e-9);
    EXPECT_EQ(r.path.objects[2].kind, ObjectKind::level_crossing);
    std::vector<std::string> notes;
    for (const ImportNote& n : r.path.notes)
        notes.push_back(n.ref + ": " + n.message);
    EXPECT_EQ(notes, (std::vector<std::string>{
                         "w10: maxspeed \"fast\" is no speed: no limit taken from it",
                         "n3: milestone position \"twelve\" unreadable: left out"}));
}

TEST(MapPath, BadMapTexts) {
    const struct {
        const char* text;
        const char* error_part;
    } cases[] = {
        {"this is no map", "cannot read the map as a map"},
        {"<?xml version='1.0'?><osm version='0.6'><node id='1' lat='1' lon='1'/>", "cannot read"},
        {"<?xml version='1.0'?><osm version='0.6'></osm>", "holds no railway track"},
    };
    for (const auto& c : cases) {
        RailwayGraph graph;
        std::string error;
        EXPECT_FALSE(read_railway_graph_text(c.text, "osm", &graph, &error));
        EXPECT_NE(error.find(c.error_part), std::string::npos) << error;
    }
}

}  // namespace
}  // namespace scenario::importing
