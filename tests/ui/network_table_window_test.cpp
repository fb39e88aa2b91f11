// The network flow table among the main window's other child windows: a
// row opened beside a maximised table, Ctrl+Tab, one recent list for
// projects and tables, and the save question before a changed table goes.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "calc/check_run.h"
#include "calc/network.h"
#include "project_file/network_file.h"
#include "ui/main_window.h"
#include "ui/network_table_menu.h"
#include "ui/network_table_screen.h"
#include "ui/prompter.h"
#include "ui/widget_support.h"

namespace mk {
namespace {

const QString kExample = QStringLiteral(MK_EXAMPLES_DIR "/example_02.vor");

// Two roomy Hume pipes in a line: the table computes.
NetworkRecord TwoPipes() {
  NetworkRecord r;
  r.settings.title = "下水幹線";
  r.settings.a = "5000";
  r.settings.b = "40";
  r.settings.t1 = "7";
  for (const char* name : {"A-1", "A-2"}) {
    NetworkSegment s = NewNetworkSegment();
    s.name = name;
    s.upstream = name[2] == '1' ? "1" : "2";
    s.downstream = name[2] == '1' ? "2" : "3";
    s.length = "40";
    s.area = "0.1";
    s.c = "0.6";
    s.kind = NetworkFacilityKind::Hume;
    s.sizeIndex = 8;
    s.roughness = NetworkDefaultRoughness(s.kind);
    s.slope = "5";
    r.segments.push_back(s);
  }
  return r;
}

class NetworkTableWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<MainWindow>(prompter);
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    menu = window->findChild<NetworkTableMenu*>();
    ASSERT_NE(menu, nullptr);
  }
  void TearDown() override {
    window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  QAction* action(const char* name) { return window->findChild<QAction*>(QString::fromLatin1(name)); }
  void trigger(const char* name) {
    if (QByteArray(name).startsWith("Men_F")) emit window->findChild<QMenu*>("Men_F")->aboutToShow();
    action(name)->trigger();
  }
  NetworkTableScreen* newTable(const NetworkRecord& record) {
    trigger("Men_TNew");
    NetworkTableScreen* screen = menu->screen();
    if (screen) screen->load(record, QString());
    return screen;
  }
  QMdiSubWindow* subOf(QWidget* screen) { return screen ? qobject_cast<QMdiSubWindow*>(screen->parentWidget()) : nullptr; }
  QString activeName() {
    QMdiSubWindow* sub = window->workArea()->activeSubWindow();
    return sub ? sub->objectName() : QString();
  }
  void ctrlTab(bool back = false) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    if (back)
      QTest::keyClick(focus, Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
    else
      QTest::keyClick(focus, Qt::Key_Tab, Qt::ControlModifier);
    QCoreApplication::processEvents();
  }

  RecordingPrompter prompter;
  std::unique_ptr<MainWindow> window;
  NetworkTableMenu* menu = nullptr;
};

// A table file named at start (or chosen from the recent list) opens as a
// table, never read as a project's lines.
TEST_F(NetworkTableWindowTest, ATableFileOpensAsATableNotAsAProject) {
  ASSERT_TRUE(window->openDocument(QStringLiteral(MK_TEST_DATA_DIR "/network/example.mkt")));
  ASSERT_NE(menu->screen(), nullptr);
  EXPECT_EQ(menu->screen()->record().segments.size(), 3u);
  EXPECT_EQ(window->findChild<QWidget*>("Form25"), nullptr);
}

TEST_F(NetworkTableWindowTest, RowOpensBesideAMaximisedTableAndIsNamedAfterItsRouteNumber) {
  NetworkTableScreen* screen = newTable(TwoPipes());
  ASSERT_NE(screen, nullptr);
  subOf(screen)->showMaximized();
  screen->table()->setCurrentIndex(screen->model()->index(1, 0));
  screen->findChild<QPushButton*>("cmd_open_row")->click();

  // The screens stand where Open puts them, not maximised like the table.
  QWidget* main = window->findScreen("Form25");
  QWidget* facility = window->findScreen(QString::fromStdString(MainFacilityForm(window->record().main.lst_s)));
  ASSERT_NE(main, nullptr);
  ASSERT_NE(facility, nullptr);
  EXPECT_FALSE(subOf(main)->isMaximized());
  EXPECT_FALSE(subOf(facility)->isMaximized());
  EXPECT_EQ(subOf(main)->pos(), QPoint(0, 0));
  EXPECT_EQ(subOf(facility)->pos(), QPoint(TwipsToPixels(6165), 0));
  EXPECT_TRUE(subOf(screen)->isMaximized());

  EXPECT_TRUE(window->statusNotice().startsWith("流量計算表「下水幹線」の路線番号 A-2 より。"))
      << window->statusNotice().toStdString();
  trigger("Men_FSav");
  trigger("Men_FPdf");
  ASSERT_EQ(prompter.fileRequests.size(), 2);
  EXPECT_TRUE(prompter.fileRequests[0].directory.endsWith("/A-2.vor")) << prompter.fileRequests[0].directory.toStdString();
  EXPECT_TRUE(prompter.fileRequests[1].directory.endsWith("/A-2.pdf")) << prompter.fileRequests[1].directory.toStdString();
}

TEST_F(NetworkTableWindowTest, EditMenuActsOnTheActiveChildWindow) {
  window->fileNew();
  QTest::keyClicks(window->findScreen("Form25")->findChild<QLineEdit*>("txt_c"), "0.5");
  NetworkTableScreen* screen = newTable(TwoPipes());
  ASSERT_NE(screen, nullptr);
  QCoreApplication::processEvents();
  // The table is active: its history, empty so far, decides.
  EXPECT_FALSE(action("Men_EUndo")->isEnabled());
  screen->table()->setCurrentIndex(screen->model()->index(0, 0));
  screen->findChild<QPushButton*>("cmd_delete")->click();
  ASSERT_EQ(screen->record().segments.size(), 1u);
  EXPECT_TRUE(action("Men_EUndo")->isEnabled());
  screen->table()->setFocus();
  QTest::keyClick(screen->table(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(screen->record().segments.size(), 2u);
  EXPECT_EQ(window->record().main.txt_c, "0.5");  // the project untouched
  QTest::keyClick(screen->table(), Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(screen->record().segments.size(), 1u);

  // The main screen active: the project's history.
  window->workArea()->setActiveSubWindow(subOf(window->findScreen("Form25")));
  QCoreApplication::processEvents();
  EXPECT_TRUE(action("Men_EUndo")->isEnabled());
  action("Men_EUndo")->trigger();
  EXPECT_EQ(window->record().main.txt_c, "");
  EXPECT_EQ(screen->record().segments.size(), 1u);
}

TEST_F(NetworkTableWindowTest, CtrlTabStepsThroughEveryChildWindow) {
  window->fileNew();  // the main screen and the VP pipe's screen
  ASSERT_NE(newTable(TwoPipes()), nullptr);
  QCoreApplication::processEvents();
  ASSERT_EQ(activeName(), "NetworkTableWindow");
  QStringList seen;
  for (int i = 0; i < 3; ++i) {
    ctrlTab();
    seen << activeName();
  }
  EXPECT_EQ(seen.size(), 3);
  EXPECT_EQ(seen.last(), "NetworkTableWindow");  // round all three
  EXPECT_EQ(seen.removeDuplicates(), 0);
  ctrlTab(true);
  EXPECT_EQ(activeName(), seen[1]);
}

TEST_F(NetworkTableWindowTest, TablesShareTheRecentListAndAChangedOneIsSavedBeforeItIsReplaced) {
  QTemporaryDir dir;
  const QString table = dir.filePath("幹線.mkt");
  NetworkTableScreen* screen = newTable(TwoPipes());
  ASSERT_NE(screen, nullptr);
  prompter.files = {table};
  trigger("Men_TSav");
  ASSERT_EQ(prompter.fileRequests.size(), 1);
  EXPECT_TRUE(prompter.fileRequests[0].directory.endsWith("/下水幹線.mkt"));  // the title proposed
  ASSERT_TRUE(QFile::exists(table));
  ASSERT_TRUE(window->openProject(kExample));

  // One list, newest first; the table's dialogs start in the folder used last.
  emit window->findChild<QMenu*>("Men_F")->aboutToShow();
  ASSERT_NE(action("Men_FRec2"), nullptr);
  EXPECT_TRUE(action("Men_FRec1")->text().endsWith(QDir::toNativeSeparators(kExample)));
  EXPECT_TRUE(action("Men_FRec2")->text().endsWith(QDir::toNativeSeparators(table)));
  prompter.clear();
  trigger("Men_TOpn");  // cancelled
  ASSERT_EQ(prompter.fileRequests.size(), 1);
  EXPECT_EQ(prompter.fileRequests[0].directory, QFileInfo(kExample).absolutePath());

  // A changed table, then its recent entry: 保存 saves it over its file
  // without a further question, then the file is opened again.
  auto* title = screen->findChild<QLineEdit*>("title");
  title->setFocus();
  title->selectAll();
  QTest::sendKeyEvent(QTest::Click, title, Qt::Key_unknown, QStringLiteral("雨水幹線"), Qt::NoModifier);
  ASSERT_TRUE(screen->isModified());
  prompter.clear();
  prompter.answers = {PromptAnswer::Save};
  emit window->findChild<QMenu*>("Men_F")->aboutToShow();
  action("Men_FRec2")->trigger();
  ASSERT_EQ(prompter.requests.size(), 1);
  EXPECT_EQ(prompter.requests[0].buttons, PromptButtons::SaveDiscardCancel);
  EXPECT_EQ(ReadNetworkFile(table).record.settings.title, "雨水幹線");
  ASSERT_NE(menu->screen(), nullptr);
  EXPECT_FALSE(menu->screen()->isModified());
  EXPECT_EQ(menu->screen()->fileName(), QFileInfo(table).absoluteFilePath());

  // キャンセル keeps the changed table; 保存しない drops the change.
  title->selectAll();
  QTest::keyClicks(title, "X");
  prompter.clear();
  prompter.answers = {PromptAnswer::Cancel, PromptAnswer::Discard};
  trigger("Men_TNew");
  EXPECT_EQ(menu->screen()->record().settings.title, "X");
  trigger("Men_TNew");
  EXPECT_EQ(prompter.requests.size(), 2);
  EXPECT_EQ(menu->screen()->record().settings.title, "");
  EXPECT_EQ(ReadNetworkFile(table).record.settings.title, "雨水幹線");
}

}  // namespace
}  // namespace mk
