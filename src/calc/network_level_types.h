#pragma once
// The values the design checks of the network flow table give per segment
// and per node (see network_levels.h for how they are computed).  Kept
// apart so that NetworkRow (network.h) can carry them.

#include <optional>
#include <string>
#include <vector>

namespace mk {

// Where the wall thickness used for a segment's cover comes from.
enum class WallSource {
  None,     // not typed and no standard wall for the facility: taken as 0
  Default,  // the catalogue size's standard wall
  Typed,    // typed in the segment's 管厚 cell
};

// One segment's depth and velocity at its design flow Q1, its levels and
// its checks.  Levels in m above the datum the ground levels are given in;
// a level is empty where it cannot be known (no ground level near it, or
// the table has no levels at all).
struct NetworkSegmentLevels {
  // The section's inner height (D, or H of a rectangular pipe), m.
  double height = 0.0;
  // The depth h at which the section carries Q1 with the table's velocity
  // formula, h/height, and Q1 / A(h).  When Q1 is more than the section
  // carries at any depth, h is the full height and the velocity the full
  // section's (`overfull`).
  double h = 0.0;
  double hRatio = 0.0;
  double velocity = 0.0;
  bool overfull = false;

  double wall = 0.0;  // m, as used for the cover
  WallSource wallSource = WallSource::None;

  std::optional<double> groundUp, groundDown;  // 地盤高 at the upstream / downstream node
  std::optional<double> invertUp, invertDown;  // 管底高 (inner bottom)
  std::optional<double> crownUp, crownDown;    // inner top: invert + height
  std::optional<double> waterUp, waterDown;    // water level at Q1: invert + h
  std::optional<double> coverUp, coverDown;    // 土被り: ground − (crown + wall)
  // 段差 at the upstream manhole: the lowest downstream invert of the
  // segments flowing in, minus this segment's upstream invert.  Empty at a
  // head segment.
  std::optional<double> drop;
  bool invertTyped = false;  // the upstream invert was typed (or fixed at its node), not computed

  // Short names of the checks that fail ("流速", "管径", "土被り", "接合",
  // "放流先", "間隔"), in that order; and of the notes that do not fail the
  // row ("副管", "流速減", "満流超", "管厚未設定").
  std::vector<std::string> failed;
  std::vector<std::string> notes;
  bool operator==(const NetworkSegmentLevels&) const = default;
};

// One node the segments name, with the levels given for it.
struct NetworkNodeLevels {
  std::string name;
  std::optional<double> ground;  // 地盤高
  std::optional<double> invert;  // the fixed 管底高, when given
};

}  // namespace mk
