#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include "calc/intensity.h"
#include "fake_screen_host.h"
#include "ui/main_input_screen.h"
#include "ui/rainfall_intensity_screen.h"

namespace mk {
namespace {

const QString kNoticeN1 =
    QStringLiteral("計画雨水、汚水量の計算 及び 粗度係数（ｎ）は、各地域の開発指導要綱等による事｡");
const QString kNoticeN2 =
    QStringLiteral("雨量強度式 及び 到達時間 （ｔ） の計算は、各地域の開発指導要綱等による事｡");

class RainfallIntensityScreenTest : public ::testing::Test {
 protected:
  void open() {
    OpenIntensityScreen(host);
    screen = qobject_cast<RainfallIntensityScreen*>(host.findScreen("Form12"));
    ASSERT_NE(screen, nullptr);
    QApplication::setActiveWindow(screen->window());
    ASSERT_TRUE(QTest::qWaitForWindowActive(screen->window()));
  }
  EntryBox* box(const char* name) { return host.control<EntryBox>("Form12", name); }
  QRadioButton* option(const char* name) { return host.control<QRadioButton>("Form12", name); }
  QPushButton* button(const char* name) { return host.control<QPushButton>("Form12", name); }
  QWidget* widget(const char* name) { return host.control<QWidget>("Form12", name); }
  // Visible as far as the screen is concerned (the screen itself may be hidden).
  bool shown(QWidget* w) { return w->isVisibleTo(screen); }
  bool shown(const char* name) { return shown(widget(name)); }
  QGroupBox* frame(const QString& title) {
    for (auto* f : screen->findChildren<QGroupBox*>())
      if (f->title() == title) return f;
    return nullptr;
  }
  void ok() { button("cmd1")->click(); }
  void type(const char* name, const char* text) { QTest::keyClicks(box(name), text); }
  // Formula, constants and t typed; t direct.
  void typedTime(const char* formula, const char* a, const char* b, const char* t) {
    option(formula)->click();
    type("txt1", a);
    type("txt2", b);
    option("Option3")->click();
    type("txt8", t);
  }

  testing::FakeScreenHost host;
  RainfallIntensityScreen* screen = nullptr;
};

TEST_F(RainfallIntensityScreenTest, AFreshScreenOpensWithTheTimeFramesHiddenAndFocusOnOk) {
  open();
  EXPECT_FALSE(host.toolbarVisible);
  EXPECT_EQ(host.statusNotice(), kNoticeN2);
  // No formula: Option4 is deselected, so t1 and t2 are hidden.
  EXPECT_FALSE(host.record().intensity.Option4);
  EXPECT_FALSE(option("Option4")->isChecked());
  EXPECT_FALSE(option("Option3")->isChecked());
  EXPECT_FALSE(shown(frame(QStringLiteral("流 入 時 間 (t1)"))));
  EXPECT_FALSE(shown(frame(QStringLiteral("流 下 時 間 (t2)"))));
  EXPECT_FALSE(shown("txt6"));
  EXPECT_FALSE(shown("txt7"));
  EXPECT_TRUE(shown("txt8"));
  EXPECT_FALSE(box("txt8")->isBordered());
  EXPECT_TRUE(button("cmd1")->hasFocus());
  // The reference table's rows.
  QStringList labels;
  for (auto* label : screen->findChildren<QLabel*>()) labels << label->text();
  EXPECT_TRUE(labels.contains(QStringLiteral("人口密度が小さい地区")));
  EXPECT_TRUE(labels.contains(QStringLiteral("１０分")));
}

TEST_F(RainfallIntensityScreenTest, ChoosingAFormulaEmptiesTheConstantsAndShowsCAndDForFiveAndSix) {
  open();
  option("opt5")->click();
  EXPECT_TRUE(shown("txt6"));
  EXPECT_TRUE(shown("txt7"));
  EXPECT_TRUE(box("txt6")->isBordered());
  type("txt1", "500");
  type("txt2", "1");
  type("txt6", "2");
  type("txt7", "1");
  EXPECT_EQ(host.record().intensity.txt6, "2");
  option("opt1")->click();
  for (const char* name : {"txt1", "txt2", "txt6", "txt7"}) EXPECT_EQ(box(name)->text(), "") << name;
  EXPECT_EQ(host.record().intensity.txt1, "");
  EXPECT_FALSE(shown("txt6"));
  EXPECT_TRUE(host.record().intensity.opt1);
  EXPECT_FALSE(host.record().intensity.opt5);
}

TEST_F(RainfallIntensityScreenTest, EachFormulaOptionSelectsTheFormulaItsCaptionNumbers) {
  open();
  const std::pair<QString, IntensityFormula> captions[] = {
      {QStringLiteral("①"), IntensityFormula::One},  {QStringLiteral("②"), IntensityFormula::Two},
      {QStringLiteral("③"), IntensityFormula::Three}, {QStringLiteral("④"), IntensityFormula::Four},
      {QStringLiteral("⑤"), IntensityFormula::Five},  {QStringLiteral("⑥"), IntensityFormula::Six}};
  for (const auto& [caption, formula] : captions) {
    QRadioButton* clicked = nullptr;
    for (auto* o : screen->findChildren<QRadioButton*>())
      if (o->text() == caption) clicked = o;
    ASSERT_NE(clicked, nullptr) << caption.toStdString();
    QTest::mouseClick(clicked, Qt::LeftButton, {}, QPoint(8, clicked->height() / 2));
    EXPECT_EQ(ChosenFormula(host.record().intensity), formula) << caption.toStdString();
    EXPECT_TRUE(clicked->isChecked());
    EXPECT_EQ(shown("txt6"), caption == QStringLiteral("⑤") || caption == QStringLiteral("⑥"));
  }
}

TEST_F(RainfallIntensityScreenTest, TimeChoicesShowTheirFramesAndSwitchTheEntryStyle) {
  open();
  option("opt1")->click();
  option("Option4")->click();
  const IntensityScreenInputs& s = host.record().intensity;
  EXPECT_TRUE(shown(frame(QStringLiteral("流 入 時 間 (t1)"))));
  EXPECT_TRUE(shown(frame(QStringLiteral("流 下 時 間 (t2)"))));
  EXPECT_FALSE(shown("txt4"));
  EXPECT_FALSE(shown(frame(QStringLiteral("流　速"))));
  EXPECT_FALSE(box("txt3")->isBordered());
  EXPECT_FALSE(box("txt9")->isBordered());

  option("Option1")->click();
  EXPECT_TRUE(box("txt3")->isBordered());
  EXPECT_TRUE(box("txt3")->hasFocus());

  option("Option6")->click();
  EXPECT_TRUE(shown("txt4"));
  EXPECT_TRUE(shown("txt5"));
  EXPECT_FALSE(box("txt5")->isBordered());
  EXPECT_FALSE(box("txt9")->isBordered());
  option("Option7")->click();
  EXPECT_TRUE(box("txt5")->isBordered());
  EXPECT_TRUE(box("txt5")->hasFocus());
  type("txt4", "600");
  type("txt5", "1.0");

  option("Option5")->click();
  EXPECT_FALSE(shown("txt4"));
  EXPECT_FALSE(s.Option7);
  EXPECT_EQ(s.txt4, "");
  EXPECT_EQ(s.txt5, "");
  EXPECT_TRUE(box("txt9")->isBordered());
  EXPECT_TRUE(box("txt9")->hasFocus());

  // Clicking a computed box switches to typing it.
  option("Option6")->click();
  QTest::mouseClick(box("txt9"), Qt::LeftButton);
  EXPECT_TRUE(s.Option5);
  EXPECT_TRUE(box("txt9")->isBordered());

  option("Option3")->click();
  EXPECT_FALSE(shown(frame(QStringLiteral("流 入 時 間 (t1)"))));
  EXPECT_TRUE(box("txt8")->isBordered());
  EXPECT_TRUE(box("txt8")->hasFocus());
  EXPECT_FALSE(s.Option6);

  type("txt8", "10");
  option("Option4")->click();
  EXPECT_EQ(s.txt8, "");
  EXPECT_FALSE(box("txt8")->isBordered());
  EXPECT_FALSE(s.Option1);
  EXPECT_FALSE(s.Option5);
}

TEST_F(RainfallIntensityScreenTest, ClickingAComputedBoxChoosesItsDirectEntry) {
  open();
  option("opt1")->click();
  option("Option4")->click();
  option("Option2")->click();
  option("Option6")->click();
  const IntensityScreenInputs& s = host.record().intensity;
  host.record().inflow.txt1 = "100";
  host.screen("Form13");

  // t1: the inflow-time screen is forgotten.
  QTest::mouseClick(box("txt3"), Qt::LeftButton);
  EXPECT_TRUE(s.Option1);
  EXPECT_FALSE(s.Option2);
  EXPECT_TRUE(box("txt3")->isBordered());
  EXPECT_EQ(host.findScreen("Form13"), nullptr);
  EXPECT_EQ(host.record().inflow.txt1, "");

  QTest::mouseClick(box("txt5"), Qt::LeftButton);
  EXPECT_TRUE(s.Option7);
  EXPECT_TRUE(box("txt5")->isBordered());

  QTest::mouseClick(box("txt8"), Qt::LeftButton);
  EXPECT_TRUE(s.Option3);
  EXPECT_FALSE(s.Option4);
  EXPECT_TRUE(box("txt8")->isBordered());
  EXPECT_FALSE(shown(frame(QStringLiteral("流 入 時 間 (t1)"))));
}

TEST_F(RainfallIntensityScreenTest, RiverCourseTickAndUntick) {
  open();
  option("opt1")->click();
  option("Option4")->click();
  option("Option6")->click();
  option("Option7")->click();
  type("txt4", "600");
  type("txt5", "1.0");
  auto* chk1 = host.control<QCheckBox>("Form12", "chk1");
  chk1->click();
  const IntensityScreenInputs& s = host.record().intensity;
  EXPECT_TRUE(s.Option6);
  EXPECT_FALSE(s.Option7);
  EXPECT_EQ(s.txt4, "");
  EXPECT_EQ(s.txt5, "");
  EXPECT_FALSE(shown("txt4"));
  EXPECT_FALSE(shown(frame(QStringLiteral("流　速"))));
  EXPECT_TRUE(shown("Command1"));
  EXPECT_TRUE(shown("lbl1"));
  EXPECT_EQ(host.control<QLabel>("Form12", "lbl1")->text(),
            QStringLiteral("茨城県宅地開発関係資料集による(茨城県土木部都市局建築指導課)"));

  // The river-course screen keeps its entries until "茨城県" is unticked.
  button("Command1")->click();
  auto* river = qobject_cast<QDialog*>(host.findScreen("Form22"));
  ASSERT_NE(river, nullptr);
  EXPECT_TRUE(river->isVisible());
  QTest::keyClicks(river->findChild<QLineEdit*>("txt1"), "1");
  river->findChild<QRadioButton*>("opt2")->click();
  QTest::keyClicks(river->findChild<QLineEdit*>("txt2"), "0.01");
  river->findChild<QPushButton*>("cmd1")->click();
  EXPECT_FALSE(river->isVisible());
  EXPECT_EQ(host.record().river.txt1, "1");

  QApplication::setActiveWindow(screen->window());
  chk1->click();
  EXPECT_EQ(s.chk1, 0);
  EXPECT_TRUE(s.Option5);
  EXPECT_FALSE(s.Option6);
  EXPECT_EQ(s.lbl1, "");
  EXPECT_FALSE(shown("lbl1"));
  EXPECT_FALSE(shown("Command1"));
  EXPECT_TRUE(box("txt9")->isBordered());
  EXPECT_TRUE(box("txt9")->hasFocus());
  EXPECT_EQ(host.findScreen("Form22"), nullptr);
  EXPECT_EQ(host.record().river.txt1, "");
}

// The order and wording of the fourteen checks are the calculation's; here
// what the screen does besides the message: formula ① chosen, the focus on
// a box (caret at its start) or an option, the river-course screen opened.
TEST_F(RainfallIntensityScreenTest, FailedChecksFollowUpOnTheScreen) {
  open();
  ok();
  EXPECT_EQ(host.prompter_.lastText(), "降雨強度式を選択してください。");
  EXPECT_TRUE(option("opt1")->isChecked());
  EXPECT_TRUE(host.record().intensity.opt1);
  type("txt1", "5000");
  type("txt2", "40");
  option("opt1")->click();  // already chosen: the constants stay
  EXPECT_EQ(box("txt1")->text(), "5000");

  ok();
  EXPECT_EQ(host.prompter_.lastText(), "到達時間の計算方法を選択してください。");
  option("Option4")->click();
  option("Option1")->click();
  ok();
  EXPECT_EQ(host.prompter_.lastText(), "流入時間を入力してください。");
  EXPECT_TRUE(box("txt3")->hasFocus());
  type("txt3", "5");
  option("Option6")->click();
  type("txt4", "600");
  ok();
  EXPECT_EQ(host.prompter_.lastText(), "流速を仮定又は計算してください。");
  EXPECT_TRUE(option("Option7")->hasFocus());

  host.control<QCheckBox>("Form12", "chk1")->click();
  ok();
  EXPECT_EQ(host.prompter_.lastText(), "流下時間の項目を入力してください。");
  auto* river = qobject_cast<QDialog*>(host.findScreen("Form22"));
  ASSERT_NE(river, nullptr);
  EXPECT_TRUE(river->isVisible());
  for (const auto& request : host.prompter_.requests) EXPECT_EQ(request.title, "エラーメッセージ");
  EXPECT_TRUE(screen->isVisible());
  EXPECT_EQ(host.record().main.txt_i, "");
}

TEST_F(RainfallIntensityScreenTest, OkWritesTheIntensityAndReturnsToTheMainScreen) {
  auto* main = qobject_cast<MainInputScreen*>(host.showScreen("Form25", 0, 0));
  ASSERT_NE(main, nullptr);
  open();
  typedTime("opt1", "5000", "40", "10");
  host.record().run.exists = true;
  ok();
  EXPECT_TRUE(host.prompter_.requests.isEmpty());
  EXPECT_EQ(host.record().main.txt_i, "100.0");
  EXPECT_TRUE(host.record().main.opt4);
  EXPECT_FALSE(host.record().main.opt3);
  EXPECT_FALSE(host.record().run.exists);
  EXPECT_FALSE(screen->isVisible());
  EXPECT_TRUE(host.toolbarVisible);
  EXPECT_EQ(host.statusNotice(), kNoticeN1);
  EXPECT_EQ(host.lastFocusRequest, "Form25.lst_s");
  EXPECT_FALSE(main->isEntryBordered("txt_i"));
  EXPECT_EQ(host.control<QLineEdit>("Form25", "txt_i")->text(), "100.0");

  // The entries remain for the next opening, with the formula's layout.
  open();
  EXPECT_TRUE(option("opt1")->isChecked());
  EXPECT_EQ(box("txt8")->text(), "10");
  EXPECT_TRUE(box("txt8")->isBordered());
}

TEST_F(RainfallIntensityScreenTest, UndefinedArithmeticIsRefusedAndChangesNothing) {
  open();
  option("opt5")->click();
  type("txt1", "500");
  type("txt2", "1");
  type("txt6", "0");
  type("txt7", "1");
  option("Option3")->click();
  type("txt8", "25");
  host.record().main.txt_i = "50.0";
  ok();
  EXPECT_EQ(host.prompter_.requests.size(), 1);
  EXPECT_TRUE(box("txt6")->hasFocus());
  EXPECT_EQ(box("txt6")->cursorPosition(), 0);
  EXPECT_TRUE(screen->isVisible());
  EXPECT_EQ(host.record().main.txt_i, "50.0");
  EXPECT_FALSE(host.record().main.opt4);
}

TEST_F(RainfallIntensityScreenTest, CancelHidesAndKeepsTheMainScreen) {
  host.record().main.txt_i = "55.4";
  open();
  option("opt2")->click();
  host.referenceMenuEnabled = false;
  button("cmd2")->click();
  EXPECT_FALSE(screen->isVisible());
  EXPECT_TRUE(host.toolbarVisible);
  EXPECT_TRUE(host.referenceMenuEnabled);
  EXPECT_EQ(host.statusNotice(), kNoticeN1);
  EXPECT_EQ(host.record().main.txt_i, "55.4");
  EXPECT_TRUE(host.record().intensity.opt2);

  DiscardIntensityScreen(host);
  EXPECT_EQ(host.findScreen("Form12"), nullptr);
  EXPECT_FALSE(host.record().intensity.opt2);
}

TEST_F(RainfallIntensityScreenTest, EnterMovesThroughTheConstants) {
  open();
  option("opt1")->click();
  box("txt1")->setFocus();
  QTest::keyClick(box("txt1"), Qt::Key_Return);
  EXPECT_TRUE(box("txt2")->hasFocus());
  QTest::keyClick(box("txt2"), Qt::Key_Return);
  EXPECT_TRUE(option("Option3")->hasFocus());

  option("opt5")->click();
  box("txt2")->setFocus();
  QTest::keyClick(box("txt2"), Qt::Key_Return);
  EXPECT_TRUE(box("txt6")->hasFocus());
  QTest::keyClick(box("txt6"), Qt::Key_Return);
  EXPECT_TRUE(box("txt7")->hasFocus());
  // Enter elsewhere does nothing.
  QTest::keyClick(box("txt7"), Qt::Key_Return);
  EXPECT_TRUE(box("txt7")->hasFocus());
  EXPECT_EQ(box("txt7")->text(), "");
  EXPECT_TRUE(host.prompter_.requests.isEmpty());
}

TEST_F(RainfallIntensityScreenTest, KerbyInflowTimeComesBackRoundedAndComputed) {
  open();
  option("opt1")->click();
  option("Option4")->click();
  option("Option1")->click();
  button("Command4")->click();
  auto* inflow = qobject_cast<QDialog*>(host.findScreen("Form13"));
  ASSERT_NE(inflow, nullptr);
  EXPECT_TRUE(inflow->isVisible());
  EXPECT_EQ(inflow->windowTitle(), "ミルカナ");
  QTest::keyClicks(inflow->findChild<QLineEdit*>("txt1"), "100");
  QTest::keyClicks(inflow->findChild<QLineEdit*>("txt2"), "10");
  QTest::keyClicks(inflow->findChild<QLineEdit*>("txt3"), "0.4");
  inflow->findChild<QPushButton*>("cmd1")->click();
  EXPECT_FALSE(inflow->isVisible());
  EXPECT_EQ(box("txt3")->text(), "23.65");
  EXPECT_TRUE(option("Option2")->isChecked());
  EXPECT_FALSE(option("Option1")->isChecked());
  EXPECT_FALSE(box("txt3")->isBordered());
  EXPECT_EQ(host.record().inflowCopies.slopeLength, " 100 ");

  // Choosing direct entry of t1 forgets the inflow-time screen.
  option("Option1")->click();
  EXPECT_EQ(host.findScreen("Form13"), nullptr);
  EXPECT_EQ(host.record().inflow.txt1, "");
  EXPECT_EQ(box("txt3")->text(), "23.65");
}

TEST_F(RainfallIntensityScreenTest, TheFlowTimeVelocityComesBackComputed) {
  open();
  option("opt1")->click();
  option("Option4")->click();
  option("Option6")->click();
  option("Option7")->click();
  type("txt5", "2");
  host.setStatusNotice(QString());
  screen->acceptFlowTimeVelocity(1.5);
  EXPECT_EQ(box("txt5")->text(), "1.50");
  EXPECT_EQ(host.record().intensity.txt5, "1.50");
  EXPECT_TRUE(option("Option8")->isChecked());
  EXPECT_FALSE(host.record().intensity.Option7);
  EXPECT_FALSE(box("txt5")->isBordered());
  EXPECT_EQ(host.statusNotice(), kNoticeN2);
}

TEST_F(RainfallIntensityScreenTest, CalculatingTheVelocityOpensTheSelectionScreen) {
  open();
  option("opt1")->click();
  option("Option4")->click();
  option("Option6")->click();
  host.setStatusNotice("x");
  button("Command8")->click();
  QWidget* selection = host.findScreen("Form17");
  ASSERT_NE(selection, nullptr);
  EXPECT_TRUE(selection->isVisible());
  EXPECT_EQ(host.statusNotice(), "");

  // Assuming the velocity forgets the selection screen.
  option("Option7")->click();
  EXPECT_EQ(host.findScreen("Form17"), nullptr);
  EXPECT_TRUE(box("txt5")->isBordered());
}

}  // namespace
}  // namespace mk

namespace mk {
namespace {

TEST(RainfallIntensityDiscard, DirectIntensityAlsoClosesTheVelocityCalculation) {
  testing::FakeScreenHost host;
  ASSERT_NE(host.showScreen("Form12", 0, 0), nullptr);
  host.record().intensity.Option8 = true;
  ASSERT_NE(host.showScreen("Form17", 0, 0), nullptr);
  DiscardIntensityScreen(host);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(host.findScreen("Form12"), nullptr);
  EXPECT_EQ(host.findScreen("Form17"), nullptr);
  EXPECT_FALSE(host.record().intensity.Option8);
  EXPECT_EQ(host.record().flowTime.FlowTimeScreenCode, " 0 ");
}

}  // namespace
}  // namespace mk
