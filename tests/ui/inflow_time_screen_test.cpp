#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "fake_screen_host.h"
#include "ui/inflow_time_screen.h"

namespace mk {
namespace {

class InflowTimeScreenTest : public ::testing::Test {
 protected:
  void open() {
    dialog = qobject_cast<InflowTimeScreen*>(host.screen("Form13"));
    ASSERT_NE(dialog, nullptr);
    dialog->open();
    QApplication::setActiveWindow(dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
  }
  EntryBox* box(const char* name) { return host.control<EntryBox>("Form13", name); }
  QPushButton* button(const char* name) { return host.control<QPushButton>("Form13", name); }

  testing::FakeScreenHost host;
  InflowTimeScreen* dialog = nullptr;
};

TEST_F(InflowTimeScreenTest, OkChecksThenReturnsT1) {
  open();
  QTest::keyClicks(box("txt1"), "50");
  button("cmd1")->click();
  EXPECT_EQ(host.prompter_.lastText(), "斜面勾配を入力してください。");
  EXPECT_TRUE(box("txt2")->hasFocus());
  EXPECT_TRUE(dialog->isVisible());

  QTest::keyClicks(box("txt2"), "20");
  QTest::keyClicks(box("txt3"), "0.02");
  button("cmd1")->click();
  EXPECT_EQ(host.prompter_.requests.size(), 1);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(host.record().intensity.txt3, "3.59");
  EXPECT_TRUE(host.record().intensity.Option2);
  // OK hides the screen: its entries are there at the next opening.
  open();
  EXPECT_EQ(box("txt1")->text(), "50");
}

TEST_F(InflowTimeScreenTest, AZeroSlopeIsRefusedWithoutChangingT1) {
  host.record().intensity.txt3 = "7.5";
  open();
  QTest::keyClicks(box("txt1"), "100");
  QTest::keyClicks(box("txt2"), "0");
  QTest::keyClicks(box("txt3"), "0.4");
  button("cmd1")->click();
  EXPECT_EQ(host.prompter_.requests.size(), 1);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_TRUE(box("txt2")->hasFocus());
  EXPECT_EQ(host.record().intensity.txt3, "7.5");
}

TEST_F(InflowTimeScreenTest, EnterMovesToOkAndCancelForgetsTheEntries) {
  open();
  box("txt1")->setFocus();
  QTest::keyClick(box("txt1"), Qt::Key_Return);
  EXPECT_TRUE(box("txt2")->hasFocus());
  QTest::keyClick(box("txt2"), Qt::Key_Return);
  EXPECT_TRUE(box("txt3")->hasFocus());
  QTest::keyClick(box("txt3"), Qt::Key_Return);
  EXPECT_TRUE(button("cmd1")->hasFocus());
  EXPECT_TRUE(host.prompter_.requests.isEmpty());

  QTest::keyClicks(box("txt1"), "100");
  host.record().intensity.txt3 = "23.65";
  button("cmd2")->click();
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(host.record().inflow.txt1, "");
  EXPECT_EQ(host.record().intensity.txt3, "23.65");
  open();
  EXPECT_EQ(box("txt1")->text(), "");
}

TEST_F(InflowTimeScreenTest, ShowsTheRetardanceTable) {
  open();
  QStringList labels;
  for (auto* label : dialog->findChildren<QLabel*>()) labels << label->text();
  EXPECT_EQ(labels.count(QStringLiteral("地　覆　状　態")), 2);
  EXPECT_TRUE(labels.contains(QStringLiteral("森林地（落葉樹、深い落葉等堆植地）")));
  EXPECT_EQ(labels.count(QStringLiteral("0.80")), 3);
}

}  // namespace
}  // namespace mk
