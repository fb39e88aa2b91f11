// Form4: the fixed reference tables.
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

  QTableWidget* c = screen->runoffTable();
  ASSERT_EQ(c->rowCount(), 19);
  EXPECT_EQ(Text(c, 0, 0), "土地利用形態");
  EXPECT_EQ(Text(c, 0, 1), "流出係数");
  EXPECT_EQ(Text(c, 1, 0), "屋  根");
  EXPECT_EQ(Text(c, 1, 1), "0.85～0.95");
  EXPECT_EQ(Text(c, 4, 0), "水　面");
  EXPECT_EQ(Text(c, 4, 1), "1.00");
  EXPECT_EQ(Text(c, 11, 0), "畑 ・ 原野");
  EXPECT_EQ(Text(c, 14, 0), "ｺﾞﾙﾌ場等の造成地域");
  EXPECT_EQ(Text(c, 18, 0), "裸　地");
  EXPECT_EQ(Text(c, 18, 1), "0.9～1.0");

  QTableWidget* n = screen->roughnessTable();
  ASSERT_EQ(n->rowCount(), 19);
  EXPECT_EQ(Text(n, 0, 0), "排 水 施 設 の 種 類");
  EXPECT_EQ(n->columnSpan(0, 0), 3);
  EXPECT_EQ(Text(n, 0, 3), "粗 度 係 数");
  // Rows outside a group span the three name columns; the first two end with a blank.
  EXPECT_EQ(Text(n, 1, 0), "コンクリート管渠 ");
  EXPECT_EQ(n->columnSpan(1, 0), 3);
  EXPECT_EQ(Text(n, 2, 0), "塩化ビニール管 ");
  EXPECT_EQ(Text(n, 3, 0), "強化プラスチック複合管");
  EXPECT_EQ(Text(n, 3, 3), "0.010");
  // Groups span their rows.
  EXPECT_EQ(Text(n, 4, 0), "素　掘　り");
  EXPECT_EQ(n->rowSpan(4, 0), 3);
  EXPECT_EQ(Text(n, 6, 1), "岩　　　盤");
  EXPECT_EQ(Text(n, 7, 0), "現 場 施 工");
  EXPECT_EQ(n->rowSpan(7, 0), 4);
  EXPECT_EQ(Text(n, 9, 1), "粗　石");
  EXPECT_EQ(n->rowSpan(9, 1), 2);
  EXPECT_EQ(Text(n, 9, 2), "練　積");
  EXPECT_EQ(Text(n, 10, 2), "空　積");
  EXPECT_EQ(Text(n, 10, 3), "0.025～0.035");
  EXPECT_EQ(Text(n, 11, 0), "工 場 製 品");
  EXPECT_EQ(Text(n, 13, 1), "コルゲートパイプ");
  EXPECT_EQ(Text(n, 15, 0), "急流河川及川幅が広く水深の浅い河川");
  EXPECT_EQ(Text(n, 15, 3), "0.040～0.050");
  EXPECT_EQ(Text(n, 18, 0), "河川トンネル");
  EXPECT_EQ(Text(n, 18, 3), "0.023");

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
