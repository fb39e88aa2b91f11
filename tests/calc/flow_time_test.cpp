#include "calc/flow_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace mk {
namespace {

ProjectRecord WithKind(int kind, bool manning = true) {
  ProjectRecord r;
  r.flowTime.opt1 = manning;
  r.flowTime.opt2 = !manning;
  r.flowTime.lst_s = kind;
  return r;
}

// A Hume pipe φ300 at 水深８割, x = 5, n = 0.013.
ProjectRecord Hume300() {
  ProjectRecord r = WithKind(3);
  r.flowTime.form18 = {3, "5", "0.013", 5};
  return r;
}

ProjectRecord Ditch() {
  ProjectRecord r = WithKind(6);
  r.flowTime.form19 = {"側溝", "1.0", "1.0", "3.0", "1.0", "10", "0.015", 5};
  return r;
}

ProjectRecord Irregular() {
  ProjectRecord r = WithKind(7);
  auto& f = r.flowTime.form21;
  f.txt_m = "水路";
  f.txt1 = "2";
  f.txt2 = "2";
  f.txt3 = "1";
  f.txt4 = "10";
  f.txt5 = "0.02";
  f.txt_x = {" 0", "0", "2", "2", "", "", "", ""};
  f.txt_y = {" 0", "1", "1", "0", "", "", "", ""};
  return r;
}

TEST(FlowTimeVelocity, HumePipeWorkedExampleStoresTheSection) {
  ProjectRecord r = Hume300();
  r.derived.mainCapacity.V = 9.0;  // the main check is not touched
  const auto v = RunFlowTimeVelocity(r);
  ASSERT_TRUE(v.ok()) << v.error().message;
  EXPECT_NEAR(*v, 1.1025, 5e-5);
  const FacilitySection& s = r.derived.flowTimeSection;
  EXPECT_EQ(s.name, "ﾋｭｰﾑ管 φ300");
  EXPECT_DOUBLE_EQ(s.D, 0.3);
  EXPECT_EQ(s.depthCode, 8.0);
  EXPECT_NEAR(s.geometry.A, 0.060615, 1e-12);
  EXPECT_NEAR(s.geometry.P, 0.66426, 1e-12);
  EXPECT_NEAR(r.derived.flowTimeCapacity.R, 0.091252, 5e-7);
  EXPECT_DOUBLE_EQ(r.derived.flowTimeCapacity.I, 0.005);
  EXPECT_EQ(r.derived.flowTimeCapacity.V, *v);
  EXPECT_EQ(r.derived.flowTimeCapacity.Q2, 0.0);
  EXPECT_EQ(r.derived.flowTimeSlope, 5.0);
  EXPECT_EQ(r.derived.flowTimeRoughness, 0.013);
  EXPECT_EQ(r.derived.mainCapacity.V, 9.0);
}

TEST(FlowTimeVelocity, UTroughIsAnOpenRectangle) {
  ProjectRecord r = WithKind(5);
  r.flowTime.form18 = {3, "10", "0.013", 0};  // U-300, 満流
  ASSERT_TRUE(RunFlowTimeVelocity(r).ok());
  const FacilitySection& s = r.derived.flowTimeSection;
  EXPECT_EQ(s.name, "U - 300 X 300");
  EXPECT_DOUBLE_EQ(s.B, 0.3);
  EXPECT_DOUBLE_EQ(s.H, 0.3);
  EXPECT_EQ(s.depthCode, 10.0);
  EXPECT_NEAR(s.geometry.A, 0.09, 1e-15);
  EXPECT_NEAR(s.geometry.P, 0.9, 1e-15);
}

struct CheckCase {
  const char* what;
  std::function<ProjectRecord()> make;
  std::function<void(ProjectRecord&)> spoil;
  const char* message;
  const char* focus;
};

TEST(FlowTimeVelocity, ChecksInTheScreensOrder) {
  const CheckCase cases[] = {
      {"no formula", Hume300,
       [](ProjectRecord& r) {
         r.flowTime.opt1 = r.flowTime.opt2 = false;
         r.flowTime.form18.txt1 = "";
       },
       "流速の計算方法を選択してください。", "Form17.opt1"},
      {"no kind", Hume300, [](ProjectRecord& r) { r.flowTime.lst_s = -1; },
       "施設の種類を選択してください。", "Form17.lst_s"},
      {"18 slope", Hume300,
       [](ProjectRecord& r) {
         r.flowTime.form18.txt1 = "abc";
         r.flowTime.form18.txt2 = "";
       },
       "施設の勾配を入力してください。", "Form18.txt1"},
      {"18 roughness", Hume300,
       [](ProjectRecord& r) {
         r.flowTime.form18.txt2 = "0";
         r.flowTime.form18.cbo1 = 1;
       },
       "粗度係数を入力してください。", "Form18.txt2"},
      {"18 separator", Hume300, [](ProjectRecord& r) { r.flowTime.form18.cbo1 = 8; },
       "施設有効水深の割合を入力してください。", "Form18.cbo1"},
      {"18 trough separator",
       [] {
         ProjectRecord r = WithKind(5);
         r.flowTime.form18 = {0, "5", "0.013", 1};
         return r;
       },
       [](ProjectRecord&) {}, "施設有効水深の割合を入力してください。", "Form18.cbo1"},
      {"18 no size", Hume300, [](ProjectRecord& r) { r.flowTime.form18.lst_pu = 25; },
       "施設の寸法を選択してください。", "Form18.lst_pu"},
      {"20 diameter",
       [] {
         ProjectRecord r = WithKind(4);
         r.flowTime.form20 = {"管", "x", "", "", 1};
         return r;
       },
       [](ProjectRecord&) {}, "直径を入力してください。", "Form20.txt1"},
      {"20 slope",
       [] {
         ProjectRecord r = WithKind(4);
         r.flowTime.form20 = {"管", "0.3", "", "", 1};
         return r;
       },
       [](ProjectRecord&) {}, "施設の勾配を入力してください。", "Form20.txt2"},
      {"20 roughness",
       [] {
         ProjectRecord r = WithKind(4);
         r.flowTime.form20 = {"管", "0.3", "5", "", 1};
         return r;
       },
       [](ProjectRecord&) {}, "粗度係数を入力してください。", "Form20.txt3"},
      {"20 depth",
       [] {
         ProjectRecord r = WithKind(4);
         r.flowTime.form20 = {"管", "0.3", "5", "0.013", 1};
         return r;
       },
       [](ProjectRecord&) {}, "施設の有効水深の割合を入力してください。", "Form20.cbo1"},
      {"19 height", Ditch,
       [](ProjectRecord& r) {
         r.flowTime.form19.txt1 = "0";
         r.flowTime.form19.txt2 = "";
       },
       "施設の高さを入力してください。", "Form19.txt1"},
      {"19 b1", Ditch,
       [](ProjectRecord& r) {
         r.flowTime.form19.txt2 = "";
         r.flowTime.form19.txt3 = "";
       },
       "施設の下部巾を入力してください。", "Form19.txt2"},
      {"19 b2", Ditch, [](ProjectRecord& r) { r.flowTime.form19.txt3 = ""; },
       "施設の上部巾を入力してください。", "Form19.txt3"},
      {"19 b3", Ditch,
       [](ProjectRecord& r) {
         r.flowTime.form19.txt4 = "";
         r.flowTime.form19.txt5 = "";
       },
       "施設の傾斜巾を入力してください。", "Form19.txt4"},
      {"19 slope", Ditch,
       [](ProjectRecord& r) {
         r.flowTime.form19.txt5 = "";
         r.flowTime.form19.txt6 = "";
       },
       "施設の勾配を入力してください。", "Form19.txt5"},
      {"19 roughness", Ditch,
       [](ProjectRecord& r) {
         r.flowTime.form19.txt6 = "0";
         r.flowTime.form19.cbo1 = 1;
       },
       "粗度係数を入力してください。", "Form19.txt6"},
      {"19 depth", Ditch, [](ProjectRecord& r) { r.flowTime.form19.cbo1 = 1; },
       "施設有効水深の割合を入力してください。", "Form19.cbo1"},
      {"21 formula", Irregular,
       [](ProjectRecord& r) {
         r.flowTime.opt1 = false;
         r.flowTime.form21.txt1 = "";
       },
       "流速の計算方法を選択してください。", "Form17.opt1"},
      {"21 bottom", Irregular,
       [](ProjectRecord& r) {
         r.flowTime.form21.txt1 = "";
         r.flowTime.form21.txt2 = "";
       },
       "排水溝の下部巾を入力してください。", "Form21.txt1"},
      {"21 top", Irregular, [](ProjectRecord& r) { r.flowTime.form21.txt2 = ""; },
       "排水溝の上部巾を入力してください。", "Form21.txt2"},
      {"21 height", Irregular, [](ProjectRecord& r) { r.flowTime.form21.txt3 = ""; },
       "排水溝の高さを入力してください。", "Form21.txt3"},
      {"21 x0", Irregular,
       [](ProjectRecord& r) {
         r.flowTime.form21.txt_x[0] = "";
         r.flowTime.form21.txt4 = "";
       },
       "頂点のＸ0座標を入力してください。", "Form21.txt_x1"},
      {"21 y0", Irregular, [](ProjectRecord& r) { r.flowTime.form21.txt_y[0] = ""; },
       "頂点のＹ0座標を入力してください。", "Form21.txt_y1"},
      {"21 x1", Irregular, [](ProjectRecord& r) { r.flowTime.form21.txt_x[1] = ""; },
       "頂点のＸ1座標を入力してください。", "Form21.txt_x2"},
      {"21 y1", Irregular, [](ProjectRecord& r) { r.flowTime.form21.txt_y[1] = ""; },
       "頂点のＹ1座標を入力してください。", "Form21.txt_y2"},
      {"21 x2", Irregular, [](ProjectRecord& r) { r.flowTime.form21.txt_x[2] = ""; },
       "頂点のＸ2座標を入力してください。", "Form21.txt_x3"},
      {"21 y2", Irregular, [](ProjectRecord& r) { r.flowTime.form21.txt_y[2] = ""; },
       "頂点のＹ2座標を入力してください。", "Form21.txt_y3"},
      {"21 slope", Irregular,
       [](ProjectRecord& r) {
         r.flowTime.form21.txt4 = "";
         r.flowTime.form21.txt5 = "";
       },
       "排水溝の勾配を入力してください。", "Form21.txt4"},
      {"21 roughness", Irregular, [](ProjectRecord& r) { r.flowTime.form21.txt5 = ""; },
       "粗度係数を入力してください。", "Form21.txt5"},
      {"21 gap", Irregular, [](ProjectRecord& r) { r.flowTime.form21.txt_x[5] = "3"; },
       "頂点のＸ座標が途中で空白になっています。", "Form21.txt_x5"},
  };
  for (const CheckCase& c : cases) {
    ProjectRecord r = c.make();
    c.spoil(r);
    r.derived.flowTimeCapacity.V = 7.0;
    r.derived.flowTimeSection.name = "前回";
    const auto v = RunFlowTimeVelocity(r);
    ASSERT_FALSE(v.ok()) << c.what;
    EXPECT_EQ(v.error().message, c.message) << c.what;
    EXPECT_EQ(v.error().focus, c.focus) << c.what;
    // A failed run leaves the previous flow-time values as they were.
    EXPECT_EQ(r.derived.flowTimeCapacity.V, 7.0) << c.what;
    EXPECT_EQ(r.derived.flowTimeSection.name, "前回") << c.what;
  }
}

TEST(FlowTimeVelocity, ZeroWidthsOfADitchAreShapesNotGaps) {
  ProjectRecord r = Ditch();
  r.flowTime.form19.txt2 = "0";  // V-shaped: no bottom
  r.flowTime.form19.txt4 = "0";  // one vertical wall
  ASSERT_TRUE(RunFlowTimeVelocity(r).ok());
  EXPECT_GT(r.derived.flowTimeSection.geometry.A, 0.0);
}

TEST(FlowTimeVelocity, IrregularChannelTypedZerosAreRefusedByTheComputation) {
  {
    ProjectRecord r = Irregular();
    r.flowTime.form21.txt5 = "0";
    const auto v = RunFlowTimeVelocity(r);
    ASSERT_FALSE(v.ok());
    EXPECT_EQ(v.error().focus, "Form21.txt5");
  }
  {
    ProjectRecord r = Irregular();
    r.flowTime.form21.txt4 = "-3";
    const auto v = RunFlowTimeVelocity(r);
    ASSERT_FALSE(v.ok());
    EXPECT_EQ(v.error().focus, "Form21.txt4");
  }
  {
    // All vertices typed as 0: no area.
    ProjectRecord r = Irregular();
    r.flowTime.form21.txt_x = {"0", "0", "0", "", "", "", "", ""};
    r.flowTime.form21.txt_y = {"0", "0", "0", "", "", "", "", ""};
    const auto v = RunFlowTimeVelocity(r);
    ASSERT_FALSE(v.ok());
    EXPECT_EQ(v.error().focus, "Form21.txt_x1");
    EXPECT_EQ(r.derived.flowTimeSection.geometry.A, 0.0);
  }
  {
    // A real outline with no positive coordinate cannot be drawn, so it is not computed.
    ProjectRecord r = Irregular();
    r.flowTime.form21.txt_x = {"-2", "-2", "-1", "-1", "-1", "-1", "-1", "-1"};
    r.flowTime.form21.txt_y = {"-2", "-1", "-1", "-2", "-1", "-1", "-1", "-1"};
    const auto v = RunFlowTimeVelocity(r);
    ASSERT_FALSE(v.ok());
    EXPECT_EQ(v.error().focus, "Form21.txt_x1");
  }
  {
    ProjectRecord r = Irregular();
    const auto v = RunFlowTimeVelocity(r);
    ASSERT_TRUE(v.ok());
    const FacilitySection& s = r.derived.flowTimeSection;
    EXPECT_EQ(s.vertexCount, 4);
    EXPECT_EQ(s.depthCode, 0.0);
    EXPECT_EQ(s.geometry.A, 2.0);
    EXPECT_EQ(s.geometry.P, 4.0);
    EXPECT_EQ(s.b1, 2.0);
    EXPECT_EQ(s.h, 1.0);
  }
}

TEST(FlowTimeVelocity, RecomputeNeverFailsAndKeepsNumbersFinite) {
  {
    // A separator as depth: name and slope kept, no section, no velocity.
    ProjectRecord r = Hume300();
    r.flowTime.form18.cbo1 = 1;
    r.derived.flowTimeCapacity.V = 3.0;
    RecomputeFlowTimeVelocity(r);
    EXPECT_EQ(r.derived.flowTimeSection.name, "ﾋｭｰﾑ管 φ300");
    EXPECT_EQ(r.derived.flowTimeSection.depthCode, 0.0);
    EXPECT_EQ(r.derived.flowTimeSection.geometry.A, 0.0);
    EXPECT_EQ(r.derived.flowTimeCapacity.V, 0.0);
    EXPECT_EQ(r.derived.flowTimeSlope, 5.0);
  }
  std::function<void(ProjectRecord&)> broken[] = {
      [](ProjectRecord& r) { r.flowTime.opt1 = r.flowTime.opt2 = false; },
      [](ProjectRecord& r) { r.flowTime.lst_s = 42; },
      [](ProjectRecord& r) { r.flowTime.lst_s = -1; },
      [](ProjectRecord& r) { r.flowTime.form18.lst_pu = -1; },
      [](ProjectRecord& r) { r.flowTime.form18.txt2 = "-0.013"; },
      [](ProjectRecord& r) { r.flowTime.form18.txt1 = ""; },
      [](ProjectRecord& r) {
        r.flowTime.lst_s = 4;
        r.flowTime.form20.txt1 = "1" + std::string(300, '0');
      },
      [](ProjectRecord& r) {
        r.flowTime.lst_s = 6;
        r.flowTime.form19.txt1 = "-1";
      },
      [](ProjectRecord& r) { r.flowTime.lst_s = 7; },
      [](ProjectRecord& r) {
        r.flowTime.lst_s = 7;
        r.flowTime.form21.txt_x = {"0", "1e308", "1" + std::string(300, '0')};
      },
  };
  for (const auto& spoil : broken) {
    ProjectRecord r = Hume300();
    r.flowTime.form19 = Ditch().flowTime.form19;
    spoil(r);
    RecomputeFlowTimeVelocity(r);
    const FacilitySection& s = r.derived.flowTimeSection;
    const CapacityResult& c = r.derived.flowTimeCapacity;
    for (double v : {s.D, s.B, s.H, s.b1, s.b2, s.b3, s.h, s.depthCode, s.geometry.A, s.geometry.P,
                     c.R, c.I, c.V, c.Q2, c.kutterNumerator, c.kutterDenominator, c.kutterRootRI,
                     r.derived.flowTimeSlope, r.derived.flowTimeRoughness})
      EXPECT_TRUE(std::isfinite(v));
  }
}

}  // namespace
}  // namespace mk
