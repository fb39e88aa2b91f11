// The network flow table: accumulation and times on hand-worked networks,
// the refusals, the sizing proposal, and every row against the
// single-facility check of the project it opens as.

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "calc/check_run.h"
#include "calc/hydraulics.h"
#include "calc/network.h"
#include "calc/sections.h"

namespace mk {
namespace {

void ExpectRelative(double actual, double expected, const char* what) {
  EXPECT_LE(std::abs(actual - expected), 1e-12 * std::abs(expected))
      << what << ": " << actual << " vs " << expected;
}

// ① I = 3600 / (t + 43), t1 = 7: I = 72 at a head segment.  Manning.
NetworkSettings Settings() {
  NetworkSettings s;
  s.formula = IntensityFormula::One;
  s.a = "3600";
  s.b = "43";
  s.t1 = "7";
  return s;
}

// A VP φ300 (index 7) at 10 per mille, n 0.010, depth 8割 (index 5).
NetworkSegment Segment(const std::string& name, const std::string& up, const std::string& down,
                       const std::string& L, const std::string& area = "1",
                       const std::string& c = "0.5", const std::string& sewage = "0.01") {
  NetworkSegment s = NewNetworkSegment();
  s.name = name;
  s.upstream = up;
  s.downstream = down;
  s.length = L;
  s.area = area;
  s.c = c;
  s.sewage = sewage;
  s.sizeIndex = 7;
  s.slope = "10";
  return s;
}

double Vp300Velocity() {
  const auto capacity =
      ComputeCapacity(CircularSection(0.2878, DepthRatio::Depth80), 10, 0.010, VelocityFormula::Manning);
  return capacity->V;
}

TEST(Network, OneSegmentEqualsTheSingleFacilityCheck) {
  // The same numbers typed on the main screen: C 0.5, 10000 m2, I 72, q 0.01.
  ProjectRecord single;
  NewProject(single);
  single.main.txt_c = "0.5";
  single.main.txt_a = "10000";
  single.main.txt_i = "72";
  single.main.opt7 = false;
  single.main.opt8 = true;
  single.main.txt3 = "0.01";
  single.facility.form2 = {7, "20", "0.010", 5};

  NetworkRecord net{Settings(), {Segment("1", "a", "b", "100")}};
  net.segments[0].slope = "20";
  for (int variant = 0; variant < 3; ++variant) {
    if (variant == 1) {  // groundwater 20 %, surcharge 25 %
      net.settings.groundwater = single.main.opt10 = true;
      single.main.opt9 = false;
      net.settings.groundwaterPercent = single.main.txt2 = "20";
      net.settings.surcharge = single.main.opt12 = true;
      single.main.opt11 = false;
      net.settings.surchargePercent = single.main.txt1 = "25";
    }
    if (variant == 2) {  // Kutter, and an area that makes it NO
      net.settings.velocity = VelocityFormula::Kutter;
      single.main.opt1 = false;
      single.main.opt2 = true;
      net.segments[0].area = "100";
      single.main.txt_a = "1000000";
    }
    const NetworkComputation computed = ComputeNetwork(net);
    ASSERT_TRUE(computed.ok()) << computed.refusal->message;
    const NetworkRow& row = computed.table.rows[0];
    ASSERT_TRUE(CheckRun(single).passed);
    ExpectRelative(row.I, 72, "I");
    ExpectRelative(row.Q1, single.run.Q1, "Q1");
    ExpectRelative(row.Q2, single.run.Q2, "Q2");
    ExpectRelative(row.V, single.run.V, "V");
    EXPECT_EQ(row.verdict, single.run.verdict);
    EXPECT_EQ(row.verdict, variant == 2 ? Verdict::NO : Verdict::OK);
  }
}

TEST(Network, LineOfThreeAccumulatesWithGrowingTimeAndFallingIntensity) {
  // Listed downstream first: the order runs upstream to downstream anyway.
  NetworkRecord net{Settings(),
                    {Segment("3", "n3", "out", "60", "0.5", "0.8", "0"),
                     Segment("2", "n2", "n3", "90", "2", "0.4", "0.002"),
                     Segment("1", "n1", "n2", "120", "1", "0.5", "0.001")}};
  const NetworkComputation c = ComputeNetwork(net);
  ASSERT_TRUE(c.ok()) << c.refusal->message;
  EXPECT_EQ(c.table.order, (std::vector<int>{2, 1, 0}));
  const NetworkRow& r1 = c.table.rows[2];
  const NetworkRow& r2 = c.table.rows[1];
  const NetworkRow& r3 = c.table.rows[0];
  const double V = Vp300Velocity();

  EXPECT_TRUE(r1.head);
  EXPECT_FALSE(r2.head);
  ExpectRelative(r1.t, 7, "t1");
  ExpectRelative(r2.t, 7 + 120 / (60 * V), "t2");
  ExpectRelative(r3.t, 7 + 120 / (60 * V) + 90 / (60 * V), "t3");
  ExpectRelative(r3.t2, 60 / (60 * V), "t2 of 3");
  EXPECT_GT(r1.I, r2.I);
  EXPECT_GT(r2.I, r3.I);
  ExpectRelative(r3.I, 3600 / (r3.t + 43), "I3");

  ExpectRelative(r3.sumArea, 3.5, "ΣA");
  ExpectRelative(r3.sumCA, 0.5 + 0.8 + 0.4, "ΣCA");
  ExpectRelative(r3.C, 1.7 / 3.5, "C");
  ExpectRelative(r3.sumSewage, 0.003, "Σq");
  ExpectRelative(r3.Q11, r3.I * 1.7 / 360, "Q11");
  ExpectRelative(r3.Q1, r3.Q11 + 0.003, "Q1");
  ExpectRelative(r3.margin, (r3.Q2 - r3.Q1) / r3.Q1 * 100, "margin");

  const auto texts = NetworkRowTexts(net, r3);
  ASSERT_EQ(texts.size(), NetworkColumns().size());
  EXPECT_EQ(texts[5], "3.5000");  // 面積 累計
  EXPECT_EQ(texts[9], "");        // t1 only on head rows
  EXPECT_EQ(NetworkRowTexts(net, r1)[9], "7.00");
  EXPECT_EQ(texts[17], "VP - φ300");
  EXPECT_EQ(texts[20], "水深８割");
  const std::size_t verdict = 24;  // 判定
  EXPECT_EQ(NetworkRowTexts(net, r1)[verdict], "O.K");
  EXPECT_GT(r3.Q1, r3.Q2);
  EXPECT_EQ(texts[verdict], "NO");
}

TEST(Network, TheLongerBranchSetsTheTimeAtAJunction) {
  NetworkRecord net{Settings(),
                    {Segment("B", "b", "j", "50"), Segment("A", "a", "j", "300"),
                     Segment("C", "j", "out", "10")}};
  const NetworkComputation c = ComputeNetwork(net);
  ASSERT_TRUE(c.ok()) << c.refusal->message;
  const NetworkRow& junction = c.table.rows[2];
  EXPECT_EQ(junction.upstream, (std::vector<int>{0, 1}));
  EXPECT_EQ(c.table.order.back(), 2);
  ExpectRelative(junction.t, 7 + 300 / (60 * Vp300Velocity()), "t");
  ExpectRelative(junction.sumArea, 3, "ΣA");

  // Longer in time rather than in length: the short branch on a flat slope.
  net.segments[0].slope = "0.1";
  const NetworkComputation flat = ComputeNetwork(net);
  ASSERT_TRUE(flat.ok());
  ExpectRelative(flat.table.rows[2].t, 7 + flat.table.rows[0].t2, "t");
}

TEST(Network, RefusalsNameTheSegmentAndTheField) {
  struct Case {
    const char* what;
    std::function<void(NetworkRecord&)> change;
    int segment;
    const char* field;
    const char* message;
  };
  const std::vector<Case> cases{
      {"cycle", [](NetworkRecord& n) { n.segments[2].downstream = "a"; }, 0, network_field::kDownstream,
       "路線番号「A」の下流「b」から流れが循環しています。下流側へ流れ下るようにしてください。"},
      {"self loop", [](NetworkRecord& n) { n.segments[1].downstream = "b"; }, 1,
       network_field::kDownstream, "路線番号「B」の下流「b」から流れが循環しています。"},
      {"dangling", [](NetworkRecord& n) { n.settings.outlet = "out"; n.segments[1].downstream = "x"; },
       1, network_field::kDownstream,
       "路線番号「B」の下流「x」はどの区間にも放流先「out」にもつながっていません。"},
      {"two outlets", [](NetworkRecord& n) { n.segments[1].downstream = "x"; }, 2,
       network_field::kDownstream, "路線番号「C」の下流「out」は路線番号「B」とは別の放流先"},
      {"outlet flows on", [](NetworkRecord& n) { n.settings.outlet = "b"; }, 1,
       network_field::kUpstream, "路線番号「B」の上流「b」は放流先です。"},
      {"duplicate", [](NetworkRecord& n) { n.segments[2].name = "A"; }, 2, network_field::kName,
       "路線番号「A」の路線番号が路線番号「A」と重複しています。"},
      {"branching", [](NetworkRecord& n) { n.segments[2].upstream = "a"; }, 2,
       network_field::kUpstream, "路線番号「C」の上流「a」からは路線番号「A」も流れ出ています。"},
      {"empty slope", [](NetworkRecord& n) { n.segments[1].slope = ""; }, 1, network_field::kSlope,
       "路線番号「B」の勾配 (‰)を入力してください。"},
      {"empty name", [](NetworkRecord& n) { n.segments[1].name = ""; }, 1, network_field::kName,
       "2行目の路線番号を入力してください。"},
      {"text in L", [](NetworkRecord& n) { n.segments[0].length = "12m"; }, 0, network_field::kLength,
       "路線番号「A」の延長 L(m)は数値で入力してください。"},
      {"negative area", [](NetworkRecord& n) { n.segments[0].area = "-1"; }, 0, network_field::kArea,
       "路線番号「A」の面積 区間(ha)は０以上の値を入力してください。"},
      {"zero diameter", [](NetworkRecord& n) {
         n.segments[2].kind = NetworkFacilityKind::OtherCircular;
         n.segments[2].D = "0";
       }, 2, network_field::kDiameter, "路線番号「C」の直径 D(m)は０より大きい値を入力してください。"},
      {"separator depth", [](NetworkRecord& n) { n.segments[0].depthIndex = 1; }, 0,
       network_field::kDepth, "路線番号「A」の水深を選択してください。"},
      {"no area upstream", [](NetworkRecord& n) { n.segments[0].area = "0"; }, 0, network_field::kArea,
       "路線番号「A」の面積 区間(ha)の累計が０のため"},
      {"constant", [](NetworkRecord& n) { n.settings.b = ""; }, -1, network_field::kB,
       "定数ｂを入力してください。"},
      {"intensity", [](NetworkRecord& n) { n.settings.b = "-7"; }, 0, network_field::kIntensity,
       "路線番号「A」の降雨強度 Iを計算できません。"},
  };
  for (const Case& c : cases) {
    NetworkRecord net{Settings(),
                      {Segment("A", "a", "b", "50"), Segment("B", "b", "c", "50"),
                       Segment("C", "c", "out", "50")}};
    c.change(net);
    const NetworkComputation computed = ComputeNetwork(net);
    ASSERT_FALSE(computed.ok()) << c.what;
    EXPECT_EQ(computed.refusal->segment, c.segment) << c.what;
    EXPECT_EQ(computed.refusal->field, c.field) << c.what;
    EXPECT_EQ(computed.refusal->message.rfind(c.message, 0), 0u)
        << c.what << ": " << computed.refusal->message;
  }
}

TEST(Network, SizingProposesTheSmallestPassingSizeNeverNarrowingDownstream) {
  // A VP line: a flat head, a steep middle that alone would pass smaller,
  // and a last segment carrying much more.
  NetworkRecord net{Settings(),
                    {Segment("1", "n1", "n2", "100", "0.05", "0.5", "0"),
                     Segment("2", "n2", "n3", "100", "0.01", "0.5", "0"),
                     Segment("3", "n3", "out", "100", "0.6", "0.6", "0")}};
  for (auto& s : net.segments) s.sizeIndex = 0;
  net.segments[1].sizeIndex = -1;  // not chosen yet
  // Capacity alone: no velocity range, no minimum size.
  net.settings.criteria.velocityMin = net.settings.criteria.velocityMax = net.settings.criteria.minimumSize = "";
  net.segments[0].slope = "2";
  net.segments[1].slope = "60";
  const NetworkSizing sizing = ProposeNetworkSizes(net);
  ASSERT_FALSE(sizing.refusal);
  ASSERT_EQ(sizing.proposals.size(), 3u);
  const int p1 = *sizing.proposals[0].proposedSize;
  const int p2 = *sizing.proposals[1].proposedSize;
  const int p3 = *sizing.proposals[2].proposedSize;
  EXPECT_GT(p1, 0);
  EXPECT_EQ(p2, p1);  // segment 2 would pass smaller, but never narrower than 1
  EXPECT_GT(p3, p2);
  EXPECT_EQ(net.segments[0].sizeIndex, 0);  // a proposal, not applied

  NetworkRecord applied = net;
  ApplySizeProposals(applied, sizing, 2);
  EXPECT_EQ(applied.segments[2].sizeIndex, p3);
  EXPECT_EQ(applied.segments[0].sizeIndex, 0);
  ApplySizeProposals(applied, sizing);
  NetworkComputation c = ComputeNetwork(applied);
  ASSERT_TRUE(c.ok());
  EXPECT_TRUE(c.table.allOk());
  // One size smaller fails where the upstream pipe does not set the size.
  applied.segments[0].sizeIndex = p1 - 1;
  applied.segments[2].sizeIndex = p3 - 1;
  c = ComputeNetwork(applied);
  EXPECT_EQ(c.table.rows[0].verdict, Verdict::NO);
  EXPECT_EQ(c.table.rows[2].verdict, Verdict::NO);

  // No size passes: no proposal, and the largest size carries on downstream.
  net.segments[0].area = "500";
  const NetworkSizing none = ProposeNetworkSizes(net);
  EXPECT_FALSE(none.proposals[0].proposedSize);
  EXPECT_FALSE(none.proposals[0].changes());
}

// Random trees: every row opened as a single-facility project checks to the
// row's Q1, Q2, V and verdict.
TEST(Network, EveryRowOfRandomTreesOpensAsItsSingleFacilityCheck) {
  std::mt19937 random(13);
  auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  auto text = [](double v, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, v);
    return std::string(buffer);
  };
  struct Formula {
    IntensityFormula f;
    const char *a, *b, *c, *d;
  };
  const Formula formulas[] = {{IntensityFormula::One, "5000", "40", "", ""},
                              {IntensityFormula::Two, "800", "3", "", ""},
                              {IntensityFormula::Three, "600", "1.2", "", ""},
                              {IntensityFormula::Four, "600", "0.6", "", ""},
                              {IntensityFormula::Five, "1000", "5", "1", "0.75"},
                              {IntensityFormula::Six, "1000", "1", "2", "1.5"}};
  int rowsChecked = 0;
  for (int trial = 0; trial < 24; ++trial) {
    NetworkRecord net;
    const Formula& f = formulas[trial % 6];
    net.settings = {"", f.f, f.a, f.b, f.c, f.d, text(uniform(5, 10), 1),
                    pick(2) ? VelocityFormula::Kutter : VelocityFormula::Manning,
                    pick(2) == 1, text(uniform(0, 30), 0), pick(2) == 1, text(uniform(0, 50), 0), ""};
    const int count = 1 + pick(200);
    for (int i = 0; i < count; ++i) {
      NetworkSegment s = NewNetworkSegment();
      s.name = "R" + std::to_string(i);
      s.upstream = "n" + std::to_string(i + 1);
      s.downstream = i == 0 ? "n0" : "n" + std::to_string(1 + pick(i));
      s.length = text(uniform(5, 300), 1);
      s.area = text(uniform(0.01, 3), 3);
      s.c = text(uniform(0.1, 0.95), 2);
      s.sewage = pick(3) ? text(uniform(0, 0.02), 4) : "0";
      s.kind = static_cast<NetworkFacilityKind>(pick(6));
      if (IsCatalogueKind(s.kind)) s.sizeIndex = pick(static_cast<int>(PipeSizes(static_cast<PipeMaterial>(s.kind)).size()));
      s.D = text(uniform(0.2, 1.5), 3);
      s.B = text(uniform(0.3, 2), 2);
      s.H = text(uniform(0.3, 2), 2);
      s.slope = text(uniform(0.5, 40), 1);
      s.roughness = text(uniform(0.009, 0.016), 3);
      const auto& depths = DepthChoiceList(NetworkDepthList(s.kind));
      do s.depthIndex = pick(static_cast<int>(depths.size()));
      while (!depths[static_cast<std::size_t>(s.depthIndex)].member);
      net.segments.push_back(s);
    }
    std::shuffle(net.segments.begin(), net.segments.end(), random);

    const NetworkComputation c = ComputeNetwork(net);
    ASSERT_TRUE(c.ok()) << trial << ": " << c.refusal->message;
    for (const NetworkRow& row : c.table.rows) {
      ProjectRecord single = SingleFacilityProject(net, row);
      const CheckRunOutcome run = CheckRun(single);
      ASSERT_TRUE(run.passed) << run.failure.message;
      ExpectRelative(single.run.Q1, row.Q1, "Q1");
      ExpectRelative(single.run.Q2, row.Q2, "Q2");
      ExpectRelative(single.run.V, row.V, "V");
      if (std::abs(row.Q1 - row.Q2) > 1e-12 * row.Q1) EXPECT_EQ(single.run.verdict, row.verdict);
      ++rowsChecked;
    }
  }
  EXPECT_GT(rowsChecked, 1000);
}

TEST(Network, ExactDecimalTextReadsBackToTheSameNumber) {
  for (double v : {0.1, 1.0 / 3.0, 12345.678901234567, 5e-7, 1e20, 0.0, -2.5})
    EXPECT_EQ(std::stod(ExactDecimalText(v)), v) << ExactDecimalText(v);
  EXPECT_EQ(ExactDecimalText(0.25), "0.25");
}

}  // namespace
}  // namespace mk
