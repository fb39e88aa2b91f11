#include "drawing/profile_path.h"

#include <unordered_map>
#include <unordered_set>

#include "calc/network_levels.h"

namespace mk::drawing {

namespace {

// The segment leaving each node (a tree: at most one), by node name.
std::unordered_map<std::string, int> Outgoing(const NetworkRecord& record, const NetworkTable& table) {
  std::unordered_map<std::string, int> out;
  for (const NetworkRow& row : table.rows) out.emplace(record.segments[row.segment].upstream, row.segment);
  return out;
}

double PathLength(const NetworkTable& table, int segment) {
  double length = 0.0;
  for (std::size_t guard = 0; segment >= 0 && guard <= table.rows.size(); ++guard) {
    length += table.rows[segment].L;
    segment = table.rows[segment].downstream;
  }
  return length;
}

}  // namespace

std::vector<std::string> ProfileHeads(const NetworkRecord& record, const NetworkTable& table) {
  std::vector<std::string> heads;
  for (const NetworkRow& row : table.rows)
    if (row.head) heads.push_back(record.segments[row.segment].upstream);
  return heads;
}

std::string LongestPathHead(const NetworkRecord& record, const NetworkTable& table) {
  std::string best;
  double bestLength = -1.0;
  for (const NetworkRow& row : table.rows) {
    if (!row.head) continue;
    const double length = PathLength(table, row.segment);
    if (length > bestLength) {
      bestLength = length;
      best = record.segments[row.segment].upstream;
    }
  }
  return best;
}

ProfilePathResult ProfilePathFrom(const NetworkRecord& record, const NetworkTable& table, const std::string& from) {
  ProfilePathResult result;
  if (!table.hasLevels) {
    result.refusal = "地盤高が入力されていないため、縦断図を描けません。節点の地盤高を入力してください。";
    return result;
  }
  const std::string head = from.empty() ? LongestPathHead(record, table) : from;
  const auto outgoing = Outgoing(record, table);
  const auto start = outgoing.find(head);
  if (start == outgoing.end()) {
    result.refusal = "節点「" + head + "」から流れ出る区間がないため、縦断図を描けません。";
    return result;
  }

  ProfilePath& path = result.path;
  path.title = record.settings.title;
  double station = 0.0;
  auto missing = [&](const std::string& segment, const char* what) {
    result.refusal = "路線番号「" + segment + "」の" + what + "が求まらないため、縦断図を描けません。";
  };
  for (int k = start->second; k >= 0 && path.segments.size() <= table.rows.size(); k = table.rows[k].downstream) {
    const NetworkRow& row = table.rows[k];
    const NetworkSegment& segment = record.segments[row.segment];
    const NetworkSegmentLevels& lv = row.levels;
    if (!lv.groundUp || !lv.groundDown) {
      result.refusal = "節点「" + (lv.groundUp ? segment.downstream : segment.upstream) +
                       "」の地盤高が入力されていないため、縦断図を描けません。";
      return result;
    }
    if (!lv.invertUp || !lv.invertDown || !lv.crownUp || !lv.crownDown) return missing(segment.name, "管底高"), result;
    if (!lv.coverUp || !lv.coverDown) return missing(segment.name, "土被り"), result;
    if (path.nodes.empty()) path.nodes.push_back({segment.upstream, 0.0, *lv.groundUp});
    station += row.L;
    path.nodes.push_back({segment.downstream, station, *lv.groundDown});
    ProfileSegment s;
    s.name = segment.name;
    s.L = row.L;
    s.invertUp = *lv.invertUp;
    s.invertDown = *lv.invertDown;
    s.crownUp = *lv.crownUp;
    s.crownDown = *lv.crownDown;
    s.waterUp = lv.waterUp.value_or(s.invertUp);
    s.waterDown = lv.waterDown.value_or(s.invertDown);
    s.coverUp = *lv.coverUp;
    s.coverDown = *lv.coverDown;
    s.facility = row.facilityText;
    s.slope = row.slope;
    s.drop = lv.drop.value_or(0.0);
    path.segments.push_back(std::move(s));
  }
  return result;
}

}  // namespace mk::drawing
