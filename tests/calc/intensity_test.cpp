// Rainfall intensity, time of concentration, Kerby's inflow time and the
// river-course flow time.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "calc/intensity.h"

namespace mk {
namespace {

TEST(IntensityFormulas, WorkedValues) {
  using F = IntensityFormula;
  EXPECT_DOUBLE_EQ(*IntensityByFormula(F::One, 5000, 40, 0, 0, 10), 100.0);
  EXPECT_DOUBLE_EQ(*IntensityByFormula(F::Two, 500, 1, 0, 0, 16), 100.0);
  EXPECT_DOUBLE_EQ(*IntensityByFormula(F::Three, 500, 1, 0, 0, 16), 500.0 / 3.0);
  EXPECT_DOUBLE_EQ(*IntensityByFormula(F::Four, 800, 0.5, 0, 0, 16), 200.0);
  EXPECT_DOUBLE_EQ(*IntensityByFormula(F::Five, 500, 0, 2, 1, 25), 100.0);  // exponent d/c = 1/2
  EXPECT_DOUBLE_EQ(*IntensityByFormula(F::Six, 500, 1, 2, 1, 25), 125.0);
}

TEST(IntensityFormulas, UndefinedArithmeticIsRefused) {
  using F = IntensityFormula;
  EXPECT_FALSE(IntensityByFormula(F::One, 5000, -10, 0, 0, 10).ok());      // t + b = 0
  EXPECT_FALSE(IntensityByFormula(F::Two, 500, 1, 0, 0, -4).ok());         // root of negative t
  EXPECT_FALSE(IntensityByFormula(F::Three, 500, 4, 0, 0, 16).ok());       // sqrt t = b
  EXPECT_FALSE(IntensityByFormula(F::Four, 500, 0.5, 0, 0, -16).ok());     // real power of negative t
  EXPECT_FALSE(IntensityByFormula(F::Four, 500, -0.5, 0, 0, 0).ok());      // 0 to a negative power
  EXPECT_FALSE(IntensityByFormula(F::Five, 500, 0, 0, 1, 25).ok());        // c = 0
  EXPECT_FALSE(IntensityByFormula(F::Six, 500, 5, 2, 1, 25).ok());         // t^(d/c) = b
}

TEST(RiverFlowTime, WorkedValues) {
  EXPECT_NEAR(*RiverFlowTime(1, 0.01, false), 13.1546, 5e-5);
  EXPECT_DOUBLE_EQ(*RiverFlowTime(1, 0.01, true), 3.6);
  EXPECT_NEAR(*RiverFlowTime(2, 0.005, false), 39.877, 5e-4);
  EXPECT_FALSE(RiverFlowTime(1, 0, true).ok());
  EXPECT_FALSE(RiverFlowTime(1, -0.01, false).ok());
}

TEST(RiverCourseScreen, ChecksInOrder) {
  RiverCourseInputs river;
  EXPECT_EQ(ValidateRiverCourseScreen(river)->focus, "Form22.opt1");
  EXPECT_EQ(ValidateRiverCourseScreen(river)->message, "開発の前または後を選択してください。");
  river.opt2 = true;
  EXPECT_EQ(ValidateRiverCourseScreen(river)->message, "河道延長を入力してください。");
  river.txt1 = "1";
  EXPECT_EQ(ValidateRiverCourseScreen(river)->message, "河道の勾配を入力してください。");
  river.txt2 = "0";
  EXPECT_EQ(ValidateRiverCourseScreen(river)->focus, "Form22.txt2");
  river.txt2 = "0.01";
  EXPECT_FALSE(ValidateRiverCourseScreen(river).has_value());
}

// Formula ①, t = t1 + t2 with t1 typed and t2 = L / 60V.
ProjectRecord Computed() {
  ProjectRecord r;
  NewProject(r);
  IntensityScreenInputs& s = r.intensity;
  s.opt1 = true;
  s.txt1 = "5000";
  s.txt2 = "40";
  s.Option1 = true;
  s.txt3 = "5";
  s.Option4 = true;
  s.Option6 = true;
  s.Option7 = true;
  s.txt4 = "600";
  s.txt5 = "1.0";
  return r;
}

TEST(Keisan, TimeOfConcentration) {
  ProjectRecord r = Computed();
  ASSERT_FALSE(Keisan_1(r).has_value());
  EXPECT_DOUBLE_EQ(r.derived.intensity.t2, 10.0);
  EXPECT_DOUBLE_EQ(r.derived.intensity.t, 15.0);
  ASSERT_FALSE(Keisan_2(r).has_value());
  EXPECT_DOUBLE_EQ(r.derived.intensity.I, 5000.0 / 55.0);

  // t typed.
  r.intensity.Option4 = false;
  r.intensity.Option3 = true;
  r.intensity.txt8 = "10";
  ASSERT_FALSE(Keisan_1(r).has_value());
  ASSERT_FALSE(Keisan_2(r).has_value());
  EXPECT_DOUBLE_EQ(r.derived.intensity.I, 100.0);
}

TEST(Keisan, RiverCourseTimes) {
  ProjectRecord r = Computed();
  r.intensity.chk1 = 1;
  r.intensity.Option7 = false;
  r.intensity.txt4 = "";
  r.intensity.txt5 = "";
  r.river = {false, true, "1", "0.01"};
  ASSERT_FALSE(Keisan_1(r).has_value());
  EXPECT_DOUBLE_EQ(r.derived.intensity.t2, 3.6);
  EXPECT_DOUBLE_EQ(r.derived.intensity.t, 8.6);
  EXPECT_EQ(r.derived.intensity.riverL, 1.0);

  // Neither development choice: t2 keeps its previous value.
  r.river.opt2 = false;
  r.derived.intensity.t2 = 7.0;
  ASSERT_FALSE(Keisan_1(r).has_value());
  EXPECT_EQ(r.derived.intensity.t2, 7.0);
  EXPECT_EQ(r.derived.intensity.t, 12.0);
}

TEST(Keisan, UndefinedArithmeticChangesNothing) {
  ProjectRecord r = Computed();
  r.intensity.txt5 = "0";
  r.derived.intensity.t2 = 3.0;
  r.derived.intensity.a = 1.0;
  const auto failure = Keisan_1(r);
  ASSERT_TRUE(failure.has_value());
  EXPECT_FALSE(failure->message.empty());
  EXPECT_EQ(r.derived.intensity.t2, 3.0);
  EXPECT_EQ(r.derived.intensity.a, 1.0);

  // Open keeps going: the other numbers are read, t2 keeps its value.
  RecomputeIntensity(r);
  EXPECT_EQ(r.derived.intensity.a, 5000.0);
  EXPECT_EQ(r.derived.intensity.t2, 3.0);
  EXPECT_EQ(r.derived.intensity.t, 8.0);
  EXPECT_TRUE(std::isfinite(r.derived.intensity.I));

  // No formula: I keeps its value.
  r.intensity.opt1 = false;
  r.derived.intensity.I = 12.5;
  ASSERT_FALSE(Keisan_2(r).has_value());
  EXPECT_EQ(r.derived.intensity.I, 12.5);
}

TEST(IntensityScreen, OkWritesTheIntensity) {
  ProjectRecord r = Computed();
  r.intensity.txt1 = "3044.8";  // 3044.8 / 55 = 55.36
  r.run.exists = true;
  ASSERT_FALSE(AcceptIntensityScreen(r).has_value());
  EXPECT_EQ(r.main.txt_i, "55.4");
  EXPECT_TRUE(r.main.opt4);
  EXPECT_FALSE(r.main.opt3);
  EXPECT_FALSE(r.run.exists);
  // The computed times stay in the record, not in the boxes.
  EXPECT_EQ(r.intensity.txt9, "");
  EXPECT_DOUBLE_EQ(r.derived.intensity.t2, 10.0);
}

TEST(IntensityScreen, OkRefusesUndefinedArithmetic) {
  struct Case {
    const char* what;
    std::function<void(ProjectRecord&)> setUp;
    IntensityFollowUp followUp;
  };
  const Case cases[] = {
      {"V = 0", [](ProjectRecord& r) { r.intensity.txt5 = "0"; }, IntensityFollowUp::Focus},
      {"t + b = 0", [](ProjectRecord& r) { r.intensity.txt2 = "-15"; }, IntensityFollowUp::None},
      {"negative t under a root",
       [](ProjectRecord& r) {
         ChooseIntensityFormula(r.intensity, IntensityFormula::Two);
         r.intensity.txt1 = "500";
         r.intensity.txt2 = "1";
         r.intensity.txt3 = "-20";
       },
       IntensityFollowUp::None},
      {"c = 0",
       [](ProjectRecord& r) {
         ChooseIntensityFormula(r.intensity, IntensityFormula::Five);
         r.intensity.txt1 = "500";
         r.intensity.txt2 = "1";
         r.intensity.txt6 = "0";
         r.intensity.txt7 = "1";
       },
       IntensityFollowUp::Focus},
      {"river slope 0",
       [](ProjectRecord& r) {
         r.intensity.chk1 = 1;
         r.river = {true, false, "1", "0"};
       },
       IntensityFollowUp::OpenRiverCourse},
  };
  for (const Case& c : cases) {
    ProjectRecord r = Computed();
    c.setUp(r);
    r.main.txt_i = "70";
    const IntensityNumbers before = r.derived.intensity;
    const auto failure = AcceptIntensityScreen(r);
    ASSERT_TRUE(failure.has_value()) << c.what;
    EXPECT_FALSE(failure->error.message.empty()) << c.what;
    EXPECT_EQ(failure->followUp, c.followUp) << c.what;
    EXPECT_EQ(r.main.txt_i, "70") << c.what;
    EXPECT_FALSE(r.main.opt4) << c.what;
    EXPECT_EQ(r.derived.intensity.t, before.t) << c.what;
    EXPECT_EQ(r.derived.intensity.I, before.I) << c.what;
  }
}

TEST(IntensityScreen, FourteenChecksInOrder) {
  using U = IntensityFollowUp;
  struct Case {
    std::function<void(ProjectRecord&)> breakIt;
    const char* message;
    const char* focus;
    U followUp;
  };
  const Case cases[] = {
      {[](ProjectRecord& r) { r.intensity.opt1 = false; }, "降雨強度式を選択してください。", "",
       U::ChooseFormulaOne},
      {[](ProjectRecord& r) { r.intensity.txt1 = ""; }, "定数ａを入力してください。", "Form12.txt1", U::Focus},
      {[](ProjectRecord& r) { r.intensity.txt2 = ""; }, "定数ｂを入力してください。", "Form12.txt2", U::Focus},
      {[](ProjectRecord& r) {
         r.intensity.opt1 = false;
         r.intensity.opt6 = true;
       },
       "定数ｃをしてください。", "Form12.txt6", U::Focus},
      {[](ProjectRecord& r) {
         r.intensity.opt1 = false;
         r.intensity.opt5 = true;
         r.intensity.txt6 = "2";
       },
       "定数ｄを入力してください。", "Form12.txt7", U::Focus},
      {[](ProjectRecord& r) { r.intensity.Option4 = false; }, "到達時間の計算方法を選択してください。", "",
       U::None},
      {[](ProjectRecord& r) {
         r.intensity.Option4 = false;
         r.intensity.Option3 = true;
       },
       "到達時間を入力してください。", "Form12.txt8", U::Focus},
      {[](ProjectRecord& r) { r.intensity.Option1 = false; }, "流入時間の計算方法を選択してください。", "",
       U::None},
      {[](ProjectRecord& r) { r.intensity.txt3 = ""; }, "流入時間を入力してください。", "Form12.txt3", U::Focus},
      {[](ProjectRecord& r) { r.intensity.Option6 = false; }, "流下時間の計算方法を選択してください。", "",
       U::None},
      {[](ProjectRecord& r) {
         r.intensity.Option6 = false;
         r.intensity.Option5 = true;
       },
       "流下時間を入力してください。", "Form12.txt9", U::Focus},
      {[](ProjectRecord& r) { r.intensity.txt4 = ""; }, "排水施設延長距離を入力してください。", "Form12.txt4",
       U::Focus},
      {[](ProjectRecord& r) { r.intensity.txt5 = ""; }, "流速を仮定又は計算してください。", "Form12.Option7",
       U::Focus},
      {[](ProjectRecord& r) {
         r.intensity.chk1 = 1;
         r.intensity.txt4 = "";
         r.intensity.txt5 = "";
       },
       "流下時間の項目を入力してください。", "", U::OpenRiverCourse},
  };
  for (const Case& c : cases) {
    ProjectRecord r = Computed();
    c.breakIt(r);
    const auto failure = AcceptIntensityScreen(r);
    ASSERT_TRUE(failure.has_value()) << c.message;
    EXPECT_EQ(failure->error.message, c.message);
    EXPECT_EQ(failure->error.focus, c.focus) << c.message;
    EXPECT_EQ(failure->followUp, c.followUp) << c.message;
    EXPECT_FALSE(r.main.opt4) << c.message;
  }

  // t typed skips the t1 and t2 checks; t2 typed skips L and V.
  ProjectRecord r = Computed();
  r.intensity.Option4 = false;
  r.intensity.Option3 = true;
  r.intensity.txt8 = "10";
  r.intensity.txt3 = r.intensity.txt4 = r.intensity.txt5 = "";
  EXPECT_FALSE(ValidateIntensityScreen(r).has_value());
  r = Computed();
  r.intensity.Option6 = false;
  r.intensity.Option5 = true;
  r.intensity.txt9 = "0";
  r.intensity.txt4 = r.intensity.txt5 = "";
  EXPECT_FALSE(ValidateIntensityScreen(r).has_value());
}

TEST(KerbyInflowTime, WorkedValues) {
  const auto a = KerbyInflowTime(100, 10, 0.4);
  ASSERT_TRUE(a.ok());
  EXPECT_NEAR(a->s, 0.1, 1e-15);
  EXPECT_NEAR(a->x, 874.67, 0.005);
  EXPECT_NEAR(a->t1, 23.6505, 5e-5);
  const auto b = KerbyInflowTime(50, 20, 0.02);
  ASSERT_TRUE(b.ok());
  EXPECT_NEAR(b->t1, 3.5924, 5e-5);

  EXPECT_EQ(KerbyInflowTime(100, 0, 0.4).error().focus, "Form13.txt2");
  EXPECT_EQ(KerbyInflowTime(100, -10, 0.4).error().focus, "Form13.txt2");
  EXPECT_EQ(KerbyInflowTime(-100, 10, 0.4).error().focus, "Form13.txt1");
  EXPECT_EQ(KerbyInflowTime(100, 10, -0.4).error().focus, "Form13.txt3");
  EXPECT_DOUBLE_EQ(KerbyInflowTime(0, 10, 0.4)->t1, 0.0);
}

TEST(InflowTimeScreen, OkReturnsT1AsShown) {
  ProjectRecord r = Computed();
  r.inflow = {"100", "10", "0.4"};
  ASSERT_FALSE(AcceptInflowTimeScreen(r).has_value());
  EXPECT_EQ(r.intensity.txt3, "23.65");
  EXPECT_TRUE(r.intensity.Option2);
  EXPECT_FALSE(r.intensity.Option1);
  EXPECT_EQ(r.inflowCopies.slopeLength, " 100 ");
  EXPECT_EQ(r.inflowCopies.slope, " 10 ");
  EXPECT_EQ(r.inflowCopies.retardance, " .4 ");
  EXPECT_NEAR(r.derived.inflow.t1, 23.6505, 5e-5);

  // t enters with t1 as displayed.
  ASSERT_FALSE(Keisan_1(r).has_value());
  EXPECT_DOUBLE_EQ(r.derived.intensity.t, 23.65 + 10.0);

  r.inflow = {"50", "20", "0.02"};
  ASSERT_FALSE(AcceptInflowTimeScreen(r).has_value());
  EXPECT_EQ(r.intensity.txt3, "3.59");
}

TEST(InflowTimeScreen, FailuresChangeNothing) {
  struct Case {
    InflowTimeInputs inputs;
    const char* message;  // empty: an arithmetic refusal of our own wording
    const char* focus;
  };
  const Case cases[] = {
      {{"", "10", "0.4"}, "斜面距離をしてください。", "Form13.txt1"},
      {{"100", "", "0.4"}, "斜面勾配を入力してください。", "Form13.txt2"},
      {{"100", "10", ""}, "遅滞係数を入力してください。", "Form13.txt3"},
      {{"100", "0", "0.4"}, "", "Form13.txt2"},
      {{"100", "abc", "0.4"}, "", "Form13.txt2"},
  };
  for (const Case& c : cases) {
    ProjectRecord r = Computed();
    r.inflow = c.inputs;
    const auto failure = AcceptInflowTimeScreen(r);
    ASSERT_TRUE(failure.has_value()) << c.focus;
    if (*c.message) {
      EXPECT_EQ(failure->message, c.message);
    }
    EXPECT_FALSE(failure->message.empty());
    EXPECT_EQ(failure->focus, c.focus);
    EXPECT_EQ(r.intensity.txt3, "5");
    EXPECT_TRUE(r.intensity.Option1);
    EXPECT_EQ(r.inflowCopies.slopeLength, "");
  }
}

}  // namespace
}  // namespace mk
