// Keys and focus common to every screen: Enter on the last button of an
// Enter order presses it, and the caret a validation message leaves at the
// start of its box survives the window becoming active again.
#include <QSignalSpy>
#include <gtest/gtest.h>

#include "flow_time_test_support.h"
#include "ui/irregular_channel_screen.h"
#include "ui/main_input_screen.h"

namespace mk {
namespace {

using testing::FlowTimeFixture;

void PressEnterOn(QWidget* widget) {
  widget->setFocus(Qt::TabFocusReason);
  QTest::keyClick(widget, Qt::Key_Return);
}

TEST(ScreenKeys, EnterOnTheLastButtonPressesIt) {
  // The main check's facility screens and the inflow-time and river-course
  // dialogs end their Enter order on "計算" or "ＯＫ".
  FlowTimeFixture f;
  NewProject(f.host.record());
  auto* main = qobject_cast<MainInputScreen*>(f.host.showScreen("Form25", 0, 0));
  ASSERT_NE(main, nullptr);
  for (const char* form : {"Form2", "Form5", "Form1", "Form13", "Form22"}) {
    SCOPED_TRACE(form);
    QWidget* screen = f.host.showScreen(QString::fromLatin1(form), 0, 0);
    ASSERT_NE(screen, nullptr);
    auto* button = screen->findChild<QPushButton*>("cmd1");
    ASSERT_NE(button, nullptr);
    QSignalSpy pressed(button, &QAbstractButton::clicked);
    PressEnterOn(button);
    EXPECT_EQ(pressed.count(), 1);
  }
}

TEST(ScreenKeys, EnterOnFlowTimeCalculatePressesIt) {
  // Form17 kinds: 0 VP pipe (Form18), 6 ditch (Form19), 4 other circular
  // (Form20), 7 irregular channel (Form21).
  const std::pair<int, const char*> kinds[] = {{0, "Form18"}, {6, "Form19"}, {4, "Form20"}, {7, "Form21"}};
  for (const auto& [kind, form] : kinds) {
    SCOPED_TRACE(form);
    FlowTimeFixture f;
    f.open();
    f.chooseKind(kind);
    auto* button = f.control<QPushButton>(QString::fromLatin1(form), "cmd1");
    ASSERT_NE(button, nullptr);
    QSignalSpy pressed(button, &QAbstractButton::clicked);
    PressEnterOn(button);
    EXPECT_EQ(pressed.count(), 1);
    // Pressed, it runs its checks: no formula chosen is the first message.
    EXPECT_EQ(f.lastMessage(), "流速の計算方法を選択してください。");
  }
}

TEST(ScreenKeys, CaretStaysAtTheStartWhenTheWindowComesBack) {
  FlowTimeFixture f;
  f.open();
  f.chooseManning();
  f.chooseKind(4);  // other circular pipe: its name is checked first
  f.type("Form20", "txt_m", "ヒューム管");
  f.type("Form20", "txt1", "");
  f.click("Form20", "cmd1");
  ASSERT_FALSE(f.lastMessage().isEmpty());
  auto* entry = qobject_cast<QLineEdit*>(f.focused());
  ASSERT_NE(entry, nullptr) << f.lastMessage().toStdString();
  entry->setText(QStringLiteral("12.5"));
  entry->setCursorPosition(0);
  entry->deselect();

  // A message box took the activation and gave it back.
  QWidget other;
  other.show();
  other.activateWindow();
  (void)QTest::qWaitForWindowActive(&other);
  QWidget* window = f.host.workArea()->window();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  EXPECT_EQ(QApplication::focusWidget(), entry);
  EXPECT_FALSE(entry->hasSelectedText());
  EXPECT_EQ(entry->cursorPosition(), 0);
}

TEST(ScreenKeys, IrregularChannelDrawsItsOutlineBeforeTheVelocityIsRefused) {
  FlowTimeFixture f;
  f.open();
  f.chooseManning();
  f.chooseKind(7);
  auto* screen = qobject_cast<IrregularChannelScreen*>(f.host.findScreen("Form21"));
  ASSERT_NE(screen, nullptr);
  for (const auto& [name, text] : std::vector<std::pair<const char*, const char*>>{
           {"txt1", "2"}, {"txt2", "2"}, {"txt3", "1"}, {"txt4", "0"}, {"txt5", "0.015"},
           {"txt_x1", "0"}, {"txt_y1", "0"}, {"txt_x2", "0"}, {"txt_y2", "1"},
           {"txt_x3", "2"}, {"txt_y3", "1"}, {"txt_x4", "2"}, {"txt_y4", "0"}})
    f.type("Form21", name, text);
  const ProjectRecord before = f.host.record();
  f.click("Form21", "cmd3");
  // Slope 0: the velocity is refused, after the outline was drawn.
  EXPECT_FALSE(f.lastMessage().isEmpty());
  EXPECT_EQ(screen->drawing()->outline().size(), 4u);
  EXPECT_FALSE(f.control<QLabel>("Form21", "Label15")->isVisible());
  EXPECT_EQ(f.host.record().derived.flowTimeCapacity.V, before.derived.flowTimeCapacity.V);
}

}  // namespace
}  // namespace mk
