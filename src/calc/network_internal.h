#pragma once
// Pieces of the network table's input reading shared by network.cpp and
// network_levels.cpp; not part of the calc layer's interface.

#include <string>

#include "calc/network.h"

namespace mk::network_internal {

// A whole text that ParseLeadingNumber reads in full as a plain decimal.
bool IsNumberText(const std::string& text);
// "路線番号「name」", or "N行目" for a segment without a name.
std::string SegmentLabel(const NetworkRecord& record, int index);
// A refusal "<segment label>の<field caption><tail>" (just the caption for a setting).
NetworkRefusal Refuse(const NetworkRecord& record, int segment, const char* field, const std::string& tail);

}  // namespace mk::network_internal
