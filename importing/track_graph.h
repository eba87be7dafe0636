// The tracks of a map as a graph a train can run over: every segment of a
// track way between two located nodes is an edge, run in either direction,
// with its geodesic length, its azimuths and what it costs a path. A
// station beside a track becomes a point of its own on the nearest
// segment, which the segment is split at.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "importing/geodesy.h"
#include "importing/railway_graph.h"

namespace scenario::importing {

struct TrackEdge {
    std::size_t a = 0;  // indices into TrackGraph::points, `a` first in the way's drawing
    std::size_t b = 0;
    std::size_t way = 0;  // index into RailwayGraph::ways
    double length = 0;    // m
    Azimuths ab;          // running from a to b
    double cost = 0;      // length times the way's cost factor
    // railway:preferred_direction (or, untagged, the one way its signals
    // face): +1 trains run as the way is drawn, -1 against it, 0 both.
    double preferred = 0;
    bool removed = false;  // split into two at a point of its own
};

struct TrackPoint {
    std::int64_t node = 0;  // the map's node; 0 for a point split into a segment
    LatLon place;
    std::vector<std::size_t> edges;  // indices into TrackGraph::edges
};

// The nearest place on a track to a point off it.
struct TrackPlace {
    std::size_t edge = 0;
    double along = 0;     // share of the edge from `a`
    double distance = 0;  // m from the point
};

class TrackGraph {
  public:
    // The tracks of `graph`, or of the listed ways only when `only` is
    // given (indices into graph.ways).
    TrackGraph(const RailwayGraph& graph, const std::vector<std::size_t>* only = nullptr);

    const std::vector<TrackPoint>& points() const { return points_; }
    const std::vector<TrackEdge>& edges() const { return edges_; }
    // The point of the map's node, when a track uses it.
    std::optional<std::size_t> point_of(std::int64_t node) const;
    // The nearest place on a track within `reach` m of `p`.
    std::optional<TrackPlace> nearest(LatLon p, double reach) const;
    // A point of its own at `place`, splitting its edge (or the edge's end
    // when the place is at one); returns the point's index.
    std::size_t split(const TrackPlace& place);

  private:
    void add_edge(std::size_t a, std::size_t b, std::size_t way, double factor, double preferred);

    std::vector<TrackPoint> points_;
    std::vector<TrackEdge> edges_;
    std::vector<std::pair<std::int64_t, std::size_t>> by_node_;  // sorted by node
};

}  // namespace scenario::importing
