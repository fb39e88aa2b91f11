// Two example projects built by hand from their readable inputs and
// results, composed without the project-file reader, and compared line by
// line with the expected reports.  They pin the composer alone; the
// project-file test repeats every example through Open.

#include <cmath>

#include "calc/catalogue.h"
#include "calc/sections.h"
#include "report_test_support.h"

namespace mk {
namespace {

// example_01: Hume pipe at 水深７割 (Manning), typed C, formula ② with t1
// typed and the flow time from an irregular ditch (Kutter), residential
// sewage with groundwater, NO.
ProjectRecord Example01() {
  ProjectRecord r;
  MainScreenInputs& m = r.main;
  m.txt_c = "0.33";
  m.txt_a = "3917297m2";
  m.txt_i = "89.1";
  m.lst_s = 3;
  m.opt3 = false;
  m.opt4 = true;
  m.opt9 = false;
  m.opt10 = true;
  m.txt2 = "12";
  m.txt3 = "0.0158";

  IntensityScreenInputs& f12 = r.intensity;
  f12.opt4 = true;
  f12.Option1 = true;
  f12.Option4 = true;
  f12.Option6 = true;
  f12.Option8 = true;
  IntensityNumbers& in = r.derived.intensity;
  in.a = 483.33;
  in.b = 1.4;
  in.t1 = 14;
  in.L = 775;
  in.V = 5.8242;
  in.t2 = in.L / (in.V * 60);
  in.t = in.t1 + in.t2;

  r.flowTime.opt2 = true;
  r.flowTime.lst_s = 7;
  FacilitySection& ft = r.derived.flowTimeSection;
  ft.name = "石積水路";
  ft.b1 = 1.2;
  ft.b2 = 4.8;
  ft.h = 1.1;
  ft.vertexCount = 8;
  ft.geometry = {3.55, 5.73};
  r.derived.flowTimeSlope = 25.8;
  r.derived.flowTimeRoughness = 0.02;
  r.derived.flowTimeCapacity = test::CapacityOf(ft.geometry, 25.8, 0.02, false);

  r.sewage.opt1 = true;
  r.derived.sewage.P = 2527;
  r.derived.sewage.q1 = 540;

  r.derived.main.x = 3;
  r.derived.main.n = 0.010;
  FacilitySection& s = r.derived.mainSection;
  s.name = "ﾋｭｰﾑ管 φ2600";
  s.D = 2.6;
  s.depthCode = 7;
  s.geometry = CircularSection(2.6, DepthRatio::Depth70);
  r.derived.mainCapacity = test::CapacityOf(s.geometry, 3, 0.010, true);

  r.run.exists = true;
  r.run.Q11 = 0.33 * (1.0 / 360) * 89.1 * 3917297 * 1e-4;
  r.run.Q12 = (12 + 100) * 0.0158 / 100;
  r.run.V = r.derived.mainCapacity.V;
  r.run.Q2 = r.derived.mainCapacity.Q2;
  return r;
}

// example_12: rectangular pipe at 水深７割 (Kutter), six land uses, formula
// ⑥ with t1 typed and the flow time from a ditch with equal widths
// (Manning), non-residential (1) sewage with groundwater, surcharge, NO.
ProjectRecord Example12() {
  ProjectRecord r;
  MainScreenInputs& m = r.main;
  m.txt_c = "0.646";
  m.txt_a = "213051.00";
  m.txt_i = "191.1";
  m.lst_s = 5;
  m.opt1 = false;
  m.opt2 = true;
  m.opt3 = false;
  m.opt4 = true;
  m.opt5 = false;
  m.opt6 = true;
  m.opt9 = false;
  m.opt10 = true;
  m.opt11 = false;
  m.opt12 = true;
  m.txt1 = "48";
  m.txt2 = "25";
  m.txt3 = "0.0409";

  RunoffNumbers& ro = r.derived.runoff;
  ro.names = {"舗装道路", "宅地", "勾配の緩い山地", "ｺﾞﾙﾌ場等の造成地域", "水  田", "山　地"};
  ro.C = {0.77, 0.47, 0.34, 0.8, 0.7, 0.7};
  ro.A = {33141, 28407, 33141, 47345, 42610, 28407};

  IntensityScreenInputs& f12 = r.intensity;
  f12.opt6 = true;
  f12.Option1 = true;
  f12.Option4 = true;
  f12.Option6 = true;
  f12.Option8 = true;
  IntensityNumbers& in = r.derived.intensity;
  in.a = 1944;
  in.b = 0.33;
  in.c = 4;
  in.d = 4;
  in.t1 = 10;
  in.L = 265;
  in.V = 8.8151;
  in.t2 = in.L / (in.V * 60);
  in.t = in.t1 + in.t2;

  r.flowTime.opt1 = true;
  r.flowTime.lst_s = 6;
  FacilitySection& ft = r.derived.flowTimeSection;
  ft.name = "三面張水路";
  ft.h = 1.03;
  ft.b1 = 1.37;
  ft.b2 = 1.37;
  ft.b3 = 0;
  ft.depthCode = 8.5;
  ft.geometry = TrapezoidSection(1.03, 1.37, 1.37, 0, 8.5);
  r.derived.flowTimeSlope = 47;
  r.derived.flowTimeRoughness = 0.013;
  r.derived.flowTimeCapacity = test::CapacityOf(ft.geometry, 47, 0.013, true);

  r.sewage.opt2 = true;
  r.derived.sewage = {9650, 210, 25212, 0.0069, 0};

  r.derived.main.x = 12;
  r.derived.main.n = 0.025;
  FacilitySection& s = r.derived.mainSection;
  s.name = "矩形渠";
  s.H = 0.9;
  s.B = 3;
  s.depthCode = 7;
  s.geometry = RectangularSection(0.9, 3, 7, true);
  r.derived.mainCapacity = test::CapacityOf(s.geometry, 12, 0.025, false);

  r.run.exists = true;
  r.run.Q11 = 0.646 * (1.0 / 360) * 191.1 * 213051 * 1e-4;
  r.run.Q12 = (25 + 100) * 0.0409 / 100;
  r.run.V = r.derived.mainCapacity.V;
  r.run.Q2 = r.derived.mainCapacity.Q2;
  return r;
}

TEST(ComposerExamples, Example01IrregularDitchAndResidentialWithGroundwater) {
  const FlowReport report = ComposeFlowReport(Example01());
  test::ExpectSameLines(test::ExpectedReport("example_01"), report.lines, "example_01");
  EXPECT_TRUE(report.verdictIsNo);
  ASSERT_GE(report.verdictLineIndex, 0);
  EXPECT_EQ(report.lines[static_cast<std::size_t>(report.verdictLineIndex)],
            "                   Q1=32.0122m3/sec  >  Q2=18.2678m3/sec    ∴ NO");
}

TEST(ComposerExamples, Example12SixLandUsesDitchAndSurcharge) {
  const FlowReport report = ComposeFlowReport(Example12());
  test::ExpectSameLines(test::ExpectedReport("example_12"), report.lines, "example_12");
  EXPECT_TRUE(report.verdictIsNo);
  EXPECT_EQ(report.verdictLineIndex, static_cast<int>(report.lines.size()) - 2);
}

}  // namespace
}  // namespace mk
