// The facility screens of the main check (Form2, Form5, Form1): their
// lists, Enter orders, click rule, and "計算" with its messages (a passing
// run and its results screen are in the main window's tests).
#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include <tuple>

#include "fake_screen_host.h"
#include "ui/facility_screens.h"
#include "ui/main_input_screen.h"

namespace mk {
namespace {

const QString kCircularNotice =
    "流出係数（C）、降雨強度（I） 及び 粗度係数（ｎ）は、各地域の開発指導要綱等による事。";
const QString kRectangularNotice =
    "地下水混入率、計画汚水量の割増し 及び 粗度係数(ｎ)は、各地域の開発指導要綱等による事。";

class FacilityScreensTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QWidget* window = host.workArea()->window();
    window->activateWindow();
    (void)QTest::qWaitForWindowActive(window);
    NewProject(host.record());
    main = qobject_cast<MainInputScreen*>(host.showScreen("Form25", 0, 0));
    ASSERT_NE(main, nullptr);
    main->sentaku();
  }

  void chooseFacility(int kind) { host.control<QListWidget>("Form25", "lst_s")->setCurrentRow(kind); }
  EntryBox* box(const QString& form, const QString& name) { return host.control<EntryBox>(form, name); }
  QComboBox* depth(const QString& form) { return host.control<QComboBox>(form, "cbo1"); }
  void type(const QString& form, const QString& name, const QString& text) {
    EntryBox* entry = box(form, name);
    ASSERT_NE(entry, nullptr) << form.toStdString() << "." << name.toStdString();
    entry->selectAll();
    entry->del();
    QTest::sendKeyEvent(QTest::Click, entry, Qt::Key_unknown, text, Qt::NoModifier);
  }
  void run(const QString& form) {
    host.prompter_.clear();
    QTest::mouseClick(host.control<QPushButton>(form, "cmd1"), Qt::LeftButton);
  }
  // C 0.5, A 10000 m2, I 72 mm/hr, sewage 0.01: Q1 = 0.11 m3/sec.
  void mainInputs() {
    MainScreenInputs& m = host.record().main;
    m.txt_c = "0.5";
    m.txt_a = "10000";
    m.txt_i = "72";
    m.txt3 = "0.01";
    main->refreshFromRecord();
  }
  QString message() const { return host.prompter_.lastText(); }
  QWidget* focused() const { return QApplication::focusWidget(); }

  testing::FakeScreenHost host;
  MainInputScreen* main = nullptr;
};

TEST_F(FacilityScreensTest, EditsGoToTheRecordAndWithdrawTheResult) {
  chooseFacility(4);
  host.discardCount = 0;
  type("Form5", "txt1", "0.3m");
  EXPECT_EQ(host.record().facility.form5.txt1, "0.3m");
  EXPECT_EQ(host.discardCount, 1);
  depth("Form5")->setFocus();
  QTest::keyClick(depth("Form5"), Qt::Key_Down);
  EXPECT_EQ(host.record().facility.form5.cbo1, 6);
  EXPECT_EQ(host.discardCount, 2);

  chooseFacility(0);
  auto* sizes = host.control<QListWidget>("Form2", "lst_pu");
  sizes->setFocus();
  QTest::keyClick(sizes, Qt::Key_Down);
  EXPECT_EQ(host.record().facility.form2.lst_pu, 1);
}

TEST_F(FacilityScreensTest, ClickingAnInputClosesTheResultsAndSetsTheNotice) {
  auto* sizes = host.control<QListWidget>("Form2", "lst_pu");
  host.discardCount = 0;
  QTest::mouseClick(sizes->viewport(), Qt::LeftButton, {}, QPoint(10, 5));
  EXPECT_EQ(host.discardCount, 1);
  EXPECT_EQ(host.statusNotice(), kCircularNotice);
  host.setStatusNotice("");
  QTest::mouseClick(box("Form2", "txt2"), Qt::LeftButton);
  EXPECT_EQ(host.statusNotice(), kCircularNotice);
  EXPECT_EQ(box("Form2", "txt2")->selectedText(), "0.010");

  chooseFacility(5);
  host.discardCount = 0;
  QTest::mouseClick(depth("Form1"), Qt::LeftButton);
  EXPECT_EQ(host.discardCount, 1);
  EXPECT_EQ(host.statusNotice(), kRectangularNotice);
  QApplication::processEvents();
  depth("Form1")->hidePopup();
  QTest::mouseClick(box("Form1", "txt_m"), Qt::LeftButton);
  EXPECT_EQ(host.discardCount, 2);
}

TEST_F(FacilityScreensTest, EnterOrders) {
  auto walk = [&](const QString& form, const QStringList& order) {
    QWidget* first = host.control<QWidget>(form, order.first());
    first->setFocus();
    for (int i = 1; i < order.size(); ++i) {
      QTest::keyClick(focused(), Qt::Key_Return);
      EXPECT_EQ(focused(), host.control<QWidget>(form, order[i])) << form.toStdString() << " " << i;
    }
  };
  walk("Form2", {"lst_pu", "txt1", "txt2", "cbo1", "cmd1"});
  EXPECT_EQ(box("Form2", "txt2")->selectedText(), "");  // left behind, not selected
  chooseFacility(4);
  walk("Form5", {"txt_m", "txt1", "txt2", "txt3", "cbo1", "cmd1"});
  chooseFacility(5);
  walk("Form1", {"txt_m", "txt1", "txt2", "txt3", "txt4", "cbo1", "cmd1"});
}

TEST_F(FacilityScreensTest, MessagesStopTheRunAndFocusTheBox) {
  run("Form2");
  EXPECT_EQ(message(), "流出係数を入力又は計算してください。");
  EXPECT_EQ(host.prompter_.requests.last().title, "エラーメッセージ");
  EXPECT_EQ(host.lastFocusRequest, "Form25.txt_c");
  EXPECT_EQ(host.showResultCount, 0);

  // The order of the checks is the check run's; here the focus that follows.
  mainInputs();
  type("Form2", "txt1", "10");
  type("Form2", "txt2", "abc");
  run("Form2");
  EXPECT_EQ(message(), "粗度係数を入力してください。");
  EXPECT_EQ(focused(), box("Form2", "txt2"));
  EXPECT_EQ(box("Form2", "txt2")->cursorPosition(), 0);
  EXPECT_FALSE(box("Form2", "txt2")->hasSelectedText());
  type("Form2", "txt2", "0.010");
  depth("Form2")->setCurrentIndex(8);
  host.record().facility.form2.cbo1 = 8;  // a separator
  run("Form2");
  EXPECT_EQ(message(), "施設有効水深の割合を入力してください。");
  EXPECT_EQ(focused(), depth("Form2"));
  EXPECT_EQ(host.prompter_.requests.size(), 1);

  chooseFacility(4);
  type("Form5", "txt1", "0.3");
  type("Form5", "txt2", "10");
  type("Form5", "txt3", "0.013");
  host.record().facility.form5.cbo1 = 1;
  depth("Form5")->setCurrentIndex(1);
  run("Form5");
  EXPECT_EQ(message(), "施設の有効水深の割合を入力してください。");

  chooseFacility(5);
  type("Form1", "txt1", "1");
  run("Form1");
  EXPECT_EQ(message(), "施設の巾を入力してください。");
  EXPECT_EQ(focused(), box("Form1", "txt2"));
  EXPECT_EQ(host.showResultCount, 0);
}

TEST_F(FacilityScreensTest, MissingSewageFlowSwitchesTheMainScreenToDirectEntry) {
  mainInputs();
  host.record().main.txt3.clear();
  main->refreshFromRecord();
  main->setSewageBordered(false);
  type("Form2", "txt1", "10");
  run("Form2");
  EXPECT_EQ(message(), "計画汚水量を計算又は入力してください。");
  EXPECT_TRUE(host.control<QRadioButton>("Form25", "opt8")->isChecked());
  EXPECT_FALSE(host.control<QRadioButton>("Form25", "opt7")->isChecked());
  EXPECT_EQ(host.showResultCount, 0);
  EXPECT_TRUE(box("Form25", "txt3")->isBordered());
  EXPECT_EQ(focused(), box("Form25", "txt3"));
}

TEST_F(FacilityScreensTest, RectangularSectionWithoutAreaFocusesTheDimensionAtFault) {
  mainInputs();
  chooseFacility(5);
  type("Form1", "txt3", "2");
  type("Form1", "txt4", "0.015");
  // A negative height or width passes the empty checks but leaves no area
  // (or, both negative, no wetted perimeter).
  const char* noArea = "流水の断面積が０以下のため、流速を計算できません。";
  const char* noPerimeter = "流水の潤辺長が０以下のため、流速を計算できません。";
  for (const auto& [height, width, text, fault] :
       {std::tuple{"-1", "2", noArea, "txt1"}, std::tuple{"1", "-2", noArea, "txt2"},
        std::tuple{"-1", "-2", noPerimeter, "txt1"}}) {
    type("Form1", "txt1", height);
    type("Form1", "txt2", width);
    run("Form1");
    EXPECT_EQ(message(), QString::fromUtf8(text)) << height << " " << width;
    EXPECT_EQ(focused(), box("Form1", fault)) << height << " " << width;
    EXPECT_EQ(box("Form1", fault)->cursorPosition(), 0);
    EXPECT_EQ(host.showResultCount, 0);
  }
}

}  // namespace
}  // namespace mk
