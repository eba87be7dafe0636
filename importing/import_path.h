// The path a train takes over the mapped railway, as the map gives it: the
// nodes in running order with their places, the ways' attributes for the
// direction of travel over each stretch, and the objects that lie on it.
// Reading and the path search fill it; the linear model reads it and never
// looks at a tag again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace scenario::importing {

// A map object's name in the summary: "n123" for a node, "w456" for a way,
// "r789" for a relation.
using OsmRef = std::string;

struct PathPoint {
    std::int64_t node = 0;
    double lat = 0;  // degrees, WGS84
    double lon = 0;
    std::optional<double> ele;  // m, the node's `ele` tag when it has one
};

// One way's stretch of the path, `points[first]` to `points[last]`, with
// what the way says for the direction of travel (a way drawn against it has
// its `:forward`/`:backward` values and its `incline` already swapped).
struct PathSpan {
    std::size_t first = 0;
    std::size_t last = 0;
    std::int64_t way = 0;
    bool forward = true;            // drawn in the direction of travel
    std::optional<int> maxspeed;    // km/h, mph converted; none when untagged
    bool tunnel = false;            // tunnel=yes (or building_passage, culvert: not)
    bool bridge = false;            // bridge=yes|viaduct|...
    std::string tunnel_name;        // tunnel:name, else name of a tunnel way; UTF-8
    std::optional<double> incline;  // per mille, uphill positive for the direction of travel
    int incline_sign = 0;           // incline "up" (+1) or "down" (-1) for the direction of
                                    // travel, when the tag gives no figure
};

enum class ObjectKind {
    station,          // railway=station
    halt,             // railway=halt, or a stop position with no station node
    main_signal,      // railway:signal:main, facing the direction of travel
    distant_signal,   // railway:signal:distant, facing it
    combined_signal,  // railway:signal:combined, facing it
    milestone,        // railway=milestone with a readable railway:position
    level_crossing,   // railway=level_crossing|crossing: counted, not written
    other,            // any other tagged railway node on the path: counted
};

// An object placed on the path: on the segment from `points[segment]` to
// `points[segment + 1]`, at the share `along` (0 to 1) of its geodesic
// length. A node of the path has `along` 0, but the path's last point,
// which is `along` 1 of the last segment; a station node beside the track
// is projected onto it. The first station is the --from station at the
// path's first point, the last station the --to station at its last.
struct PathObject {
    ObjectKind kind = ObjectKind::other;
    std::int64_t node = 0;
    std::size_t segment = 0;
    double along = 0;
    std::string name;                       // UTF-8, as mapped
    std::optional<double> platform_length;  // m, when a platform of the station gives one
    std::optional<double> kilometre;        // km, a milestone's parsed position
    double offset = 0;                      // m, how far off the track the node was
    bool passed = false;                    // a station --pass names: the train runs through
};

// Something the reading or the search had to guess, or left out.
struct ImportNote {
    OsmRef ref;           // the object it is about, or empty
    std::string message;  // one line, in the diagnostics' own style
};

struct ImportPath {
    std::vector<PathPoint> points;    // in running order, at least two
    std::vector<PathSpan> spans;      // consecutive, covering every segment once
    std::vector<PathObject> objects;  // in running order (segment, then along)
    std::vector<ImportNote> notes;
    std::string from;  // the end stations' names, as mapped (UTF-8)
    std::string to;
};

}  // namespace scenario::importing
