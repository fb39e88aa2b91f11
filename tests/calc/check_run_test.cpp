// The main check: its twelve checks in order, the flows, the verdict and
// what a screen shows afterwards.

#include <gtest/gtest.h>

#include <functional>

#include "calc/check_run.h"
#include "model/number_text.h"

namespace mk {
namespace {

// C 0.5, I 72 mm/hr, 10000 m2, q 0.01, a VP φ300 pipe at 10 per mille.
ProjectRecord Passing(int kind = 0) {
  ProjectRecord r;
  NewProject(r);
  r.main.txt_c = "0.5";
  r.main.txt_a = "10000";
  r.main.txt_i = "72";
  r.main.txt3 = "0.01";
  r.main.lst_s = kind;
  r.facility.form2 = {7, "10", "0.010", 5};
  r.facility.form5 = {"塩ビ管", "0.3", "10", "0.013", 5};
  r.facility.form1 = {"ボックス", "1.0", "2.0", "10", "0.015", 4};
  return r;
}

TEST(CheckRun, WorkedFlows) {
  ProjectRecord r = Passing();
  CheckRunOutcome out = CheckRun(r);
  ASSERT_TRUE(out.passed) << out.failure.message;
  EXPECT_DOUBLE_EQ(r.run.Q11, 0.1);  // 0.5 x 72 x 1 ha / 360
  EXPECT_EQ(r.run.Q12, 0.01);
  EXPECT_EQ(r.run.factor, 1.0);
  EXPECT_EQ(out.lbl16, "");
  EXPECT_EQ(out.lbl17, "");

  r.main.opt9 = false;
  r.main.opt10 = true;
  r.main.txt2 = "20";
  out = CheckRun(r);
  ASSERT_TRUE(out.passed);
  EXPECT_DOUBLE_EQ(r.run.Q12, 0.012);

  r.main.opt11 = false;
  r.main.opt12 = true;
  r.main.txt1 = "25";
  out = CheckRun(r);
  ASSERT_TRUE(out.passed);
  EXPECT_EQ(r.run.factor, 1.25);
  EXPECT_EQ(out.lbl16, "1.25");
  EXPECT_EQ(out.lbl17, "×");
  EXPECT_DOUBLE_EQ(r.run.Q1, 1.25 * (0.1 + 0.012));
  EXPECT_EQ(out.lbl3, FormatNumber(r.run.Q1, "0.0000"));

  // "無し" after "有り" 25 %: exactly 1, whatever txt1 still holds.
  r.main.opt11 = true;
  r.main.opt12 = false;
  out = CheckRun(r);
  ASSERT_TRUE(out.passed);
  EXPECT_EQ(r.run.factor, 1.0);
  EXPECT_EQ(out.lbl16, "");
  EXPECT_DOUBLE_EQ(r.run.Q1, 0.112);
}

TEST(CheckRun, VerdictNoticesAndBeep) {
  EXPECT_EQ(JudgeVerdict(1.0, 1.0), Verdict::OK);  // equality passes
  EXPECT_EQ(JudgeVerdict(1.0, 1.0 + 1e-15), Verdict::OK);
  EXPECT_EQ(JudgeVerdict(1.0 + 1e-15, 1.0), Verdict::NO);

  ProjectRecord r = Passing();
  r.facility.form2.txt1 = "40";
  CheckRunOutcome out = CheckRun(r);
  ASSERT_TRUE(out.passed);
  ASSERT_LT(r.run.Q1, r.run.Q2);
  EXPECT_EQ(r.run.verdict, Verdict::OK);
  EXPECT_FALSE(out.beep);
  EXPECT_EQ(out.statusNotice,
            "流速(V)はよろしいですか？チェックして下さい。（各地域の開発指導要綱等による事。）");

  r.facility.form2.txt1 = "10";  // Q2 0.10998 against Q1 0.11
  out = CheckRun(r);
  ASSERT_TRUE(out.passed);
  EXPECT_EQ(r.run.verdict, Verdict::NO);
  EXPECT_TRUE(out.beep);
  EXPECT_EQ(out.statusNotice, "計画雨水量が施設の流量を超えています。");
}

TEST(CheckRun, SecondPressShowsTheCurrentInputs) {
  ProjectRecord r = Passing();
  ASSERT_TRUE(CheckRun(r).passed);
  const double firstQ2 = r.run.Q2;
  r.facility.form2.txt1 = "40";  // four times the slope: twice the velocity
  ASSERT_TRUE(CheckRun(r).passed);
  EXPECT_DOUBLE_EQ(r.run.Q2, 2.0 * firstQ2);
}

struct CheckCase {
  const char* what;
  int kind;
  std::function<void(ProjectRecord&)> breakIt;
  const char* message;
  const char* focus;
};

TEST(CheckRun, TwelveChecksInOrder) {
  const CheckCase cases[] = {
      {"C blank", 0, [](ProjectRecord& r) { r.main.txt_c = ""; },
       "流出係数を入力又は計算してください。", "Form25.txt_c"},
      {"C letters", 0, [](ProjectRecord& r) { r.main.txt_c = "abc"; },
       "流出係数を入力又は計算してください。", "Form25.txt_c"},
      {"area 0", 0, [](ProjectRecord& r) { r.main.txt_a = "0"; },
       "施設の分担する流域面積を入力してください。", "Form25.txt_a"},
      {"I blank", 0, [](ProjectRecord& r) { r.main.txt_i = ""; },
       "降雨強度を入力又は計算してください。", "Form25.txt_i"},
      {"sewage empty", 0, [](ProjectRecord& r) { r.main.txt3 = ""; },
       "計画汚水量を計算又は入力してください。", "Form25.txt3"},
      {"groundwater empty", 0,
       [](ProjectRecord& r) {
         r.main.opt9 = false;
         r.main.opt10 = true;
       },
       "地下水混入率を入力してください。", "Form25.txt2"},
      {"surcharge empty", 0,
       [](ProjectRecord& r) {
         r.main.opt11 = false;
         r.main.opt12 = true;
       },
       "計画汚水量の割増しを入力してください。", "Form25.txt1"},
      {"no facility", -1, [](ProjectRecord&) {}, "施設の種類を選択してください。", "Form25.lst_s"},
      {"no formula", 0, [](ProjectRecord& r) { r.main.opt1 = false; },
       "流速の計算方法を選択してください。", "Form25.opt1"},
      {"D 0", 4, [](ProjectRecord& r) { r.facility.form5.txt1 = "m"; }, "直径を入力してください。",
       "Form5.txt1"},
      {"H 0", 5, [](ProjectRecord& r) { r.facility.form1.txt1 = ""; },
       "施設の高さを入力してください。", "Form1.txt1"},
      {"B 0", 5, [](ProjectRecord& r) { r.facility.form1.txt2 = "0"; },
       "施設の巾を入力してください。", "Form1.txt2"},
      {"slope Form2", 2, [](ProjectRecord& r) { r.facility.form2.txt1 = ""; },
       "施設の勾配を入力してください。", "Form2.txt1"},
      {"slope Form5", 4, [](ProjectRecord& r) { r.facility.form5.txt2 = ""; },
       "施設の勾配を入力してください。", "Form5.txt2"},
      {"slope Form1", 5, [](ProjectRecord& r) { r.facility.form1.txt3 = ""; },
       "施設の勾配を入力してください。", "Form1.txt3"},
      {"n Form2", 3, [](ProjectRecord& r) { r.facility.form2.txt2 = "0"; },
       "粗度係数を入力してください。", "Form2.txt2"},
      {"n Form5", 4, [](ProjectRecord& r) { r.facility.form5.txt3 = ""; },
       "粗度係数を入力してください。", "Form5.txt3"},
      {"n Form1", 5, [](ProjectRecord& r) { r.facility.form1.txt4 = ""; },
       "粗度係数を入力してください。", "Form1.txt4"},
      {"depth separator Form2", 0, [](ProjectRecord& r) { r.facility.form2.cbo1 = 8; },
       "施設有効水深の割合を入力してください。", "Form2.cbo1"},
      {"depth none Form2", 1, [](ProjectRecord& r) { r.facility.form2.cbo1 = -1; },
       "施設有効水深の割合を入力してください。", "Form2.cbo1"},
      {"depth separator Form5", 4, [](ProjectRecord& r) { r.facility.form5.cbo1 = 1; },
       "施設の有効水深の割合を入力してください。", "Form5.cbo1"},
      {"depth none Form1", 5, [](ProjectRecord& r) { r.facility.form1.cbo1 = 7; },
       "施設の有効水深の割合を入力してください。", "Form1.cbo1"},
      // With everything missing the first check speaks.
      {"all missing", -1, [](ProjectRecord& r) { r.main = MainScreenInputs{}; r.main.lst_s = -1; },
       "流出係数を入力又は計算してください。", "Form25.txt_c"},
      // The text checks test emptiness only; the zero checks come later.
      {"sewage empty before facility", 5,
       [](ProjectRecord& r) {
         r.main.txt3 = "";
         r.facility.form1.txt1 = "";
       },
       "計画汚水量を計算又は入力してください。", "Form25.txt3"},
  };
  for (const CheckCase& c : cases) {
    ProjectRecord r = Passing(c.kind);
    r.run.exists = true;  // an earlier result: a failed check leaves it alone
    r.results.lbl3 = "old";
    c.breakIt(r);
    const CheckRunOutcome out = CheckRun(r);
    EXPECT_FALSE(out.passed) << c.what;
    EXPECT_EQ(out.failure.message, c.message) << c.what;
    EXPECT_EQ(out.failure.focus, c.focus) << c.what;
    EXPECT_TRUE(r.run.exists) << c.what;
    EXPECT_EQ(r.results.lbl3, "old") << c.what;
    EXPECT_EQ(ValidateMainCheck(r).value_or(CalcError{}).message, c.message) << c.what;
  }
}

TEST(CheckRun, MissingSewageFlowSwitchesToDirectEntry) {
  ProjectRecord r = Passing();
  r.main.txt3 = "";
  const CheckRunOutcome out = CheckRun(r);
  EXPECT_TRUE(out.switchedSewageToDirect);
  EXPECT_FALSE(r.main.opt7);
  EXPECT_TRUE(r.main.opt8);

  // "0" is not empty: it passes and counts as no sewage.
  r.main.txt3 = "0";
  ASSERT_TRUE(CheckRun(r).passed);
  EXPECT_EQ(r.run.Q12, 0.0);
}

TEST(CheckRun, NumbersAreStoredEvenWhenACheckFails) {
  ProjectRecord r = Passing(5);
  r.main.txt_c = "0.7";
  r.main.txt_i = "12abc";
  r.facility.form1.txt4 = "";
  EXPECT_FALSE(CheckRun(r).passed);
  EXPECT_EQ(r.derived.main.C, 0.7);
  EXPECT_EQ(r.derived.main.I, 12.0);
  EXPECT_EQ(r.derived.main.H, 1.0);
  EXPECT_EQ(r.derived.main.B, 2.0);
  EXPECT_EQ(r.derived.main.x, 10.0);
  EXPECT_EQ(r.derived.main.n, 0.0);
}

// Inputs that pass the zero checks but leave the formulas undefined end the
// run with a message instead of a result.
TEST(CheckRun, UndefinedCapacityEndsTheRunWithoutResult) {
  struct Case {
    int kind;
    std::function<void(ProjectRecord&)> setUp;
    const char* focus;
  };
  const Case cases[] = {
      {0, [](ProjectRecord& r) { r.facility.form2.txt1 = "-5"; }, "Form2.txt1"},
      {4, [](ProjectRecord& r) { r.facility.form5.txt3 = "-0.013"; }, "Form5.txt3"},
      {4, [](ProjectRecord& r) { r.facility.form5.txt1 = "-0.3"; }, "Form5.txt1"},
      {5, [](ProjectRecord& r) { r.facility.form1.txt2 = "-2"; }, "Form1.txt2"},
      {0, [](ProjectRecord& r) { r.facility.form2.lst_pu = 8; }, "Form2.lst_pu"},
  };
  for (const Case& c : cases) {
    ProjectRecord r = Passing(c.kind);
    ASSERT_TRUE(CheckRun(r).passed);
    c.setUp(r);
    const CheckRunOutcome out = CheckRun(r);
    EXPECT_FALSE(out.passed) << c.focus;
    EXPECT_FALSE(out.failure.message.empty()) << c.focus;
    EXPECT_EQ(out.failure.focus, c.focus);
    EXPECT_FALSE(r.run.exists) << c.focus;
    EXPECT_EQ(r.run.Q2, 0.0) << c.focus;
    EXPECT_EQ(r.results.lbl3, "") << c.focus;
  }
}

TEST(RecomputeRunResult, UndefinedCapacityGivesZeroVelocity) {
  ProjectRecord r = Passing();
  r.facility.form2.txt1 = "-5";
  ReadMainCheckNumbers(r);
  ASSERT_TRUE(ComputeMainSection(r).ok());
  RecomputeRunResult(r);
  EXPECT_TRUE(r.run.exists);
  EXPECT_DOUBLE_EQ(r.run.Q1, 0.11);
  EXPECT_EQ(r.run.V, 0.0);
  EXPECT_EQ(r.run.Q2, 0.0);
  EXPECT_EQ(r.run.verdict, Verdict::NO);
  EXPECT_EQ(r.results.lbl9, "0.0000");
}

}  // namespace
}  // namespace mk
