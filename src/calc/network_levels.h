#pragma once
// The design checks of the network flow table: the depth and velocity of
// each segment at its design flow, ground and invert levels from upstream
// to downstream, the covers, the drops at the manholes, and the checks
// against the design criteria (velocity range, minimum size, cover, joint,
// the outlet's fixed invert, manhole spacing).
//
// Inverts are set from upstream to downstream.  A head segment starts as
// shallow as the minimum cover allows at both its ends; an inner segment
// starts where the joint method (NetworkCriteria::joint) puts it against
// every segment flowing in, at the lowest of them, less the node's minimum
// drop, and lower still where its own cover needs it.  A typed upstream
// invert (or a fixed invert at the upstream node) is taken as it is and
// checked against the joint.  Every downstream invert is its upstream
// invert less L·i/1000.  Nothing is rounded between steps.

#include <optional>
#include <string>
#include <vector>

#include "calc/network.h"
#include "calc/network_level_types.h"

namespace mk {

// Short names of the checks (照査 column) and notes (備考 column).
namespace network_check {
inline constexpr const char* kPass = "適";  // the 照査 text when no check fails
inline constexpr const char* kVelocity = "流速";
inline constexpr const char* kSize = "管径";
inline constexpr const char* kCover = "土被り";
inline constexpr const char* kJoint = "接合";
inline constexpr const char* kOutlet = "放流先";
inline constexpr const char* kSpacing = "間隔";
inline constexpr const char* kDropPipe = "副管";
inline constexpr const char* kSlower = "流速減";
inline constexpr const char* kOverfull = "満流超";
inline constexpr const char* kNoWall = "管厚未設定";
}  // namespace network_check

// What a table without any ground level says once, in place of the levels.
inline constexpr const char* kNoLevelsNotice =
    "地盤高が入力されていないため、管底高・土被りの計算と照査（土被り・接合・放流先）は行っていません。";

// The criteria as numbers.  An empty criterion is not checked (nothing).
struct NetworkCriteriaNumbers {
  std::optional<double> velocityMin, velocityMax;  // m/sec
  std::optional<double> minimumSize;               // mm
  std::optional<double> minimumCover;              // m
  JointMethod joint = JointMethod::Crown;
  std::optional<double> dropPipe;                  // m
  std::optional<double> spacing600, spacing1000, spacing1500, spacingLarger;  // m
  double minimumDrop = 0.0;                        // m; empty reads as 0
};

// Reads the criteria; a refusal names the criterion (segment -1).
std::optional<NetworkRefusal> ReadNetworkCriteria(const NetworkRecord& record, NetworkCriteriaNumbers& out);
// Checks the node rows (numbers where given, no name twice) and every
// segment's typed invert and wall; a refusal names the node or segment.
std::optional<NetworkRefusal> CheckNetworkLevelInputs(const NetworkRecord& record);

// Every node the segments name, in the order they are first named (each
// segment's upstream, then its downstream, in the record's order).
std::vector<std::string> NetworkNodeNames(const NetworkRecord& record);

// The size a segment is judged by for the minimum size and the spacing, mm:
// a catalogue pipe's nominal size, an other circular pipe's D, the smaller
// of a rectangular pipe's B and H.
double NetworkNominalSize(const NetworkSegment& segment, const NetworkRow& row);

// The standard wall thickness (m) of a catalogue size: the PVC pipes'
// (outer − inner diameter) / 2, the Hume pipes' type B class 1 wall up to
// φ1350; nothing for the sizes where no standard wall is kept here.
std::optional<double> StandardWallThickness(PipeMaterial material, int sizeIndex);

// The depth at which a section carries `Q1`, solved to 1e-9 m on the exact
// circle (or rectangle) with the given velocity formula; see
// NetworkSegmentLevels for h, hRatio, velocity and overfull.  `rectangular`:
// width B and height H; otherwise a circle of diameter D.
struct DepthAtFlow {
  double h = 0.0, hRatio = 0.0, velocity = 0.0;
  bool overfull = false;
};
DepthAtFlow DepthForFlow(bool rectangular, double D, double B, double H, double slope, double n,
                         VelocityFormula formula, double Q1);

struct NetworkLevels {
  bool hasLevels = false;  // some node the segments name has a ground level
  std::vector<NetworkSegmentLevels> segments;  // one per segment, the record's order
  std::vector<NetworkNodeLevels> nodes;        // NetworkNodeNames' order
};

// The levels and checks of a computed table (ComputeNetwork's table of the
// same record; ComputeNetwork already puts them into its rows).  The
// criteria and level inputs are read as ComputeNetwork reads them; an
// input that does not read is treated as empty.
NetworkLevels ComputeNetworkLevels(const NetworkRecord& record, const NetworkTable& table);

// The 照査 text of a row: the failed checks joined by "・", or "適".
std::string NetworkCheckText(const NetworkSegmentLevels& levels);
// The 備考 text: the notes joined by "・".
std::string NetworkNotesText(const NetworkSegmentLevels& levels);

}  // namespace mk
