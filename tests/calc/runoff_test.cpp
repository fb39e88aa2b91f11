// Runoff coefficient by land use: the tick rule and the weighted average.

#include <gtest/gtest.h>

#include "calc/runoff.h"

namespace mk {
namespace {

int Index(const char* control) { return LandUseIndex(control).value(); }

TEST(LandUseToggle, TickingFillsTheFirstEmptyRow) {
  RunoffScreenInputs s;
  ApplyLandUseToggle(s, Index("chk_k1"), true);
  ApplyLandUseToggle(s, Index("chk_k6"), true);
  EXPECT_EQ(s.txt_t[0], "屋　根");
  EXPECT_EQ(s.txt_t[1], "芝､樹木の多い公園");
  EXPECT_EQ(s.checks[Index("chk_k6")], 1);

  // A row emptied by hand is filled next.
  s.txt_t[2] = "道　路";
  s.txt_t[1].clear();
  ApplyLandUseToggle(s, Index("chk_t1"), true);
  EXPECT_EQ(s.txt_t[1], "密集市街地");
  EXPECT_EQ(s.txt_t[2], "道　路");
}

TEST(LandUseToggle, SeventhTickChangesNoRow) {
  RunoffScreenInputs s;
  for (int i = 0; i < 6; ++i) ApplyLandUseToggle(s, i, true);
  const auto before = s.txt_t;
  ApplyLandUseToggle(s, Index("chk_u4"), true);
  EXPECT_EQ(s.txt_t, before);
  EXPECT_EQ(s.checks[Index("chk_u4")], 1);
}

TEST(LandUseToggle, UntickingClearsTheFirstRowWithItsText) {
  RunoffScreenInputs s;
  s.txt_t = {"畑・原野", "屋　根", "畑・原野", "", "", ""};
  s.txt_c = {"0.6", "0.9", "0.5", "", "", ""};
  s.txt_a = {"100", "200", "300", "", "", ""};
  s.checks[Index("chk_t3")] = 1;
  ApplyLandUseToggle(s, Index("chk_t3"), false);
  EXPECT_EQ(s.txt_t[0], "");
  EXPECT_EQ(s.txt_c[0], "");
  EXPECT_EQ(s.txt_a[0], "");
  EXPECT_EQ(s.txt_t[2], "畑・原野");  // only the first
  EXPECT_EQ(s.checks[Index("chk_t3")], 0);

  // The caption is not the row text: "畑 ・ 原野" in a row is not matched.
  s.txt_t[2] = "畑 ・ 原野";
  ApplyLandUseToggle(s, Index("chk_t3"), false);
  EXPECT_EQ(s.txt_t[2], "畑 ・ 原野");
  EXPECT_EQ(s.txt_c[2], "0.5");
}

ProjectRecord TwoRows() {
  ProjectRecord r;
  NewProject(r);
  r.runoff.txt_t = {"屋　根", "芝､樹木の多い公園", "", "", "", ""};
  r.runoff.txt_c = {"0.9", "0.2", "", "", "", ""};
  r.runoff.txt_a = {"500", "1500", "", "", "", ""};
  return r;
}

TEST(WeightedRunoff, WorkedExample) {
  ProjectRecord r = TwoRows();
  r.run.exists = true;
  ASSERT_FALSE(AcceptRunoffScreen(r).has_value());
  EXPECT_EQ(r.derived.runoff.sumA, 2000.0);
  EXPECT_DOUBLE_EQ(r.derived.runoff.C_weighted, 0.375);
  EXPECT_EQ(r.main.txt_c, "0.375");
  EXPECT_EQ(r.main.txt_a, "2000.00");
  EXPECT_TRUE(r.main.opt6);
  EXPECT_FALSE(r.main.opt5);
  EXPECT_FALSE(r.run.exists);
}

TEST(WeightedRunoff, EveryRowCountsAndGapsAreAccepted) {
  ProjectRecord r = TwoRows();
  r.runoff.txt_c[1] = "";  // a row with an area but no coefficient lowers C
  r.runoff.txt_t[3] = "法面";
  r.runoff.txt_c[3] = "0.8";
  r.runoff.txt_a[3] = "1000m2";
  ASSERT_FALSE(AcceptRunoffScreen(r).has_value());
  EXPECT_EQ(r.derived.runoff.sumA, 3000.0);
  EXPECT_EQ(r.main.txt_c, "0.417");  // (450 + 800) / 3000
  EXPECT_EQ(r.main.txt_a, "3000.00");

  r.runoff.txt_c = {"0.8", "", "", "", "", ""};
  r.runoff.txt_a = {"500", "", "", "", "", ""};
  ASSERT_FALSE(AcceptRunoffScreen(r).has_value());
  EXPECT_EQ(r.main.txt_c, "0.8");
}

TEST(WeightedRunoff, RowOneChecksInOrder) {
  struct Case {
    const char* name;
    const char* C;
    const char* A;
    const char* message;
    const char* focus;
  };
  const Case cases[] = {
      {"", "", "", "土地利用形態を入力してください。", "Form16.txt_t1"},
      {"屋　根", "0", "500", "流出係数を入力してください。", "Form16.txt_c1"},
      {"屋　根", "abc", "500", "流出係数を入力してください。", "Form16.txt_c1"},
      {"屋　根", "0.9", "m2500", "流域面積を入力してください。", "Form16.txt_a1"},
      {"屋　根", "0.9", "", "流域面積を入力してください。", "Form16.txt_a1"},
  };
  for (const Case& c : cases) {
    ProjectRecord r = TwoRows();
    r.main.txt_c = "0.5";
    r.main.txt_a = "777";
    r.runoff.txt_t[0] = c.name;
    r.runoff.txt_c[0] = c.C;
    r.runoff.txt_a[0] = c.A;
    const auto failure = AcceptRunoffScreen(r);
    ASSERT_TRUE(failure.has_value()) << c.message;
    EXPECT_EQ(failure->message, c.message);
    EXPECT_EQ(failure->focus, c.focus);
    EXPECT_EQ(r.main.txt_c, "0.5");
    EXPECT_EQ(r.main.txt_a, "777");
    EXPECT_FALSE(r.main.opt6);
    // The copied values follow the rows even when a check fails.
    EXPECT_EQ(r.derived.runoff.names[1], "芝､樹木の多い公園");
  }
}

TEST(WeightedRunoff, ZeroTotalAreaIsRefused) {
  ProjectRecord r = TwoRows();
  r.runoff.txt_a[1] = "-500";
  r.main.txt_c = "0.5";
  r.main.txt_a = "777";
  r.derived.runoff.sumA = 9.0;
  const auto failure = AcceptRunoffScreen(r);
  ASSERT_TRUE(failure.has_value());
  EXPECT_FALSE(failure->message.empty());
  EXPECT_EQ(r.main.txt_c, "0.5");
  EXPECT_EQ(r.main.txt_a, "777");
  EXPECT_EQ(r.derived.runoff.sumA, 9.0);
  EXPECT_FALSE(r.main.opt6);
}

}  // namespace
}  // namespace mk
