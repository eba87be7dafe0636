// What lies along a path: its stations and halts (a station node beside
// the track placed at its nearest point, a station's stop positions and
// its node one station), the signals that face the train, milestones,
// level crossings and the other railway nodes, in running order.
#pragma once

#include <string>
#include <vector>

#include "importing/import_path.h"
#include "importing/railway_graph.h"
#include "importing/track_graph.h"

namespace scenario::importing {

// A station node this far from the track (m) still belongs to it.
inline constexpr double kStationReach = 150;

struct EndStations {
    std::string from;  // the names as mapped
    std::string to;
};

// Fills path->objects from the nodes of the path and the station nodes
// near it; the ends are the two named stations at the path's ends. Notes
// every guess and every object left out.
void place_objects(const RailwayGraph& graph, const TrackGraph& tracks, const EndStations& ends,
                   ImportPath* path);

}  // namespace scenario::importing
