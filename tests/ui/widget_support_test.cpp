#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include "ui/widget_support.h"

namespace mk {
namespace {

TEST(EntryBox, DoubleClickSelectsFromPositionTen) {
  QWidget screen;
  auto* box = new EntryBox(&screen);
  screen.show();
  box->setText("0123456789ABCDE");
  QTest::mouseDClick(box, Qt::LeftButton);
  EXPECT_EQ(box->selectionStart(), 10);
  EXPECT_EQ(box->selectedText(), "ABCDE");

  box->setText("short");
  QTest::mouseDClick(box, Qt::LeftButton);
  EXPECT_FALSE(box->hasSelectedText());
  EXPECT_EQ(box->cursorPosition(), 5);
}

TEST(EnterOrder, MovesAlongTheOrderAndSelectsTheNextText) {
  QWidget screen;
  auto* first = new EntryBox(&screen);
  auto* second = new EntryBox(&screen);
  second->setText("abc");
  auto* order = new EnterOrder(&screen);
  order->setOrder({first, second});
  screen.show();
  QApplication::setActiveWindow(&screen);
  first->setFocus();
  QTest::keyClick(first, Qt::Key_Return);
  EXPECT_TRUE(second->hasFocus());
  EXPECT_EQ(second->selectedText(), "abc");
  // Enter in the last box stays put and types nothing.
  QTest::keyClick(second, Qt::Key_Return);
  EXPECT_EQ(second->text(), "abc");
}

}  // namespace
}  // namespace mk

#include "fake_screen_host.h"

namespace mk {
namespace {
// The factory makes each screen by its form name, and nothing for a name
// it does not know.
TEST(CreateScreen, EachFormNameGivesTheScreenOfThatName) {
  testing::FakeScreenHost host;
  NewProject(host.record());
  for (const char* form : {"Form12", "Form13", "Form16", "Form22", "Form28", "Form17", "Form18", "Form19", "Form20",
                           "Form21", "Form4", "Form25", "Form2", "Form5", "Form1", "Form26", "Form7", "Form3"}) {
    QWidget* screen = host.screen(QString::fromLatin1(form));
    ASSERT_NE(screen, nullptr) << form;
    EXPECT_EQ(screen->objectName(), QString::fromLatin1(form));
  }
  EXPECT_EQ(CreateScreen(QStringLiteral("FormXX"), host, nullptr), nullptr);
}
}  // namespace
}  // namespace mk
