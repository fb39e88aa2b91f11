#include "calc/network.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <queue>
#include <unordered_map>

#include "calc/check_run.h"
#include "calc/network_levels.h"
#include "calc/network_internal.h"
#include "calc/network_levels.h"
#include "calc/hydraulics.h"
#include "calc/sections.h"
#include "model/number_text.h"

namespace mk {

namespace nf = network_field;

// ---------------------------------------------------------------- kinds

DepthListKind NetworkDepthList(NetworkFacilityKind kind) {
  return kind == NetworkFacilityKind::Rectangular ? DepthListKind::Rectangular
                                                  : DepthListKind::Circular;
}

int NetworkDefaultDepthIndex(NetworkFacilityKind kind) {
  return DefaultDepthIndex(NetworkDepthList(kind));
}

bool IsCatalogueKind(NetworkFacilityKind kind) {
  return MaterialFromKind(static_cast<int>(kind)).has_value();
}

std::string NetworkDefaultRoughness(NetworkFacilityKind kind) {
  const auto material = MaterialFromKind(static_cast<int>(kind));
  return material ? DefaultRoughness(*material) : std::string();
}

NetworkSegment NewNetworkSegment() {
  NetworkSegment segment;
  segment.sewage = "0";
  segment.kind = NetworkFacilityKind::VP;
  segment.roughness = NetworkDefaultRoughness(segment.kind);
  segment.depthIndex = NetworkDefaultDepthIndex(segment.kind);
  return segment;
}

std::string* NetworkSegmentText(NetworkSegment& s, const std::string& field) {
  if (field == nf::kName) return &s.name;
  if (field == nf::kUpstream) return &s.upstream;
  if (field == nf::kDownstream) return &s.downstream;
  if (field == nf::kLength) return &s.length;
  if (field == nf::kArea) return &s.area;
  if (field == nf::kRunoff) return &s.c;
  if (field == nf::kSewage) return &s.sewage;
  if (field == nf::kSlope) return &s.slope;
  if (field == nf::kRoughness) return &s.roughness;
  if (field == nf::kInvert) return &s.invert;
  if (field == nf::kWall) return &s.wall;
  return nullptr;
}

const std::string* NetworkSegmentText(const NetworkSegment& s, const std::string& field) {
  return NetworkSegmentText(const_cast<NetworkSegment&>(s), field);
}

std::string* NetworkSettingText(NetworkSettings& s, const std::string& field) {
  if (field == nf::kTitle) return &s.title;
  if (field == nf::kA) return &s.a;
  if (field == nf::kB) return &s.b;
  if (field == nf::kC) return &s.c;
  if (field == nf::kD) return &s.d;
  if (field == nf::kT1) return &s.t1;
  if (field == "groundwater_percent") return &s.groundwaterPercent;
  if (field == "surcharge_percent") return &s.surchargePercent;
  if (field == nf::kOutlet) return &s.outlet;
  NetworkCriteria& c = s.criteria;
  if (field == nf::kVelocityMin) return &c.velocityMin;
  if (field == nf::kVelocityMax) return &c.velocityMax;
  if (field == nf::kMinimumSize) return &c.minimumSize;
  if (field == nf::kMinimumCover) return &c.minimumCover;
  if (field == nf::kDropPipe) return &c.dropPipe;
  if (field == nf::kSpacing600) return &c.spacing600;
  if (field == nf::kSpacing1000) return &c.spacing1000;
  if (field == nf::kSpacing1500) return &c.spacing1500;
  if (field == nf::kSpacingLarger) return &c.spacingLarger;
  if (field == nf::kMinimumDrop) return &c.minimumDrop;
  return nullptr;
}

bool NetworkTable::allOk() const {
  return std::all_of(rows.begin(), rows.end(),
                     [](const NetworkRow& row) { return row.verdict == Verdict::OK; });
}

bool NetworkTable::allChecksPass() const {
  return std::all_of(rows.begin(), rows.end(), [](const NetworkRow& row) {
    return row.verdict == Verdict::OK && row.levels.failed.empty();
  });
}

const char* JointMethodCaption(JointMethod method) {
  static const char* const kCaptions[kJointMethodCount] = {"管頂接合", "水面接合", "管中心接合", "管底接合"};
  const int i = static_cast<int>(method);
  return i >= 0 && i < kJointMethodCount ? kCaptions[i] : "";
}

std::string NetworkFieldCaption(const std::string& field) {
  static const std::unordered_map<std::string, std::string> kCaptions{
      {nf::kTitle, "表題"},
      {nf::kFormula, "降雨強度式"},
      {nf::kA, "定数ａ"},
      {nf::kB, "定数ｂ"},
      {nf::kC, "定数ｃ"},
      {nf::kD, "定数ｄ"},
      {nf::kT1, "流入時間 t1"},
      {nf::kVelocity, "流速の計算方法"},
      {nf::kGroundwater, "地下水混入率"},
      {nf::kSurcharge, "計画汚水量の割増し"},
      {nf::kOutlet, "放流先"},
      {nf::kName, "路線番号"},
      {nf::kUpstream, "上流"},
      {nf::kDownstream, "下流"},
      {nf::kLength, "延長 L(m)"},
      {nf::kArea, "面積 区間(ha)"},
      {nf::kRunoff, "流出係数 C"},
      {nf::kSewage, "汚水量 区間(m3/sec)"},
      {nf::kKind, "管種"},
      {nf::kSize, "管径"},
      {nf::kFacilityName, "施設名"},
      {nf::kDiameter, "直径 D(m)"},
      {nf::kWidth, "巾 B(m)"},
      {nf::kHeight, "高さ H(m)"},
      {nf::kSlope, "勾配 (‰)"},
      {nf::kRoughness, "粗度係数 n"},
      {nf::kDepth, "水深"},
      {nf::kVelocityMin, "流速の下限 (m/sec)"},
      {nf::kVelocityMax, "流速の上限 (m/sec)"},
      {nf::kMinimumSize, "最小管径 (mm)"},
      {nf::kMinimumCover, "最小土被り (m)"},
      {nf::kJoint, "接合方法"},
      {nf::kDropPipe, "副管を要する段差 (m)"},
      {nf::kSpacing600, "人孔間隔 600mm以下 (m)"},
      {nf::kSpacing1000, "人孔間隔 1000mm以下 (m)"},
      {nf::kSpacing1500, "人孔間隔 1500mm以下 (m)"},
      {nf::kSpacingLarger, "人孔間隔 1500mm超 (m)"},
      {nf::kMinimumDrop, "最小段差 (m)"},
      {nf::kNode, "人孔"},
      {nf::kGround, "地盤高 (m)"},
      {nf::kFixedInvert, "固定管底高 (m)"},
      {nf::kNodeDrop, "最小段差 (m)"},
      {nf::kInvert, "上流管底高 (m)"},
      {nf::kWall, "管厚 t(m)"},
      {nf::kIntensity, "降雨強度 I"},
      {nf::kCapacity, "流下能力 Q2"},
  };
  const auto it = kCaptions.find(field);
  return it == kCaptions.end() ? field : it->second;
}

const std::vector<NetworkColumn>& NetworkColumns() {
  static const std::vector<NetworkColumn> kColumns{
      {"路線番号", nf::kName},
      {"上流", nf::kUpstream},
      {"下流", nf::kDownstream},
      {"延長 L(m)", nf::kLength},
      {"面積 区間(ha)", nf::kArea},
      {"面積 累計(ha)", nullptr},
      {"流出係数 C", nf::kRunoff},
      {"C·A 区間", nullptr},
      {"C·A 累計", nullptr},
      {"流入時間 t1(min)", nullptr},
      {"流下時間 t2(min)", nullptr},
      {"流達時間 t(min)", nullptr},
      {"降雨強度 I(mm/hr)", nullptr},
      {"計画雨水量 Q11(m3/sec)", nullptr},
      {"汚水量 区間(m3/sec)", nf::kSewage},
      {"計画汚水量 Q12(m3/sec)", nullptr},
      {"計画下水量 Q1(m3/sec)", nullptr},
      {"管種・寸法", nf::kKind},
      {"勾配 (‰)", nf::kSlope},
      {"粗度係数 n", nf::kRoughness},
      {"水深", nf::kDepth},
      {"流速 V(m/sec)", nullptr},
      {"流下能力 Q2(m3/sec)", nullptr},
      {"余裕率 (%)", nullptr},
      {"判定", nullptr},
      // The design checks: levels at both ends, the drop at the upstream
      // manhole, the depth and velocity at Q1, the failed checks and notes.
      {"管厚 t(m)", nf::kWall},
      {"地盤高 上流(m)", nullptr},
      {"管底高 上流(m)", nf::kInvert},
      {"土被り 上流(m)", nullptr},
      {"地盤高 下流(m)", nullptr},
      {"管底高 下流(m)", nullptr},
      {"土被り 下流(m)", nullptr},
      {"段差(m)", nullptr},
      {"水深比 h/D", nullptr},
      {"実流速 (m/sec)", nullptr},
      {"照査", nullptr},
      {"備考", nullptr},
  };
  return kColumns;
}

std::string ExactDecimalText(double value) {
  if (!std::isfinite(value)) return "0";
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
  // The longest fixed form of a double (the smallest subnormal) has 1075 digits.
  char buffer[1100];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  return std::string(buffer, result.ptr);
#else
  // Without the floating-point to_chars: the fewest significant digits
  // that read back to the same value, laid out without an exponent.
  char buffer[40];
  for (int precision = 0; precision <= 16; ++precision) {
    std::snprintf(buffer, sizeof buffer, "%.*e", precision, std::fabs(value));
    if (std::strtod(buffer, nullptr) == std::fabs(value)) break;
  }
  std::string digits;  // buffer: d.ddde[+-]XX
  const char* p = buffer;
  for (; *p && *p != 'e'; ++p) {
    if (*p >= '0' && *p <= '9') digits += *p;
  }
  const int point = (*p == 'e' ? std::atoi(p + 1) : 0) + 1;  // digits before the decimal point
  std::string text = std::signbit(value) ? "-" : "";
  if (point <= 0) {
    text += "0." + std::string(static_cast<std::size_t>(-point), '0') + digits;
  } else if (point > static_cast<int>(digits.size())) {
    // A whole number past the shortest digits: its exact digits, as to_chars gives them.
    char whole[400];
    std::snprintf(whole, sizeof whole, "%.0f", std::fabs(value));
    text += whole;
  } else if (point == static_cast<int>(digits.size())) {
    text += digits;
  } else {
    text += digits.substr(0, static_cast<std::size_t>(point)) + "." + digits.substr(static_cast<std::size_t>(point));
  }
  return text;
#endif
}

namespace network_internal {

// ---------------------------------------------------------------- reading

// A whole text that is a plain decimal number: blanks, an optional sign,
// digits with at most one point, blanks.  What ParseLeadingNumber reads in
// full, so that no part of a typed value is silently dropped.
bool IsNumberText(const std::string& text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  auto blank = [&](std::size_t k) { return text[k] == ' ' || text[k] == '\t'; };
  while (i < n && blank(i)) ++i;
  if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
  bool digit = false, point = false;
  for (; i < n; ++i) {
    if (text[i] >= '0' && text[i] <= '9') {
      digit = true;
    } else if (text[i] == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  while (i < n && blank(i)) ++i;
  return digit && i == n;
}

std::string SegmentLabel(const NetworkRecord& record, int index) {
  const std::string& name = record.segments[static_cast<std::size_t>(index)].name;
  if (name.empty()) return std::to_string(index + 1) + "行目";
  return "路線番号「" + name + "」";
}

NetworkRefusal Refuse(const NetworkRecord& record, int segment, const char* field,
                      const std::string& tail) {
  const std::string subject =
      segment < 0 ? NetworkFieldCaption(field)
                  : SegmentLabel(record, segment) + "の" + NetworkFieldCaption(field);
  return NetworkRefusal{subject + tail, segment, field};
}

}  // namespace network_internal

namespace {

const char* const kTooLarge = "値が大きすぎるため、計算できません。入力値を確認してください。";

using network_internal::IsNumberText;
using network_internal::Refuse;
using network_internal::SegmentLabel;

enum class Sign { Any, NonNegative, Positive };

// Reads one required number; the refusal names the segment and field.
std::optional<NetworkRefusal> ReadNumber(const NetworkRecord& record, int segment,
                                         const char* field, const std::string& text, Sign sign,
                                         double& out) {
  if (text.empty()) return Refuse(record, segment, field, "を入力してください。");
  // The text is quoted so that "5O" and "50" can be told apart.
  if (!IsNumberText(text))
    return Refuse(record, segment, field, "は数値で入力してください。（入力された値「" + text + "」）");
  out = ParseLeadingNumber(text);
  if (sign == Sign::NonNegative && out < 0.0)
    return Refuse(record, segment, field, "は０以上の値を入力してください。");
  if (sign == Sign::Positive && !(out > 0.0))
    return Refuse(record, segment, field, "は０より大きい値を入力してください。");
  return std::nullopt;
}

struct SettingsNumbers {
  double a = 0, b = 0, c = 0, d = 0, t1 = 0;
  double g = 0, s = 0;  // percentages; 0 when "無し"
};

std::optional<NetworkRefusal> ReadSettings(const NetworkRecord& record, SettingsNumbers& out) {
  const NetworkSettings& s = record.settings;
  const int formula = static_cast<int>(s.formula);
  if (formula < 0 || formula > 5) return Refuse(record, -1, nf::kFormula, "を選択してください。");
  if (auto r = ReadNumber(record, -1, nf::kA, s.a, Sign::Any, out.a)) return r;
  if (auto r = ReadNumber(record, -1, nf::kB, s.b, Sign::Any, out.b)) return r;
  if (UsesConstantsCD(s.formula)) {
    if (auto r = ReadNumber(record, -1, nf::kC, s.c, Sign::Any, out.c)) return r;
    if (auto r = ReadNumber(record, -1, nf::kD, s.d, Sign::Any, out.d)) return r;
  }
  if (auto r = ReadNumber(record, -1, nf::kT1, s.t1, Sign::NonNegative, out.t1)) return r;
  if (s.velocity != VelocityFormula::Manning && s.velocity != VelocityFormula::Kutter)
    return Refuse(record, -1, nf::kVelocity, "を選択してください。");
  if (s.groundwater) {
    if (auto r = ReadNumber(record, -1, nf::kGroundwater, s.groundwaterPercent, Sign::NonNegative, out.g))
      return r;
  }
  if (s.surcharge) {
    if (auto r = ReadNumber(record, -1, nf::kSurcharge, s.surchargePercent, Sign::NonNegative, out.s))
      return r;
  }
  return std::nullopt;
}

// A segment's numbers and section, as read from its texts.
struct SegmentNumbers {
  double L = 0, area = 0, c = 0, sewage = 0;
  double D = 0, B = 0, H = 0, x = 0, n = 0;
  DepthRatio ratio = DepthRatio::Full;
};

std::optional<NetworkRefusal> ReadSegment(const NetworkRecord& record, int index,
                                          SegmentNumbers& out) {
  const NetworkSegment& s = record.segments[static_cast<std::size_t>(index)];
  if (s.name.empty()) return Refuse(record, index, nf::kName, "を入力してください。");
  if (s.upstream.empty()) return Refuse(record, index, nf::kUpstream, "を入力してください。");
  if (s.downstream.empty()) return Refuse(record, index, nf::kDownstream, "を入力してください。");
  if (auto r = ReadNumber(record, index, nf::kLength, s.length, Sign::NonNegative, out.L)) return r;
  if (auto r = ReadNumber(record, index, nf::kArea, s.area, Sign::NonNegative, out.area)) return r;
  if (auto r = ReadNumber(record, index, nf::kRunoff, s.c, Sign::NonNegative, out.c)) return r;
  if (auto r = ReadNumber(record, index, nf::kSewage, s.sewage, Sign::NonNegative, out.sewage))
    return r;

  const int kind = static_cast<int>(s.kind);
  if (kind < 0 || kind > 5) return Refuse(record, index, nf::kKind, "を選択してください。");
  if (const auto material = MaterialFromKind(kind)) {
    const auto size = LookupPipe(*material, s.sizeIndex);
    if (!size) return Refuse(record, index, nf::kSize, "を選択してください。");
    out.D = size->D;
  } else if (s.kind == NetworkFacilityKind::OtherCircular) {
    if (auto r = ReadNumber(record, index, nf::kDiameter, s.D, Sign::Positive, out.D)) return r;
  } else {
    if (auto r = ReadNumber(record, index, nf::kHeight, s.H, Sign::Positive, out.H)) return r;
    if (auto r = ReadNumber(record, index, nf::kWidth, s.B, Sign::Positive, out.B)) return r;
  }
  if (auto r = ReadNumber(record, index, nf::kSlope, s.slope, Sign::Positive, out.x)) return r;
  if (auto r = ReadNumber(record, index, nf::kRoughness, s.roughness, Sign::Positive, out.n))
    return r;
  const auto ratio = DepthChoiceMember(NetworkDepthList(s.kind), s.depthIndex);
  if (!ratio) return Refuse(record, index, nf::kDepth, "を選択してください。");
  out.ratio = *ratio;
  return std::nullopt;
}

// ---------------------------------------------------------------- the tree

struct Tree {
  std::vector<int> downstream;               // per segment; -1 at an end
  std::vector<std::vector<int>> upstream;    // per segment, record order
  std::vector<int> order;                    // upstream to downstream
};

std::optional<NetworkRefusal> BuildTree(const NetworkRecord& record, Tree& tree) {
  const int count = static_cast<int>(record.segments.size());
  std::unordered_map<std::string, int> names, outgoing;
  names.reserve(static_cast<std::size_t>(count));
  outgoing.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const NetworkSegment& s = record.segments[static_cast<std::size_t>(i)];
    if (const auto [it, added] = names.emplace(s.name, i); !added)
      return Refuse(record, i, nf::kName, "が" + SegmentLabel(record, it->second) + "と重複しています。");
    if (const auto [it, added] = outgoing.emplace(s.upstream, i); !added)
      return Refuse(record, i, nf::kUpstream,
                    "「" + s.upstream + "」からは" + SegmentLabel(record, it->second) +
                        "も流れ出ています。一つの点から流れ出る区間は一つだけです。");
  }

  tree.downstream.assign(static_cast<std::size_t>(count), -1);
  tree.upstream.assign(static_cast<std::size_t>(count), {});
  const std::string& outlet = record.settings.outlet;
  if (const auto from = outgoing.find(outlet); !outlet.empty() && from != outgoing.end())
    return Refuse(record, from->second, nf::kUpstream,
                  "「" + outlet + "」は放流先です。放流先から流れ出る区間は置けません。");
  int firstEnd = -1;
  for (int i = 0; i < count; ++i) {
    const NetworkSegment& s = record.segments[static_cast<std::size_t>(i)];
    const auto next = outgoing.find(s.downstream);
    if (next != outgoing.end()) {
      tree.downstream[static_cast<std::size_t>(i)] = next->second;
      tree.upstream[static_cast<std::size_t>(next->second)].push_back(i);
      continue;
    }
    if (!outlet.empty() && s.downstream != outlet)
      return Refuse(record, i, nf::kDownstream,
                    "「" + s.downstream + "」はどの区間にも放流先「" + outlet +
                        "」にもつながっていません。");
    if (firstEnd >= 0)
      return Refuse(record, i, nf::kDownstream,
                    "「" + s.downstream + "」は" + SegmentLabel(record, firstEnd) +
                        "とは別の放流先になっています。放流先は一つだけです。");
    firstEnd = i;
  }

  // From upstream to downstream; among the segments ready, the record's
  // order first.  What is never ready lies on a cycle (or below one).
  std::vector<int> waiting(static_cast<std::size_t>(count));
  std::priority_queue<int, std::vector<int>, std::greater<int>> ready;
  for (int i = 0; i < count; ++i) {
    waiting[static_cast<std::size_t>(i)] = static_cast<int>(tree.upstream[static_cast<std::size_t>(i)].size());
    if (waiting[static_cast<std::size_t>(i)] == 0) ready.push(i);
  }
  tree.order.clear();
  tree.order.reserve(static_cast<std::size_t>(count));
  while (!ready.empty()) {
    const int i = ready.top();
    ready.pop();
    tree.order.push_back(i);
    const int next = tree.downstream[static_cast<std::size_t>(i)];
    if (next >= 0 && --waiting[static_cast<std::size_t>(next)] == 0) ready.push(next);
  }
  if (static_cast<int>(tree.order.size()) < count) {
    // The first segment in the record's order that lies on a cycle: walk
    // down from a segment never reached until a segment repeats.
    std::vector<char> done(static_cast<std::size_t>(count), 0);
    for (int i : tree.order) done[static_cast<std::size_t>(i)] = 1;
    int start = 0;
    while (done[static_cast<std::size_t>(start)]) ++start;
    std::vector<char> seen(static_cast<std::size_t>(count), 0);
    int at = start;
    // Below a segment never reached there is always a cycle (an end would
    // have been reached); the guard only keeps the walk inside the table.
    while (!seen[static_cast<std::size_t>(at)]) {
      seen[static_cast<std::size_t>(at)] = 1;
      const int next = tree.downstream[static_cast<std::size_t>(at)];
      if (next < 0) break;
      at = next;
    }
    int first = at;
    for (int k = tree.downstream[static_cast<std::size_t>(at)]; k != at;
         k = tree.downstream[static_cast<std::size_t>(k)])
      first = std::min(first, k);
    const NetworkSegment& s = record.segments[static_cast<std::size_t>(first)];
    return Refuse(record, first, nf::kDownstream,
                  "「" + s.downstream + "」から流れが循環しています。下流側へ流れ下るようにしてください。");
  }
  return std::nullopt;
}

// ---------------------------------------------------------------- one row

std::string FacilityText(const NetworkSegment& s, const SegmentNumbers& num, int sizeIndex) {
  if (const auto material = MaterialFromKind(static_cast<int>(s.kind))) {
    const auto size = LookupPipe(*material, sizeIndex);
    return size ? size->storedName : std::string();
  }
  if (s.kind == NetworkFacilityKind::OtherCircular)
    return (s.facilityName.empty() ? std::string("その他円形管") : s.facilityName) + " φ" +
           FormatNumber(num.D, "0.000");
  return (s.facilityName.empty() ? std::string("矩形管") : s.facilityName) + " " +
         FormatNumber(num.B, "0.000") + "×" + FormatNumber(num.H, "0.000");
}

// Computes row `index` from the rows flowing into it (already computed),
// with the catalogue size `sizeIndex` (the segment's own, or a proposal).
std::optional<NetworkRefusal> ComputeRow(const NetworkRecord& record, const SettingsNumbers& set,
                                         const SegmentNumbers& num, int index, int sizeIndex,
                                         std::vector<NetworkRow>& rows) {
  const NetworkSegment& s = record.segments[static_cast<std::size_t>(index)];
  NetworkRow& row = rows[static_cast<std::size_t>(index)];

  row.L = num.L;
  row.ownArea = num.area;
  row.ownC = num.c;
  row.ownCA = num.c * num.area;
  row.ownSewage = num.sewage;
  row.sumArea = row.ownArea;
  row.sumCA = row.ownCA;
  row.sumSewage = row.ownSewage;
  row.t1 = set.t1;
  row.head = row.upstream.empty();
  row.t = set.t1;
  bool first = true;
  for (int u : row.upstream) {
    const NetworkRow& up = rows[static_cast<std::size_t>(u)];
    row.sumArea += up.sumArea;
    row.sumCA += up.sumCA;
    row.sumSewage += up.sumSewage;
    const double arrival = up.t + up.t2;
    if (first || arrival > row.t) row.t = arrival;
    first = false;
  }
  if (!(row.sumArea > 0.0))
    return Refuse(record, index, nf::kArea, "の累計が０のため、流出係数を計算できません。");
  row.C = row.sumCA / row.sumArea;

  // The section and capacity as the facility screens compute them.
  row.D = num.D;
  row.B = num.B;
  row.H = num.H;
  if (const auto material = MaterialFromKind(static_cast<int>(s.kind))) {
    const auto size = LookupPipe(*material, sizeIndex);
    if (!size) return Refuse(record, index, nf::kSize, "を選択してください。");
    row.D = size->D;
  }
  row.slope = num.x;
  row.n = num.n;
  row.geometry = s.kind == NetworkFacilityKind::Rectangular
                     ? RectangularSection(row.H, row.B, DepthCode(num.ratio), true)
                     : CircularSection(row.D, num.ratio);
  row.facilityText = FacilityText(s, num, sizeIndex);
  row.depthText = DepthChoiceList(NetworkDepthList(s.kind))[static_cast<std::size_t>(s.depthIndex)].text;
  const auto capacity = ComputeCapacity(row.geometry, num.x, num.n, record.settings.velocity);
  if (!capacity)
    return Refuse(record, index, nf::kCapacity, "を計算できません。" + capacity.error().message);
  row.capacity = *capacity;
  row.V = capacity->V;
  row.Q2 = capacity->Q2;
  row.t2 = row.L / (60.0 * row.V);

  const auto I = IntensityByFormula(record.settings.formula, set.a, set.b, set.c, set.d, row.t);
  if (!I) return Refuse(record, index, nf::kIntensity, "を計算できません。" + I.error().message);
  row.I = *I;
  if (!(row.I > 0.0) && std::isfinite(row.I))
    return Refuse(record, index, nf::kIntensity,
                  "が０以下になります。降雨強度式の定数を確認してください。");

  // The check run's flow arithmetic on the numbers the single-facility
  // project of this row reads: C = ΣC·A/ΣA, the area in m2, Σ sewage.
  const double areaM2 = row.sumArea * 10000.0;
  row.Q11 = row.C * (1.0 / 360.0) * row.I * areaM2 * 0.0001;
  row.Q12 = record.settings.groundwater ? ((set.g + 100.0) * row.sumSewage) / 100.0 : row.sumSewage;
  row.factor = (set.s + 100.0) / 100.0;
  row.Q1 = ((set.s + 100.0) * (row.Q12 + row.Q11)) / 100.0;
  row.margin = row.Q1 != 0.0 ? (row.Q2 - row.Q1) / row.Q1 * 100.0 : 0.0;
  row.verdict = JudgeVerdict(row.Q1, row.Q2);

  // Values too large for a double: name the input the value grows from.
  auto tooLarge = [&](const char* field) {
    return NetworkRefusal{SegmentLabel(record, index) + "の" + kTooLarge, index, field};
  };
  for (double value : {row.t, row.t2})
    if (!std::isfinite(value)) return tooLarge(nf::kLength);
  for (double value : {row.sumArea, row.sumCA, row.C, row.I, row.Q11})
    if (!std::isfinite(value)) return tooLarge(nf::kArea);
  for (double value : {row.Q12, row.Q1})
    if (!std::isfinite(value)) return tooLarge(nf::kSewage);
  for (double value : {row.V, row.Q2, row.margin})
    if (!std::isfinite(value)) return tooLarge(nf::kSlope);
  return std::nullopt;
}

struct Prepared {
  SettingsNumbers settings;
  NetworkCriteriaNumbers criteria;
  std::vector<SegmentNumbers> numbers;
  Tree tree;
};

std::optional<NetworkRefusal> Prepare(const NetworkRecord& record, Prepared& p) {
  if (auto r = ReadSettings(record, p.settings)) return r;
  if (auto r = ReadNetworkCriteria(record, p.criteria)) return r;
  const int count = static_cast<int>(record.segments.size());
  p.numbers.assign(static_cast<std::size_t>(count), {});
  for (int i = 0; i < count; ++i)
    if (auto r = ReadSegment(record, i, p.numbers[static_cast<std::size_t>(i)])) return r;
  if (auto r = BuildTree(record, p.tree)) return r;
  return CheckNetworkLevelInputs(record);
}

std::vector<NetworkRow> LinkedRows(const Tree& tree) {
  std::vector<NetworkRow> rows(tree.downstream.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    rows[i].segment = static_cast<int>(i);
    rows[i].downstream = tree.downstream[i];
    rows[i].upstream = tree.upstream[i];
  }
  return rows;
}

}  // namespace

NetworkComputation ComputeNetwork(const NetworkRecord& record) {
  NetworkComputation out;
  Prepared p;
  if (auto r = Prepare(record, p)) {
    out.refusal = std::move(r);
    return out;
  }
  std::vector<NetworkRow> rows = LinkedRows(p.tree);
  for (int i : p.tree.order) {
    const auto& s = record.segments[static_cast<std::size_t>(i)];
    if (auto r = ComputeRow(record, p.settings, p.numbers[static_cast<std::size_t>(i)], i, s.sizeIndex, rows)) {
      out.refusal = std::move(r);
      return out;
    }
  }
  out.table.rows = std::move(rows);
  out.table.order = std::move(p.tree.order);
  NetworkLevels levels = ComputeNetworkLevels(record, out.table);
  for (std::size_t i = 0; i < out.table.rows.size(); ++i) out.table.rows[i].levels = std::move(levels.segments[i]);
  out.table.hasLevels = levels.hasLevels;
  out.table.nodes = std::move(levels.nodes);
  return out;
}

// ---------------------------------------------------------------- texts

namespace {
std::string Level(const std::optional<double>& value) { return value ? FormatNumber(*value, "0.000") : std::string(); }
}  // namespace

std::vector<std::string> NetworkRowTexts(const NetworkRecord& record, const NetworkRow& row) {
  const NetworkSegment& s = record.segments[static_cast<std::size_t>(row.segment)];
  const NetworkSegmentLevels& lv = row.levels;
  const char* q = "0.0000";
  return {
      s.name,
      s.upstream,
      s.downstream,
      s.length,
      s.area,
      FormatNumber(row.sumArea, "0.0000"),
      s.c,
      FormatNumber(row.ownCA, "0.0000"),
      FormatNumber(row.sumCA, "0.0000"),
      row.head ? FormatNumber(row.t1, "0.00") : std::string(),
      FormatNumber(row.t2, "0.00"),
      FormatNumber(row.t, "0.00"),
      FormatNumber(row.I, "0.00"),
      FormatNumber(row.Q11, q),
      s.sewage,
      FormatNumber(row.Q12, q),
      FormatNumber(row.Q1, q),
      row.facilityText,
      s.slope,
      s.roughness,
      row.depthText,
      FormatNumber(row.V, "0.000"),
      FormatNumber(row.Q2, q),
      row.Q1 != 0.0 ? FormatNumber(row.margin, "0.0") : std::string(),
      row.verdict == Verdict::OK ? "O.K" : "NO",
      NetworkWallText(s, row.levels),
      Level(lv.groundUp),
      NetworkInvertText(s, row.levels),
      Level(lv.coverUp),
      Level(lv.groundDown),
      Level(lv.invertDown),
      Level(lv.coverDown),
      Level(lv.drop),
      FormatNumber(lv.hRatio, "0.000"),
      FormatNumber(lv.velocity, "0.000"),
      NetworkCheckText(lv),
      NetworkNotesText(lv),
  };
}

std::string NetworkWallText(const NetworkSegment& segment, const NetworkSegmentLevels& levels) {
  switch (levels.wallSource) {
    case WallSource::Typed: return segment.wall;
    case WallSource::Default: return FormatNumber(levels.wall, "0.000") + kStandardWallMark;
    case WallSource::None: break;
  }
  return segment.wall;
}

std::string NetworkInvertText(const NetworkSegment& segment, const NetworkSegmentLevels& levels) {
  if (!segment.invert.empty()) return segment.invert;
  return levels.invertUp ? FormatNumber(*levels.invertUp, "0.000") : std::string();
}

// ---------------------------------------------------------------- sizing

namespace {

// The slope (per mille) at which `value(slope)` reaches `target`, where it
// rises with the slope; nothing when it cannot be reached below 1000 ‰.
template <typename F>
std::optional<double> SlopeWhere(F value, double target) {
  double lo = 0.0, hi = 1000.0;
  const auto top = value(hi);
  if (!top || *top < target) return std::nullopt;
  for (int k = 0; k < 200 && hi - lo > 1e-12; ++k) {
    const double mid = (lo + hi) / 2.0;
    const auto v = value(mid);
    (v && *v >= target ? hi : lo) = mid;
  }
  return hi;
}

std::string SlopeText(double slope) { return FormatNumber(slope, "0.00"); }

}  // namespace

NetworkSizing ProposeNetworkSizes(const NetworkRecord& given) {
  NetworkSizing out;
  // A catalogue pipe whose size is not chosen yet is what sizing is for:
  // it is checked as the list's first size and then sized like any other.
  NetworkRecord record = given;
  for (NetworkSegment& s : record.segments) {
    const auto material = MaterialFromKind(static_cast<int>(s.kind));
    if (material && !LookupPipe(*material, s.sizeIndex)) s.sizeIndex = 0;
  }
  Prepared p;
  if (auto r = Prepare(record, p)) {
    out.refusal = std::move(r);
    return out;
  }
  const NetworkCriteriaNumbers& criteria = p.criteria;
  auto inRange = [&](double V) {
    return !(criteria.velocityMin && V < *criteria.velocityMin) && !(criteria.velocityMax && V > *criteria.velocityMax);
  };
  const int count = static_cast<int>(record.segments.size());
  std::vector<NetworkRow> rows = LinkedRows(p.tree);
  out.proposals.resize(static_cast<std::size_t>(count));
  for (int i : p.tree.order) {
    NetworkSegment s = record.segments[static_cast<std::size_t>(i)];
    const SegmentNumbers& num = p.numbers[static_cast<std::size_t>(i)];
    NetworkSizeProposal& proposal = out.proposals[static_cast<std::size_t>(i)];
    proposal.segment = i;
    proposal.currentSize = given.segments[static_cast<std::size_t>(i)].sizeIndex;
    int size = s.sizeIndex;
    if (const auto material = MaterialFromKind(static_cast<int>(s.kind))) {
      proposal.catalogue = true;
      // The largest pipe of the same material flowing in, at its proposed size.
      double smallestD = 0.0;
      for (int u : rows[static_cast<std::size_t>(i)].upstream) {
        const NetworkSegment& up = record.segments[static_cast<std::size_t>(u)];
        if (up.kind == s.kind) smallestD = std::max(smallestD, rows[static_cast<std::size_t>(u)].D);
      }
      const auto& list = PipeSizes(*material);
      const int last = static_cast<int>(list.size()) - 1;
      size = last;
      // Sizes that carry Q1 and are not below the minimum size, with their V.
      std::vector<std::pair<int, double>> carrying;
      bool anyLargeEnough = false;
      for (int k = 0; k <= last; ++k) {
        if (list[static_cast<std::size_t>(k)].D < smallestD) continue;
        s.sizeIndex = k;
        NetworkRow& row = rows[static_cast<std::size_t>(i)];
        if (criteria.minimumSize && NetworkNominalSize(s, row) < *criteria.minimumSize - 1e-9) continue;
        anyLargeEnough = true;
        if (auto r = ComputeRow(record, p.settings, num, i, k, rows)) {
          out.refusal = std::move(r);
          return out;
        }
        if (row.verdict != Verdict::OK) continue;
        carrying.emplace_back(k, row.V);
        if (inRange(row.V)) {
          proposal.proposedSize = k;
          size = k;
          break;
        }
      }
      if (!proposal.proposedSize) {
        if (!anyLargeEnough) {
          proposal.reason = "該当なし：最小管径以上の管がありません";
        } else if (carrying.empty()) {
          proposal.reason = "該当なし：最大の管径でも流下能力が不足します";
        } else {
          // A larger pipe runs faster at the same slope: too fast at the
          // smallest size that carries Q1 means too fast at all of them.
          // Then the steepest slope at which a size carries Q1 within the
          // range; too slow everywhere: the gentlest.
          const bool tooFast = criteria.velocityMax && carrying.front().second > *criteria.velocityMax;
          proposal.reason = tooFast ? "該当なし：流速が上限を超えます" : "該当なし：流速が下限に達しません";
          const double Q1 = rows[static_cast<std::size_t>(i)].Q1;
          for (const auto& [k, V] : carrying) {
            (void)V;
            const SectionGeometry g = CircularSection(list[static_cast<std::size_t>(k)].D, num.ratio);
            auto capacityAt = [&](double slope) -> std::optional<CapacityResult> {
              if (!(slope > 0.0)) return CapacityResult{};
              const auto c = ComputeCapacity(g, slope, num.n, record.settings.velocity);
              if (!c) return std::nullopt;
              return *c;
            };
            auto velocity = [&](double x) -> std::optional<double> {
              const auto c = capacityAt(x);
              return c ? std::optional<double>(c->V) : std::nullopt;
            };
            auto flow = [&](double x) -> std::optional<double> {
              const auto c = capacityAt(x);
              return c ? std::optional<double>(c->Q2) : std::nullopt;
            };
            const auto carries = SlopeWhere(flow, Q1);
            if (!carries) continue;
            double gentlest = *carries;
            if (criteria.velocityMin)
              if (const auto slow = SlopeWhere(velocity, *criteria.velocityMin)) gentlest = std::max(gentlest, *slow);
            std::optional<double> found;
            if (tooFast) {
              const auto fast = SlopeWhere(velocity, *criteria.velocityMax);
              if (!fast) continue;
              // The steepest slope on the 0.01 ‰ grid at which V stays within the range.
              double x = std::floor(*fast * 100.0) / 100.0;
              if (velocity(x).value_or(0.0) > *criteria.velocityMax) x -= 0.01;
              if (x >= gentlest && x > 0.0) found = x;
            } else {
              double x = std::ceil(gentlest * 100.0) / 100.0;
              const auto c = capacityAt(x);
              if (c && c->Q2 >= Q1 && inRange(c->V)) found = x;
            }
            if (!found) continue;
            proposal.slopeSize = k;
            proposal.slope = *found;
            proposal.reason += "（" + list[static_cast<std::size_t>(k)].storedName + " は勾配 " + SlopeText(*found) +
                               (tooFast ? "‰以下で適合）" : "‰以上で適合）");
            break;
          }
        }
      }
    }
    if (auto r = ComputeRow(record, p.settings, num, i, size, rows)) {
      out.refusal = std::move(r);
      return out;
    }
  }
  return out;
}

std::string NetworkProposalText(const NetworkRecord& record, const NetworkSizeProposal& proposal) {
  if (!proposal.catalogue) return {};
  if (!proposal.proposedSize) return proposal.reason.empty() ? std::string("該当なし") : proposal.reason;
  if (!proposal.changes()) return {};
  if (proposal.segment < 0 || proposal.segment >= static_cast<int>(record.segments.size())) return {};
  const auto material = MaterialFromKind(static_cast<int>(record.segments[static_cast<std::size_t>(proposal.segment)].kind));
  const auto size = material ? LookupPipe(*material, *proposal.proposedSize) : std::nullopt;
  return size ? "→ " + size->storedName : std::string();
}

void ApplySizeProposals(NetworkRecord& record, const NetworkSizing& sizing, int segment) {
  for (const NetworkSizeProposal& proposal : sizing.proposals) {
    if (segment >= 0 && proposal.segment != segment) continue;
    if (!proposal.changes() || proposal.segment < 0 ||
        proposal.segment >= static_cast<int>(record.segments.size()))
      continue;
    record.segments[static_cast<std::size_t>(proposal.segment)].sizeIndex = *proposal.proposedSize;
  }
}

// ---------------------------------------------------------------- one row

ProjectRecord SingleFacilityProject(const NetworkRecord& record, const NetworkRow& row) {
  ProjectRecord project;
  NewProject(project);
  const NetworkSettings& set = record.settings;
  const NetworkSegment& s = record.segments[static_cast<std::size_t>(row.segment)];

  MainScreenInputs& main = project.main;
  main.txt_c = ExactDecimalText(row.C);
  main.txt_a = ExactDecimalText(row.sumArea * 10000.0);
  main.txt_i = ExactDecimalText(row.I);
  main.opt3 = true;   // I typed
  main.opt4 = false;
  main.opt5 = true;   // C typed
  main.opt6 = false;
  main.opt7 = false;  // sewage typed
  main.opt8 = true;
  main.txt3 = ExactDecimalText(row.sumSewage);
  main.opt1 = set.velocity == VelocityFormula::Manning;
  main.opt2 = set.velocity == VelocityFormula::Kutter;
  main.opt9 = !set.groundwater;
  main.opt10 = set.groundwater;
  main.txt2 = set.groundwater ? set.groundwaterPercent : std::string();
  main.opt11 = !set.surcharge;
  main.opt12 = set.surcharge;
  main.txt1 = set.surcharge ? set.surchargePercent : std::string();

  main.lst_s = static_cast<int>(s.kind);
  FacilityScreenInputs& f = project.facility;
  switch (s.kind) {
    case NetworkFacilityKind::VP:
    case NetworkFacilityKind::VU:
    case NetworkFacilityKind::FRPM:
    case NetworkFacilityKind::Hume:
      f.form2.lst_pu = s.sizeIndex;
      f.form2.txt1 = s.slope;
      f.form2.txt2 = s.roughness;
      f.form2.cbo1 = s.depthIndex;
      break;
    case NetworkFacilityKind::OtherCircular:
      f.form5.txt_m = s.facilityName;
      f.form5.txt1 = s.D;
      f.form5.txt2 = s.slope;
      f.form5.txt3 = s.roughness;
      f.form5.cbo1 = s.depthIndex;
      break;
    case NetworkFacilityKind::Rectangular:
      f.form1.txt_m = s.facilityName;
      f.form1.txt1 = s.H;
      f.form1.txt2 = s.B;
      f.form1.txt3 = s.slope;
      f.form1.txt4 = s.roughness;
      f.form1.cbo1 = s.depthIndex;
      break;
  }
  return project;
}

}  // namespace mk
