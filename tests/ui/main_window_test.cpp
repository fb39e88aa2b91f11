// The main window as a user drives it: New, a run, the File menu's
// availability, Close / Exit / close box, Save As, Save over, Open, Write.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFileInfo>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>
#include <memory>

#include "calc/check_run.h"
#include "ui/main_input_screen.h"
#include "ui/main_window.h"
#include "ui/prompter.h"
#include "ui/widget_support.h"

namespace mk {
namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QStandardPaths::setTestModeEnabled(true);
    // Every test starts with no recent files and no folder used last.
    QFile::remove(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + "/mirukana.conf");
    window = std::make_unique<MainWindow>(prompter);
    window->show();
    window->activateWindow();
    (void)QTest::qWaitForWindowActive(window.get());
  }
  void TearDown() override {
    window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  template <typename T>
  T* control(const QString& form, const QString& name) {
    QWidget* screen = window->findScreen(form);
    return screen ? screen->findChild<T*>(name) : nullptr;
  }
  EntryBox* box(const QString& form, const QString& name) { return control<EntryBox>(form, name); }
  void type(const QString& form, const QString& name, const QString& text) {
    EntryBox* entry = box(form, name);
    ASSERT_NE(entry, nullptr) << form.toStdString() << "." << name.toStdString();
    entry->selectAll();
    entry->del();
    // Typed as one key event so that any character goes in.
    QTest::sendKeyEvent(QTest::Click, entry, Qt::Key_unknown, text, Qt::NoModifier);
  }
  void click(const QString& form, const QString& name) {
    auto* button = control<QAbstractButton>(form, name);
    ASSERT_NE(button, nullptr) << form.toStdString() << "." << name.toStdString();
    // On the indicator: an option button answers only on its box and caption.
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
  }
  QAction* action(const char* name) { return window->findChild<QAction*>(QString::fromLatin1(name)); }
  // Choosing a File menu entry: the menu opens first (and decides what it offers).
  void trigger(const char* name) {
    if (QByteArray(name).startsWith("Men_F")) openFileMenu();
    action(name)->trigger();
  }
  bool enabled(const char* name) { return action(name)->isEnabled(); }
  void openFileMenu() { emit window->findChild<QMenu*>("Men_F")->aboutToShow(); }
  QPoint placeOf(const QString& form) {
    QWidget* screen = window->findScreen(form);
    auto* sub = screen ? qobject_cast<QMdiSubWindow*>(screen->parentWidget()) : nullptr;
    return sub ? sub->pos() : QPoint(-1, -1);
  }
  bool shown(const QString& form) {
    QWidget* screen = window->findScreen(form);
    return screen && screen->isVisible();
  }

  // C 0.5, A 10000 m2, I 72 mm/hr, sewage typed 0.01: Q1 = 0.11 m3/sec.
  void enterMainInputs() {
    type("Form25", "txt_c", "0.5");
    type("Form25", "txt_a", "10000");
    type("Form25", "txt_i", "72");
    click("Form25", "cmd2");
    type("Form25", "txt3", "0.01");
  }
  // VP φ65 at 8/10 depth carries far less than 0.11 m3/sec: NO.
  void runTooSmallPipe() {
    window->fileNew();
    enterMainInputs();
    type("Form2", "txt1", "10");
    click("Form2", "cmd1");
  }
  // Hume φ3000 carries it easily: O.K.
  void runLargePipe() {
    window->fileNew();
    enterMainInputs();
    control<QListWidget>("Form25", "lst_s")->setCurrentRow(3);
    control<QListWidget>("Form2", "lst_pu")->setCurrentRow(24);
    type("Form2", "txt1", "10");
    click("Form2", "cmd1");
  }

  RecordingPrompter prompter;
  std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, StartsWithMenusToolbarAndTheNoticeOnly) {
  EXPECT_EQ(window->windowTitle(), "ミルカナ");
  EXPECT_EQ(window->statusNotice(),
            "メニューバーのファイル又はツールバーより、新規作成又は開くを選択してください。");
  EXPECT_EQ(window->findChild<QLabel*>("msg")->accessibleDescription(), "msg");
  EXPECT_EQ(window->findScreen("Form25"), nullptr);
  EXPECT_TRUE(window->workArea()->subWindowList().isEmpty());

  const std::pair<const char*, const char*> captions[] = {
      {"Men_FNew", "新規作成(&N)"},   {"Men_FOpn", "開く(&O)"},       {"Men_FCls", "閉じる(&C)"},
      {"Men_FOvw", "上書き保存(&S)"}, {"Men_FSav", "名前をつけて保存(&A)"},
      {"Men_FImg", "印刷ｲﾒｰｼﾞ(&I)"},  {"Men_FPrn", "印刷(&P)"},       {"Men_FEWri", "書き込み(&W)"},
      {"Men_FEOpn", "起動(&O)"},      {"Men_FEnd", "終了(&X)"},       {"Men_S", "参考(&S)"},
      {"Men_HVer", "ﾊﾞｰｼﾞｮﾝ情報(&A)"}};
  for (const auto& [name, caption] : captions) {
    ASSERT_NE(action(name), nullptr) << name;
    EXPECT_EQ(action(name)->text(), QString::fromUtf8(caption)) << name;
  }
  EXPECT_EQ(window->findChild<QMenu*>("Men_F")->title(), "ﾌｧｲﾙ(&F)");
  EXPECT_EQ(window->findChild<QMenu*>("Men_FE")->title(), "ｴﾃﾞｨﾀ(&E)");
  EXPECT_EQ(window->findChild<QMenu*>("Men_H")->title(), "ﾍﾙﾌﾟ(&H)");
  // "参考" acts from the menu bar itself.
  EXPECT_EQ(action("Men_S")->menu(), nullptr);
  EXPECT_TRUE(window->menuBar()->actions().contains(action("Men_S")));

  const std::tuple<int, const char*, const char*> buttons[] = {
      {1, "[ファイル]-[新規作成]", "新規作成"},   {2, "[ファイル]-[開く]", "開く"},
      {3, "[ファイル]-[上書き保存]", "上書き保存"}, {5, "[ファイル]-[印刷ｲﾒｰｼﾞ]", "印刷ｲﾒｰｼﾞ"},
      {6, "[ファイル]-[印刷]", "印刷"}};
  for (const auto& [index, hint, shortName] : buttons) {
    QAction* button = window->toolbarButton(index);
    ASSERT_NE(button, nullptr) << index;
    EXPECT_EQ(button->toolTip(), QString::fromUtf8(hint));
    EXPECT_EQ(button->text(), QString::fromUtf8(shortName));
    EXPECT_FALSE(button->icon().isNull()) << index;
  }
  EXPECT_EQ(window->toolbarButton(4), nullptr);
  EXPECT_TRUE(window->toolbarButton(1)->isEnabled());
  EXPECT_TRUE(window->toolbarButton(2)->isEnabled());
  EXPECT_FALSE(window->toolbarButton(3)->isEnabled());
  EXPECT_FALSE(window->toolbarButton(5)->isEnabled());
  EXPECT_FALSE(window->toolbarButton(6)->isEnabled());
}

TEST_F(MainWindowTest, NewOpensTheMainScreenAndTheVpPipeWithDefaults) {
  window->toolbarButton(1)->trigger();
  ASSERT_TRUE(shown("Form25"));
  ASSERT_TRUE(shown("Form2"));
  EXPECT_EQ(placeOf("Form25"), QPoint(0, 0));
  EXPECT_EQ(placeOf("Form2"), QPoint(TwipsToPixels(6165), 0));
  EXPECT_EQ(window->findScreen("Form25")->windowTitle(), "☆ 下水排水施設（合流式）流量計算");

  for (const char* name : {"txt_c", "txt_a", "txt_i"}) {
    EXPECT_TRUE(box("Form25", name)->isBordered()) << name;
    EXPECT_TRUE(box("Form25", name)->text().isEmpty()) << name;
  }
  for (int i = 1; i <= 12; ++i)
    EXPECT_EQ(control<QRadioButton>("Form25", QStringLiteral("opt%1").arg(i))->isChecked(), i % 2 == 1) << i;
  EXPECT_FALSE(box("Form25", "txt1")->isVisible());
  EXPECT_FALSE(box("Form25", "txt2")->isVisible());
  EXPECT_EQ(control<QListWidget>("Form25", "lst_s")->currentRow(), 0);
  EXPECT_TRUE(box("Form25", "txt_c")->hasFocus());

  EXPECT_EQ(control<QLabel>("Form2", "Label1")->text(), "ＶＰ管");
  EXPECT_EQ(control<QListWidget>("Form2", "lst_pu")->count(), 8);
  EXPECT_EQ(control<QListWidget>("Form2", "lst_pu")->currentRow(), 0);
  EXPECT_EQ(box("Form2", "txt2")->text(), "0.010");
  EXPECT_EQ(control<QComboBox>("Form2", "cbo1")->currentText(), "水深８割");

  EXPECT_EQ(window->statusNotice(), "計画雨水、汚水量の計算 及び 粗度係数（ｎ）は、各地域の開発指導要綱等による事｡");
  EXPECT_TRUE(window->fileName().isEmpty());

  // Enter in the facility list goes on into the facility screen.
  auto* list = control<QListWidget>("Form25", "lst_s");
  window->focusControl("Form25.lst_s");
  EXPECT_TRUE(list->hasFocus());
  QTest::keyClick(list, Qt::Key_Return);
  EXPECT_TRUE(control<QListWidget>("Form2", "lst_pu")->hasFocus());
  EXPECT_EQ(window->workArea()->activeSubWindow(), window->findScreen("Form2")->parentWidget());

  openFileMenu();
  for (const char* off : {"Men_FSav", "Men_FOvw", "Men_FImg", "Men_FPrn", "Men_FEWri"})
    EXPECT_FALSE(enabled(off)) << off;
  for (const char* on : {"Men_FNew", "Men_FOpn", "Men_FCls", "Men_FEOpn", "Men_FEnd"})
    EXPECT_TRUE(enabled(on)) << on;
}

// The main screen, the facility screen beside it and the results below it
// sit side by side at their twips positions without covering each other.
TEST_F(MainWindowTest, ScreensFitBesideEachOther) {
  runTooSmallPipe();
  auto frameOf = [&](const QString& form) {
    return window->findScreen(form)->parentWidget()->frameGeometry();
  };
  // The project's own screens have no close box; the results screen has.
  auto flags = [&](const QString& form) { return window->findScreen(form)->parentWidget()->windowFlags(); };
  EXPECT_FALSE(flags("Form25") & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(flags("Form2") & Qt::WindowCloseButtonHint);
  EXPECT_TRUE(flags("Form26") & Qt::WindowCloseButtonHint);
  const QRect main = frameOf("Form25");
  EXPECT_LE(main.right(), TwipsToPixels(6165) - 1);
  EXPECT_LE(main.bottom(), TwipsToPixels(5115) - 1);
  for (int kind : {4, 5}) {
    control<QListWidget>("Form25", "lst_s")->setCurrentRow(kind);
    const QString facility = kind == 4 ? "Form5" : "Form1";
    EXPECT_FALSE(main.intersects(frameOf(facility))) << kind;
    EXPECT_LE(frameOf(facility).bottom(), window->workArea()->viewport()->height());
  }
}

TEST_F(MainWindowTest, RunWithTooSmallPipeSaysNoInMagentaWithOneBeep) {
  runTooSmallPipe();
  ASSERT_TRUE(prompter.requests.isEmpty()) << prompter.lastText().toStdString();
  ASSERT_TRUE(shown("Form26"));
  EXPECT_EQ(placeOf("Form26"), QPoint(0, TwipsToPixels(5115)));
  EXPECT_EQ(prompter.beeps, 1);
  EXPECT_EQ(control<QLabel>("Form26", "lbl3")->text(), "0.1100");
  EXPECT_EQ(control<QLabel>("Form26", "lbl6")->palette().color(QPalette::WindowText), QColor(255, 0, 255));
  EXPECT_TRUE(control<QLabel>("Form26", "lbl16")->text().isEmpty());
  EXPECT_TRUE(control<QLabel>("Form26", "lbl17")->text().isEmpty());
  EXPECT_EQ(window->statusNotice(), QString::fromUtf8(kNoticeRunNo));
  // A project never saved: print yes, save over no.
  EXPECT_FALSE(window->toolbarButton(3)->isEnabled());
  EXPECT_TRUE(window->toolbarButton(5)->isEnabled());
  EXPECT_TRUE(window->toolbarButton(6)->isEnabled());
  openFileMenu();
  EXPECT_TRUE(enabled("Men_FSav"));
  EXPECT_FALSE(enabled("Men_FOvw"));
  EXPECT_TRUE(enabled("Men_FImg"));
  EXPECT_TRUE(enabled("Men_FPrn"));
  EXPECT_TRUE(enabled("Men_FEWri"));

  // Any change of an input withdraws the result at once.
  QTest::keyClicks(box("Form25", "txt_c"), "5");
  EXPECT_EQ(window->findScreen("Form26"), nullptr);
  EXPECT_FALSE(window->record().run.exists);
  EXPECT_FALSE(window->toolbarButton(5)->isEnabled());
  EXPECT_FALSE(window->toolbarButton(6)->isEnabled());
  openFileMenu();
  EXPECT_FALSE(enabled("Men_FSav"));
  EXPECT_FALSE(enabled("Men_FEWri"));
}

TEST_F(MainWindowTest, RunWithLargePipeSaysOkAndRefreshesOnEveryRun) {
  runLargePipe();
  ASSERT_TRUE(shown("Form26"));
  EXPECT_EQ(prompter.beeps, 0);
  EXPECT_NE(control<QLabel>("Form26", "lbl6")->palette().color(QPalette::WindowText), QColor(255, 0, 255));
  EXPECT_EQ(window->statusNotice(), QString::fromUtf8(kNoticeRunOk));
  const QString q2 = control<QLabel>("Form26", "lbl6")->text();

  // Pressing "計算" again with the results open shows the current figures.
  window->record().main.opt12 = true;
  window->record().main.opt11 = false;
  window->record().main.txt1 = "25";
  click("Form2", "cmd1");
  EXPECT_EQ(control<QLabel>("Form26", "lbl16")->text(), "1.25");
  EXPECT_EQ(control<QLabel>("Form26", "lbl17")->text(), "×");
  EXPECT_EQ(control<QLabel>("Form26", "lbl3")->text(), "0.1375");
  EXPECT_EQ(control<QLabel>("Form26", "lbl6")->text(), q2);

  // Closing the results screen withdraws the result.
  auto* sub = qobject_cast<QMdiSubWindow*>(window->findScreen("Form26")->parentWidget());
  sub->close();
  EXPECT_EQ(window->findScreen("Form26"), nullptr);
  EXPECT_FALSE(window->record().run.exists);
  EXPECT_EQ(window->record().run.Q2, 0.0);
  EXPECT_FALSE(window->toolbarButton(5)->isEnabled());
}

// The sub-screens hand their values back to the main screen through the
// window: the runoff screen (C and A), the sewage screen (Q).
TEST_F(MainWindowTest, SubScreensFillTheMainScreen) {
  window->fileNew();
  auto* toolbar = window->findChild<QToolBar*>("Toolbar1");
  click("Form25", "Command4");
  EXPECT_FALSE(toolbar->isVisible());
  ASSERT_TRUE(shown("Form16"));
  type("Form16", "txt_t1", "屋　根");
  type("Form16", "txt_c1", "0.9");
  type("Form16", "txt_a1", "500");
  type("Form16", "txt_t2", "芝､樹木の多い公園");
  type("Form16", "txt_c2", "0.2");
  type("Form16", "txt_a2", "1500");
  QTest::mouseClick(control<QPushButton>("Form16", "cmd1"), Qt::LeftButton);
  ASSERT_TRUE(prompter.requests.isEmpty()) << prompter.lastText().toStdString();
  EXPECT_EQ(box("Form25", "txt_c")->text(), "0.375");
  EXPECT_EQ(box("Form25", "txt_a")->text(), "2000.00");
  EXPECT_FALSE(box("Form25", "txt_c")->isBordered());
  EXPECT_FALSE(box("Form25", "txt_a")->isBordered());
  EXPECT_TRUE(control<QRadioButton>("Form25", "opt6")->isChecked());
  EXPECT_TRUE(toolbar->isVisible());

  click("Form25", "cmd1");
  auto* sewage = qobject_cast<QDialog*>(window->findScreen("Form28"));
  ASSERT_NE(sewage, nullptr);
  ASSERT_TRUE(sewage->isVisible());
  type("Form28", "txt_p", "100");
  type("Form28", "txt_q1", "5000");
  QTest::mouseClick(control<QPushButton>("Form28", "cmd1"), Qt::LeftButton);
  ASSERT_TRUE(prompter.requests.isEmpty()) << prompter.lastText().toStdString();
  EXPECT_FALSE(sewage->isVisible());
  EXPECT_EQ(box("Form25", "txt3")->text(), "0.0058");
  EXPECT_FALSE(box("Form25", "txt3")->isBordered());
  EXPECT_EQ(window->statusNotice(), "地下水混入率、計画汚水量の割増し 及び 粗度係数(ｎ)は、各地域の開発指導要綱等による事｡");
}

// New empties the intensity screen's boxes and leaves it hidden; the
// toolbar it had hidden comes back.
TEST_F(MainWindowTest, NewStartsTheIntensityScreenAfresh) {
  window->fileNew();
  click("Form25", "Command2");
  ASSERT_TRUE(shown("Form12"));
  EXPECT_FALSE(window->findChild<QToolBar*>("Toolbar1")->isVisible());
  for (int i = 1; i <= 5; ++i) type("Form12", QStringLiteral("txt%1").arg(i), "12");
  window->toolbarButton(1)->trigger();
  EXPECT_FALSE(shown("Form12"));
  EXPECT_TRUE(window->findChild<QToolBar*>("Toolbar1")->isVisible());
  const IntensityScreenInputs& s = window->record().intensity;
  for (const std::string* text : {&s.txt1, &s.txt2, &s.txt3, &s.txt4, &s.txt5}) EXPECT_TRUE(text->empty());
  click("Form25", "Command2");
  for (int i = 1; i <= 5; ++i) EXPECT_TRUE(box("Form12", QStringLiteral("txt%1").arg(i))->text().isEmpty()) << i;
}

TEST_F(MainWindowTest, CloseAsksAndCancelKeepsEverything) {
  runLargePipe();
  prompter.clear();
  prompter.answers = {PromptAnswer::Cancel};
  trigger("Men_FCls");
  ASSERT_EQ(prompter.requests.size(), 1);
  const PromptRequest& asked = prompter.requests.first();
  EXPECT_EQ(asked.text, "作成中のデータが失われます。閉じてもよろしいですか？");
  EXPECT_EQ(asked.title, "確認");
  EXPECT_EQ(asked.buttons, PromptButtons::OkCancel);
  EXPECT_EQ(asked.icon, PromptIcon::Question);
  EXPECT_EQ(asked.defaultButton, PromptAnswer::Cancel);
  EXPECT_TRUE(shown("Form25"));
  EXPECT_TRUE(shown("Form26"));
  EXPECT_TRUE(window->record().run.exists);
  EXPECT_EQ(box("Form25", "txt_c")->text(), "0.5");

  // The print image of this project's report goes with it, and the
  // toolbar it had hidden comes back.
  trigger("Men_FImg");
  EXPECT_NE(window->findScreen("Form7"), nullptr);
  EXPECT_FALSE(window->findChild<QToolBar*>("Toolbar1")->isVisible());
  prompter.answers = {PromptAnswer::Ok};
  trigger("Men_FCls");
  EXPECT_EQ(window->findScreen("Form7"), nullptr);
  EXPECT_TRUE(window->findChild<QToolBar*>("Toolbar1")->isVisible());
  EXPECT_EQ(window->findScreen("Form25"), nullptr);
  EXPECT_EQ(window->findScreen("Form2"), nullptr);
  EXPECT_EQ(window->findScreen("Form26"), nullptr);
  EXPECT_TRUE(window->statusNotice().isEmpty());
  EXPECT_TRUE(window->record().main.txt_c.empty());
  for (const char* off : {"Men_FSav", "Men_FOvw", "Men_FImg", "Men_FPrn", "Men_FEWri"})
    EXPECT_FALSE(enabled(off)) << off;
  EXPECT_FALSE(window->toolbarButton(5)->isEnabled());
}

TEST_F(MainWindowTest, ExitAndCloseBoxAskWithTheirOwnWording) {
  QSignalSpy ended(window.get(), &MainWindow::exitConfirmed);
  prompter.answers = {PromptAnswer::No};
  trigger("Men_FEnd");
  ASSERT_EQ(prompter.requests.size(), 1);
  EXPECT_EQ(prompter.requests[0].text, "終了してもよろしいですか？");
  EXPECT_EQ(prompter.requests[0].title, "確認");
  EXPECT_EQ(prompter.requests[0].buttons, PromptButtons::YesNo);
  EXPECT_EQ(prompter.requests[0].icon, PromptIcon::None);
  EXPECT_EQ(prompter.requests[0].defaultButton, PromptAnswer::No);
  EXPECT_TRUE(window->isVisible());

  prompter.answers = {PromptAnswer::No};
  window->close();
  ASSERT_EQ(prompter.requests.size(), 2);
  EXPECT_EQ(prompter.requests[1].text, "終了してもよろしいですか?");
  EXPECT_EQ(prompter.requests[1].title, "ミルカナ");
  EXPECT_EQ(prompter.requests[1].buttons, PromptButtons::YesNo);
  EXPECT_EQ(prompter.requests[1].icon, PromptIcon::None);
  EXPECT_EQ(prompter.requests[1].defaultButton, PromptAnswer::Yes);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(ended.count(), 0);

  // Yes to the close box ends at once, without a second question.
  prompter.answers = {PromptAnswer::Yes};
  window->close();
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(prompter.requests.size(), 3);
  EXPECT_EQ(ended.count(), 1);
}

TEST_F(MainWindowTest, ExitYesEndsWithoutAskingAgain) {
  QSignalSpy ended(window.get(), &MainWindow::exitConfirmed);
  prompter.answers = {PromptAnswer::Yes};
  trigger("Men_FEnd");
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(prompter.requests.size(), 1);
  EXPECT_EQ(ended.count(), 1);
}

TEST_F(MainWindowTest, SaveAsSaveOverAndOpenRestoreTheProject) {
  QTemporaryDir dir;
  const QString path = dir.filePath("rect.vor");
  // A rectangular pipe with Kutter and a 25 % surcharge.
  window->fileNew();
  enterMainInputs();
  click("Form25", "opt12");
  QTest::keyClicks(box("Form25", "txt1"), "25");
  click("Form25", "opt2");
  control<QListWidget>("Form25", "lst_s")->setCurrentRow(5);
  ASSERT_TRUE(shown("Form1"));
  EXPECT_EQ(window->findScreen("Form2"), nullptr);
  type("Form1", "txt_m", "ボックスカルバート");
  type("Form1", "txt1", "1.0");
  type("Form1", "txt2", "2.0");
  type("Form1", "txt3", "2");
  type("Form1", "txt4", "0.015");
  click("Form1", "cmd1");
  ASSERT_TRUE(shown("Form26")) << prompter.lastText().toStdString();
  const QString q1 = control<QLabel>("Form26", "lbl3")->text();
  const QString q2 = control<QLabel>("Form26", "lbl6")->text();
  const QString v = control<QLabel>("Form26", "lbl9")->text();

  // Save As: dialog, file written, name kept, save over offered.
  prompter.clear();
  prompter.files = {path};
  trigger("Men_FSav");
  ASSERT_EQ(prompter.fileRequests.size(), 1);
  EXPECT_TRUE(prompter.fileRequests[0].save);
  EXPECT_EQ(prompter.fileRequests[0].title, "ミルカナの保存");
  EXPECT_EQ(prompter.fileRequests[0].filter, "ミルカナ(.vor) (*.vor)");
  EXPECT_EQ(prompter.fileRequests[0].directory,
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + "/ミルカナ");
  EXPECT_TRUE(prompter.requests.isEmpty());
  ASSERT_TRUE(QFile::exists(path));
  EXPECT_EQ(window->fileName(), path);
  EXPECT_TRUE(window->toolbarButton(3)->isEnabled());
  openFileMenu();
  EXPECT_TRUE(enabled("Men_FOvw"));

  auto replaceContent = [&](const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  };
  auto content = [&] {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  };

  // Save As onto an existing file asks; No writes nothing.
  replaceContent("old");
  prompter.clear();
  prompter.files = {path};
  prompter.answers = {PromptAnswer::No};
  trigger("Men_FSav");
  ASSERT_EQ(prompter.requests.size(), 1);
  EXPECT_EQ(prompter.requests[0].text, "同名ファイルがあります。上書き保存しますか？");
  EXPECT_EQ(prompter.requests[0].title, "上書き保存の確認");
  EXPECT_EQ(prompter.requests[0].buttons, PromptButtons::YesNo);
  EXPECT_EQ(prompter.requests[0].icon, PromptIcon::Stop);
  EXPECT_EQ(prompter.requests[0].defaultButton, PromptAnswer::No);
  EXPECT_EQ(content(), "old");

  // Save over: Cancel (preselected) writes nothing, OK writes.
  prompter.clear();
  window->toolbarButton(3)->trigger();
  ASSERT_EQ(prompter.requests.size(), 1);
  EXPECT_EQ(prompter.requests[0].text, "上書き保存してもよろしいですか？");
  EXPECT_EQ(prompter.requests[0].title, "確認");
  EXPECT_EQ(prompter.requests[0].buttons, PromptButtons::OkCancel);
  EXPECT_EQ(prompter.requests[0].defaultButton, PromptAnswer::Cancel);
  EXPECT_EQ(content(), "old");
  prompter.answers = {PromptAnswer::Ok};
  trigger("Men_FOvw");
  const QByteArray saved = content();
  EXPECT_TRUE(saved.startsWith("0.5\r\n10000\r\n72\r\n 5 \r\n"));

  // Open after New: every screen and caption comes back from the file.
  window->fileNew();
  prompter.clear();
  prompter.files = {path};
  window->toolbarButton(2)->trigger();
  ASSERT_EQ(prompter.fileRequests.size(), 1);
  EXPECT_FALSE(prompter.fileRequests[0].save);
  EXPECT_EQ(prompter.fileRequests[0].title, "ミルカナを開く");
  EXPECT_EQ(prompter.fileRequests[0].filter, "ミルカナ(.vor) (*.vor)");
  // It starts in the folder used last: the one saved into above.
  EXPECT_EQ(prompter.fileRequests[0].directory, QFileInfo(path).absolutePath());
  EXPECT_TRUE(prompter.requests.isEmpty()) << prompter.lastText().toStdString();
  EXPECT_EQ(window->fileName(), path);
  EXPECT_EQ(placeOf("Form25"), QPoint(0, 0));
  EXPECT_EQ(box("Form25", "txt_c")->text(), "0.5");
  EXPECT_EQ(box("Form25", "txt3")->text(), "0.01");
  EXPECT_TRUE(control<QRadioButton>("Form25", "opt2")->isChecked());
  EXPECT_TRUE(box("Form25", "txt1")->isVisible());
  EXPECT_EQ(box("Form25", "txt1")->text(), "25");
  EXPECT_EQ(control<QListWidget>("Form25", "lst_s")->currentRow(), 5);
  ASSERT_TRUE(shown("Form1"));
  EXPECT_EQ(placeOf("Form1"), QPoint(TwipsToPixels(6165), 0));
  EXPECT_EQ(box("Form1", "txt_m")->text(), "ボックスカルバート");
  EXPECT_EQ(box("Form1", "txt4")->text(), "0.015");
  EXPECT_EQ(window->findScreen("Form2"), nullptr);
  ASSERT_TRUE(shown("Form26"));
  EXPECT_EQ(placeOf("Form26"), QPoint(0, TwipsToPixels(5115)));
  EXPECT_EQ(control<QLabel>("Form26", "lbl3")->text(), q1);
  EXPECT_EQ(control<QLabel>("Form26", "lbl6")->text(), q2);
  EXPECT_EQ(control<QLabel>("Form26", "lbl9")->text(), v);
  EXPECT_EQ(control<QLabel>("Form26", "lbl16")->text(), "1.25");
  EXPECT_TRUE(window->toolbarButton(3)->isEnabled());
  EXPECT_TRUE(window->toolbarButton(5)->isEnabled());

  // Saving again writes the same file.
  prompter.answers = {PromptAnswer::Ok};
  trigger("Men_FOvw");
  EXPECT_EQ(content(), saved);

  // A changed input withdraws the result: save over and print go at once.
  QTest::keyClicks(box("Form25", "txt_a"), "0");
  for (int index : {3, 5, 6}) EXPECT_FALSE(window->toolbarButton(index)->isEnabled()) << index;
  openFileMenu();
  EXPECT_FALSE(enabled("Men_FOvw"));
  EXPECT_EQ(window->fileName(), path);
  QTest::mouseClick(control<QPushButton>("Form1", "cmd1"), Qt::LeftButton);
  EXPECT_TRUE(window->toolbarButton(3)->isEnabled());

  // A cancelled Open dialog keeps the project, without a file name.
  prompter.clear();
  trigger("Men_FOpn");
  EXPECT_TRUE(window->fileName().isEmpty());
  EXPECT_TRUE(shown("Form25"));
  EXPECT_FALSE(window->toolbarButton(3)->isEnabled());
}

TEST_F(MainWindowTest, CancelledSaveAsLeavesNoFileName) {
  QTemporaryDir dir;
  runLargePipe();
  prompter.files = {dir.filePath("a.vor")};
  trigger("Men_FSav");
  ASSERT_EQ(window->fileName(), dir.filePath("a.vor"));
  trigger("Men_FSav");  // no file given: the dialog was cancelled
  EXPECT_TRUE(window->fileName().isEmpty());
  EXPECT_FALSE(window->toolbarButton(3)->isEnabled());
  openFileMenu();
  EXPECT_FALSE(enabled("Men_FOvw"));
  EXPECT_TRUE(enabled("Men_FSav"));
}

TEST_F(MainWindowTest, FailedSaveShowsAMessageAndKeepsTheOldFileAndProject) {
  QTemporaryDir dir;
  // A name so long that no scratch file can be made beside it.
  const QString path = dir.filePath(QString(250, QLatin1Char('p')) + ".vor");
  {
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("previous project\r\n");
  }
  runLargePipe();
  prompter.clear();
  prompter.files = {path};
  prompter.answers = {PromptAnswer::Yes};  // overwrite the existing file
  trigger("Men_FSav");
  ASSERT_EQ(prompter.requests.size(), 2);
  EXPECT_EQ(prompter.requests[1].title, "エラーメッセージ");
  EXPECT_FALSE(prompter.requests[1].text.isEmpty());
  QFile old(path);
  ASSERT_TRUE(old.open(QIODevice::ReadOnly));
  EXPECT_EQ(old.readAll(), "previous project\r\n");
  // The project is untouched and has not taken the name it could not write.
  EXPECT_TRUE(window->fileName().isEmpty());
  EXPECT_TRUE(window->record().run.exists);
  EXPECT_TRUE(shown("Form26"));
}

TEST_F(MainWindowTest, UnreadableFileLeavesTheOpenProject) {
  runLargePipe();
  prompter.clear();
  EXPECT_FALSE(window->openProject("/nonexistent/folder/none.vor"));
  ASSERT_EQ(prompter.requests.size(), 1);
  EXPECT_EQ(prompter.requests[0].title, "エラーメッセージ");
  EXPECT_TRUE(shown("Form25"));
  EXPECT_TRUE(shown("Form26"));
  EXPECT_EQ(box("Form25", "txt_c")->text(), "0.5");
}

TEST_F(MainWindowTest, ExampleProjectsOpenWithTheirFacilityScreenAndStoredResults) {
  struct Example {
    const char* file;
    const char* facility;
    bool no;
  };
  for (const Example& example : {Example{"example_01.vor", "Form2", true},
                                 Example{"example_05.vor", "Form5", false},
                                 Example{"example_06.vor", "Form1", true}}) {
    SCOPED_TRACE(example.file);
    prompter.clear();
    const QString path = QStringLiteral(MK_EXAMPLES_DIR "/") + QString::fromLatin1(example.file);
    ASSERT_TRUE(window->openProject(path));
    EXPECT_TRUE(shown("Form25"));
    EXPECT_TRUE(shown(example.facility));
    ASSERT_TRUE(shown("Form26"));
    EXPECT_EQ(prompter.beeps, example.no ? 1 : 0);
    EXPECT_EQ(window->statusNotice(), QString::fromUtf8(example.no ? kNoticeRunNo : kNoticeRunOk));
    EXPECT_EQ(control<QLabel>("Form26", "lbl3")->text().toStdString(), window->record().results.lbl3);
    EXPECT_FALSE(control<QLabel>("Form26", "lbl3")->text().isEmpty());
  }
  // Example 01 computes I and uses a typed C: txt_i computed, txt_c typed.
  ASSERT_TRUE(window->openProject(QStringLiteral(MK_EXAMPLES_DIR "/example_01.vor")));
  EXPECT_FALSE(box("Form25", "txt_i")->isBordered());
  EXPECT_TRUE(box("Form25", "txt_c")->isBordered());
  EXPECT_EQ(box("Form25", "txt_i")->text(), "89.1");
  EXPECT_EQ(control<QLabel>("Form2", "Label1")->text(), "ヒューム管");
  EXPECT_EQ(control<QListWidget>("Form2", "lst_pu")->currentRow(), 22);
  EXPECT_EQ(control<QComboBox>("Form2", "cbo1")->currentIndex(), 7);
}

TEST_F(MainWindowTest, OpenStylesTheWeightedBoxesAndOffersAResultWithoutCapacity) {
  // example_07 weights C by its land uses and has a typed I.
  const QString example = QStringLiteral(MK_EXAMPLES_DIR "/example_07.vor");
  ASSERT_TRUE(window->openProject(example));
  EXPECT_FALSE(box("Form25", "txt_c")->isBordered());
  EXPECT_FALSE(box("Form25", "txt_a")->isBordered());
  EXPECT_TRUE(box("Form25", "txt_i")->isBordered());

  // The same project with a zero slope, or with neither velocity formula
  // chosen: the run has no capacity (V = Q2 = 0, so NO) and the results
  // screen shows the stored captions.  Open enables the toolbar's save and
  // print buttons as always; the File menu, which reads Q2 = 0 as "no run
  // result", then offers none of the result's entries and disables them.
  QFile file(example);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QList<QByteArray> lines = file.readAll().split('\n');
  ASSERT_EQ(lines[20], "30\r");  // Form2 txt1, the slope
  ASSERT_EQ(lines[4], "False\r");  // opt1 (Manning); opt2 (Kutter) follows
  QTemporaryDir dir;
  for (const int variant : {0, 1}) {
    SCOPED_TRACE(variant == 0 ? "zero slope" : "no velocity formula");
    QList<QByteArray> changed = lines;
    if (variant == 0) changed[20] = "0\r";
    else changed[5] = "False\r";
    const QString path = dir.filePath(QStringLiteral("variant%1.vor").arg(variant));
    QFile out(path);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(changed.join('\n'));
    out.close();
    window->fileNew();
    prompter.clear();
    ASSERT_TRUE(window->openProject(path));
    EXPECT_TRUE(prompter.requests.isEmpty());
    const RunResult& run = window->record().run;
    EXPECT_EQ(run.V, 0.0);
    EXPECT_EQ(run.Q2, 0.0);
    EXPECT_NEAR(run.Q1, 0.0124, 5e-5);  // as the report of example_07 says
    EXPECT_EQ(run.verdict, Verdict::NO);
    EXPECT_EQ(prompter.beeps, 1);
    EXPECT_EQ(window->statusNotice(), QString::fromUtf8(kNoticeRunNo));
    ASSERT_TRUE(shown("Form26"));
    EXPECT_EQ(control<QLabel>("Form26", "lbl6")->text(), "0.0050");
    EXPECT_EQ(control<QLabel>("Form26", "lbl9")->text(), "1.3063");
    for (int index : {3, 5, 6}) EXPECT_TRUE(window->toolbarButton(index)->isEnabled()) << index;
    openFileMenu();
    for (const char* entry : {"Men_FOvw", "Men_FSav", "Men_FImg", "Men_FPrn", "Men_FEWri"})
      EXPECT_FALSE(enabled(entry)) << entry;
    EXPECT_TRUE(enabled("Men_FOpn"));
    for (int index : {3, 5, 6}) EXPECT_FALSE(window->toolbarButton(index)->isEnabled()) << index;
  }
}

TEST_F(MainWindowTest, WriteAppendsTheReportAndBeepsOnNo) {
  QTemporaryDir dir;
  const QString previous = QDir::currentPath();
  QDir::setCurrent(dir.path());
  runTooSmallPipe();
  prompter.clear();
  openFileMenu();
  trigger("Men_FEWri");
  EXPECT_EQ(prompter.beeps, 1);
  EXPECT_TRUE(prompter.requests.isEmpty());
  const qint64 once = QFileInfo(dir.filePath("Gouryu.txt")).size();
  EXPECT_GT(once, 0);
  trigger("Men_FEWri");
  EXPECT_EQ(QFileInfo(dir.filePath("Gouryu.txt")).size(), 2 * once);

  // A report file that cannot be written says so.
  QFile::remove(dir.filePath("Gouryu.txt"));
  QDir(dir.path()).mkdir("Gouryu.txt");
  prompter.clear();
  trigger("Men_FEWri");
  ASSERT_EQ(prompter.requests.size(), 1);
  EXPECT_EQ(prompter.requests[0].title, "エラーメッセージ");
  QDir::setCurrent(previous);
}

TEST_F(MainWindowTest, AboutBoxShowsNameVersionAndOk) {
  trigger("Men_HVer");
  auto* about = window->findChild<QDialog*>("Form10");
  ASSERT_NE(about, nullptr);
  EXPECT_TRUE(about->isVisible());
  EXPECT_TRUE(about->isModal());
  EXPECT_EQ(about->windowTitle(), "バージョン情報");
  bool versionShown = false;
  for (auto* label : about->findChildren<QLabel*>())
    versionShown = versionShown || label->text() == "ミルカナ Version 1.32";
  EXPECT_TRUE(versionShown);
  auto* ok = about->findChild<QPushButton*>("cmdOK");
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->text(), "ＯＫ");
  QTest::mouseClick(ok, Qt::LeftButton);
  EXPECT_FALSE(about->isVisible());
}

TEST_F(MainWindowTest, WithdrawingTheResultClosesThePrintImage) {
  runLargePipe();
  for (const char* next : {"", "next"}) {
    SCOPED_TRACE(next);
    openFileMenu();
    trigger("Men_FImg");
    ASSERT_TRUE(shown("Form7"));
    EXPECT_FALSE(window->findChild<QToolBar*>("Toolbar1")->isVisible());
    if (*next) window->findScreen("Form7")->findChild<QAction*>("nextPage")->trigger();
    // Any input change withdraws the result: no page of it can be written
    // or printed any more, and the toolbar comes back as on 閉じる.
    type("Form25", "txt_c", *next ? "0.5" : "0.6");
    EXPECT_EQ(window->findScreen("Form7"), nullptr);
    EXPECT_EQ(window->findScreen("Form3"), nullptr);
    EXPECT_FALSE(window->record().run.exists);
    EXPECT_TRUE(window->findChild<QToolBar*>("Toolbar1")->isVisible());
    EXPECT_FALSE(window->toolbarButton(5)->isEnabled());
    click("Form2", "cmd1");
    ASSERT_TRUE(shown("Form26"));
  }
}

TEST_F(MainWindowTest, ChildWindowsCloseByTheirCloseBoxAndCtrlF4) {
  runLargePipe();
  ASSERT_TRUE(shown("Form26"));
  auto subOf = [&](const char* form) { return qobject_cast<QMdiSubWindow*>(window->findScreen(form)->parentWidget()); };
  // The main and facility screens have none; the results screen has one.
  EXPECT_FALSE(subOf("Form25")->windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(subOf("Form2")->windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_TRUE(subOf("Form26")->windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_TRUE(subOf("Form26")->windowFlags() & Qt::WindowSystemMenuHint);

  // Ctrl+F4 on a screen without a close box does nothing.
  window->workArea()->setActiveSubWindow(subOf("Form2"));
  QTest::keyClick(window.get(), Qt::Key_F4, Qt::ControlModifier);
  EXPECT_TRUE(shown("Form2"));
  EXPECT_TRUE(shown("Form26"));

  // On the results screen it discards the result.
  window->workArea()->setActiveSubWindow(subOf("Form26"));
  QTest::keyClick(window.get(), Qt::Key_F4, Qt::ControlModifier);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(window->findScreen("Form26"), nullptr);
  EXPECT_FALSE(window->record().run.exists);
  EXPECT_FALSE(window->toolbarButton(6)->isEnabled());

  // On the print image it acts as 閉じる: the toolbar comes back.
  click("Form2", "cmd1");
  openFileMenu();
  trigger("Men_FImg");
  ASSERT_TRUE(shown("Form7"));
  window->workArea()->setActiveSubWindow(subOf("Form7"));
  QTest::keyClick(window.get(), Qt::Key_F4, Qt::ControlModifier);
  QCoreApplication::processEvents();
  EXPECT_FALSE(shown("Form7"));
  EXPECT_TRUE(window->findChild<QToolBar*>("Toolbar1")->isVisible());
  EXPECT_TRUE(shown("Form26"));
}

TEST_F(MainWindowTest, OpenShowsAComputedSewageFlowBorderless) {
  // Example 03 computes its sewage flow; example 02 types it.
  ASSERT_TRUE(window->openProject(QStringLiteral(MK_EXAMPLES_DIR "/example_03.vor")));
  EXPECT_FALSE(box("Form25", "txt3")->isBordered());
  ASSERT_TRUE(window->openProject(QStringLiteral(MK_EXAMPLES_DIR "/example_02.vor")));
  EXPECT_TRUE(box("Form25", "txt3")->isBordered());
  window->fileNew();
  EXPECT_TRUE(box("Form25", "txt3")->isBordered());
}

TEST_F(MainWindowTest, DialogsMakeTheProgramFolderOnlyForAFileSavedThere) {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + "/ミルカナ";
  QDir().rmdir(folder);  // only when empty: a user's projects are never touched
  if (QFileInfo::exists(folder)) GTEST_SKIP() << "the program's folder holds files";
  const QString documents = QFileInfo(folder).absolutePath();

  trigger("Men_FOpn");  // cancelled
  ASSERT_EQ(prompter.fileRequests.size(), 1);
  EXPECT_EQ(prompter.fileRequests[0].directory, documents);
  EXPECT_FALSE(QFileInfo::exists(folder));

  runLargePipe();
  prompter.clear();
  trigger("Men_FSav");  // cancelled: the folder the dialog started in goes again
  ASSERT_EQ(prompter.fileRequests.size(), 1);
  EXPECT_EQ(prompter.fileRequests[0].directory, folder);
  EXPECT_FALSE(QFileInfo::exists(folder));

  prompter.files = {folder + "/saved.vor"};
  trigger("Men_FSav");
  EXPECT_TRUE(QFileInfo::exists(folder + "/saved.vor"));
  QFile::remove(folder + "/saved.vor");
  QDir().rmdir(folder);
}

}  // namespace
}  // namespace mk
