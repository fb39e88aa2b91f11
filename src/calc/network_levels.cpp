#include "calc/network_levels.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>

#include "calc/hydraulics.h"
#include "calc/network_internal.h"
#include "model/number_text.h"

namespace mk {

namespace nf = network_field;
namespace nc = network_check;
using network_internal::IsNumberText;
using network_internal::Refuse;

namespace {

// Levels are compared with this much slack, so that a joint or a cover
// that holds exactly in decimal is not failed by the last bit of a double.
constexpr double kLevelSlack = 1e-9;

// An optional number: empty text reads as nothing.
std::optional<NetworkRefusal> ReadOptional(const NetworkRecord& record, int segment, const char* field,
                                           const std::string& text, bool nonNegative,
                                           std::optional<double>& out) {
  out.reset();
  if (IsEmptyText(text)) return std::nullopt;
  if (!IsNumberText(text)) return Refuse(record, segment, field, "は数値で入力してください。");
  const double value = ParseLeadingNumber(text);
  if (nonNegative && value < 0.0) return Refuse(record, segment, field, "は０以上の値を入力してください。");
  out = value;
  return std::nullopt;
}

NetworkRefusal RefuseNode(const NetworkRecord& record, int node, const char* field, const std::string& tail) {
  const std::string& name = record.nodes[static_cast<std::size_t>(node)].name;
  const std::string label = name.empty() ? "人孔表の" + std::to_string(node + 1) + "行目" : "人孔「" + name + "」";
  NetworkRefusal refusal{label + "の" + NetworkFieldCaption(field) + tail, -1, field, node};
  return refusal;
}

std::optional<double> NumberOrNothing(const std::string& text) {
  if (IsEmptyText(text) || !IsNumberText(text)) return std::nullopt;
  return ParseLeadingNumber(text);
}

// The capacity of a section at the given area and perimeter; nothing when
// the formula cannot be evaluated there.
std::optional<CapacityResult> FlowAt(double A, double P, double slope, double n, VelocityFormula formula) {
  if (!(A > 0.0) || !(P > 0.0)) return std::nullopt;
  const auto capacity = ComputeCapacity(SectionGeometry{A, P}, slope, n, formula);
  if (!capacity || !std::isfinite(capacity->Q2)) return std::nullopt;
  return *capacity;
}

// The part of a circle of diameter D below depth h.
SectionGeometry CircleBelow(double D, double h) {
  const double ratio = std::clamp(1.0 - 2.0 * h / D, -1.0, 1.0);
  const double theta = 2.0 * std::acos(ratio);  // the wetted arc's central angle
  return SectionGeometry{D * D / 8.0 * (theta - std::sin(theta)), D * theta / 2.0};
}

}  // namespace

// ---------------------------------------------------------------- inputs

std::optional<NetworkRefusal> ReadNetworkCriteria(const NetworkRecord& record, NetworkCriteriaNumbers& out) {
  const NetworkCriteria& c = record.settings.criteria;
  if (auto r = ReadOptional(record, -1, nf::kVelocityMin, c.velocityMin, true, out.velocityMin)) return r;
  if (auto r = ReadOptional(record, -1, nf::kVelocityMax, c.velocityMax, true, out.velocityMax)) return r;
  if (out.velocityMin && out.velocityMax && *out.velocityMax < *out.velocityMin)
    return Refuse(record, -1, nf::kVelocityMax, "は流速の下限以上の値を入力してください。");
  if (auto r = ReadOptional(record, -1, nf::kMinimumSize, c.minimumSize, true, out.minimumSize)) return r;
  if (auto r = ReadOptional(record, -1, nf::kMinimumCover, c.minimumCover, false, out.minimumCover)) return r;
  const int joint = static_cast<int>(c.joint);
  if (joint < 0 || joint > 3) return Refuse(record, -1, nf::kJoint, "を選択してください。");
  out.joint = c.joint;
  if (auto r = ReadOptional(record, -1, nf::kDropPipe, c.dropPipe, true, out.dropPipe)) return r;
  if (auto r = ReadOptional(record, -1, nf::kSpacing600, c.spacing600, true, out.spacing600)) return r;
  if (auto r = ReadOptional(record, -1, nf::kSpacing1000, c.spacing1000, true, out.spacing1000)) return r;
  if (auto r = ReadOptional(record, -1, nf::kSpacing1500, c.spacing1500, true, out.spacing1500)) return r;
  if (auto r = ReadOptional(record, -1, nf::kSpacingLarger, c.spacingLarger, true, out.spacingLarger)) return r;
  std::optional<double> drop;
  if (auto r = ReadOptional(record, -1, nf::kMinimumDrop, c.minimumDrop, true, drop)) return r;
  out.minimumDrop = drop.value_or(0.0);
  return std::nullopt;
}

std::optional<NetworkRefusal> CheckNetworkLevelInputs(const NetworkRecord& record) {
  std::unordered_map<std::string, int> seen;
  for (int k = 0; k < static_cast<int>(record.nodes.size()); ++k) {
    const NetworkNode& node = record.nodes[static_cast<std::size_t>(k)];
    if (!node.name.empty()) {
      if (const auto [it, added] = seen.emplace(node.name, k); !added)
        return NetworkRefusal{"人孔「" + node.name + "」が人孔表の" + std::to_string(it->second + 1) +
                                  "行目と重複しています。",
                              -1, nf::kNode, k};
    }
    if (!IsEmptyText(node.ground) && !IsNumberText(node.ground))
      return RefuseNode(record, k, nf::kGround, "は数値で入力してください。");
    if (!IsEmptyText(node.invert) && !IsNumberText(node.invert))
      return RefuseNode(record, k, nf::kFixedInvert, "は数値で入力してください。");
    if (!IsEmptyText(node.minimumDrop)) {
      if (!IsNumberText(node.minimumDrop)) return RefuseNode(record, k, nf::kNodeDrop, "は数値で入力してください。");
      if (ParseLeadingNumber(node.minimumDrop) < 0.0)
        return RefuseNode(record, k, nf::kNodeDrop, "は０以上の値を入力してください。");
    }
  }
  for (int i = 0; i < static_cast<int>(record.segments.size()); ++i) {
    const NetworkSegment& s = record.segments[static_cast<std::size_t>(i)];
    std::optional<double> value;
    if (auto r = ReadOptional(record, i, nf::kInvert, s.invert, false, value)) return r;
    if (auto r = ReadOptional(record, i, nf::kWall, s.wall, true, value)) return r;
  }
  return std::nullopt;
}

std::vector<std::string> NetworkNodeNames(const NetworkRecord& record) {
  std::vector<std::string> names;
  std::unordered_map<std::string, int> seen;
  for (const NetworkSegment& s : record.segments) {
    for (const std::string* name : {&s.upstream, &s.downstream}) {
      if (name->empty()) continue;
      if (seen.emplace(*name, static_cast<int>(names.size())).second) names.push_back(*name);
    }
  }
  return names;
}

double NetworkNominalSize(const NetworkSegment& segment, const NetworkRow& row) {
  if (const auto material = MaterialFromKind(static_cast<int>(segment.kind))) {
    // The stored name ends in the nominal size ("ﾋｭｰﾑ管 φ1000").
    if (const auto size = LookupPipe(*material, segment.sizeIndex)) {
      const std::string& name = size->storedName;
      std::size_t k = name.size();
      while (k > 0 && name[k - 1] >= '0' && name[k - 1] <= '9') --k;
      if (k < name.size()) return std::stod(name.substr(k));
    }
    return row.D * 1000.0;
  }
  if (segment.kind == NetworkFacilityKind::Rectangular) return std::min(row.B, row.H) * 1000.0;
  return row.D * 1000.0;
}

std::optional<double> StandardWallThickness(PipeMaterial material, int sizeIndex) {
  const auto size = LookupPipe(material, sizeIndex);
  if (!size) return std::nullopt;
  switch (material) {
    case PipeMaterial::VP:
    case PipeMaterial::VU: {
      // Outer diameters of the PVC pipes by nominal size (mm).
      static const std::unordered_map<std::string, double> kOuter{
          {"65", 76},   {"75", 89},   {"100", 114}, {"125", 140}, {"150", 165},
          {"200", 216}, {"250", 267}, {"300", 318}, {"350", 370}, {"400", 420},
          {"450", 470}, {"500", 520}, {"600", 630}};
      const std::string& name = size->storedName;
      const auto it = kOuter.find(name.substr(name.rfind("φ") + std::string("φ").size()));
      if (it == kOuter.end()) return std::nullopt;
      return (it->second / 1000.0 - size->D) / 2.0;
    }
    case PipeMaterial::Hume: {
      // Type B, class 1 walls (mm), φ150 .. φ1350.
      static const std::unordered_map<int, double> kWall{
          {150, 26}, {200, 27}, {250, 28}, {300, 30}, {350, 32}, {400, 35}, {450, 38}, {500, 42},
          {600, 50}, {700, 58}, {800, 66}, {900, 75}, {1000, 82}, {1100, 88}, {1200, 95}, {1350, 103}};
      const auto it = kWall.find(static_cast<int>(std::lround(size->D * 1000.0)));
      if (it == kWall.end()) return std::nullopt;
      return it->second / 1000.0;
    }
    case PipeMaterial::FRPM:
      return std::nullopt;
  }
  return std::nullopt;
}

// ---------------------------------------------------------------- depth at Q1

namespace {

DepthAtFlow SolveDepthForFlow(bool rectangular, double D, double B, double H, double slope, double n,
                              VelocityFormula formula, double Q1);

// The depths solved lately, by their inputs.  A table is computed whole at
// every edit, but an edit changes Q1 only along one path to the outlet: the
// other segments ask again for the depth they had, and find it here.  The
// solution depends on nothing else, so a stored depth is the one solving
// again would give.
struct DepthQuery {
  bool rectangular;
  double D, B, H, slope, n;
  VelocityFormula formula;
  double Q1;
  bool operator==(const DepthQuery&) const = default;
};
struct DepthQueryHash {
  std::size_t operator()(const DepthQuery& q) const {
    std::size_t h = std::hash<bool>{}(q.rectangular) ^ (static_cast<std::size_t>(q.formula) << 1);
    for (double v : {q.D, q.B, q.H, q.slope, q.n, q.Q1}) h = h * 1000003u ^ std::hash<double>{}(v);
    return h;
  }
};

}  // namespace

DepthAtFlow DepthForFlow(bool rectangular, double D, double B, double H, double slope, double n,
                         VelocityFormula formula, double Q1) {
  thread_local std::unordered_map<DepthQuery, DepthAtFlow, DepthQueryHash> solved;
  const DepthQuery query{rectangular, D, B, H, slope, n, formula, Q1};
  if (const auto it = solved.find(query); it != solved.end()) return it->second;
  if (solved.size() >= 65536) solved.clear();  // bounded: a day's typing stays small
  const DepthAtFlow depth = SolveDepthForFlow(rectangular, D, B, H, slope, n, formula, Q1);
  solved.emplace(query, depth);
  return depth;
}

namespace {

DepthAtFlow SolveDepthForFlow(bool rectangular, double D, double B, double H, double slope, double n,
                              VelocityFormula formula, double Q1) {
  DepthAtFlow out;
  const double height = rectangular ? H : D;
  if (!(height > 0.0) || (rectangular && !(B > 0.0))) return out;
  auto section = [&](double h) {
    return rectangular ? SectionGeometry{B * h, B + 2.0 * h} : CircleBelow(D, h);
  };
  auto flow = [&](double h) {
    const SectionGeometry g = section(h);
    const auto c = FlowAt(g.A, g.P, slope, n, formula);
    return c ? c->Q2 : 0.0;
  };
  if (!(Q1 > 0.0)) return out;
  // The depth is bisected on [0, top], top being the crown when Q1 is no
  // more than the flow there: the flow rises from 0 to its peak and (in a
  // circle) falls a little to the crown, so below the depth every flow is
  // less than Q1 and above it none is.  The bracket starts from the
  // section's own height, not from a searched peak, so that the result does
  // not hang on the last bits of the flow near its flat peak (which differ
  // between maths libraries).
  auto overfull = [&] {
    // More than the section carries at any depth: shown running full, at
    // the full section's velocity.
    out.overfull = true;
    out.h = height;
    out.hRatio = 1.0;
    const SectionGeometry full = rectangular ? SectionGeometry{B * H, 2.0 * (B + H)} : CircleBelow(D, D);
    if (const auto c = FlowAt(full.A, full.P, slope, n, formula)) out.velocity = c->V;
    return out;
  };
  double top = height;
  if (Q1 > flow(height)) {
    // Between the crown's flow and the peak's (a circle only) or beyond.
    // A circle carries less than its whole area at the velocity of the
    // largest hydraulic radius any depth has (0.3043 D, taken as 0.305 D),
    // the velocity rising with R in both formulas: a Q1 above that is
    // past the peak without searching for it.
    if (!rectangular) {
      const double area = CircleBelow(D, D).A;
      const auto bound = FlowAt(area, area / (0.305 * D), slope, n, formula);
      if (bound && Q1 > bound->Q2) return overfull();
    }
    // The depth of the largest flow: the top of a rectangle (with the water
    // surface still open); for a circle, where the flow peaks a little below
    // the crown, found by golden-section search on its upper half, where the
    // flow rises to one peak and falls.
    double peak = height;
    if (!rectangular) {
      const double g = (std::sqrt(5.0) - 1.0) / 2.0;
      double lo = 0.5 * D, hi = D;
      double x1 = hi - g * (hi - lo), x2 = lo + g * (hi - lo);
      double f1 = flow(x1), f2 = flow(x2);
      while (hi - lo > 1e-10) {
        if (f1 < f2) {
          lo = x1; x1 = x2; f1 = f2; x2 = lo + g * (hi - lo); f2 = flow(x2);
        } else {
          hi = x2; x2 = x1; f2 = f1; x1 = hi - g * (hi - lo); f1 = flow(x1);
        }
      }
      peak = (lo + hi) / 2.0;
    }
    if (Q1 > flow(peak)) return overfull();
    top = peak;
  }
  double lo = 0.0, hi = top;
  while (hi - lo > 1e-10) {
    const double mid = (lo + hi) / 2.0;
    (flow(mid) < Q1 ? lo : hi) = mid;
  }
  out.h = (lo + hi) / 2.0;
  out.hRatio = out.h / height;
  const SectionGeometry g = section(out.h);
  out.velocity = g.A > 0.0 ? Q1 / g.A : 0.0;
  return out;
}

}  // namespace

// ---------------------------------------------------------------- levels

NetworkLevels ComputeNetworkLevels(const NetworkRecord& record, const NetworkTable& table) {
  NetworkLevels out;
  NetworkCriteriaNumbers criteria;
  if (ReadNetworkCriteria(record, criteria)) criteria = NetworkCriteriaNumbers{};

  // The nodes the segments name, with their levels.
  std::unordered_map<std::string, const NetworkNode*> given;
  for (const NetworkNode& node : record.nodes)
    if (!node.name.empty()) given.emplace(node.name, &node);
  std::unordered_map<std::string, std::size_t> nodeIndex;
  for (const std::string& name : NetworkNodeNames(record)) {
    NetworkNodeLevels node;
    node.name = name;
    if (const auto it = given.find(name); it != given.end()) {
      node.ground = NumberOrNothing(it->second->ground);
      node.invert = NumberOrNothing(it->second->invert);
      if (node.ground) out.hasLevels = true;
    }
    nodeIndex.emplace(name, out.nodes.size());
    out.nodes.push_back(std::move(node));
  }
  auto nodeOf = [&](const std::string& name) -> const NetworkNodeLevels* {
    const auto it = nodeIndex.find(name);
    return it == nodeIndex.end() ? nullptr : &out.nodes[it->second];
  };
  auto minimumDropAt = [&](const std::string& name) {
    if (const auto it = given.find(name); it != given.end())
      if (const auto own = NumberOrNothing(it->second->minimumDrop)) return std::max(0.0, *own);
    return criteria.minimumDrop;
  };

  const std::size_t count = record.segments.size();
  out.segments.assign(count, {});
  if (table.rows.size() != count) return out;

  for (int i : table.order) {
    if (i < 0 || static_cast<std::size_t>(i) >= count) continue;
    const NetworkSegment& s = record.segments[static_cast<std::size_t>(i)];
    const NetworkRow& row = table.rows[static_cast<std::size_t>(i)];
    NetworkSegmentLevels& lv = out.segments[static_cast<std::size_t>(i)];
    const bool rectangular = s.kind == NetworkFacilityKind::Rectangular;

    // Depth and velocity at Q1.
    lv.height = rectangular ? row.H : row.D;
    const DepthAtFlow depth =
        DepthForFlow(rectangular, row.D, row.B, row.H, row.slope, row.n, record.settings.velocity, row.Q1);
    lv.h = depth.h;
    lv.hRatio = depth.hRatio;
    lv.velocity = depth.velocity;
    lv.overfull = depth.overfull;

    // The wall: typed, or the catalogue size's standard wall.
    if (const auto typed = NumberOrNothing(s.wall)) {
      lv.wall = std::max(0.0, *typed);
      lv.wallSource = WallSource::Typed;
    } else if (const auto material = MaterialFromKind(static_cast<int>(s.kind))) {
      if (const auto standard = StandardWallThickness(*material, s.sizeIndex)) {
        lv.wall = *standard;
        lv.wallSource = WallSource::Default;
      }
    }

    // Checks that need no levels.
    const double size = NetworkNominalSize(s, row);
    bool velocityFails = (criteria.velocityMin && row.V < *criteria.velocityMin) ||
                         (criteria.velocityMax && row.V > *criteria.velocityMax);
    const bool sizeFails = criteria.minimumSize && size < *criteria.minimumSize - kLevelSlack;
    const std::optional<double>& spacing = size <= 600.0    ? criteria.spacing600
                                           : size <= 1000.0 ? criteria.spacing1000
                                           : size <= 1500.0 ? criteria.spacing1500
                                                            : criteria.spacingLarger;
    const bool spacingFails = spacing && row.L > *spacing + kLevelSlack;

    // Levels.
    bool coverFails = false, jointFails = false, outletFails = false;
    const NetworkNodeLevels* up = nodeOf(s.upstream);
    const NetworkNodeLevels* down = nodeOf(s.downstream);
    if (out.hasLevels) {
      if (up) lv.groundUp = up->ground;
      if (down) lv.groundDown = down->ground;
      const double fall = row.L * row.slope / 1000.0;
      const double cover = criteria.minimumCover.value_or(0.0);

      // The deepest the cover allows at either end, as an upstream invert.
      std::optional<double> byCover;
      auto lower = [](std::optional<double>& value, double candidate) {
        value = value ? std::min(*value, candidate) : candidate;
      };
      if (criteria.minimumCover) {
        if (lv.groundUp) lower(byCover, *lv.groundUp - cover - lv.height - lv.wall);
        if (lv.groundDown) lower(byCover, *lv.groundDown - cover - lv.height - lv.wall + fall);
      }
      // The highest the joint allows against every segment flowing in.
      std::optional<double> byJoint, lowestIncoming;
      for (int u : row.upstream) {
        const NetworkSegmentLevels& in = out.segments[static_cast<std::size_t>(u)];
        if (!in.invertDown) continue;
        lower(lowestIncoming, *in.invertDown);
        double allowed = *in.invertDown;
        switch (criteria.joint) {
          case JointMethod::Crown: allowed += in.height - lv.height; break;
          case JointMethod::WaterSurface: allowed += in.h - lv.h; break;
          case JointMethod::Centre: allowed += (in.height - lv.height) / 2.0; break;
          case JointMethod::Invert: break;
        }
        lower(byJoint, allowed);
      }
      if (byJoint) *byJoint -= minimumDropAt(s.upstream);

      std::optional<double> typed = NumberOrNothing(s.invert);
      if (!typed && up && up->invert) typed = up->invert;
      if (typed) {
        lv.invertUp = *typed;
        lv.invertTyped = true;
        jointFails = byJoint && *typed > *byJoint + kLevelSlack;
      } else if (byJoint) {
        lv.invertUp = byCover ? std::min(*byJoint, *byCover) : *byJoint;
      } else {
        lv.invertUp = byCover;
      }
      if (lv.invertUp) {
        lv.invertDown = *lv.invertUp - fall;
        lv.crownUp = *lv.invertUp + lv.height;
        lv.crownDown = *lv.invertDown + lv.height;
        lv.waterUp = *lv.invertUp + lv.h;
        lv.waterDown = *lv.invertDown + lv.h;
        if (lv.groundUp) lv.coverUp = *lv.groundUp - *lv.crownUp - lv.wall;
        if (lv.groundDown) lv.coverDown = *lv.groundDown - *lv.crownDown - lv.wall;
        if (criteria.minimumCover)
          coverFails = (lv.coverUp && *lv.coverUp < cover - kLevelSlack) ||
                       (lv.coverDown && *lv.coverDown < cover - kLevelSlack);
        if (lowestIncoming) lv.drop = *lowestIncoming - *lv.invertUp;
        if (row.downstream < 0 && down && down->invert)
          outletFails = *lv.invertDown < *down->invert - kLevelSlack;
      }
    }

    if (velocityFails) lv.failed.push_back(nc::kVelocity);
    if (sizeFails) lv.failed.push_back(nc::kSize);
    if (coverFails) lv.failed.push_back(nc::kCover);
    if (jointFails) lv.failed.push_back(nc::kJoint);
    if (outletFails) lv.failed.push_back(nc::kOutlet);
    if (spacingFails) lv.failed.push_back(nc::kSpacing);

    if (lv.drop && criteria.dropPipe && *lv.drop >= *criteria.dropPipe - kLevelSlack && *lv.drop > 0.0)
      lv.notes.push_back(nc::kDropPipe);
    double fastest = 0.0;
    for (int u : row.upstream) fastest = std::max(fastest, table.rows[static_cast<std::size_t>(u)].V);
    if (!row.upstream.empty() && row.V < fastest) lv.notes.push_back(nc::kSlower);
    if (lv.overfull) lv.notes.push_back(nc::kOverfull);
    if (out.hasLevels && lv.wallSource == WallSource::None) lv.notes.push_back(nc::kNoWall);
  }
  return out;
}

namespace {
std::string Joined(const std::vector<std::string>& parts) {
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : "・") + part;
  return text;
}
}  // namespace

std::string NetworkCheckText(const NetworkSegmentLevels& levels) {
  return levels.failed.empty() ? std::string(nc::kPass) : Joined(levels.failed);
}

std::string NetworkNotesText(const NetworkSegmentLevels& levels) { return Joined(levels.notes); }

}  // namespace mk
