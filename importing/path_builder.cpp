#include "importing/path_builder.h"

#include <cstdlib>

#include "importing/geodesy.h"
#include "importing/track_tags.h"

namespace scenario::importing {

namespace {

std::string way_ref(const GraphWay& way) {
    return "w" + std::to_string(way.id);
}

PathPoint point_of(const RailwayGraph& graph, const TrackPoint& p) {
    PathPoint out{p.node, p.place.lat, p.place.lon, std::nullopt};
    if (const GraphNode* n = graph.node(p.node)) {
        const std::string_view ele = n->tags.get("ele");
        const std::string text(ele);
        char* end = nullptr;
        const double value = ele.empty() ? 0 : std::strtod(text.c_str(), &end);
        if (!ele.empty() && end && *end == '\0' && value > -500 && value < 9000) out.ele = value;
    }
    return out;
}

// The way's attributes for the direction of travel.
PathSpan span_of(const GraphWay& way, bool forward, std::vector<ImportNote>* notes) {
    PathSpan span;
    span.way = way.id;
    span.forward = forward;
    std::string raw;
    span.maxspeed = maxspeed_for(way.tags, forward, &raw);
    if (!raw.empty() && !span.maxspeed)
        notes->push_back(
            {way_ref(way), "maxspeed \"" + raw + "\" is no speed: no limit taken from it"});
    span.tunnel = is_tunnel(way.tags);
    span.bridge = is_bridge(way.tags);
    if (span.tunnel) {
        const std::string_view name = way.tags.get("tunnel:name");
        span.tunnel_name = std::string(name.empty() ? way.tags.get("name") : name);
    }
    const std::string_view incline = way.tags.get("incline");
    if (!incline.empty()) {
        const int sign = forward ? 1 : -1;
        if (const std::optional<double> value = parse_incline(incline)) {
            span.incline = *value * sign;
        } else if (const int s = incline_sign(incline); s != 0) {
            span.incline_sign = s * sign;
        } else {
            notes->push_back({way_ref(way),
                              "incline \"" + std::string(incline) + "\" is no gradient: left out"});
        }
    }
    return span;
}

}  // namespace

void build_path(const RailwayGraph& graph, const TrackGraph& tracks, const std::vector<Arc>& run,
                ImportPath* path) {
    path->points.clear();
    path->spans.clear();
    if (run.empty()) return;
    path->points.push_back(point_of(graph, tracks.points()[arc_start(tracks, run[0])]));
    for (std::size_t i = 0; i < run.size(); ++i) {
        const TrackEdge& edge = tracks.edges()[run[i].edge];
        path->points.push_back(point_of(graph, tracks.points()[arc_end(tracks, run[i])]));
        const bool same = !path->spans.empty() &&
                          path->spans.back().way == graph.ways[edge.way].id &&
                          path->spans.back().forward == run[i].forward;
        if (same) {
            path->spans.back().last = i + 1;
            continue;
        }
        PathSpan span = span_of(graph.ways[edge.way], run[i].forward, &path->notes);
        span.first = i;
        span.last = i + 1;
        path->spans.push_back(std::move(span));
    }
}

double path_length(const ImportPath& path) {
    double length = 0;
    for (std::size_t i = 1; i < path.points.size(); ++i) {
        length += geodesic_length({path.points[i - 1].lat, path.points[i - 1].lon},
                                  {path.points[i].lat, path.points[i].lon});
    }
    return length;
}

}  // namespace scenario::importing
