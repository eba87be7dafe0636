// The run a search found, as the path the rest of the import reads: its
// points in running order, and one span per stretch of one way with that
// way's attributes turned to the direction of travel.
#pragma once

#include <vector>

#include "importing/import_path.h"
#include "importing/path_search.h"
#include "importing/railway_graph.h"
#include "importing/track_graph.h"

namespace scenario::importing {

// Fills path->points and path->spans from `run` (at least one arc), and
// adds a note for each value it could not read.
void build_path(const RailwayGraph& graph, const TrackGraph& tracks, const std::vector<Arc>& run,
                ImportPath* path);

// m, the geodesic length of the path from its first point to its last.
double path_length(const ImportPath& path);

}  // namespace scenario::importing
