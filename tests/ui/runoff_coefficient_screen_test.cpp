#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "fake_screen_host.h"
#include "ui/main_input_screen.h"
#include "ui/runoff_coefficient_screen.h"

namespace mk {
namespace {

const QString kNoticeN1 =
    QStringLiteral("計画雨水、汚水量の計算 及び 粗度係数（ｎ）は、各地域の開発指導要綱等による事｡");

class RunoffCoefficientScreenTest : public ::testing::Test {
 protected:
  void open() {
    OpenRunoffScreen(host);
    screen = qobject_cast<RunoffCoefficientScreen*>(host.findScreen("Form16"));
    ASSERT_NE(screen, nullptr);
    QApplication::setActiveWindow(screen->window());
    ASSERT_TRUE(QTest::qWaitForWindowActive(screen->window()));
  }
  EntryBox* box(const QString& name) { return host.control<EntryBox>("Form16", name); }
  QCheckBox* check(const char* name) { return host.control<QCheckBox>("Form16", name); }
  void tick(const char* name) {
    // On the tick mark itself: a box wider than its caption only reacts there.
    QCheckBox* box = check(name);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
  }
  QStringList names() {
    QStringList list;
    for (int row = 1; row <= 6; ++row) list << box(QStringLiteral("txt_t%1").arg(row))->text();
    return list;
  }
  void ok() { host.control<QPushButton>("Form16", "cmd1")->click(); }

  testing::FakeScreenHost host;
  RunoffCoefficientScreen* screen = nullptr;
};

TEST_F(RunoffCoefficientScreenTest, OpeningHidesTheToolbarAndShowsTheCatalogue) {
  host.record().run.exists = true;
  open();
  EXPECT_TRUE(screen->isVisible());
  EXPECT_FALSE(host.toolbarVisible);
  EXPECT_EQ(host.statusNotice(), QStringLiteral("流出係数(Ｃ)は、各地域の開発指導要綱等による事｡"));
  EXPECT_FALSE(host.record().run.exists);
  EXPECT_EQ(screen->findChildren<QCheckBox*>().size(), 19);
  EXPECT_EQ(check("chk_t7")->text(), QStringLiteral("ｺﾞﾙﾌ場等の造成地域"));
  // The reference coefficients are plain labels beside the boxes.
  QStringList labels;
  for (auto* label : screen->findChildren<QLabel*>()) labels << label->text();
  EXPECT_TRUE(labels.contains(QStringLiteral("0.85～0.95")));
  EXPECT_TRUE(labels.contains(QStringLiteral("0.9～1.0")));
  EXPECT_TRUE(labels.contains(
      QStringLiteral("（例：①④の場合は④を消して②に、①②④⑤の場合は⑤を消して③に入れてください。）")));
  EXPECT_EQ(labels.count(QStringLiteral("流域面積(m2)")), 2);
}

TEST_F(RunoffCoefficientScreenTest, TicksFillTheFirstEmptyRowAndUnticksClearTheirRow) {
  open();
  tick("chk_k1");
  tick("chk_k6");
  EXPECT_EQ(names().mid(0, 3), (QStringList{"屋　根", "芝､樹木の多い公園", ""}));
  EXPECT_EQ(host.record().runoff.txt_t[1], "芝､樹木の多い公園");
  EXPECT_EQ(host.record().runoff.checks[5], 1);

  // A gap left by hand is filled first.
  QTest::keyClicks(box("txt_t3"), "A");
  box("txt_t2")->clear();
  host.record().runoff.txt_t[1].clear();
  tick("chk_t4");
  EXPECT_EQ(names().mid(0, 3), (QStringList{"屋　根", "水  田", "A"}));

  // Unticking clears name, coefficient and area of the first row with its text.
  QTest::keyClicks(box("txt_c1"), "0.9");
  QTest::keyClicks(box("txt_a1"), "500");
  tick("chk_k1");
  EXPECT_EQ(box("txt_t1")->text(), "");
  EXPECT_EQ(box("txt_c1")->text(), "");
  EXPECT_EQ(host.record().runoff.txt_a[0], "");
  EXPECT_FALSE(check("chk_k1")->isChecked());
}

TEST_F(RunoffCoefficientScreenTest, AFailedCheckFocusesItsBoxWithTheCaretAtTheStart) {
  open();
  tick("chk_k1");
  QTest::keyClicks(box("txt_c1"), "0.9");
  QTest::keyClicks(box("txt_a1"), "m2 500");
  ok();
  EXPECT_EQ(host.prompter_.lastText(), "流域面積を入力してください。");
  EXPECT_TRUE(box("txt_a1")->hasFocus());
  EXPECT_EQ(box("txt_a1")->cursorPosition(), 0);
  EXPECT_TRUE(screen->isVisible());
  EXPECT_EQ(host.record().main.txt_c, "");
  // The copied values are taken even when a check fails.
  EXPECT_EQ(host.record().derived.runoff.C[0], 0.9);
}

TEST_F(RunoffCoefficientScreenTest, OkWritesTheWeightedValuesAndReturnsToTheMainScreen) {
  auto* main = qobject_cast<MainInputScreen*>(host.showScreen("Form25", 0, 0));
  ASSERT_NE(main, nullptr);
  open();
  tick("chk_k1");
  tick("chk_k6");
  QTest::keyClicks(box("txt_c1"), "0.9");
  QTest::keyClicks(box("txt_a1"), "500");
  QTest::keyClicks(box("txt_c2"), "0.2");
  QTest::keyClicks(box("txt_a2"), "1500");
  host.referenceMenuEnabled = false;
  const int discards = host.discardCount;
  ok();
  EXPECT_TRUE(host.prompter_.requests.isEmpty());
  EXPECT_EQ(host.record().main.txt_c, "0.375");
  EXPECT_EQ(host.record().main.txt_a, "2000.00");
  EXPECT_TRUE(host.record().main.opt6);
  EXPECT_FALSE(host.record().main.opt5);
  EXPECT_FALSE(screen->isVisible());
  EXPECT_GT(host.discardCount, discards);
  EXPECT_TRUE(host.toolbarVisible);
  EXPECT_TRUE(host.referenceMenuEnabled);
  EXPECT_EQ(host.statusNotice(), kNoticeN1);
  EXPECT_EQ(host.lastFocusRequest, "Form25.Command1");
  EXPECT_FALSE(main->isEntryBordered("txt_c"));
  EXPECT_FALSE(main->isEntryBordered("txt_a"));
  EXPECT_EQ(host.control<QLineEdit>("Form25", "txt_c")->text(), "0.375");

  // The rows stay for the next opening.
  open();
  EXPECT_EQ(box("txt_a2")->text(), "1500");
  EXPECT_TRUE(check("chk_k6")->isChecked());
}

TEST_F(RunoffCoefficientScreenTest, CancelHidesAndKeepsEverything) {
  host.record().main.txt_c = "0.5";
  open();
  tick("chk_u1");
  host.control<QPushButton>("Form16", "cmd2")->click();
  EXPECT_FALSE(screen->isVisible());
  EXPECT_TRUE(host.toolbarVisible);
  EXPECT_EQ(host.statusNotice(), kNoticeN1);
  EXPECT_EQ(host.record().main.txt_c, "0.5");
  open();
  EXPECT_EQ(box("txt_t1")->text(), QStringLiteral("林　地"));

  DiscardRunoffScreen(host);
  EXPECT_EQ(host.findScreen("Form16"), nullptr);
  open();
  EXPECT_EQ(box("txt_t1")->text(), "");
  EXPECT_FALSE(check("chk_u1")->isChecked());
}

TEST_F(RunoffCoefficientScreenTest, NegativeAreasSummingToZeroAreRefused) {
  open();
  tick("chk_k1");
  QTest::keyClicks(box("txt_c1"), "0.9");
  QTest::keyClicks(box("txt_a1"), "500");
  QTest::keyClicks(box("txt_a2"), "-500");
  ok();
  EXPECT_EQ(host.prompter_.requests.size(), 1);
  EXPECT_TRUE(screen->isVisible());
  EXPECT_EQ(host.record().main.txt_c, "");
  EXPECT_FALSE(host.record().main.opt6);
}

}  // namespace
}  // namespace mk
