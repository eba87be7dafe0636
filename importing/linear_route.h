// The linear model of a path: everything the two source files say, placed
// along the route's metres and checked against the formats' rules (cells
// free for each object, station spacing, the 78 entries), with a note for
// every guess and every object moved or left out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "importing/curve_fit.h"
#include "importing/import_path.h"
#include "importing/kilometre_fit.h"
#include "importing/profile.h"
#include "importing/speed_profile.h"

namespace scenario::importing {

class ElevationModel;

struct RouteStation {
    std::string name;  // upper case, Windows-1252
    std::int64_t node = 0;
    double chainage = 0;        // m along the path
    std::int32_t position = 0;  // m, a multiple of 50
    std::int32_t length = 0;    // m, a multiple of 100
    std::uint8_t kind = 0;      // the train file's station kind
    bool stop = true;
    bool big = false;  // railway=station rather than a halt
    int dwell = 0;     // s: field 13
};

struct RouteTunnel {
    std::int32_t start = 0;  // m, multiples of 50
    std::int32_t end = 0;
    int kind = 2;       // 2, or 11 with tunnel marks
    double metres = 0;  // the map's length
    std::string name;   // upper case, Windows-1252; empty when unnamed
};

struct RouteSign {
    std::int32_t position = 0;
    std::string text;  // "(NAME)( 187 m. )"
};

struct RouteBoard {
    std::int32_t position = 0;
    int speeds[3] = {0, 0, 0};  // km/h, never decreasing
};

struct RouteSignal {
    std::int32_t position = 0;
    bool distant = false;
    std::int64_t node = 0;
};

struct LinearRoute {
    std::int32_t length = 0;       // m, the line file's route
    double path_length = 0;        // m, geodesic
    std::vector<double> chainage;  // m at each point of the path
    std::vector<Curve> curves;
    std::vector<Structure> structures;
    Profile profile;
    std::vector<SpeedStep> speeds;
    std::vector<RouteBoard> boards;
    std::vector<RouteTunnel> tunnels;
    std::vector<RouteSign> signs;
    std::vector<RouteStation> stations;
    std::vector<RouteSignal> signals;
    std::vector<KilometricReference> references;
    int level_crossings = 0;
    int other_objects = 0;
    std::vector<ImportNote> notes;
};

// False with `error` when the path cannot give a route: fewer than two
// stations, a route over the longest line, a DEM that does not cover it.
bool make_linear_route(const ImportPath& path, const ElevationModel* dem, double train_length,
                       LinearRoute* route, std::string* error);

// The name board of a tunnel: two groups (three when the name needs two
// lines), padded on either side to one inner width of 6 to 16.
std::string tunnel_board_text(const std::string& name, double metres);

}  // namespace scenario::importing
