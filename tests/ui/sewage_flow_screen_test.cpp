#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include "fake_screen_host.h"
#include "ui/sewage_flow_screen.h"

namespace mk {
namespace {

const QString kNoticeN4 =
    QStringLiteral("地下水混入率、計画汚水量の割増し 及び 粗度係数(ｎ)は、各地域の開発指導要綱等による事｡");

class SewageFlowScreenTest : public ::testing::Test {
 protected:
  void open() {
    OpenSewageScreen(host);
    dialog = qobject_cast<SewageFlowScreen*>(host.findScreen("Form28"));
    ASSERT_NE(dialog, nullptr);
    QApplication::setActiveWindow(dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
  }
  EntryBox* box(const char* name) { return host.control<EntryBox>("Form28", name); }
  QRadioButton* option(const char* name) { return host.control<QRadioButton>("Form28", name); }
  QPushButton* button(const char* name) { return host.control<QPushButton>("Form28", name); }
  bool populationEnabled() { return box("txt_p")->isEnabled() && box("txt_q1")->isEnabled(); }
  bool areaEnabled() { return box("txt_a")->isEnabled() && box("txt_q2")->isEnabled(); }

  testing::FakeScreenHost host;
  SewageFlowScreen* dialog = nullptr;
};

TEST_F(SewageFlowScreenTest, OpeningChoosesResidentialAndEmptiesTheMainFlow) {
  host.record().main.txt3 = "0.0100";
  host.record().main.opt8 = true;
  host.record().main.opt7 = false;
  open();
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_TRUE(host.record().main.opt7);
  EXPECT_FALSE(host.record().main.opt8);
  EXPECT_EQ(host.record().main.txt3, "");
  EXPECT_TRUE(option("opt1")->isChecked());
  EXPECT_TRUE(host.record().sewage.opt1);
  EXPECT_TRUE(populationEnabled());
  EXPECT_FALSE(areaEnabled());
  EXPECT_EQ(box("txt_q1")->parentWidget()->findChildren<QLabel*>().size(), 6);
}

TEST_F(SewageFlowScreenTest, EachClassEmptiesAllBoxesAndEnablesItsBlocks) {
  open();
  QTest::keyClicks(box("txt_p"), "100");
  QTest::keyClicks(box("txt_q1"), "5000");
  EXPECT_EQ(host.record().sewage.txt_p, "100");

  option("opt2")->click();
  EXPECT_TRUE(host.record().sewage.opt2);
  EXPECT_EQ(box("txt_p")->text(), "");
  EXPECT_EQ(host.record().sewage.txt_q1, "");
  EXPECT_TRUE(populationEnabled());
  EXPECT_TRUE(areaEnabled());

  QTest::keyClicks(box("txt_a"), "5000");
  option("opt3")->click();
  EXPECT_EQ(box("txt_a")->text(), "");
  EXPECT_FALSE(populationEnabled());
  EXPECT_TRUE(areaEnabled());

  // Clicking the class already chosen keeps what was typed.
  QTest::keyClicks(box("txt_a"), "10000");
  option("opt3")->click();
  EXPECT_EQ(box("txt_a")->text(), "10000");
}

// The checks per class are the calculation's; here the message box and the
// focus that follow a failed check.
TEST_F(SewageFlowScreenTest, AFailedCheckFocusesItsBox) {
  open();
  QTest::keyClicks(box("txt_p"), "0");  // "0" is not empty
  button("cmd1")->click();
  EXPECT_EQ(host.prompter_.lastText(), "計画時間最大汚水量（１人１日当り）を入力してください。");
  EXPECT_EQ(host.prompter_.requests.last().title, "エラーメッセージ");
  EXPECT_TRUE(box("txt_q1")->hasFocus());
  EXPECT_TRUE(dialog->isVisible());

  option("opt3")->click();
  button("cmd1")->click();
  EXPECT_EQ(host.prompter_.lastText(), "排水面積を入力してください。");
  EXPECT_TRUE(box("txt_a")->hasFocus());
  EXPECT_EQ(host.record().main.txt3, "");
}

TEST_F(SewageFlowScreenTest, OkWritesTheFlowAndTheScreenKeepsItsEntries) {
  open();
  const int discards = host.discardCount;
  QTest::keyClicks(box("txt_p"), "100");
  QTest::keyClicks(box("txt_q1"), "5000");
  button("cmd1")->click();
  EXPECT_TRUE(host.prompter_.requests.isEmpty());
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(host.record().main.txt3, "0.0058");
  EXPECT_NEAR(host.record().derived.sewage.Q, 500000.0 / 86400000.0, 1e-15);
  EXPECT_GT(host.discardCount, discards);
  EXPECT_EQ(host.statusNotice(), kNoticeN4);

  // A later opening (also in a later project) finds class and entries.
  CloseProjectGroups(host.record());
  open();
  EXPECT_TRUE(option("opt1")->isChecked());
  EXPECT_EQ(box("txt_p")->text(), "100");
  EXPECT_EQ(box("txt_q1")->text(), "5000");
}

TEST_F(SewageFlowScreenTest, CancelForgetsTheEntriesAndLeavesTheMainFlowEmpty) {
  host.record().main.txt3 = "0.0100";
  open();
  option("opt2")->click();
  QTest::keyClicks(box("txt_p"), "100");
  button("cmd2")->click();
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(host.record().main.txt3, "");
  EXPECT_FALSE(host.record().sewage.opt2);
  EXPECT_EQ(host.record().sewage.txt_p, "");
  EXPECT_EQ(host.statusNotice(), kNoticeN4);

  open();
  EXPECT_TRUE(option("opt1")->isChecked());
  EXPECT_EQ(box("txt_p")->text(), "");
}

TEST_F(SewageFlowScreenTest, EnterFollowsTheClass) {
  open();
  option("opt1")->setFocus();
  QTest::keyClick(option("opt1"), Qt::Key_Return);
  EXPECT_TRUE(box("txt_p")->hasFocus());
  QTest::keyClick(box("txt_p"), Qt::Key_Return);
  EXPECT_TRUE(box("txt_q1")->hasFocus());
  QTest::keyClick(box("txt_q1"), Qt::Key_Return);
  EXPECT_TRUE(button("cmd1")->hasFocus());
  EXPECT_TRUE(host.prompter_.requests.isEmpty());

  option("opt2")->click();
  box("txt_q1")->setFocus();
  QTest::keyClick(box("txt_q1"), Qt::Key_Return);
  EXPECT_TRUE(box("txt_a")->hasFocus());
  QTest::keyClick(box("txt_a"), Qt::Key_Return);
  EXPECT_TRUE(box("txt_q2")->hasFocus());
  QTest::keyClick(box("txt_q2"), Qt::Key_Return);
  EXPECT_TRUE(button("cmd1")->hasFocus());
  // Enter on the focused OK presses it.
  QTest::keyClick(button("cmd1"), Qt::Key_Return);
  EXPECT_EQ(host.prompter_.lastText(), "計画人口を入力してください。");

  option("opt3")->click();
  option("opt3")->setFocus();
  QTest::keyClick(option("opt3"), Qt::Key_Return);
  EXPECT_TRUE(box("txt_a")->hasFocus());
}

TEST_F(SewageFlowScreenTest, DirectEntryDiscardsTheScreenAndItsNumbers) {
  open();
  QTest::keyClicks(box("txt_p"), "100");
  QTest::keyClicks(box("txt_q1"), "5000");
  button("cmd1")->click();
  DiscardSewageScreen(host);
  EXPECT_EQ(host.findScreen("Form28"), nullptr);
  EXPECT_TRUE(host.record().main.opt8);
  EXPECT_EQ(host.record().sewage.txt_p, "");
  EXPECT_EQ(host.record().derived.sewage.P, 0.0);
  EXPECT_EQ(host.statusNotice(), kNoticeN4);
}

TEST_F(SewageFlowScreenTest, AFlowTooLargeToComputeIsRefusedForEachClass) {
  open();
  const QString huge(200, QLatin1Char('9'));  // about 1e200: the product is beyond the largest double
  struct Case {
    const char* option;
    const char* focus;
  };
  for (const Case& c : {Case{"opt1", "txt_p"}, Case{"opt2", "txt_p"}, Case{"opt3", "txt_a"}}) {
    option(c.option)->click();
    for (const char* name : {"txt_p", "txt_q1", "txt_a", "txt_q2"})
      if (box(name)->isEnabled()) QTest::keyClicks(box(name), huge);
    host.prompter_.clear();
    button("cmd1")->click();
    EXPECT_EQ(host.prompter_.lastText(), "値が大きすぎるため、計画汚水量を計算できません。入力値を確認してください。")
        << c.option;
    EXPECT_TRUE(box(c.focus)->hasFocus()) << c.option;
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(host.record().main.txt3, "");
  }
}

}  // namespace
}  // namespace mk
