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
TEST(FakeScreenHost, UnknownScreensAreNotCreated) {
  testing::FakeScreenHost host;
  EXPECT_EQ(host.screen("FormXX"), nullptr);
  host.setStatusNotice("abc");
  EXPECT_EQ(host.statusNotice(), "abc");
}
}  // namespace
}  // namespace mk
