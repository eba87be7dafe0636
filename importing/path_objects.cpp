#include "importing/path_objects.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <unordered_map>

#include "importing/geodesy.h"
#include "importing/station_finder.h"
#include "importing/station_names.h"
#include "importing/track_tags.h"

namespace scenario::importing {

namespace {

// A platform belongs to a station when one of its nodes lies this close
// (m) to the station's place on the path.
constexpr double kPlatformReach = 100;
// A milestone this close (m) to the path counts its kilometres: the
// other track of a double line lies some 4 m away, a post beside the
// track a few metres more.
constexpr double kMilestoneReach = 30;
// A platform longer than this (m) is a mapping mistake, not a platform.
constexpr double kLongestPlatform = 1000;

std::string node_ref(std::int64_t id) {
    return "n" + std::to_string(id);
}

struct Place {
    std::size_t segment = 0;
    double along = 0;
    double offset = 0;
    bool on_path = true;
};

bool before(const Place& a, const Place& b) {
    return a.segment != b.segment ? a.segment < b.segment : a.along < b.along;
}

Place place_of_point(const ImportPath& path, std::size_t i) {
    const std::size_t last = path.points.size() - 1;
    return i < last ? Place{i, 0, 0, true} : Place{last - 1, 1, 0, true};
}

LatLon latlon(const PathPoint& p) {
    return {p.lat, p.lon};
}

LatLon latlon_at(const ImportPath& path, const Place& place) {
    return point_along(latlon(path.points[place.segment]), latlon(path.points[place.segment + 1]),
                       place.along);
}

// The nearest place of the path within `reach` m of `p`.
std::optional<Place> nearest_on_path(const ImportPath& path, LatLon p, double reach) {
    const double dlat = reach / 110000.0 + 1e-6;
    const double dlon = dlat / std::max(0.01, std::cos(p.lat * 3.14159265358979 / 180));
    std::optional<Place> best;
    for (std::size_t s = 0; s + 1 < path.points.size(); ++s) {
        const LatLon a = latlon(path.points[s]);
        const LatLon b = latlon(path.points[s + 1]);
        if (p.lat < std::min(a.lat, b.lat) - dlat || p.lat > std::max(a.lat, b.lat) + dlat ||
            p.lon < std::min(a.lon, b.lon) - dlon || p.lon > std::max(a.lon, b.lon) + dlon)
            continue;
        const Projection proj = project_onto_segment(p, a, b);
        if (proj.distance <= reach && (!best || proj.distance < best->offset))
            best = Place{s, proj.along, proj.distance, false};
    }
    return best;
}

// The span a train is on when it reaches point i.
const PathSpan& span_at(const ImportPath& path, std::size_t i) {
    const std::size_t segment = i == 0 ? 0 : i - 1;
    for (const PathSpan& span : path.spans)
        if (segment >= span.first && segment < span.last) return span;
    return path.spans.back();
}

PathObject object_at(ObjectKind kind, const GraphNode& n, const Place& place) {
    PathObject o;
    o.kind = kind;
    o.node = n.id;
    o.segment = place.segment;
    o.along = place.along;
    o.offset = place.offset;
    return o;
}

void add_signal(const ImportPath& path, std::size_t i, const GraphNode& n, ImportPath* out) {
    const SignalKind kind = signal_kind(n.tags);
    if (kind == SignalKind::other) {
        out->objects.push_back(object_at(ObjectKind::other, n, place_of_point(path, i)));
        return;
    }
    if (signal_deactivated(n.tags)) {
        out->notes.push_back({node_ref(n.id), "signal marked deactivated: left out"});
        return;
    }
    const std::optional<bool> faces = signal_faces(n.tags, span_at(path, i).forward);
    if (!faces) {
        out->notes.push_back({node_ref(n.id), "signal without railway:signal:direction: left out"});
        return;
    }
    if (!*faces) return;  // it speaks to trains the other way
    const ObjectKind k = kind == SignalKind::main      ? ObjectKind::main_signal
                         : kind == SignalKind::distant ? ObjectKind::distant_signal
                                                       : ObjectKind::combined_signal;
    out->objects.push_back(object_at(k, n, place_of_point(path, i)));
}

void add_milestone(const Place& place, const GraphNode& n, ImportPath* out) {
    std::string_view value = n.tags.get("railway:position:exact");
    if (value.empty()) value = n.tags.get("railway:position");
    const std::optional<double> km = parse_position(value);
    if (!km) {
        out->notes.push_back({node_ref(n.id), "milestone position \"" + std::string(value) +
                                                  "\" unreadable: left out"});
        return;
    }
    if (value.find(';') != std::string_view::npos)
        out->notes.push_back({node_ref(n.id), "milestone of several positions \"" +
                                                  std::string(value) + "\": the first taken"});
    PathObject o = object_at(ObjectKind::milestone, n, place);
    o.kilometre = km;
    out->objects.push_back(std::move(o));
}

struct StationNode {
    const GraphNode* node = nullptr;
    Place place;
};

// The station's nodes near the path: those on it, and station and halt
// nodes beside it.
std::vector<StationNode> station_nodes(
    const RailwayGraph& graph, const TrackGraph& tracks, const ImportPath& path,
    const std::unordered_map<std::int64_t, std::size_t>& on_path) {
    std::vector<StationNode> found;
    for (const GraphNode& n : graph.nodes) {
        if (n.tags.items.empty() || !is_train_station(n, tracks)) continue;
        const auto it = on_path.find(n.id);
        if (it != on_path.end()) {
            found.push_back({&n, place_of_point(path, it->second)});
        } else if (station_tag(n.tags) != StationTag::stop_position) {
            if (const auto place = nearest_on_path(path, {n.lat, n.lon}, kStationReach))
                found.push_back({&n, *place});
        }
    }
    return found;
}

double platform_length(const RailwayGraph& graph, const GraphWay& way) {
    const std::string_view tagged = way.tags.get("length");
    char* end = nullptr;
    const std::string text(tagged);
    const double value = tagged.empty() ? 0 : std::strtod(text.c_str(), &end);
    if (!tagged.empty() && end && *end == '\0' && value > 0) return value;
    std::vector<LatLon> nodes;
    for (const std::int64_t id : way.nodes)
        if (const GraphNode* n = graph.node(id); n && n->located) nodes.push_back({n->lat, n->lon});
    const bool area = way.nodes.size() > 3 && way.nodes.front() == way.nodes.back();
    double length = 0;
    if (!area) {
        for (std::size_t i = 1; i < nodes.size(); ++i)
            length += geodesic_length(nodes[i - 1], nodes[i]);
        return length;
    }
    // An area's length is its longest extent.
    for (std::size_t i = 0; i < nodes.size(); ++i)
        for (std::size_t j = i + 1; j < nodes.size(); ++j)
            length = std::max(length, geodesic_length(nodes[i], nodes[j]));
    return length;
}

std::optional<double> platform_near(const RailwayGraph& graph, LatLon place) {
    std::optional<double> longest;
    for (const GraphWay& way : graph.ways) {
        if (!is_platform(way.tags)) continue;
        bool near = false;
        for (const std::int64_t id : way.nodes) {
            const GraphNode* n = graph.node(id);
            if (n && n->located && geodesic_length({n->lat, n->lon}, place) <= kPlatformReach) {
                near = true;
                break;
            }
        }
        if (!near) continue;
        const double length = platform_length(graph, way);
        if (length > 0 && length <= kLongestPlatform && (!longest || length > *longest))
            longest = length;
    }
    return longest;
}

bool is_path_end(const ImportPath& path, const Place& place) {
    return (place.segment == 0 && place.along <= 0) ||
           (place.segment + 2 == path.points.size() && place.along >= 1);
}

// Milestones on the other track of a double line, or beside the track,
// count the line's kilometres as well: each within kMilestoneReach of the
// path is placed at its nearest point.
void add_beside(const RailwayGraph& graph,
                const std::unordered_map<std::int64_t, std::size_t>& on_path, ImportPath* path) {
    for (const GraphNode& n : graph.nodes) {
        if (!n.located || n.tags.get("railway") != "milestone" || on_path.count(n.id)) continue;
        const auto place = nearest_on_path(*path, {n.lat, n.lon}, kMilestoneReach);
        if (place && !is_path_end(*path, *place)) add_milestone(*place, n, path);
    }
}

// One object per station: placed at its stop on the path when it has one,
// else at the nearest point to its station node.
void add_stations(const RailwayGraph& graph, const TrackGraph& tracks, const EndStations& ends,
                  const std::unordered_map<std::int64_t, std::size_t>& on_path, ImportPath* path) {
    std::map<std::string, std::vector<StationNode>> by_name;
    for (const StationNode& s : station_nodes(graph, tracks, *path, on_path)) {
        const std::string_view name = station_name(s.node->tags);
        if (name.empty()) {
            path->notes.push_back({node_ref(s.node->id), "a stop without a name: left out"});
            continue;
        }
        by_name[normalised_name(name)].push_back(s);
    }
    const std::string from = normalised_name(ends.from);
    const std::string to = normalised_name(ends.to);
    for (auto& [key, nodes] : by_name) {
        std::sort(nodes.begin(), nodes.end(), [](const StationNode& a, const StationNode& b) {
            if (a.place.on_path != b.place.on_path) return a.place.on_path;
            return a.place.on_path ? before(a.place, b.place) : a.place.offset < b.place.offset;
        });
        const StationNode& at = nodes.front();
        PathObject o = object_at(ObjectKind::halt, *at.node, at.place);
        o.name = std::string(station_name(at.node->tags));
        for (const StationNode& s : nodes) {
            if (station_tag(s.node->tags) == StationTag::station) o.kind = ObjectKind::station;
            if (station_tag(s.node->tags) != StationTag::stop_position)
                o.name = std::string(station_name(s.node->tags));
        }
        if (key == from) {
            o.segment = 0, o.along = 0;
        } else if (key == to) {
            o.segment = path->points.size() - 2, o.along = 1;
        } else if (!at.place.on_path && is_path_end(*path, at.place)) {
            // Its nearest point is an end: it lies beyond the path.
            continue;
        } else if (!at.place.on_path) {
            path->notes.push_back(
                {node_ref(at.node->id), "\"" + o.name + "\" is " +
                                            std::to_string(std::lround(at.place.offset)) +
                                            " m beside the track: placed at its nearest point"});
        }
        o.platform_length = platform_near(graph, latlon_at(*path, {o.segment, o.along, 0, true}));
        path->objects.push_back(std::move(o));
    }
}

}  // namespace

void place_objects(const RailwayGraph& graph, const TrackGraph& tracks, const EndStations& ends,
                   ImportPath* path) {
    path->objects.clear();
    if (path->points.size() < 2 || path->spans.empty()) return;
    std::unordered_map<std::int64_t, std::size_t> on_path;
    for (std::size_t i = 0; i < path->points.size(); ++i)
        if (path->points[i].node != 0) on_path.emplace(path->points[i].node, i);
    for (std::size_t i = 0; i < path->points.size(); ++i) {
        const GraphNode* n = graph.node(path->points[i].node);
        if (!n || n->tags.items.empty() || is_train_station(*n, tracks)) continue;
        const std::string_view railway = n->tags.get("railway");
        if (railway == "signal") {
            add_signal(*path, i, *n, path);
        } else if (railway == "milestone") {
            add_milestone(place_of_point(*path, i), *n, path);
        } else if (railway == "level_crossing" || railway == "crossing") {
            path->objects.push_back(
                object_at(ObjectKind::level_crossing, *n, place_of_point(*path, i)));
        } else if (!railway.empty()) {
            path->objects.push_back(object_at(ObjectKind::other, *n, place_of_point(*path, i)));
        }
    }
    add_beside(graph, on_path, path);
    add_stations(graph, tracks, ends, on_path, path);
    // Stations first where objects share a place, so the path begins with
    // its first station.
    const auto rank = [](const PathObject& o) {
        return o.kind == ObjectKind::station || o.kind == ObjectKind::halt ? 0 : 1;
    };
    std::stable_sort(path->objects.begin(), path->objects.end(),
                     [&](const PathObject& a, const PathObject& b) {
                         if (a.segment != b.segment) return a.segment < b.segment;
                         if (a.along != b.along) return a.along < b.along;
                         return rank(a) < rank(b);
                     });
}

}  // namespace scenario::importing
