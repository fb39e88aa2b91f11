#pragma once
// The network flow table (流量計算表): every pipe segment of a drainage
// network, areas and C·A accumulated from upstream to downstream, the time
// of concentration grown by each upstream segment's flow time, each segment
// with its own rainfall intensity, flows, capacity and verdict.
//
// The record holds the inputs as the table shows them (texts as typed,
// choices as indexes), as ProjectRecord does for one facility; numbers are
// read with ParseLeadingNumber when the table is computed.  The computation
// reuses the single-facility pieces unchanged: the sections and
// ComputeCapacity for V and Q2, IntensityByFormula for I, and the check
// run's flow arithmetic for Q11, Q12 and Q1.  Nothing is rounded between
// steps; the column texts use the single-facility screens' patterns.

#include <optional>
#include <string>
#include <vector>

#include "calc/catalogue.h"
#include "calc/intensity.h"
#include "calc/network_level_types.h"
#include "model/hydraulic_types.h"
#include "model/project_record.h"

namespace mk {

// ---------------------------------------------------------------- inputs

// How the pipes leaving a manhole are set against the pipes entering it.
enum class JointMethod { Crown = 0, WaterSurface = 1, Centre = 2, Invert = 3 };  // 管頂, 水面, 管中心, 管底
inline constexpr int kJointMethodCount = 4;
// "管頂接合", "水面接合", "管中心接合", "管底接合": as the settings, the
// file and the printed table name the method; "" outside the list.
const char* JointMethodCaption(JointMethod method);

// The design criteria every segment is checked against (texts as typed,
// lengths in m, sizes in mm, velocities in m/sec).  The defaults are the
// usual values for combined and storm sewers; see the README for where
// each comes from.
struct NetworkCriteria {
  std::string velocityMin = "0.8";
  std::string velocityMax = "3.0";
  std::string minimumSize = "250";   // mm
  std::string minimumCover = "1.0";  // m, ground to the pipe's outer top
  JointMethod joint = JointMethod::Crown;
  std::string dropPipe = "0.6";      // a drop at a manhole this large or more needs a drop pipe (副管)
  // Largest manhole spacing (segment length) by pipe size.
  std::string spacing600 = "75";     // size <= 600 mm
  std::string spacing1000 = "100";   // size <= 1000 mm
  std::string spacing1500 = "150";   // size <= 1500 mm
  std::string spacingLarger = "200"; // larger
  std::string minimumDrop = "0.00";  // m, at every manhole unless the node gives its own

  bool operator==(const NetworkCriteria&) const = default;
};

// Project-wide settings of a network.
struct NetworkSettings {
  std::string title;  // free text, printed above the table
  IntensityFormula formula = IntensityFormula::One;  // ① .. ⑥ of the rainfall-intensity screen
  std::string a, b, c, d;  // the formula's constants; c and d only for ⑤ and ⑥
  std::string t1;          // inflow time, min
  VelocityFormula velocity = VelocityFormula::Manning;
  bool groundwater = false;     // false: "無し"
  std::string groundwaterPercent;
  bool surcharge = false;       // false: "無し"
  std::string surchargePercent;
  // The node the network drains to.  Empty: the one downstream node that
  // has no outgoing segment is the outlet.
  std::string outlet;
  NetworkCriteria criteria;

  bool operator==(const NetworkSettings&) const = default;
};

// A segment's facility kind, numbered as the main screen's facility list.
enum class NetworkFacilityKind { VP = 0, VU = 1, FRPM = 2, Hume = 3, OtherCircular = 4, Rectangular = 5 };

// One segment (区間), one row of the table.
struct NetworkSegment {
  std::string name;        // 路線番号
  std::string upstream;    // upstream node
  std::string downstream;  // downstream node
  std::string length;      // L, m
  std::string area;        // own catchment area, ha
  std::string c;           // own runoff coefficient C
  std::string sewage;      // own planned sewage flow, m3/sec ("0" when none)

  NetworkFacilityKind kind = NetworkFacilityKind::VP;
  int sizeIndex = 0;         // catalogue size (VP, VU, FRPM, Hume), index into PipeSizes
  std::string facilityName;  // other circular / rectangular: the name typed
  std::string D;             // other circular: inner diameter, m
  std::string B;             // rectangular: width, m
  std::string H;             // rectangular: height, m
  std::string slope;         // per mille
  std::string roughness = "0.010";  // n; DefaultRoughness of the material when the kind changes
  // Index into the depth list of the kind (NetworkDepthList): the
  // 15-entry circular list for kinds 0..4, the 7-entry list for the
  // rectangular pipe.  A separator or an index outside the list is refused.
  int depthIndex = 5;
  // Levels, optional: the upstream invert (管底高, m) when it is fixed
  // rather than computed, and the wall thickness (m) used for the cover;
  // empty: the catalogue size's standard wall (none for the other kinds).
  std::string invert;
  std::string wall;

  bool operator==(const NetworkSegment&) const = default;
};

// A node (manhole) the segments name, with its levels; all optional.
struct NetworkNode {
  std::string name;
  std::string ground;       // 地盤高, m
  std::string invert;       // a fixed 管底高 where the network meets something existing, m
  std::string minimumDrop;  // the node's own minimum drop, m; empty: the criteria's

  bool operator==(const NetworkNode&) const = default;
};

struct NetworkRecord {
  NetworkSettings settings;
  std::vector<NetworkSegment> segments;
  // Levels of the nodes; a node the segments name but not listed here has
  // no levels.  The order is the user's (the node grid's).
  std::vector<NetworkNode> nodes;

  bool operator==(const NetworkRecord&) const = default;
};

// The depth list of a kind and its default entry; the default n as the
// facility screens fill it (a catalogue pipe by its material, "" for the
// other circular and the rectangular pipe, whose screens start empty).
DepthListKind NetworkDepthList(NetworkFacilityKind kind);
int NetworkDefaultDepthIndex(NetworkFacilityKind kind);
std::string NetworkDefaultRoughness(NetworkFacilityKind kind);
bool IsCatalogueKind(NetworkFacilityKind kind);  // VP, VU, FRPM, Hume

// A new segment: VP, first size, default depth and roughness, sewage "0".
NetworkSegment NewNetworkSegment();

// The text a segment keeps for a text field key (name, upstream, downstream,
// length, area, runoff, sewage, slope, roughness, invert, wall); nullptr for
// the other keys (kind, size, depth and the facility's own texts).
std::string* NetworkSegmentText(NetworkSegment& segment, const std::string& field);
const std::string* NetworkSegmentText(const NetworkSegment& segment, const std::string& field);

// The text the settings keep for a text setting key (title, a, b, c, d,
// t1, groundwater_percent, surcharge_percent, outlet and the design
// criteria but the joint method); nullptr for the other keys (formula,
// velocity, groundwater, surcharge, joint).
std::string* NetworkSettingText(NetworkSettings& settings, const std::string& field);

// ---------------------------------------------------------------- fields

// Field keys of the inputs.  They name the field in a refusal, in the file
// and in the CSV header's order (see network_file.h).
namespace network_field {
// Settings.
inline constexpr const char* kTitle = "title";
inline constexpr const char* kFormula = "formula";
inline constexpr const char* kA = "a";
inline constexpr const char* kB = "b";
inline constexpr const char* kC = "c";
inline constexpr const char* kD = "d";
inline constexpr const char* kT1 = "t1";
inline constexpr const char* kVelocity = "velocity";
inline constexpr const char* kGroundwater = "groundwater";  // "無し" or the percentage
inline constexpr const char* kSurcharge = "surcharge";      // "無し" or the percentage
inline constexpr const char* kOutlet = "outlet";
// Design criteria.
inline constexpr const char* kVelocityMin = "velocity_min";
inline constexpr const char* kVelocityMax = "velocity_max";
inline constexpr const char* kMinimumSize = "minimum_size";
inline constexpr const char* kMinimumCover = "minimum_cover";
inline constexpr const char* kJoint = "joint";
inline constexpr const char* kDropPipe = "drop_pipe";
inline constexpr const char* kSpacing600 = "spacing_600";
inline constexpr const char* kSpacing1000 = "spacing_1000";
inline constexpr const char* kSpacing1500 = "spacing_1500";
inline constexpr const char* kSpacingLarger = "spacing_larger";
inline constexpr const char* kMinimumDrop = "minimum_drop";
// Node.
inline constexpr const char* kNode = "node";
inline constexpr const char* kGround = "ground";
inline constexpr const char* kFixedInvert = "fixed_invert";
inline constexpr const char* kNodeDrop = "node_drop";
// Segment.
inline constexpr const char* kName = "name";
inline constexpr const char* kUpstream = "upstream";
inline constexpr const char* kDownstream = "downstream";
inline constexpr const char* kLength = "length";
inline constexpr const char* kArea = "area";
inline constexpr const char* kRunoff = "runoff";
inline constexpr const char* kSewage = "sewage";
inline constexpr const char* kKind = "kind";
inline constexpr const char* kSize = "size";
inline constexpr const char* kFacilityName = "facility_name";
inline constexpr const char* kDiameter = "diameter";
inline constexpr const char* kWidth = "width";
inline constexpr const char* kHeight = "height";
inline constexpr const char* kSlope = "slope";
inline constexpr const char* kRoughness = "roughness";
inline constexpr const char* kDepth = "depth";
inline constexpr const char* kInvert = "invert";
inline constexpr const char* kWall = "wall";
// Computed values a refusal may name.
inline constexpr const char* kIntensity = "intensity";
inline constexpr const char* kCapacity = "capacity";
}  // namespace network_field

// The caption a user reads for a field key ("延長 L(m)", "勾配 (‰)",
// "降雨強度式"); the key itself when unknown.
std::string NetworkFieldCaption(const std::string& field);

// ---------------------------------------------------------------- results

// One computed row.  Areas in ha, times in min, I in mm/hr, flows in m3/sec.
struct NetworkRow {
  int segment = 0;               // index into NetworkRecord::segments
  std::vector<int> upstream;     // segments flowing into this one, input order
  int downstream = -1;           // the segment this one flows into; -1 at the outlet
  bool head = false;             // no segment flows in: t = t1

  double L = 0.0;
  double ownArea = 0.0, sumArea = 0.0;
  double ownC = 0.0;
  double ownCA = 0.0, sumCA = 0.0;
  double C = 0.0;                // ΣC·A / ΣA
  double t1 = 0.0;               // the settings' inflow time (shown on head rows)
  double t2 = 0.0;               // L / (60 V)
  double t = 0.0;                // time of concentration at the segment's upper end
  double I = 0.0;
  double ownSewage = 0.0;
  double sumSewage = 0.0;        // Σ sewage before the groundwater factor
  double Q11 = 0.0, Q12 = 0.0;   // Q12 includes the groundwater factor
  double factor = 1.0;           // surcharge factor (100 + s) / 100
  double Q1 = 0.0;

  std::string facilityText;      // 管種・寸法: "VP - φ200", "名前 φ0.500", "名前 1.000×0.800"
  double D = 0.0, B = 0.0, H = 0.0;  // m
  double slope = 0.0, n = 0.0;   // per mille, roughness
  std::string depthText;         // the depth entry ("水深８割")
  SectionGeometry geometry;
  CapacityResult capacity;       // R, I (slope ratio), V, Q2 and the Kutter terms
  double V = 0.0, Q2 = 0.0;
  double margin = 0.0;           // (Q2 − Q1) / Q1 × 100; 0 when Q1 is 0
  Verdict verdict = Verdict::OK; // O.K when Q1 <= Q2

  // Depth and velocity at Q1, levels, checks and notes (ComputeNetworkLevels).
  NetworkSegmentLevels levels;

  // Every value equal: the row's texts (NetworkRowTexts) are the same for
  // the same segment.
  bool operator==(const NetworkRow&) const = default;
};

struct NetworkTable {
  std::vector<NetworkRow> rows;  // one per segment, in the record's order
  // Segment indexes from upstream to downstream: every segment after all
  // segments flowing into it; otherwise in the record's order.
  std::vector<int> order;
  // What ComputeNetworkLevels gives besides the rows' levels.
  bool hasLevels = false;                // some node has a ground level
  std::vector<NetworkNodeLevels> nodes;  // see NetworkLevels::nodes
  bool allOk() const;                    // every verdict O.K (capacity only)
  bool allChecksPass() const;            // every verdict O.K and no check fails
};

// Why a network cannot be computed: a message in the screens' style that
// names the segment and the field ("路線番号「2」の延長 L(m)を入力してください。"),
// the segment's index (-1 for a setting) and the field key (network_field).
struct NetworkRefusal {
  std::string message;
  int segment = -1;
  std::string field;
  int node = -1;  // a node's levels: index into NetworkRecord::nodes (segment is then -1)
};

struct NetworkComputation {
  std::optional<NetworkRefusal> refusal;  // set: nothing was computed
  NetworkTable table;                     // valid when ok()
  bool ok() const { return !refusal.has_value(); }
};

// Checks the settings, then every segment in the record's order (empty or
// non-numeric values, duplicate names, the tree: a node with two outgoing
// segments, a cycle, a dangling end, two outlets), then computes every row
// from upstream to downstream.  The first refusal, or the whole table.
NetworkComputation ComputeNetwork(const NetworkRecord& record);

// ---------------------------------------------------------------- texts

// The table's columns, left to right, as the screen, the print and the
// command line show them.  Input columns are edited through the segment's
// fields (`field`); the facility column stands for kind, size, name, D, B, H.
struct NetworkColumn {
  const char* caption;  // "延長 L(m)", "面積 累計(ha)", ...
  const char* field;    // the input's field key; nullptr for a computed column
};
const std::vector<NetworkColumn>& NetworkColumns();

// The texts of one computed row in NetworkColumns' order, with the
// single-facility patterns (Q "0.0000", V "0.000", t and I "0.00", areas
// "0.0000"); the t1 column only on head rows; 判定 "O.K" or "NO".
// The level columns: levels, covers and the drop "0.000" where known, h/D
// and the velocity at Q1 "0.000", 照査 and 備考 as NetworkCheckText and
// NetworkNotesText.
std::vector<std::string> NetworkRowTexts(const NetworkRecord& record, const NetworkRow& row);

// The 管厚 and 上流管底高 columns show what the computation used: the typed
// text, or else the catalogue's standard wall marked kStandardWallMark and
// the computed invert; "" when there is none.
inline constexpr const char* kStandardWallMark = " 標準";
std::string NetworkWallText(const NetworkSegment& segment, const NetworkSegmentLevels& levels);
std::string NetworkInvertText(const NetworkSegment& segment, const NetworkSegmentLevels& levels);

// ---------------------------------------------------------------- sizing

// The sizing proposal for one segment.
struct NetworkSizeProposal {
  int segment = 0;
  bool catalogue = false;      // only catalogue segments get a proposal
  int currentSize = 0;
  std::optional<int> proposedSize;  // nothing when no size of the list passes
  // When no size passes: why, as the table shows it ("該当なし（…）").
  std::string reason;
  // When every size that carries Q1 runs too fast (or too slow) at the
  // segment's slope: the size, and the steepest (for too slow: the
  // gentlest) slope in per mille, on the 0.01 grid, at which that size
  // carries Q1 with V within the range.
  std::optional<int> slopeSize;
  std::optional<double> slope;
  bool changes() const { return catalogue && proposedSize && *proposedSize != currentSize; }
};

struct NetworkSizing {
  std::optional<NetworkRefusal> refusal;  // the network cannot be computed
  std::vector<NetworkSizeProposal> proposals;  // one per segment, record order
};

// From upstream to downstream, every catalogue segment gets the smallest
// size of its material whose verdict is O.K, whose V (at the segment's
// depth setting) lies within the criteria's velocity range and whose size is
// at least the criteria's minimum size, never smaller than the largest
// pipe of the same material flowing into it (at that pipe's proposed size);
// downstream times and intensities follow the proposed sizes.  Where no
// size passes, there is no proposal and the largest size carries on.  A
// catalogue pipe without a chosen size (sizeIndex outside its list) is
// sized too.
// Nothing in the record changes: the screen applies a proposal.
NetworkSizing ProposeNetworkSizes(const NetworkRecord& record);

// The proposal as the table's 寸法提案 column shows it: "→ " and the size's
// name when it changes, the reason when no size passes ("該当なし：…"),
// empty otherwise.
std::string NetworkProposalText(const NetworkRecord& record, const NetworkSizeProposal& proposal);

// The record with the proposals applied (all of them, or only `segment`).
void ApplySizeProposals(NetworkRecord& record, const NetworkSizing& sizing, int segment = -1);

// ---------------------------------------------------------------- one row

// The single-facility project of one computed row, in a fresh (New)
// record: C = the row's ΣC·A/ΣA, A = ΣA in m2, I typed = the row's I,
// sewage typed = the row's Σ sewage before the groundwater factor, the
// segment's facility on its facility screen, the settings' velocity formula,
// groundwater and surcharge.  Numbers are written as the shortest decimal
// text that reads back to the same double, so CheckRun on the result gives
// the row's Q1, Q2 and V.  Run results are not set.
ProjectRecord SingleFacilityProject(const NetworkRecord& record, const NetworkRow& row);

// The shortest plain decimal text (no exponent) that ParseLeadingNumber
// reads back to exactly `value`.
std::string ExactDecimalText(double value);

}  // namespace mk
