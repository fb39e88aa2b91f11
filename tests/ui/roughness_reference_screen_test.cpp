// Form4: the fixed reference tables.
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <gtest/gtest.h>

#include "fake_screen_host.h"
#include "ui/roughness_reference_screen.h"

namespace mk {
namespace {

QString Text(QTableWidget* table, int row, int column) {
  QTableWidgetItem* item = table->item(row, column);
  return item ? item->text() : QString();
}

TEST(RoughnessReferenceScreen, ShowsBothTablesWithTheirExactTexts) {
  testing::FakeScreenHost host;
  auto* screen = qobject_cast<RoughnessReferenceScreen*>(host.screen("Form4"));
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(screen->windowTitle(), "ミルカナ");
  QStringList headings;
  for (QLabel* label : screen->findChildren<QLabel*>()) headings << label->text();
  EXPECT_TRUE(headings.contains("◇ 流 出 係 数（Ｃ）"));
  EXPECT_TRUE(headings.contains("◇ 粗 度 係 数（ｎ）"));

  // Row 0 holds the column captions; every row after it as listed.
  const char* const runoff[][2] = {
      {"土地利用形態", "流出係数"},         {"屋  根", "0.85～0.95"},
      {"道  路", "0.80～0.90"},             {"その他の不透水面", "0.75～0.85"},
      {"水　面", "1.00"},                   {"間　地", "0.10～0.30"},
      {"芝、樹木の多い公園", "0.05～0.25"}, {"勾配の緩い山地", "0.20～0.40"},
      {"勾配の急な山地", "0.40～0.60"},     {"密集市街地", "0.9"},
      {"一般市街地", "0.8"},                {"畑 ・ 原野", "0.6"},
      {"水田 ・ 山地", "0.7"},              {"宅地等の造成地域", "0.9"},
      {"ｺﾞﾙﾌ場等の造成地域", "0.8"},        {"林　地", "0.3～0.7"},
      {"草　地", "0.4～0.8"},               {"耕　地", "0.5～0.8"},
      {"裸　地", "0.9～1.0"},
  };
  QTableWidget* c = screen->runoffTable();
  ASSERT_EQ(c->rowCount(), static_cast<int>(std::size(runoff)));
  for (int row = 0; row < c->rowCount(); ++row) {
    EXPECT_EQ(Text(c, row, 0), runoff[row][0]) << row;
    EXPECT_EQ(Text(c, row, 1), runoff[row][1]) << row;
  }

  // Columns: group, second-level group or facility, facility in the
  // second-level group, value.  A group's or second-level group's text
  // stands in its first row and spans its rows; a facility outside a group
  // spans the three name columns.
  const char* const roughness[][4] = {
      {"排 水 施 設 の 種 類", "", "", "粗 度 係 数"},
      {"コンクリート管渠 ", "", "", "0.013"},
      {"塩化ビニール管 ", "", "", "0.010"},
      {"強化プラスチック複合管", "", "", "0.010"},
      {"素　掘　り", "土", "", "0.020～0.025"},
      {"", "砂　れ　き", "", "0.025～0.040"},
      {"", "岩　　　盤", "", "0.025～0.035"},
      {"現 場 施 工", "セメントモルタル", "", "0.010～0.013"},
      {"", "コンクリート", "", "0.013～0.018"},
      {"", "粗　石", "練　積", "0.015～0.030"},
      {"", "", "空　積", "0.025～0.035"},
      {"工 場 製 品", "遠心鉄筋コンクリート管", "", "0.011～0.014"},
      {"", "コンクリート管", "", "0.012～0.016"},
      {"", "コルゲートパイプ", "", "0.025～0.035"},
      {"一般河道", "", "", "0.030～0.035"},
      {"急流河川及川幅が広く水深の浅い河川", "", "", "0.040～0.050"},
      {"暫定素堀河道", "", "", "0.035"},
      {"三面張水路", "", "", "0.025"},
      {"河川トンネル", "", "", "0.023"},
  };
  QTableWidget* n = screen->roughnessTable();
  ASSERT_EQ(n->rowCount(), static_cast<int>(std::size(roughness)));
  for (int row = 0; row < n->rowCount(); ++row) {
    for (int column = 0; column < 4; ++column)
      EXPECT_EQ(Text(n, row, column), roughness[row][column]) << row << "," << column;
  }
  EXPECT_EQ(n->columnSpan(0, 0), 3);
  EXPECT_EQ(n->columnSpan(1, 0), 3);
  EXPECT_EQ(n->columnSpan(14, 0), 3);
  EXPECT_EQ(n->columnSpan(5, 1), 2);
  EXPECT_EQ(n->rowSpan(4, 0), 3);
  EXPECT_EQ(n->rowSpan(7, 0), 4);
  EXPECT_EQ(n->rowSpan(9, 1), 2);
  EXPECT_EQ(n->rowSpan(11, 0), 3);

  // Nothing can be edited.
  EXPECT_EQ(c->editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_EQ(n->editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST(RoughnessReferenceScreen, OpensModallyAndClosesWithItsButton) {
  testing::FakeScreenHost host;
  auto* screen = qobject_cast<RoughnessReferenceScreen*>(host.screen("Form4"));
  ASSERT_NE(screen, nullptr);
  screen->open();
  EXPECT_TRUE(screen->isVisible());
  EXPECT_TRUE(screen->isModal());
  auto* close = screen->findChild<QPushButton*>("cmd1");
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(close->text(), "閉じる");
  close->click();
  EXPECT_FALSE(screen->isVisible());
  EXPECT_EQ(screen->result(), QDialog::Accepted);
}

}  // namespace
}  // namespace mk
