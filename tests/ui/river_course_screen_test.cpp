#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include "fake_screen_host.h"
#include "ui/rainfall_intensity_screen.h"
#include "ui/river_course_screen.h"

namespace mk {
namespace {

class RiverCourseScreenTest : public ::testing::Test {
 protected:
  void open() {
    dialog = qobject_cast<RiverCourseScreen*>(host.screen("Form22"));
    ASSERT_NE(dialog, nullptr);
    dialog->open();
    QApplication::setActiveWindow(dialog);
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
  }
  EntryBox* box(const char* name) { return host.control<EntryBox>("Form22", name); }
  QRadioButton* option(const char* name) { return host.control<QRadioButton>("Form22", name); }
  QPushButton* button(const char* name) { return host.control<QPushButton>("Form22", name); }

  testing::FakeScreenHost host;
  RiverCourseScreen* dialog = nullptr;
};

TEST_F(RiverCourseScreenTest, OkChecksTheChoiceAndTheTwoBoxes) {
  open();
  EXPECT_EQ(dialog->windowTitle(), "ミルカナ");
  button("cmd1")->click();
  EXPECT_EQ(host.prompter_.lastText(), "開発の前または後を選択してください。");
  EXPECT_TRUE(option("opt1")->hasFocus());
  option("opt1")->click();
  button("cmd1")->click();
  EXPECT_EQ(host.prompter_.lastText(), "河道延長を入力してください。");
  EXPECT_TRUE(box("txt1")->hasFocus());
  QTest::keyClicks(box("txt1"), "2");
  button("cmd1")->click();
  EXPECT_EQ(host.prompter_.lastText(), "河道の勾配を入力してください。");
  EXPECT_TRUE(box("txt2")->hasFocus());
  QTest::keyClicks(box("txt2"), "0.005");
  button("cmd1")->click();
  EXPECT_EQ(host.prompter_.requests.size(), 3);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_TRUE(host.record().river.opt1);
  EXPECT_EQ(host.record().river.txt2, "0.005");
}

TEST_F(RiverCourseScreenTest, EnterMovesToOk) {
  open();
  box("txt1")->setFocus();
  QTest::keyClick(box("txt1"), Qt::Key_Return);
  EXPECT_TRUE(box("txt2")->hasFocus());
  QTest::keyClick(box("txt2"), Qt::Key_Return);
  EXPECT_TRUE(button("cmd1")->hasFocus());
  EXPECT_TRUE(host.prompter_.requests.isEmpty());
}

TEST_F(RiverCourseScreenTest, CancelLeavesRiverCourseMode) {
  auto* intensity = qobject_cast<RainfallIntensityScreen*>(host.showScreen("Form12", 0, 0));
  ASSERT_NE(intensity, nullptr);
  IntensityScreenInputs& s = host.record().intensity;
  intensity->findChild<QRadioButton*>("opt1")->click();
  intensity->findChild<QRadioButton*>("Option4")->click();
  intensity->findChild<QCheckBox*>("chk1")->click();
  ASSERT_TRUE(IsRiverCourseMode(s));
  intensity->findChild<QPushButton*>("Command1")->click();
  dialog = qobject_cast<RiverCourseScreen*>(host.findScreen("Form22"));
  ASSERT_NE(dialog, nullptr);
  option("opt2")->click();
  QTest::keyClicks(box("txt1"), "1");

  button("cmd2")->click();
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_FALSE(host.record().river.opt2);
  EXPECT_EQ(host.record().river.txt1, "");
  EXPECT_EQ(s.chk1, 0);
  EXPECT_EQ(s.lbl1, "");
  EXPECT_TRUE(s.Option6);
  EXPECT_FALSE(s.Option5);
  EXPECT_FALSE(s.Option7 || s.Option8);
  EXPECT_EQ(s.txt9, "");
  auto visible = [&](const char* name) { return intensity->findChild<QWidget*>(name)->isVisibleTo(intensity); };
  EXPECT_FALSE(intensity->findChild<QCheckBox*>("chk1")->isChecked());
  EXPECT_FALSE(visible("lbl1"));
  EXPECT_FALSE(visible("Command1"));
  EXPECT_TRUE(visible("txt4"));
  EXPECT_TRUE(visible("txt5"));
  EXPECT_FALSE(intensity->findChild<EntryBox*>("txt5")->isBordered());
  EXPECT_FALSE(intensity->findChild<EntryBox*>("txt9")->isBordered());
  EXPECT_EQ(intensity->focusWidget(), intensity->findChild<QWidget*>("txt4"));
}

TEST_F(RiverCourseScreenTest, ASlopeWithoutALengthAsksForTheLength) {
  open();
  option("opt2")->click();
  QTest::keyClicks(box("txt2"), "0.005");
  button("cmd1")->click();
  EXPECT_EQ(host.prompter_.lastText(), "河道延長を入力してください。");
  EXPECT_TRUE(box("txt1")->hasFocus());
  EXPECT_TRUE(dialog->isVisible());
}

}  // namespace
}  // namespace mk
