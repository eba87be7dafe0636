// What an import made, for the author to read before anything else: the
// figures of the two source files written and the map's own figures beside
// them. The maker fills it; the command prints it as text or as JSON.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace scenario::importing {

struct SummaryStation {
    std::string name;       // as written in the train file (upper case, Windows-1252)
    std::int64_t node = 0;  // the map's node, 0 when none
    double chainage = 0;    // m along the path on the map
    int position = 0;       // m, the row's position in the line file
    bool stop = true;       // false: passed (--pass)
};

struct ImportSummary {
    double path_length = 0;  // m, geodesic length of the path on the map
    int route_length = 0;    // m, the line file's route
    std::vector<SummaryStation> stations;
    int tunnels = 0;
    int boards = 0;  // speed boards and name boards written
    int speed_boards = 0;
    int name_boards = 0;
    int signals = 0;
    int kilometric_references = 0;
    std::vector<int> kilometric_positions;  // m, where each reference stands on the route
    int gradient_min = 0;                   // per mille
    int gradient_max = 0;
    std::string gradient_source;     // "DEM", "incline tags", "ele tags", "level"
    std::optional<double> run_time;  // s, the default train's fastest run
    int level_crossings = 0;         // counted, the formats cannot hold them
    int other_objects = 0;
};

}  // namespace scenario::importing
