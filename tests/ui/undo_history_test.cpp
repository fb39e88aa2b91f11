// Undo / redo as a user drives them: typed boxes (one step per visit, with
// Ctrl+Z / Ctrl+Y pressed in the box), an option, a sub-screen's OK, the
// result never coming back, and New forgetting the steps.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "ui/main_window.h"
#include "ui/prompter.h"
#include "ui/recovery.h"
#include "ui/widget_support.h"

namespace mk {
namespace {

class UndoHistoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<MainWindow>(prompter);
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
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
  QString text(const QString& form, const QString& name) {
    auto* box = control<EntryBox>(form, name);
    return box ? box->text() : QStringLiteral("(missing)");
  }
  // A visit of a box: focus, type key by key, leave with Tab.
  void visit(const QString& form, const QString& name, const QString& typed, bool leave = true) {
    auto* box = control<EntryBox>(form, name);
    ASSERT_NE(box, nullptr);
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, typed);
    if (leave) QTest::keyClick(box, Qt::Key_Tab);
    settle();
  }
  void click(const QString& form, const QString& name) {
    auto* button = control<QAbstractButton>(form, name);
    ASSERT_NE(button, nullptr) << name.toStdString();
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    settle();
  }
  // A key pressed wherever the focus is, as the user presses it.
  void press(Qt::Key key) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::keyClick(focus, key, Qt::ControlModifier);
    settle();
  }
  void settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  QAction* action(const char* name) { return window->findChild<QAction*>(QString::fromLatin1(name)); }
  bool canUndo() { return action("Men_EUndo")->isEnabled(); }
  bool canRedo() { return action("Men_ERedo")->isEnabled(); }

  RecordingPrompter prompter;
  std::unique_ptr<MainWindow> window;
};

TEST_F(UndoHistoryTest, TypingIsOneStepPerBoxVisitAndTheKeysInABoxUndoTheProject) {
  const QList<QAction*> bar = window->menuBar()->actions();
  ASSERT_GE(bar.size(), 2);
  EXPECT_EQ(bar[1]->text(), "編集(&E)");  // right after ﾌｧｲﾙ
  EXPECT_EQ(action("Men_EUndo")->text(), "元に戻す(&U)");
  EXPECT_EQ(action("Men_ERedo")->text(), "やり直し(&R)");
  window->fileNew();
  settle();
  EXPECT_FALSE(canUndo());
  visit("Form25", "txt_c", "0.65");
  visit("Form25", "txt_a", "1200", /*leave=*/false);
  EXPECT_TRUE(canUndo());  // the visit still going on counts

  // Ctrl+Z in the box being typed into takes the whole visit back, not a
  // character (the box's own undo would leave "120").
  press(Qt::Key_Z);
  EXPECT_EQ(text("Form25", "txt_a"), "");
  EXPECT_EQ(text("Form25", "txt_c"), "0.65");
  press(Qt::Key_Z);
  EXPECT_EQ(text("Form25", "txt_c"), "");
  EXPECT_EQ(window->record().main.txt_c, "");
  EXPECT_FALSE(canUndo());
  EXPECT_TRUE(canRedo());

  press(Qt::Key_Y);
  EXPECT_EQ(text("Form25", "txt_c"), "0.65");
  press(Qt::Key_Y);
  EXPECT_EQ(text("Form25", "txt_a"), "1200");
  EXPECT_EQ(window->record().main.txt_a, "1200");
  EXPECT_FALSE(canRedo());

  // A new edit after an undo drops what could have been redone.
  press(Qt::Key_Z);
  visit("Form25", "txt_i", "72");
  EXPECT_FALSE(canRedo());
  EXPECT_EQ(text("Form25", "txt_a"), "");
}

TEST_F(UndoHistoryTest, AnOptionAndASubScreenOkAreStepsAndTheResultStaysWithdrawn) {
  ASSERT_TRUE(window->openProject(QStringLiteral(MK_EXAMPLES_DIR "/example_02.vor")));
  settle();
  ASSERT_NE(window->findScreen("Form26"), nullptr);
  const ProjectRecord opened = window->record();

  // An option: the surcharge's other choice withdraws the result; undo
  // restores the option but not the result (計算 is pressed again).
  const bool surcharge = opened.main.opt12;
  click("Form25", surcharge ? "opt11" : "opt12");
  EXPECT_NE(window->record().main.opt12, surcharge);
  action("Men_EUndo")->trigger();
  settle();
  EXPECT_EQ(window->record().main.opt12, surcharge);
  EXPECT_EQ(control<QRadioButton>("Form25", "opt12")->isChecked(), surcharge);
  EXPECT_EQ(control<EntryBox>("Form25", "txt1")->isVisible(), surcharge);
  EXPECT_TRUE(SameInputs(window->record(), opened));
  EXPECT_EQ(window->findScreen("Form26"), nullptr);
  EXPECT_FALSE(window->record().run.exists);
  EXPECT_FALSE(window->toolbarButton(5)->isEnabled());

  // The runoff screen: nothing is a step while it is open; its OK is one.
  click("Form25", "Command4");
  ASSERT_TRUE(window->findScreen("Form16")->isVisible());
  click("Form16", "chk_k1");
  visit("Form16", "txt_a1", "500");
  EXPECT_FALSE(canUndo());
  click("Form16", "cmd1");
  ASSERT_TRUE(prompter.requests.isEmpty()) << prompter.lastText().toStdString();
  EXPECT_EQ(window->record().main.txt_a, "500.00");
  EXPECT_TRUE(canUndo());
  action("Men_EUndo")->trigger();
  settle();
  EXPECT_TRUE(SameInputs(window->record(), opened));
  EXPECT_EQ(text("Form25", "txt_a"), QString::fromStdString(opened.main.txt_a));
  action("Men_ERedo")->trigger();
  settle();
  EXPECT_EQ(text("Form25", "txt_a"), "500.00");
  EXPECT_EQ(window->record().runoff.txt_a[0], "500");
}

TEST_F(UndoHistoryTest, NewIsAStepThatBringsTheDiscardedProjectBack) {
  window->fileNew();
  visit("Form25", "txt_a", "100");
  window->fileNew();
  visit("Form25", "txt_c", "0.7");
  press(Qt::Key_Z);
  EXPECT_EQ(window->record().main.txt_c, "");
  // Past the new project's start: the project New discarded, as it was.
  ASSERT_TRUE(canUndo());
  press(Qt::Key_Z);
  EXPECT_EQ(window->record().main.txt_a, "100");
  EXPECT_EQ(text("Form25", "txt_a"), "100");
  press(Qt::Key_Y);
  EXPECT_EQ(window->record().main.txt_a, "");
  EXPECT_TRUE(canRedo());
}

TEST_F(UndoHistoryTest, UndoAfterCloseOrOpenBringsTheProjectBackWithItsFile) {
  const QString example = QStringLiteral(MK_EXAMPLES_DIR "/example_02.vor");
  ASSERT_TRUE(window->openProject(example));
  visit("Form25", "txt3", "0.0456");
  prompter.answers = {PromptAnswer::Ok};
  window->fileClose();
  ASSERT_EQ(window->findScreen("Form25"), nullptr);
  ASSERT_TRUE(canUndo());
  action("Men_EUndo")->trigger();
  settle();
  ASSERT_NE(window->findScreen("Form25"), nullptr);
  EXPECT_EQ(window->fileName(), QFileInfo(example).absoluteFilePath());
  EXPECT_EQ(window->record().main.txt3, "0.0456");
  EXPECT_TRUE(QFile::exists(RecoveryFilePath()));  // its unsaved edit is kept again
  action("Men_ERedo")->trigger();
  settle();
  EXPECT_EQ(window->findScreen("Form25"), nullptr);

  // Open replaces it the same way.
  action("Men_EUndo")->trigger();
  ASSERT_TRUE(window->openProject(QStringLiteral(MK_EXAMPLES_DIR "/example_01.vor")));
  action("Men_EUndo")->trigger();
  settle();
  EXPECT_EQ(window->record().main.txt3, "0.0456");
}

}  // namespace
}  // namespace mk
