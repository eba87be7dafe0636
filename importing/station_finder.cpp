#include "importing/station_finder.h"

#include <algorithm>
#include <charconv>
#include <map>

#include "authoring/edit_distance.h"
#include "importing/station_names.h"
#include "importing/track_tags.h"

namespace scenario::importing {

namespace {

constexpr std::size_t kNamesSuggested = 5;

std::string ref(const GraphNode& n) {
    return "n" + std::to_string(n.id);
}

// Splits the nodes into groups whose members lie within kOneStation of
// another member of the same group.
std::vector<std::vector<const GraphNode*>> stations_of(std::vector<const GraphNode*> nodes) {
    std::vector<std::vector<const GraphNode*>> groups;
    for (const GraphNode* n : nodes) {
        std::vector<std::size_t> near;
        for (std::size_t g = 0; g < groups.size(); ++g) {
            for (const GraphNode* m : groups[g]) {
                if (geodesic_length({n->lat, n->lon}, {m->lat, m->lon}) <= kOneStation) {
                    near.push_back(g);
                    break;
                }
            }
        }
        if (near.empty()) {
            groups.push_back({n});
            continue;
        }
        // The node joins the first group near it, and so do the others.
        auto& first = groups[near[0]];
        first.push_back(n);
        for (std::size_t k = near.size(); k-- > 1;) {
            first.insert(first.end(), groups[near[k]].begin(), groups[near[k]].end());
            groups.erase(groups.begin() + static_cast<std::ptrdiff_t>(near[k]));
        }
    }
    return groups;
}

std::string nearest_names(const RailwayGraph& graph, const TrackGraph& tracks,
                          const std::string& wanted) {
    std::map<std::string, std::string> names;  // normalised to as mapped
    for (const GraphNode& n : graph.nodes) {
        const std::string_view name = station_name(n.tags);
        if (!name.empty() && is_train_station(n, tracks))
            names.emplace(normalised_name(name), std::string(name));
    }
    std::vector<std::pair<std::size_t, std::string>> ranked;
    for (const auto& [key, name] : names)
        ranked.emplace_back(edit_distance(key, wanted), name);
    std::sort(ranked.begin(), ranked.end());
    if (ranked.empty()) return "the map has no station or halt on a track";
    std::string list = "the nearest names are";
    for (std::size_t i = 0; i < ranked.size() && i < kNamesSuggested; ++i)
        list += std::string(i == 0 ? " " : ", ") + "\"" + ranked[i].second + "\"";
    return list;
}

}  // namespace

std::string_view station_name(const Tags& tags) {
    const std::string_view name = tags.get("name");
    return name.empty() ? tags.get("official_name") : name;
}

bool is_train_station(const GraphNode& node, const TrackGraph& tracks) {
    if (!node.located) return false;
    switch (station_tag(node.tags)) {
        case StationTag::station:
        case StationTag::halt:
            return true;
        case StationTag::stop_position:
            return tracks.point_of(node.id).has_value();
        case StationTag::none:
            return false;
    }
    return false;
}

bool find_station(const RailwayGraph& graph, const TrackGraph& tracks, std::string_view name,
                  FoundStation* found, std::string* error) {
    // "n123": the station node itself, as an ambiguous name lists it.
    std::int64_t id = 0;
    const auto [end, ec] = std::from_chars(name.data() + std::min<std::size_t>(1, name.size()),
                                           name.data() + name.size(), id);
    if (name.size() > 1 && name[0] == 'n' && ec == std::errc() &&
        end == name.data() + name.size()) {
        const GraphNode* n = graph.node(id);
        if (n && is_train_station(*n, tracks) && !station_name(n->tags).empty()) {
            found->nodes = {n};
            found->name = std::string(station_name(n->tags));
            return true;
        }
    }
    const std::string wanted = normalised_name(name);
    std::vector<const GraphNode*> nodes;
    for (const GraphNode& n : graph.nodes) {
        if (n.tags.items.empty() || !is_train_station(n, tracks)) continue;
        if (normalised_name(station_name(n.tags)) == wanted && !wanted.empty()) nodes.push_back(&n);
    }
    if (nodes.empty()) {
        *error = "no station or halt named \"" + std::string(name) + "\" on the map; " +
                 nearest_names(graph, tracks, wanted);
        return false;
    }
    const auto groups = stations_of(nodes);
    if (groups.size() > 1) {
        *error =
            "\"" + std::string(name) + "\" names " + std::to_string(groups.size()) + " stations:";
        for (const auto& group : groups) {
            // A station node names the station best; else its first stop.
            const auto best = std::find_if(group.begin(), group.end(), [](const GraphNode* n) {
                return station_tag(n->tags) != StationTag::stop_position;
            });
            const GraphNode& n = **(best == group.end() ? group.begin() : best);
            *error += " " + ref(n) + " (\"" + std::string(station_name(n.tags)) + "\")";
        }
        *error += "; name one by its node, as in --from " + ref(**groups[0].begin());
        return false;
    }
    found->nodes = groups[0];
    found->name = std::string(station_name(found->nodes[0]->tags));
    for (const GraphNode* n : found->nodes)
        if (station_tag(n->tags) != StationTag::stop_position) found->name = station_name(n->tags);
    return true;
}

}  // namespace scenario::importing
