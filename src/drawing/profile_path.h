#pragma once
// The flow path a profile draws, taken from a computed network flow table
// with its levels: from a node down to the outlet, each segment's levels as
// the table computed them (ComputeNetworkLevels), each node's ground level.

#include <optional>
#include <string>
#include <vector>

#include "calc/network.h"
#include "drawing/profile_drawing.h"

namespace mk::drawing {

// The head nodes (no segment flows into them), in the record's order.
std::vector<std::string> ProfileHeads(const NetworkRecord& record, const NetworkTable& table);

// The head whose path to the outlet is the longest by length (the first of
// equals in the record's order); empty when the table has no segment.
std::string LongestPathHead(const NetworkRecord& record, const NetworkTable& table);

// The path from node `from` (empty: LongestPathHead) down to the outlet.
// Refused when the table has no levels, the node has no segment flowing
// out of it, or a level on the path is not known.
ProfilePathResult ProfilePathFrom(const NetworkRecord& record, const NetworkTable& table, const std::string& from);

}  // namespace mk::drawing
