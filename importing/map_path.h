// The path of an import from the railway graph: along a route relation
// when one is named, else the cheapest run over the tracks from one
// station through the others to the last; then the objects along it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "importing/import_path.h"
#include "importing/railway_graph.h"

namespace scenario::importing {

struct PathRequest {
    std::string from;  // station names as the author typed them, or "n123"
    std::string to;
    std::vector<std::string> via;
    std::vector<std::string> pass;  // stations the train runs through
    std::optional<std::int64_t> relation;
};

// The longest path an import makes, in m: beyond it the line's positions
// outgrow the format's fields.
inline constexpr double kLongestPath = 1000000;

// The path, or false with `error` one line saying why there is none.
bool find_path(const RailwayGraph& graph, const PathRequest& request, ImportPath* path,
               std::string* error);

}  // namespace scenario::importing
