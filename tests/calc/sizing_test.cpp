// The pipe sizing table: worked rows, the smallest passing size, the typed
// sections, and projects that cannot be checked.

#include <gtest/gtest.h>

#include <algorithm>

#include "calc/sizing.h"

namespace mk {
namespace {

// C 0.5, I 72 mm/hr, 100000 m2 (Q11 = 1.0), q 0.01: Q1 = 1.01.  A Hume
// pipe at 2 per mille, n 0.013, "水深８割", Manning.
ProjectRecord HumeProject() {
  ProjectRecord r;
  NewProject(r);
  r.main.txt_c = "0.5";
  r.main.txt_a = "100000";
  r.main.txt_i = "72";
  r.main.txt3 = "0.01";
  r.main.lst_s = 3;
  r.facility.form2 = {0, "2", "0.013", 5};
  return r;
}

int CountMarked(const SizeTableResult& table) {
  return static_cast<int>(std::count_if(table.rows.begin(), table.rows.end(),
                                        [](const SizingRow& row) { return row.smallestPassing; }));
}

TEST(SizeTable, HumeRowsWorkedAndSmallestPassingMarked) {
  const ProjectRecord record = HumeProject();
  const SizeTableResult table = SizeTable(record);
  ASSERT_EQ(table.rows.size(), 25u);
  EXPECT_TRUE(table.problems.empty());
  ASSERT_TRUE(table.Q1);
  EXPECT_NEAR(*table.Q1, 1.01, 1e-12);

  EXPECT_EQ(table.rows.front().label, "ﾋｭｰﾑ管 φ150");
  EXPECT_EQ(table.rows.back().label, "ﾋｭｰﾑ管 φ3000");

  // φ1000 at Depth80: A = 0.6735, P = 2.2142, R = 0.304173, and by Manning
  // V = 0.002^0.5 × R^(2/3) / 0.013 = 1.555914, Q2 = 1.047908 ≥ Q1.
  const SizingRow& d1000 = table.rows[12];
  EXPECT_EQ(d1000.label, "ﾋｭｰﾑ管 φ1000");
  EXPECT_FALSE(d1000.rectangular);
  EXPECT_DOUBLE_EQ(d1000.D, 1.0);
  ASSERT_TRUE(d1000.section && d1000.R && d1000.V && d1000.Q2 && d1000.verdict);
  EXPECT_NEAR(d1000.section->A, 0.6735, 1e-12);
  EXPECT_NEAR(d1000.section->P, 2.2142, 1e-12);
  EXPECT_NEAR(*d1000.R, 0.304173065, 1e-9);
  EXPECT_NEAR(*d1000.V, 1.555913616, 1e-9);
  EXPECT_NEAR(*d1000.Q2, 1.047907820, 1e-9);
  EXPECT_EQ(*d1000.verdict, Verdict::OK);
  EXPECT_TRUE(d1000.smallestPassing);

  // φ900: Q2 = 0.791231 < Q1.
  const SizingRow& d900 = table.rows[11];
  ASSERT_TRUE(d900.Q2 && d900.verdict);
  EXPECT_NEAR(*d900.Q2, 0.791230658, 1e-9);
  EXPECT_EQ(*d900.verdict, Verdict::NO);
  EXPECT_EQ(CountMarked(table), 1);
  for (std::size_t i = 13; i < table.rows.size(); ++i) EXPECT_EQ(table.rows[i].verdict, Verdict::OK);

  // The project's own size and result stay as they were.
  EXPECT_EQ(record.facility.form2.lst_pu, 0);
  EXPECT_FALSE(record.run.exists);
}

TEST(SizeTable, KutterAndTheFlowFactorsAreTheRunsOwn) {
  ProjectRecord record = HumeProject();
  record.main.opt1 = false;
  record.main.opt2 = true;
  SizeTableResult table = SizeTable(record);
  ASSERT_TRUE(table.rows[12].V);
  EXPECT_NEAR(*table.rows[12].V, 1.591690703, 1e-9);
  EXPECT_NEAR(*table.rows[11].Q2, 0.808065326, 1e-9);

  // A 25 % surcharge makes Q1 = 1.2625: φ1000 (Q2 1.072) no longer passes.
  record.main.opt11 = false;
  record.main.opt12 = true;
  record.main.txt1 = "25";
  table = SizeTable(record);
  EXPECT_NEAR(*table.Q1, 1.2625, 1e-12);
  EXPECT_EQ(table.rows[12].verdict, Verdict::NO);
  EXPECT_TRUE(table.rows[13].smallestPassing);  // φ1100
}

TEST(SizeTable, NoSizePassingMarksNothing) {
  ProjectRecord record = HumeProject();
  record.main.txt_a = "100000000";  // Q1 about 1000 m3/sec
  const SizeTableResult table = SizeTable(record);
  EXPECT_TRUE(table.problems.empty());
  EXPECT_EQ(CountMarked(table), 0);
  EXPECT_TRUE(std::all_of(table.rows.begin(), table.rows.end(),
                          [](const SizingRow& row) { return row.verdict == Verdict::NO; }));
}

TEST(SizeTable, TypedSectionsGiveOneRow) {
  ProjectRecord record = HumeProject();
  record.main.lst_s = 5;
  record.facility.form1 = {"ボックス", "1.0", "2.0", "10", "0.015", 0};  // H 1, B 2, full
  SizeTableResult table = SizeTable(record);
  ASSERT_EQ(table.rows.size(), 1u);
  const SizingRow& box = table.rows[0];
  EXPECT_EQ(box.label, "ボックス");
  EXPECT_TRUE(box.rectangular);
  EXPECT_DOUBLE_EQ(box.B, 2.0);
  EXPECT_DOUBLE_EQ(box.H, 1.0);
  ASSERT_TRUE(box.section && box.Q2);
  EXPECT_DOUBLE_EQ(box.section->A, 2.0);
  EXPECT_DOUBLE_EQ(box.section->P, 6.0);  // closed and full: the top wall is wetted
  EXPECT_NEAR(*box.Q2, 6.409998090, 1e-9);
  EXPECT_TRUE(box.smallestPassing);

  record.main.lst_s = 4;
  record.facility.form5 = {"塩ビ管", "1.0", "2", "0.013", 5};
  table = SizeTable(record);
  ASSERT_EQ(table.rows.size(), 1u);
  EXPECT_EQ(table.rows[0].label, "塩ビ管");
  EXPECT_DOUBLE_EQ(table.rows[0].D, 1.0);
  EXPECT_NEAR(*table.rows[0].Q2, 1.047907820, 1e-9);  // the Hume φ1000 row's
}

TEST(SizeTable, WhatCannotBeComputedIsLeftOutWithTheRunsMessage) {
  // No slope: sections and R, but no velocity.
  ProjectRecord record = HumeProject();
  record.facility.form2.txt1 = "";
  SizeTableResult table = SizeTable(record);
  ASSERT_EQ(table.rows.size(), 25u);
  ASSERT_EQ(table.problems.size(), 1u);
  EXPECT_EQ(table.problems[0].message, "施設の勾配を入力してください。");
  EXPECT_TRUE(table.rows[12].section && table.rows[12].R);
  EXPECT_FALSE(table.rows[12].V || table.rows[12].Q2 || table.rows[12].verdict);
  EXPECT_FALSE(table.Q1);
  EXPECT_EQ(CountMarked(table), 0);

  // A negative slope passes the run's zero checks; the capacity refuses it.
  record.facility.form2.txt1 = "-2";
  table = SizeTable(record);
  ASSERT_EQ(table.problems.size(), 1u);
  EXPECT_EQ(table.problems[0].message, "施設の勾配は０より大きい値を入力してください。");
  EXPECT_FALSE(table.rows[0].V);

  // No runoff coefficient: the capacities are known, the verdicts are not.
  record = HumeProject();
  record.main.txt_c = "";
  table = SizeTable(record);
  ASSERT_EQ(table.problems.size(), 1u);
  EXPECT_EQ(table.problems[0].message, "流出係数を入力又は計算してください。");
  EXPECT_NEAR(*table.rows[12].Q2, 1.047907820, 1e-9);
  EXPECT_FALSE(table.rows[12].verdict);

  // A separator for the depth: no section at all.
  record = HumeProject();
  record.facility.form2.cbo1 = 1;
  table = SizeTable(record);
  ASSERT_EQ(table.problems.size(), 1u);
  EXPECT_EQ(table.problems[0].message, "施設有効水深の割合を入力してください。");
  EXPECT_FALSE(table.rows[12].section || table.rows[12].R || table.rows[12].V);
  EXPECT_DOUBLE_EQ(table.rows[12].D, 1.0);

  // A typed diameter of 0: the row has no area to compute with.
  record = HumeProject();
  record.main.lst_s = 4;
  record.facility.form5 = {"", "0", "2", "0.013", 5};
  table = SizeTable(record);
  ASSERT_EQ(table.rows.size(), 1u);
  EXPECT_EQ(table.problems[0].message, "直径を入力してください。");
  EXPECT_FALSE(table.rows[0].R || table.rows[0].V);

  // No facility kind: no rows.
  for (int kind : {-1, 6}) {
    record.main.lst_s = kind;
    table = SizeTable(record);
    EXPECT_TRUE(table.rows.empty());
    ASSERT_EQ(table.problems.size(), 1u);
    EXPECT_EQ(table.problems[0].message, "施設の種類を選択してください。");
  }
}

}  // namespace
}  // namespace mk
