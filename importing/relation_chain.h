// A route relation's tracks as a train runs them: its way members chained
// end to end through the nodes they share, each way's direction taken from
// the node it shares with the way before. An extract that cuts the
// relation, or members that do not meet, break the chain into pieces.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "importing/railway_graph.h"

namespace scenario::importing {

struct ChainPiece {
    std::vector<std::size_t> ways;  // indices into RailwayGraph::ways, in running order
    std::vector<bool> forward;      // each drawn in the direction of the chain
    std::string broken_by;          // why the piece ends before the relation does; empty at its end
};

// The pieces of relation `id`, or false with `error` one line when the map
// has no such route relation or it holds no track of the extract.
bool chain_relation(const RailwayGraph& graph, std::int64_t id, std::vector<ChainPiece>* pieces,
                    std::string* error);

}  // namespace scenario::importing
