#include "importing/track_graph.h"

#include <algorithm>
#include <cmath>

#include "importing/track_tags.h"

namespace scenario::importing {

namespace {

// A place this close to a segment's end (m) is the end itself.
constexpr double kSameEnd = 0.5;

// railway:preferred_direction as tagged; untagged, the direction its
// signals face when they all face one way (a double line's track carries
// the signals of the trains that run on it).
double preferred_direction(const RailwayGraph& graph, const GraphWay& way) {
    const std::string_view tagged = way.tags.get("railway:preferred_direction");
    if (tagged == "forward") return 1;
    if (tagged == "backward") return -1;
    if (!tagged.empty()) return 0;
    int forward = 0;
    int backward = 0;
    for (const std::int64_t id : way.nodes) {
        const GraphNode* n = graph.node(id);
        if (!n || n->tags.items.empty()) continue;
        const SignalKind kind = signal_kind(n->tags);
        if (kind == SignalKind::none || kind == SignalKind::other) continue;
        const std::string_view direction = n->tags.get("railway:signal:direction");
        forward += direction == "forward";
        backward += direction == "backward";
    }
    if (forward > 0 && backward == 0) return 1;
    if (backward > 0 && forward == 0) return -1;
    return 0;
}

}  // namespace

TrackGraph::TrackGraph(const RailwayGraph& graph, const std::vector<std::size_t>* only) {
    std::vector<std::size_t> all;
    if (!only) {
        for (std::size_t w = 0; w < graph.ways.size(); ++w)
            all.push_back(w);
        only = &all;
    }
    std::vector<std::pair<std::int64_t, std::size_t>> index;
    for (const std::size_t w : *only) {
        if (w >= graph.ways.size() || !is_track(graph.ways[w].tags)) continue;
        for (const std::int64_t id : graph.ways[w].nodes)
            index.emplace_back(id, 0);
    }
    std::sort(index.begin(), index.end());
    index.erase(std::unique(index.begin(), index.end(),
                            [](const auto& x, const auto& y) { return x.first == y.first; }),
                index.end());
    for (auto& [id, point] : index) {
        const GraphNode* n = graph.node(id);
        point = points_.size();
        points_.push_back(TrackPoint{id, n && n->located ? LatLon{n->lat, n->lon} : LatLon{}, {}});
    }
    by_node_ = index;
    for (const std::size_t w : *only) {
        if (w >= graph.ways.size() || !is_track(graph.ways[w].tags)) continue;
        const GraphWay& way = graph.ways[w];
        const double factor = track_cost_factor(way.tags);
        const double pref = preferred_direction(graph, way);
        for (std::size_t i = 1; i < way.nodes.size(); ++i) {
            const GraphNode* a = graph.node(way.nodes[i - 1]);
            const GraphNode* b = graph.node(way.nodes[i]);
            if (!a || !b || !a->located || !b->located || a->id == b->id) continue;
            add_edge(*point_of(a->id), *point_of(b->id), w, factor, pref);
        }
    }
}

void TrackGraph::add_edge(std::size_t a, std::size_t b, std::size_t way, double factor,
                          double preferred) {
    TrackEdge e;
    e.a = a;
    e.b = b;
    e.way = way;
    e.length = geodesic_length(points_[a].place, points_[b].place);
    e.ab = geodesic_azimuths(points_[a].place, points_[b].place);
    e.cost = e.length * factor;
    e.preferred = preferred;
    points_[a].edges.push_back(edges_.size());
    points_[b].edges.push_back(edges_.size());
    edges_.push_back(e);
}

std::optional<std::size_t> TrackGraph::point_of(std::int64_t node) const {
    const auto it =
        std::lower_bound(by_node_.begin(), by_node_.end(), std::pair{node, std::size_t{0}});
    if (it == by_node_.end() || it->first != node) return std::nullopt;
    return it->second;
}

std::optional<TrackPlace> TrackGraph::nearest(LatLon p, double reach) const {
    // A cheap box first: a degree of latitude is at least 110 km, one of
    // longitude at least that times the cosine.
    const double dlat = reach / 110000.0 + 1e-6;
    const double dlon = dlat / std::max(0.01, std::cos(p.lat * 3.14159265358979 / 180));
    std::optional<TrackPlace> best;
    for (std::size_t e = 0; e < edges_.size(); ++e) {
        const TrackEdge& edge = edges_[e];
        if (edge.removed) continue;
        const LatLon a = points_[edge.a].place;
        const LatLon b = points_[edge.b].place;
        if (p.lat < std::min(a.lat, b.lat) - dlat || p.lat > std::max(a.lat, b.lat) + dlat ||
            p.lon < std::min(a.lon, b.lon) - dlon || p.lon > std::max(a.lon, b.lon) + dlon)
            continue;
        const Projection proj = project_onto_segment(p, a, b);
        if (proj.distance > reach) continue;
        if (!best || proj.distance < best->distance)
            best = TrackPlace{e, proj.along, proj.distance};
    }
    return best;
}

std::size_t TrackGraph::split(const TrackPlace& place) {
    const TrackEdge edge = edges_[place.edge];
    if (place.along * edge.length <= kSameEnd) return edge.a;
    if ((1 - place.along) * edge.length <= kSameEnd) return edge.b;
    const LatLon x = point_along(points_[edge.a].place, points_[edge.b].place, place.along);
    const std::size_t point = points_.size();
    points_.push_back(TrackPoint{0, x, {}});
    edges_[place.edge].removed = true;
    const double factor = edge.length > 0 ? edge.cost / edge.length : 1;
    add_edge(edge.a, point, edge.way, factor, edge.preferred);
    add_edge(point, edge.b, edge.way, factor, edge.preferred);
    return point;
}

}  // namespace scenario::importing
