#pragma once
// Shared by the flow-time screen tests: open the velocity calculation on a
// FakeScreenHost with an active window, and reach its controls by name.

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "fake_screen_host.h"
#include "ui/flow_time_selection_screen.h"

namespace mk::testing {

class FlowTimeFixture {
 public:
  FlowTimeFixture() {
    QWidget* window = host.workArea()->window();
    window->activateWindow();
    (void)QTest::qWaitForWindowActive(window);
  }

  void open() { OpenFlowTimeVelocity(host); }

  template <typename T>
  T* control(const QString& form, const QString& name) {
    return host.control<T>(form, name);
  }
  EntryBox* box(const QString& form, const QString& name) { return control<EntryBox>(form, name); }

  void type(const QString& form, const QString& name, const QString& text) {
    EntryBox* entry = box(form, name);
    entry->selectAll();
    entry->del();
    // As typed, also for characters outside ASCII.
    for (const QChar c : text) {
      QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
      QApplication::sendEvent(entry, &press);
    }
  }
  void click(const QString& form, const QString& name) {
    auto* button = control<QAbstractButton>(form, name);
    // An option reacts on its indicator and caption, not on the empty rest of its row.
    const QPoint at = qobject_cast<QRadioButton*>(button) ? QPoint(8, button->height() / 2)
                                                         : button->rect().center();
    QTest::mouseClick(button, Qt::LeftButton, {}, at);
  }
  void chooseKind(int row) { control<QListWidget>("Form17", "lst_s")->setCurrentRow(row); }
  void chooseManning() { click("Form17", "opt1"); }

  bool visible(const QString& form) {
    QWidget* screen = host.findScreen(form);
    return screen && screen->isVisible();
  }
  // Left edge of a screen's child window in the work area, in pixels.
  int left(const QString& form) {
    QWidget* screen = host.findScreen(form);
    auto* sub = screen ? qobject_cast<QMdiSubWindow*>(screen->parentWidget()) : nullptr;
    return sub ? sub->x() : -1;
  }
  QString lastMessage() const { return host.prompter_.lastText(); }
  QWidget* focused() const { return QApplication::focusWidget(); }

  FakeScreenHost host;
};

}  // namespace mk::testing

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
