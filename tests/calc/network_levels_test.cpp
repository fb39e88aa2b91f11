// The design checks of the network table: depth at Q1 against the section
// functions, inverts, drops and covers worked by hand for each joint
// method, the checks, the velocity-aware sizing, and a property test over
// random trees.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "calc/hydraulics.h"
#include "calc/network.h"
#include "calc/network_levels.h"
#include "calc/sections.h"
#include "model/number_text.h"

namespace mk {
namespace {

namespace nc = network_check;

NetworkSettings Settings() {
  NetworkSettings s;
  s.a = "3600";
  s.b = "43";
  s.t1 = "7";
  return s;
}

// A Hume pipe (kind 3) of the given catalogue index, 0.1 ha at C 0.5, no sewage.
NetworkSegment Hume(const std::string& name, const std::string& up, const std::string& down,
                    const std::string& L, int size, const std::string& slope) {
  NetworkSegment s = NewNetworkSegment();
  s.name = name;
  s.upstream = up;
  s.downstream = down;
  s.length = L;
  s.area = "0.1";
  s.c = "0.5";
  s.kind = NetworkFacilityKind::Hume;
  s.roughness = "0.013";
  s.sizeIndex = size;
  s.slope = slope;
  return s;
}

constexpr int kHume250 = 2, kHume300 = 3, kHume400 = 5;

// A: n1→n3 φ300 L50 5‰ (fall 0.25, wall 0.030); B: n2→n3 φ250 L40 5‰
// (fall 0.20, wall 0.028); C: n3→n4 φ400 L60 4‰ (fall 0.24, wall 0.035).
// Ground n1 10.0, n2 10.1, n3 9.9, n4 9.6; cover 1.0.
NetworkRecord Junction() {
  NetworkRecord net;
  net.settings = Settings();
  net.segments = {Hume("A", "n1", "n3", "50", kHume300, "5"), Hume("B", "n2", "n3", "40", kHume250, "5"),
                  Hume("C", "n3", "n4", "60", kHume400, "4")};
  net.nodes = {{"n1", "10.0", "", ""}, {"n2", "10.1", "", ""}, {"n3", "9.9", "", ""}, {"n4", "9.6", "", ""}};
  return net;
}

void ExpectLevel(const std::optional<double>& actual, double expected, const char* what) {
  ASSERT_TRUE(actual.has_value()) << what;
  EXPECT_NEAR(*actual, expected, 1e-9) << what;
}

TEST(NetworkLevels, DepthAtQ1AgainstTheSectionFunctions) {
  for (VelocityFormula formula : {VelocityFormula::Manning, VelocityFormula::Kutter}) {
    // A rectangle at the flow of its 8割 section: h is 0.8 H.
    const auto rect = ComputeCapacity(RectangularSection(0.8, 1.2, 8.0, true), 3, 0.015, formula);
    DepthAtFlow d = DepthForFlow(true, 0, 1.2, 0.8, 3, 0.015, formula, rect->Q2);
    EXPECT_NEAR(d.h, 0.64, 1e-8);
    EXPECT_NEAR(d.hRatio, 0.8, 1e-8);
    EXPECT_NEAR(d.velocity, rect->V, 1e-8);
    EXPECT_FALSE(d.overfull);
    // A circle at the flow of its 水深８割 section, whose coefficients are
    // kept to four decimals: h/D within their rounding.
    const auto circle = ComputeCapacity(CircularSection(0.6, DepthRatio::Depth80), 8, 0.013, formula);
    d = DepthForFlow(false, 0.6, 0, 0, 8, 0.013, formula, circle->Q2);
    EXPECT_NEAR(d.hRatio, 0.8, 2e-4);
    EXPECT_NEAR(d.velocity, circle->V, 1e-3 * circle->V);
    // The full bore's flow is also carried below the crown (the flow peaks
    // near 0.94 D), at about 0.82 D; more than the peak runs full.
    const auto full = ComputeCapacity(CircularSection(0.6, DepthRatio::Full), 8, 0.013, formula);
    d = DepthForFlow(false, 0.6, 0, 0, 8, 0.013, formula, full->Q2);
    EXPECT_GT(d.hRatio, 0.80);
    EXPECT_LT(d.hRatio, 0.84);
    // Between the full bore's flow and the peak's: carried just below the
    // peak; a little past the peak (under the bound that skips the search)
    // runs full.
    d = DepthForFlow(false, 0.6, 0, 0, 8, 0.013, formula, 1.04 * full->Q2);
    EXPECT_FALSE(d.overfull);
    EXPECT_GT(d.hRatio, 0.84);
    EXPECT_LT(d.hRatio, 0.95);
    EXPECT_TRUE(DepthForFlow(false, 0.6, 0, 0, 8, 0.013, formula, 1.1 * full->Q2).overfull);
    d = DepthForFlow(false, 0.6, 0, 0, 8, 0.013, formula, 1.2 * full->Q2);
    EXPECT_TRUE(d.overfull);
    EXPECT_EQ(d.hRatio, 1.0);
    EXPECT_NEAR(d.velocity, full->V, 1e-3 * full->V);
  }
}

TEST(NetworkLevels, InvertsDropsAndCoversForEachJointMethod) {
  // Heads: A starts at its upstream cover, 10.0 − 1.0 − 0.300 − 0.030 =
  // 8.670 (its downstream end allows 9.9 − 1.33 + 0.25 = 8.82); B where
  // both its ends allow, 10.1 − 1.278 = 9.9 − 1.278 + 0.20 = 8.822, so B
  // runs 8.822 → 8.622 and A 8.670 → 8.420.  C's cover
  // allows 9.9 − 1.435 = 8.465 upstream and 9.6 − 1.435 + 0.24 = 8.405
  // downstream.
  struct Case {
    JointMethod joint;
    double invertC;  // C's upstream invert, by hand
  };
  const Case cases[] = {
      {JointMethod::Crown, 8.32},    // A: 8.42 + 0.3 − 0.4; B: 8.622 + 0.25 − 0.4 = 8.472
      {JointMethod::Centre, 8.37},   // A: 8.42 − 0.05; B: 8.622 − 0.075 = 8.547
      {JointMethod::Invert, 8.405},  // A: 8.42, lowered to C's downstream cover
      {JointMethod::WaterSurface, 0},  // from the depths at Q1, below
  };
  for (const Case& c : cases) {
    NetworkRecord net = Junction();
    net.settings.criteria.joint = c.joint;
    const NetworkComputation computed = ComputeNetwork(net);
    ASSERT_TRUE(computed.ok()) << computed.refusal->message;
    ASSERT_TRUE(computed.table.hasLevels);
    const auto& A = computed.table.rows[0].levels;
    const auto& B = computed.table.rows[1].levels;
    const auto& C = computed.table.rows[2].levels;
    ExpectLevel(A.invertUp, 8.67, "A up");
    ExpectLevel(A.invertDown, 8.42, "A down");
    ExpectLevel(B.invertUp, 8.822, "B up");
    ExpectLevel(B.invertDown, 8.622, "B down");
    EXPECT_EQ(A.wallSource, WallSource::Default);
    EXPECT_NEAR(A.wall, 0.030, 1e-12);
    ExpectLevel(A.coverUp, 1.0, "A cover up");
    ExpectLevel(A.coverDown, 9.9 - 8.42 - 0.33, "A cover down");
    ExpectLevel(B.coverDown, 1.0, "B cover down");
    EXPECT_FALSE(A.drop);
    double expected = c.invertC;
    if (c.joint == JointMethod::WaterSurface)
      expected = std::min({8.42 + A.h - C.h, 8.622 + B.h - C.h, 8.465, 8.405});
    ExpectLevel(C.invertUp, expected, "C up");
    ExpectLevel(C.invertDown, expected - 0.24, "C down");
    ExpectLevel(C.drop, 8.42 - expected, "C drop");
    ExpectLevel(C.crownUp, expected + 0.4, "C crown");
    ExpectLevel(C.waterUp, expected + C.h, "C water");
    ExpectLevel(C.coverUp, 9.9 - expected - 0.435, "C cover up");
    ExpectLevel(C.coverDown, 9.6 - (expected - 0.24) - 0.435, "C cover down");
    EXPECT_TRUE(C.failed.empty()) << NetworkCheckText(C);
    EXPECT_EQ(NetworkCheckText(C), "適");
  }

  // The node's own minimum drop lowers C by it (crown: 8.32 − 0.02), and
  // a drop of the drop-pipe threshold or more is noted.
  NetworkRecord net = Junction();
  net.nodes[2].minimumDrop = "0.02";
  net.settings.criteria.dropPipe = "0.1";
  NetworkComputation computed = ComputeNetwork(net);
  ExpectLevel(computed.table.rows[2].levels.invertUp, 8.30, "C with the node's drop");
  EXPECT_EQ(NetworkNotesText(computed.table.rows[2].levels), "副管");

  // A fixed invert at the outlet above C's downstream invert (8.06 there).
  net.nodes[3].invert = "8.1";
  computed = ComputeNetwork(net);
  EXPECT_EQ(NetworkCheckText(computed.table.rows[2].levels), "放流先");
}

TEST(NetworkLevels, TypedInvertIsTakenAndCheckedAgainstTheJoint) {
  NetworkRecord net = Junction();
  net.segments[2].invert = "8.35";  // the crown joint allows 8.32
  NetworkComputation computed = ComputeNetwork(net);
  const auto& C = computed.table.rows[2].levels;
  ExpectLevel(C.invertUp, 8.35, "typed");
  EXPECT_TRUE(C.invertTyped);
  ExpectLevel(C.drop, 0.07, "drop");
  EXPECT_EQ(NetworkCheckText(C), "接合");
  EXPECT_FALSE(computed.table.allChecksPass());
  EXPECT_TRUE(computed.table.allOk());

  net.segments[2].invert = "8.32";  // exactly at the joint
  computed = ComputeNetwork(net);
  EXPECT_EQ(NetworkCheckText(computed.table.rows[2].levels), "適");
  net.segments[2].invert = "8.5";   // above the joint, and 0.965 m of cover upstream
  computed = ComputeNetwork(net);
  EXPECT_EQ(NetworkCheckText(computed.table.rows[2].levels), "土被り・接合");
}

TEST(NetworkLevels, ChecksWithoutLevelsAndTheInputsRefused) {
  NetworkRecord net = Junction();
  net.nodes.clear();
  net.segments[0].length = "80";  // φ300: more than the 75 m spacing
  net.segments[1].sizeIndex = 1;  // φ200: below the 250 mm minimum
  net.segments[2].slope = "40";   // too fast for 3.0 m/s
  NetworkComputation computed = ComputeNetwork(net);
  ASSERT_TRUE(computed.ok());
  EXPECT_FALSE(computed.table.hasLevels);
  const auto& rows = computed.table.rows;
  EXPECT_FALSE(rows[0].levels.invertUp);
  EXPECT_EQ(NetworkCheckText(rows[0].levels), "間隔");
  EXPECT_EQ(NetworkCheckText(rows[1].levels), "管径");
  EXPECT_GT(rows[2].V, 3.0);
  EXPECT_EQ(NetworkCheckText(rows[2].levels), "流速");
  EXPECT_EQ(NetworkNotesText(rows[0].levels), "");
  // C runs faster than both pipes flowing in: no 流速減; slower: noted.
  net.segments[2].slope = "1";
  computed = ComputeNetwork(net);
  EXPECT_EQ(NetworkNotesText(computed.table.rows[2].levels), "流速減");
  // An empty criterion is not checked.
  net.settings.criteria.minimumSize = "";
  net.settings.criteria.spacing600 = "";
  net.settings.criteria.velocityMin = "";
  computed = ComputeNetwork(net);
  EXPECT_TRUE(computed.table.allChecksPass());

  struct Refused {
    void (*change)(NetworkRecord&);
    int segment, node;
    const char* message;
  } cases[] = {
      {[](NetworkRecord& n) { n.settings.criteria.velocityMax = "0.5"; }, -1, -1,
       "流速の上限 (m/sec)は流速の下限以上の値を入力してください。"},
      {[](NetworkRecord& n) { n.nodes[1].ground = "高い"; }, -1, 1, "人孔「n2」の地盤高 (m)は数値で入力してください。"},
      {[](NetworkRecord& n) { n.nodes[3].name = "n1"; }, -1, 3, "人孔「n1」が人孔表の1行目と重複しています。"},
      {[](NetworkRecord& n) { n.segments[1].wall = "-1"; }, 1, -1, "路線番号「B」の管厚 t(m)は０以上の値を入力してください。"},
  };
  for (const Refused& c : cases) {
    NetworkRecord bad = Junction();
    c.change(bad);
    const NetworkComputation r = ComputeNetwork(bad);
    ASSERT_FALSE(r.ok()) << c.message;
    EXPECT_EQ(r.refusal->message, c.message);
    EXPECT_EQ(r.refusal->segment, c.segment);
    EXPECT_EQ(r.refusal->node, c.node);
  }
}

// Random trees with levels: every downstream invert is its upstream invert
// less L·i/1000; every computed upstream invert holds the joint against
// every segment flowing in and its cover at both ends, and sits at the
// highest position that does.
TEST(NetworkLevels, RandomTreesHoldTheirJointsAndCovers) {
  std::mt19937 random(7);
  auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  int joints = 0;
  for (int trial = 0; trial < 12; ++trial) {
    NetworkRecord net;
    net.settings = Settings();
    net.settings.criteria.joint = static_cast<JointMethod>(trial % 4);
    net.settings.criteria.minimumDrop = pick(2) ? "0.01" : "0";
    const int count = 1 + pick(60);
    for (int i = 0; i < count; ++i) {
      NetworkSegment s = Hume("R" + std::to_string(i), "n" + std::to_string(i + 1),
                              i == 0 ? "n0" : "n" + std::to_string(1 + pick(i)), std::to_string(10 + pick(90)),
                              pick(25), std::to_string(1 + pick(20)));
      net.segments.push_back(s);
    }
    for (int k = 0; k <= count; ++k)
      net.nodes.push_back({"n" + std::to_string(k), std::to_string(uniform(5, 20)), "", ""});
    const NetworkComputation c = ComputeNetwork(net);
    ASSERT_TRUE(c.ok()) << c.refusal->message;
    for (int i : c.table.order) {
      const NetworkRow& row = c.table.rows[static_cast<std::size_t>(i)];
      const NetworkSegmentLevels& lv = row.levels;
      ASSERT_TRUE(lv.invertUp && lv.invertDown && lv.coverUp && lv.coverDown);
      // Each row's depth is exactly what DepthForFlow gives for it alone.
      EXPECT_EQ(lv.h, DepthForFlow(false, row.D, row.B, row.H, row.slope, row.n, net.settings.velocity, row.Q1).h);
      EXPECT_NEAR(*lv.invertDown, *lv.invertUp - row.L * row.slope / 1000.0, 1e-9);
      EXPECT_GE(*lv.coverUp, 1.0 - 1e-9);
      EXPECT_GE(*lv.coverDown, 1.0 - 1e-9);
      const double drop = ParseLeadingNumber(net.settings.criteria.minimumDrop);
      bool atJoint = row.upstream.empty();
      for (int u : row.upstream) {
        const NetworkSegmentLevels& in = c.table.rows[static_cast<std::size_t>(u)].levels;
        double allowed = *in.invertDown - drop;
        switch (net.settings.criteria.joint) {
          case JointMethod::Crown: allowed += in.height - lv.height; break;
          case JointMethod::WaterSurface: allowed += in.h - lv.h; break;
          case JointMethod::Centre: allowed += (in.height - lv.height) / 2; break;
          case JointMethod::Invert: break;
        }
        EXPECT_LE(*lv.invertUp, allowed + 1e-9);
        atJoint = atJoint || std::abs(*lv.invertUp - allowed) < 1e-9;
        ++joints;
      }
      const bool atCover = std::abs(*lv.coverUp - 1.0) < 1e-9 || std::abs(*lv.coverDown - 1.0) < 1e-9;
      EXPECT_TRUE(atJoint || atCover) << "segment " << i << " sits lower than it needs to";
      EXPECT_TRUE(std::find(lv.failed.begin(), lv.failed.end(), nc::kJoint) == lv.failed.end());
    }
  }
  EXPECT_GT(joints, 100);
}

}  // namespace
}  // namespace mk

namespace mk {
namespace {

TEST(NetworkLevels, SizingKeepsTheVelocityRangeOrSaysWhyNot) {
  // 20 ha at C 0.5 and I 72: Q1 = 2.0 m3/sec on a 30 ‰ Hume line.  φ800
  // is the smallest size that carries it, at about 5.2 m/sec: too fast, and
  // every larger size faster still.
  NetworkRecord net;
  net.settings = Settings();
  net.segments = {Hume("1", "a", "b", "50", 0, "30")};
  net.segments[0].area = "20";
  NetworkSizing sizing = ProposeNetworkSizes(net);
  ASSERT_FALSE(sizing.refusal);
  const NetworkSizeProposal p = sizing.proposals[0];
  EXPECT_FALSE(p.proposedSize);
  EXPECT_EQ(p.reason.rfind("該当なし：流速が上限を超えます（", 0), 0u) << p.reason;
  EXPECT_EQ(NetworkProposalText(net, p), p.reason);
  // At 3.0 m/sec φ800 and φ900 no longer carry 2.0 m3/sec; φ1000 does, up
  // to the slope named, on the 0.01 ‰ grid.
  ASSERT_TRUE(p.slopeSize && p.slope);
  EXPECT_EQ(PipeSizes(PipeMaterial::Hume)[static_cast<std::size_t>(*p.slopeSize)].storedName, "ﾋｭｰﾑ管 φ1000");
  EXPECT_NE(p.reason.find("ﾋｭｰﾑ管 φ1000 は勾配 " + FormatNumber(*p.slope, "0.00") + "‰以下で適合"), std::string::npos);
  net.segments[0].sizeIndex = *p.slopeSize;
  net.segments[0].slope = FormatNumber(*p.slope, "0.00");
  NetworkComputation c = ComputeNetwork(net);
  ASSERT_TRUE(c.ok());
  EXPECT_EQ(c.table.rows[0].verdict, Verdict::OK);
  EXPECT_LE(c.table.rows[0].V, 3.0);
  EXPECT_TRUE(c.table.allChecksPass());
  net.segments[0].slope = FormatNumber(*p.slope + 0.01, "0.00");
  c = ComputeNetwork(net);
  EXPECT_GT(c.table.rows[0].V, 3.0);

  // At that slope the proposal is that size; below the minimum size never.
  net.segments[0].slope = FormatNumber(*p.slope, "0.00");
  sizing = ProposeNetworkSizes(net);
  EXPECT_EQ(sizing.proposals[0].proposedSize, p.slopeSize);
  net.segments[0].area = "0.01";
  sizing = ProposeNetworkSizes(net);
  ASSERT_TRUE(sizing.proposals[0].proposedSize);
  EXPECT_EQ(PipeSizes(PipeMaterial::Hume)[static_cast<std::size_t>(*sizing.proposals[0].proposedSize)].storedName,
            "ﾋｭｰﾑ管 φ250");
}

}  // namespace
}  // namespace mk
