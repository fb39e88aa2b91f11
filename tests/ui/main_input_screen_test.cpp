// The main input screen (Form25) on a test host: facility choice, its
// buttons and options, text boxes, the Enter order.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include "fake_screen_host.h"
#include "ui/main_input_screen.h"

namespace mk {
namespace {

// The main screen's status notices.
const QString kN1 = "計画雨水、汚水量の計算 及び 粗度係数（ｎ）は、各地域の開発指導要綱等による事｡";
const QString kN2 = "雨量強度式 及び 到達時間 （ｔ） の計算は、各地域の開発指導要綱等による事｡";
const QString kN3 = "流出係数(Ｃ)は、各地域の開発指導要綱等による事｡";
const QString kN4 = "地下水混入率、計画汚水量の割増し 及び 粗度係数(ｎ)は、各地域の開発指導要綱等による事｡";

class MainInputScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QWidget* window = host.workArea()->window();
    window->activateWindow();
    (void)QTest::qWaitForWindowActive(window);
    // As New builds it.
    NewProject(host.record());
    main = qobject_cast<MainInputScreen*>(host.showScreen("Form25", 0, 0));
    ASSERT_NE(main, nullptr);
    main->sentaku();
    host.discardCount = 0;
  }
  void TearDown() override {
    for (const char* form : {"Form28", "Form12", "Form16"}) host.discardScreen(form);
  }

  template <typename T = QWidget>
  T* control(const QString& name, const QString& form = "Form25") {
    return host.control<T>(form, name);
  }
  EntryBox* box(const QString& name, const QString& form = "Form25") { return control<EntryBox>(name, form); }
  QRadioButton* option(int i) { return control<QRadioButton>(QStringLiteral("opt%1").arg(i)); }
  void click(const QString& name) {
    auto* button = control<QAbstractButton>(name);
    ASSERT_NE(button, nullptr) << name.toStdString();
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
  }
  void choose(int kind) { control<QListWidget>("lst_s")->setCurrentRow(kind); }
  void enter(QWidget* w) { QTest::keyClick(w, Qt::Key_Return); }
  QWidget* focused() const { return QApplication::focusWidget(); }
  QPoint placeOf(const QString& form) {
    QWidget* screen = host.findScreen(form);
    auto* sub = screen ? qobject_cast<QMdiSubWindow*>(screen->parentWidget()) : nullptr;
    return sub ? sub->pos() : QPoint(-1, -1);
  }

  testing::FakeScreenHost host;
  MainInputScreen* main = nullptr;
};

TEST_F(MainInputScreenTest, ShowsItsCaptionsAndTheFacilityList) {
  EXPECT_EQ(main->windowTitle(), "☆ 下水排水施設（合流式）流量計算");
  auto* list = control<QListWidget>("lst_s");
  const char* const kinds[] = {"排水管  ＶＰ管", "        ＶＵ管", "        強化プラスチック複合管",
                               "        ヒューム管", "        その他円形管", "        矩形管"};
  ASSERT_EQ(list->count(), 6);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(list->item(i)->text(), QString::fromUtf8(kinds[i])) << i;
  // The options beside a button are named after it.
  EXPECT_EQ(option(6)->accessibleName(), "加重平均");
  EXPECT_EQ(option(6)->accessibleDescription(), "opt6");
  EXPECT_EQ(main->accessibleDescription(), "Form25");
  QStringList captions;
  for (auto* label : main->findChildren<QLabel*>()) captions << label->text();
  for (const char* caption : {"流出係数", "Ｃ＝", "施設の分担する流域面積", "Ａ＝", "m2", "I＝", "mm/hr",
                              "計画汚水量", "m3/sec", "％", "％増し"})
    EXPECT_TRUE(captions.contains(QString::fromUtf8(caption))) << caption;
  // The entries line up by their leading blanks only in a fixed-pitch
  // font where "排水管" is as wide as six blanks.
  const QFontMetrics metrics(list->font());
  EXPECT_EQ(metrics.horizontalAdvance(list->item(0)->text().left(5)),
            metrics.horizontalAdvance(list->item(1)->text().left(8)));
}

TEST_F(MainInputScreenTest, FacilityChoiceOpensItsScreenWithDefaults) {
  ASSERT_NE(host.findScreen("Form2"), nullptr);
  EXPECT_EQ(placeOf("Form2"), QPoint(TwipsToPixels(6165), 0));
  // Values typed on the VP pipe are gone after choosing FRPM.
  box("txt1", "Form2")->setText("5");
  host.record().facility.form2.txt1 = "5";
  host.record().facility.form2.txt2 = "0.02";
  choose(2);
  EXPECT_EQ(host.record().main.lst_s, 2);
  EXPECT_EQ(control<QLabel>("Label1", "Form2")->text(), "強化プラスチック複合管");
  auto* sizes = control<QListWidget>("lst_pu", "Form2");
  ASSERT_EQ(sizes->count(), 19);
  EXPECT_EQ(sizes->currentRow(), 0);
  EXPECT_EQ(sizes->item(0)->text(), "ＦＲＰＭ管－φ２００");
  EXPECT_EQ(box("txt1", "Form2")->text(), "");
  EXPECT_EQ(box("txt2", "Form2")->text(), "0.010");
  EXPECT_EQ(control<QComboBox>("cbo1", "Form2")->currentText(), "水深８割");
  EXPECT_EQ(control<QLabel>("Label6", "Form2")->text(), "有効水深 水量");
  EXPECT_EQ(focused(), control("lst_s"));
  EXPECT_GE(host.discardCount, 1);

  choose(3);
  EXPECT_EQ(box("txt2", "Form2")->text(), "0.013");
  EXPECT_EQ(control<QListWidget>("lst_pu", "Form2")->item(0)->text(), "ヒューム管－φ１５０");
  EXPECT_EQ(host.record().facility.form2.txt2, "0.013");

  choose(4);
  EXPECT_EQ(host.findScreen("Form2"), nullptr);
  ASSERT_NE(host.findScreen("Form5"), nullptr);
  EXPECT_EQ(placeOf("Form5"), QPoint(TwipsToPixels(6165), 0));
  EXPECT_EQ(control<QComboBox>("cbo1", "Form5")->currentIndex(), 5);
  EXPECT_EQ(host.record().facility.form2.txt2, "0.010");  // the group went with its screen
  host.record().facility.form5.txt1 = "0.3";

  choose(0);
  EXPECT_EQ(host.findScreen("Form5"), nullptr);
  EXPECT_TRUE(host.record().facility.form5.txt1.empty());
  EXPECT_EQ(control<QLabel>("Label1", "Form2")->text(), "ＶＰ管");
  EXPECT_EQ(control<QListWidget>("lst_pu", "Form2")->count(), 8);

  choose(5);
  EXPECT_EQ(host.findScreen("Form2"), nullptr);
  ASSERT_NE(host.findScreen("Form1"), nullptr);
  EXPECT_EQ(control<QComboBox>("cbo1", "Form1")->currentText(), "水深８割");
  EXPECT_EQ(focused(), control("lst_s"));
}

TEST_F(MainInputScreenTest, DirectEntryButtonsTakeBackTheComputedValues) {
  ProjectRecord& r = host.record();
  // I and C computed by their screens.
  r.main.opt3 = false;
  r.main.opt4 = true;
  r.main.txt_i = "55.4";
  r.main.opt5 = false;
  r.main.opt6 = true;
  r.main.txt_c = "0.375";
  r.intensity.txt1 = "5000";
  r.runoff.txt_t[0] = "屋　根";
  main->refreshFromRecord();
  main->setIBordered(false);
  main->setCBordered(false);
  // Both sub-screens open: the toolbar is hidden until the last one goes.
  host.showScreen("Form12", 0, 0);
  host.showScreen("Form16", 0, 0);
  host.toolbarVisible = false;

  click("Command1");
  EXPECT_TRUE(box("txt_i")->hasFocus());
  EXPECT_EQ(box("txt_i")->selectedText(), "55.4");
  EXPECT_TRUE(box("txt_i")->isBordered());
  EXPECT_TRUE(option(3)->isChecked());
  EXPECT_TRUE(r.main.opt3);
  EXPECT_FALSE(r.main.opt4);
  EXPECT_EQ(r.main.txt_i, "55.4");
  EXPECT_TRUE(r.intensity.txt1.empty());
  EXPECT_EQ(host.findScreen("Form12"), nullptr);
  EXPECT_EQ(host.discardCount, 1);
  EXPECT_FALSE(host.toolbarVisible);

  click("Command3");
  EXPECT_TRUE(box("txt_c")->hasFocus());
  EXPECT_TRUE(box("txt_c")->isBordered());
  EXPECT_TRUE(box("txt_a")->isBordered());
  EXPECT_TRUE(option(5)->isChecked());
  EXPECT_TRUE(r.runoff.txt_t[0].empty());
  EXPECT_EQ(host.findScreen("Form16"), nullptr);
  EXPECT_EQ(host.discardCount, 2);
  EXPECT_TRUE(host.toolbarVisible);
}

TEST_F(MainInputScreenTest, CalculateButtonsOpenTheSubScreensWithoutTheToolbar) {
  click("Command2");
  EXPECT_FALSE(host.toolbarVisible);
  EXPECT_EQ(host.statusNotice(), kN2);
  ASSERT_NE(host.findScreen("Form12"), nullptr);
  EXPECT_TRUE(host.findScreen("Form12")->isVisible());
  EXPECT_EQ(placeOf("Form12"), QPoint(0, 0));
  EXPECT_GE(host.discardCount, 1);
  EXPECT_FALSE(host.record().main.opt4);  // only the screen's OK selects it

  host.toolbarVisible = true;
  click("Command4");
  EXPECT_FALSE(host.toolbarVisible);
  EXPECT_EQ(host.statusNotice(), kN3);
  ASSERT_NE(host.findScreen("Form16"), nullptr);
  EXPECT_TRUE(host.findScreen("Form16")->isVisible());

  // The option beside a button acts as the button and shows the record.
  host.hideScreen("Form12");
  click("opt4");
  EXPECT_TRUE(host.findScreen("Form12")->isVisible());
  EXPECT_FALSE(option(4)->isChecked());
  EXPECT_TRUE(option(3)->isChecked());
}

TEST_F(MainInputScreenTest, SewageButtons) {
  ProjectRecord& r = host.record();
  r.main.txt3 = "0.5";
  main->refreshFromRecord();
  click("cmd1");
  EXPECT_TRUE(r.main.opt7);
  EXPECT_TRUE(r.sewage.opt1);  // a class is chosen when none was
  EXPECT_TRUE(box("txt3")->text().isEmpty());
  EXPECT_FALSE(box("txt3")->isBordered());
  auto* sewage = qobject_cast<QDialog*>(host.findScreen("Form28"));
  ASSERT_NE(sewage, nullptr);
  EXPECT_TRUE(sewage->isVisible());
  EXPECT_TRUE(sewage->isModal());
  const int discards = host.discardCount;
  sewage->reject();
  EXPECT_GT(host.discardCount, discards);
  EXPECT_EQ(host.statusNotice(), kN4);
  EXPECT_TRUE(box("txt3")->text().isEmpty());

  r.sewage.txt_p = "100";
  click("cmd2");
  EXPECT_TRUE(option(8)->isChecked());
  EXPECT_TRUE(r.main.opt8);
  EXPECT_TRUE(box("txt3")->isBordered());
  EXPECT_TRUE(box("txt3")->hasFocus());
  EXPECT_TRUE(r.sewage.txt_p.empty());
  EXPECT_EQ(host.findScreen("Form28"), nullptr);
  EXPECT_EQ(host.statusNotice(), kN4);
}

TEST_F(MainInputScreenTest, PercentageOptionsShowAndEmptyTheirBoxes) {
  ProjectRecord& r = host.record();
  click("opt10");
  EXPECT_TRUE(box("txt2")->isVisible());
  EXPECT_TRUE(box("txt2")->hasFocus());
  EXPECT_TRUE(r.main.opt10);
  QTest::keyClicks(box("txt2"), "20");
  EXPECT_EQ(r.main.txt2, "20");
  r.derived.main.g = 20;
  click("opt9");
  EXPECT_FALSE(box("txt2")->isVisible());
  EXPECT_TRUE(r.main.txt2.empty());
  EXPECT_EQ(r.derived.main.g, 0.0);

  click("opt12");
  EXPECT_TRUE(box("txt1")->isVisible());
  EXPECT_TRUE(box("txt1")->hasFocus());
  QTest::keyClicks(box("txt1"), "25");
  r.derived.main.s = 25;
  click("opt11");
  EXPECT_FALSE(box("txt1")->isVisible());
  EXPECT_TRUE(r.main.txt1.empty());
  EXPECT_EQ(r.derived.main.s, 0.0);
  // Reopened, the box starts empty.
  click("opt12");
  EXPECT_TRUE(box("txt1")->text().isEmpty());

  const int discards = host.discardCount;
  click("opt2");
  EXPECT_TRUE(r.main.opt2);
  EXPECT_FALSE(r.main.opt1);
  EXPECT_EQ(host.discardCount, discards + 1);
  QTest::keyClick(option(2), Qt::Key_A);
  EXPECT_EQ(host.discardCount, discards + 2);
}

TEST_F(MainInputScreenTest, ClickingABoxWithdrawsTheResultAndTakesDirectEntry) {
  ProjectRecord& r = host.record();
  r.main.opt3 = false;
  r.main.opt4 = true;
  r.main.txt_i = "55.4";
  r.intensity.txt1 = "5000";
  main->refreshFromRecord();
  main->setIBordered(false);

  QTest::mouseClick(box("txt_c"), Qt::LeftButton);
  EXPECT_EQ(host.discardCount, 1);
  EXPECT_EQ(host.statusNotice(), kN1);

  QTest::mouseClick(box("txt_i"), Qt::LeftButton);
  EXPECT_TRUE(box("txt_i")->isBordered());
  EXPECT_TRUE(option(3)->isChecked());
  EXPECT_TRUE(r.main.opt3);
  EXPECT_EQ(box("txt_i")->selectedText(), "55.4");
  // The intensity screen's values stay (they are just no longer used).
  EXPECT_EQ(r.intensity.txt1, "5000");

  QTest::mouseClick(box("txt3"), Qt::LeftButton);
  EXPECT_TRUE(r.main.opt8);
  EXPECT_TRUE(option(8)->isChecked());

  // Any character goes in, and every edit withdraws the result.
  const int discards = host.discardCount;
  QTest::keyClicks(box("txt_a"), "12abc");
  EXPECT_EQ(r.main.txt_a, "12abc");
  EXPECT_EQ(host.discardCount, discards + 5);
}

TEST_F(MainInputScreenTest, EnterMovesAlongTheOrder) {
  ProjectRecord& r = host.record();
  r.main.txt_a = "10000";
  r.main.opt10 = true;
  r.main.opt9 = false;
  r.main.opt12 = true;
  r.main.opt11 = false;
  main->refreshFromRecord();

  box("txt_c")->setFocus();
  enter(box("txt_c"));
  EXPECT_EQ(focused(), box("txt_a"));
  EXPECT_EQ(box("txt_a")->selectedText(), "10000");
  EXPECT_TRUE(box("txt_c")->text().isEmpty());  // Enter types nothing
  // Enter in each control, and where the focus goes (the percentage boxes
  // and options skip to the next group).
  const std::pair<QWidget*, QWidget*> steps[] = {
      {box("txt_a"), control("Command1")}, {box("txt_i"), control("cmd2")},  {box("txt3"), option(9)},
      {option(9), option(11)},             {box("txt2"), option(11)},        {option(10), option(11)},
      {option(12), option(1)},             {box("txt1"), option(1)},         {option(2), control("lst_s")}};
  for (const auto& [from, to] : steps) {
    enter(from);
    EXPECT_EQ(focused(), to) << from->objectName().toStdString();
  }
  enter(control("lst_s"));
  EXPECT_EQ(focused(), control("lst_pu", "Form2"));

  choose(4);
  control("lst_s")->setFocus();
  enter(control("lst_s"));
  EXPECT_EQ(focused(), box("txt1", "Form5"));

  choose(5);
  control("lst_s")->setFocus();
  enter(control("lst_s"));
  EXPECT_EQ(focused(), control("lst_s"));
}

TEST_F(MainInputScreenTest, RefreshShowsTheRecordIncludingEmptyOptionGroups) {
  ProjectRecord& r = host.record();
  r.main.txt_c = "0.7";
  r.main.opt1 = false;
  r.main.opt2 = false;
  r.main.lst_s = -1;
  main->refreshFromRecord();
  EXPECT_EQ(box("txt_c")->text(), "0.7");
  EXPECT_FALSE(option(1)->isChecked());
  EXPECT_FALSE(option(2)->isChecked());
  EXPECT_EQ(control<QListWidget>("lst_s")->currentRow(), -1);
  // Nothing but the display changed.
  EXPECT_EQ(host.discardCount, 0);
  ASSERT_NE(host.findScreen("Form2"), nullptr);
}

}  // namespace
}  // namespace mk
