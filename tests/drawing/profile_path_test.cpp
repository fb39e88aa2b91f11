// The flow path taken from a computed table with levels: the longest path
// by default, any head on request, the levels as the table computed them.
#include "drawing/profile_path.h"

#include <gtest/gtest.h>

#include "calc/network_levels.h"

namespace mk::drawing {
namespace {

// Segments 1 (1→3, 80 m) and 2 (2→3, 60 m) join at node 3 into 3 (3→4, 100 m).
NetworkRecord Junction(bool levels) {
  NetworkRecord r;
  r.settings.a = "5000";
  r.settings.b = "40";
  r.settings.t1 = "7";
  auto segment = [](const char* name, const char* up, const char* down, const char* L, int size, const char* slope) {
    NetworkSegment s = NewNetworkSegment();
    s.name = name, s.upstream = up, s.downstream = down, s.length = L;
    s.area = "0.5", s.c = "0.6", s.kind = NetworkFacilityKind::Hume, s.sizeIndex = size, s.slope = slope;
    s.roughness = "0.013";
    return s;
  };
  r.segments = {segment("1", "1", "3", "80", 2, "8"), segment("2", "2", "3", "60", 1, "10"),
                segment("3", "3", "4", "100", 4, "5")};
  if (levels) r.nodes = {{"1", "12.0", "", ""}, {"2", "12.2", "", ""}, {"3", "11.5", "", ""}, {"4", "11.0", "", ""}};
  return r;
}

TEST(ProfilePath, LongestByDefaultAnyHeadOnRequest) {
  const NetworkRecord record = Junction(true);
  const NetworkComputation c = ComputeNetwork(record);
  ASSERT_TRUE(c.ok()) << c.refusal->message;
  EXPECT_EQ(ProfileHeads(record, c.table), (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(LongestPathHead(record, c.table), "1");  // 180 m against 160 m

  const ProfilePathResult longest = ProfilePathFrom(record, c.table, "");
  ASSERT_TRUE(longest.ok()) << *longest.refusal;
  const ProfilePath& p = longest.path;
  ASSERT_EQ(p.nodes.size(), 3u);
  EXPECT_EQ(p.nodes[1].name, "3");
  EXPECT_EQ(p.nodes[2].station, 180.0);
  EXPECT_EQ(p.nodes[2].ground, 11.0);
  // Each number as the table computed it.
  const NetworkSegmentLevels& lv = c.table.rows[2].levels;
  EXPECT_EQ(p.segments[1].name, "3");
  EXPECT_EQ(p.segments[1].invertUp, *lv.invertUp);
  EXPECT_EQ(p.segments[1].invertDown, *lv.invertDown);
  EXPECT_EQ(p.segments[1].waterUp, *lv.waterUp);
  EXPECT_EQ(p.segments[1].coverDown, *lv.coverDown);
  EXPECT_EQ(p.segments[1].drop, *lv.drop);
  EXPECT_EQ(p.segments[1].facility, c.table.rows[2].facilityText);

  const ProfilePathResult other = ProfilePathFrom(record, c.table, "2");
  ASSERT_TRUE(other.ok());
  EXPECT_EQ(other.path.nodes.front().name, "2");
  EXPECT_EQ(other.path.nodes.back().station, 160.0);
  EXPECT_TRUE(DrawProfile(other.path, {}).ok());

  EXPECT_FALSE(ProfilePathFrom(record, c.table, "4").ok());  // the outlet: nothing flows out
}

TEST(ProfilePath, RefusedWithoutLevels) {
  const NetworkRecord record = Junction(false);
  const NetworkComputation c = ComputeNetwork(record);
  ASSERT_TRUE(c.ok());
  const ProfilePathResult r = ProfilePathFrom(record, c.table, "");
  ASSERT_FALSE(r.ok());
  EXPECT_NE(r.refusal->find("地盤高"), std::string::npos);
}

}  // namespace
}  // namespace mk::drawing
