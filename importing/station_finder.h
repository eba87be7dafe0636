// Stations by the name an author types: among the map's stations and
// halts, and the stop positions of trains that lie on a track. One name
// may have several nodes (a station node and a stop position on each
// track); nodes of one name far apart are different stations, and the
// name is then ambiguous.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "importing/railway_graph.h"
#include "importing/track_graph.h"

namespace scenario::importing {

struct FoundStation {
    std::string name;                     // as mapped, UTF-8
    std::vector<const GraphNode*> nodes;  // every node of the name, in the map's order
};

// Nodes of one name within this distance (m) of one another are one
// station: a large station's tracks and its station node lie within it.
inline constexpr double kOneStation = 3000;

// The station named `name`, or false with `error` one line: no such name
// (with the nearest names that exist), or several stations of it (with
// their node ids).
bool find_station(const RailwayGraph& graph, const TrackGraph& tracks, std::string_view name,
                  FoundStation* found, std::string* error);

// Whether a node is a station, a halt, or a train's stop position on a
// track of `tracks`.
bool is_train_station(const GraphNode& node, const TrackGraph& tracks);

// The name a station node goes by: name, else official_name.
std::string_view station_name(const Tags& tags);

}  // namespace scenario::importing
