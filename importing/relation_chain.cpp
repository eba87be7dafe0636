#include "importing/relation_chain.h"

#include "importing/track_tags.h"

namespace scenario::importing {

namespace {

// Routes of trains; a relation of another route is no train's path.
constexpr std::string_view kTrainRoutes[] = {"train", "railway", "light_rail", "tracks"};

// Members in these roles are the route's stops and platforms, not its track.
bool is_track_role(std::string_view role) {
    return role.empty() || role == "forward" || role == "backward" || role == "main";
}

std::string way_ref(std::int64_t id) {
    return "w" + std::to_string(id);
}

}  // namespace

bool chain_relation(const RailwayGraph& graph, std::int64_t id, std::vector<ChainPiece>* pieces,
                    std::string* error) {
    const GraphRelation* relation = nullptr;
    for (const GraphRelation& r : graph.relations)
        if (r.id == id) relation = &r;
    const std::string rel = "r" + std::to_string(id);
    if (!relation) {
        *error = "the map holds no route relation " + rel;
        return false;
    }
    bool train = false;
    for (const std::string_view route : kTrainRoutes)
        train = train || relation->tags.get("route") == route;
    if (!train) {
        *error =
            rel + " is no train route (route=" + std::string(relation->tags.get("route")) + ")";
        return false;
    }
    pieces->clear();
    pieces->emplace_back();
    std::int64_t end = 0;  // the node the chain has reached
    std::size_t position = 0;
    for (const RelationMember& m : relation->members) {
        if (m.type != 'w' || !is_track_role(m.role)) continue;
        ++position;
        const GraphWay* way = graph.way(m.ref);
        ChainPiece* piece = &pieces->back();
        const std::string where =
            "member " + std::to_string(position) + " of " + rel + ", " + way_ref(m.ref);
        if (!way || !is_track(way->tags) || way->nodes.size() < 2) {
            if (!piece->ways.empty()) {
                piece->broken_by = where + ", is not a track of the extract";
                pieces->emplace_back();
            }
            end = 0;
            continue;
        }
        const std::size_t index = graph.way_index.at(m.ref);
        const std::int64_t first = way->nodes.front();
        const std::int64_t last = way->nodes.back();
        if (piece->ways.empty()) {
            piece->ways.push_back(index);
            piece->forward.push_back(true);
            end = 0;  // decided by the next way
            continue;
        }
        if (end == 0) {
            // The first way's direction is that which meets this one.
            const GraphWay& previous = graph.ways[piece->ways.back()];
            const bool meets_at_last =
                previous.nodes.back() == first || previous.nodes.back() == last;
            const bool meets_at_first =
                previous.nodes.front() == first || previous.nodes.front() == last;
            if (!meets_at_last && meets_at_first) piece->forward.back() = false;
            end = piece->forward.back() ? previous.nodes.back() : previous.nodes.front();
        }
        if (first == end || last == end) {
            piece->ways.push_back(index);
            piece->forward.push_back(first == end);
            end = first == end ? last : first;
            continue;
        }
        piece->broken_by =
            where + ", does not meet " + way_ref(graph.ways[piece->ways.back()].id) + " before it";
        pieces->emplace_back();
        pieces->back().ways.push_back(index);
        pieces->back().forward.push_back(true);
        end = 0;
    }
    if (pieces->back().ways.empty()) pieces->pop_back();
    if (pieces->empty()) {
        *error = rel + " holds no track of the extract";
        return false;
    }
    return true;
}

}  // namespace scenario::importing
