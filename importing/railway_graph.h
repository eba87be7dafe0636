// The railway part of a map as the reading layer hands it over: nodes,
// ways and route relations with the tags kept, in plain types of our own,
// so that the path search and everything after it are tested on texts and
// structures without a map file or the map library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace scenario::importing {

struct Tags {
    std::vector<std::pair<std::string, std::string>> items;

    // The value of `key`, empty when the object does not have it.
    std::string_view get(std::string_view key) const {
        for (const auto& [k, v] : items)
            if (k == key) return v;
        return {};
    }
    bool has(std::string_view key) const {
        for (const auto& item : items)
            if (item.first == key) return true;
        return false;
    }
};

struct GraphNode {
    std::int64_t id = 0;
    double lat = 0;  // degrees, WGS84
    double lon = 0;
    bool located = false;  // false: the extract holds no place for it
    Tags tags;             // only for the railway nodes kept in the first pass
};

struct GraphWay {
    std::int64_t id = 0;
    std::vector<std::int64_t> nodes;
    Tags tags;
};

struct RelationMember {
    char type = 'w';  // 'n', 'w' or 'r'
    std::int64_t ref = 0;
    std::string role;
};

struct GraphRelation {
    std::int64_t id = 0;
    std::vector<RelationMember> members;  // in the relation's order
    Tags tags;
};

struct RailwayGraph {
    std::vector<GraphNode> nodes;
    std::vector<GraphWay> ways;  // tracks and platforms
    std::vector<GraphRelation> relations;
    std::unordered_map<std::int64_t, std::size_t> node_index;  // id to `nodes`
    std::unordered_map<std::int64_t, std::size_t> way_index;   // id to `ways`

    // The node with `id`, or nullptr when the graph lacks it.
    const GraphNode* node(std::int64_t id) const {
        const auto it = node_index.find(id);
        return it == node_index.end() ? nullptr : &nodes[it->second];
    }
    const GraphWay* way(std::int64_t id) const {
        const auto it = way_index.find(id);
        return it == way_index.end() ? nullptr : &ways[it->second];
    }
    // Adds or finds the node with `id`, and returns it.
    GraphNode& node_slot(std::int64_t id) {
        const auto [it, added] = node_index.try_emplace(id, nodes.size());
        if (added) nodes.push_back(GraphNode{id, 0, 0, false, {}});
        return nodes[it->second];
    }
    void add_way(GraphWay way) {
        way_index.emplace(way.id, ways.size());
        ways.push_back(std::move(way));
    }
};

}  // namespace scenario::importing
