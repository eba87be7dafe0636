#include "importing/map_path.h"

#include <cmath>

#include "importing/path_builder.h"
#include "importing/path_objects.h"
#include "importing/path_search.h"
#include "importing/relation_chain.h"
#include "importing/station_finder.h"
#include "importing/station_names.h"
#include "importing/track_graph.h"
#include "importing/track_tags.h"

namespace scenario::importing {

namespace {

// How far to look for a track when saying how far a station is from one.
constexpr double kFarReach = 5000;

struct Stop {
    FoundStation station;
    std::vector<std::size_t> points;  // its places on the track graph
};

std::string quoted(std::string_view name) {
    return "\"" + std::string(name) + "\"";
}

// The station `name` and its places on the tracks: its nodes on a track,
// and each station node beside one at its nearest point there.
bool resolve(const RailwayGraph& graph, TrackGraph* tracks, const std::string& name, Stop* stop,
             std::string* error) {
    if (!find_station(graph, *tracks, name, &stop->station, error)) return false;
    std::optional<TrackPlace> closest;
    for (const GraphNode* n : stop->station.nodes) {
        if (const auto p = tracks->point_of(n->id)) {
            stop->points.push_back(*p);
            continue;
        }
        const auto place = tracks->nearest({n->lat, n->lon}, kFarReach);
        if (!place) continue;
        if (place->distance <= kStationReach) {
            stop->points.push_back(tracks->split(*place));
        } else if (!closest || place->distance < closest->distance) {
            closest = place;
        }
    }
    if (!stop->points.empty()) return true;
    *error = quoted(stop->station.name) + " (n" + std::to_string(stop->station.nodes[0]->id) + ") ";
    *error += closest ? "lies " + std::to_string(std::lround(closest->distance)) +
                            " m from the nearest track, more than the " +
                            std::to_string(std::lround(kStationReach)) + " m a station may"
                      : "has no track within " + std::to_string(std::lround(kFarReach)) + " m";
    return false;
}

// The run through every stop in order.
bool run_through(const TrackGraph& tracks, const std::vector<Stop>& stops, std::vector<Arc>* run,
                 std::string* error) {
    for (std::size_t i = 1; i < stops.size(); ++i) {
        std::optional<Arc> arriving;
        if (!run->empty()) arriving = run->back();
        // From the place the run reached, not from all the stop's places.
        std::vector<std::size_t> from = stops[i - 1].points;
        if (arriving) from = {arc_end(tracks, *arriving)};
        const auto leg = cheapest_run(tracks, from, stops[i].points, arriving);
        if (!leg) {
            *error = "no track joins " + quoted(stops[i - 1].station.name) + " and " +
                     quoted(stops[i].station.name) + " without reversing (a turn over " +
                     std::to_string(std::lround(kMaxTurnAtSwitch)) + " degrees at a switch)";
            return false;
        }
        run->insert(run->end(), leg->begin(), leg->end());
    }
    return true;
}

bool path_over(const RailwayGraph& graph, TrackGraph* tracks, const PathRequest& request,
               std::vector<Stop>* stops, std::vector<Arc>* run, std::string* error) {
    std::vector<std::string> names{request.from};
    names.insert(names.end(), request.via.begin(), request.via.end());
    names.push_back(request.to);
    stops->clear();
    for (const std::string& name : names) {
        Stop stop;
        if (!resolve(graph, tracks, name, &stop, error)) return false;
        stops->push_back(std::move(stop));
    }
    return run_through(*tracks, *stops, run, error);
}

// Along the relation: the first unbroken piece of it that joins the stops.
bool path_along_relation(const RailwayGraph& graph, const PathRequest& request,
                         std::optional<TrackGraph>* tracks, std::vector<Stop>* stops,
                         std::vector<Arc>* run, std::string* error) {
    std::vector<ChainPiece> pieces;
    if (!chain_relation(graph, *request.relation, &pieces, error)) return false;
    std::string first_error;
    for (const ChainPiece& piece : pieces) {
        tracks->emplace(graph, &piece.ways);
        run->clear();
        std::string why;
        if (path_over(graph, &**tracks, request, stops, run, &why)) return true;
        if (first_error.empty()) first_error = why;
    }
    if (pieces.size() == 1) {
        *error = "along r" + std::to_string(*request.relation) + ": " + first_error;
        return false;
    }
    *error = "r" + std::to_string(*request.relation) + " holds no unbroken stretch from " +
             quoted(request.from) + " to " + quoted(request.to) + ": " + pieces[0].broken_by;
    return false;
}

bool mark_passed(const PathRequest& request, ImportPath* path, std::string* error) {
    for (const std::string& name : request.pass) {
        bool found = false;
        for (PathObject& o : path->objects) {
            const bool station = o.kind == ObjectKind::station || o.kind == ObjectKind::halt;
            if (station && normalised_name(o.name) == normalised_name(name)) {
                o.passed = true;
                found = true;
            }
        }
        if (!found) {
            *error = "--pass " + quoted(name) + ": no station of that name on the path";
            return false;
        }
    }
    return true;
}

}  // namespace

bool find_path(const RailwayGraph& graph, const PathRequest& request, ImportPath* path,
               std::string* error) {
    if (normalised_name(request.from) == normalised_name(request.to)) {
        *error = "--from and --to name the same station";
        return false;
    }
    std::optional<TrackGraph> tracks;
    std::vector<Stop> stops;
    std::vector<Arc> run;
    if (request.relation) {
        if (!path_along_relation(graph, request, &tracks, &stops, &run, error)) return false;
    } else {
        tracks.emplace(graph);
        if (!path_over(graph, &*tracks, request, &stops, &run, error)) return false;
    }
    if (run.empty()) {
        *error = quoted(stops.front().station.name) + " and " + quoted(stops.back().station.name) +
                 " are one place on the track";
        return false;
    }
    *path = ImportPath{};
    path->from = stops.front().station.name;
    path->to = stops.back().station.name;
    build_path(graph, *tracks, run, path);
    const double length = path_length(*path);
    if (length > kLongestPath) {
        *error = "the path is " + std::to_string(std::lround(length)) + " m long, more than the " +
                 std::to_string(std::lround(kLongestPath)) + " m a line may be";
        return false;
    }
    place_objects(graph, *tracks, {path->from, path->to}, path);
    return mark_passed(request, path, error);
}

}  // namespace scenario::importing
