#include "ui/widget_support.h"

#include <QAbstractButton>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

namespace mk {

void NameControl(QWidget* widget, const QString& controlName, const QString& caption) {
  widget->setObjectName(controlName);
  if (!caption.isEmpty()) widget->setAccessibleName(caption);
  widget->setAccessibleDescription(controlName);
}

void NameScreen(QWidget* screen, const QString& formName, const QString& title) {
  screen->setObjectName(formName);
  screen->setAccessibleDescription(formName);
  screen->setWindowTitle(title);
  screen->setAccessibleName(title);
}

EntryBox::EntryBox(QWidget* parent) : QLineEdit(parent) {}

void EntryBox::setBordered(bool bordered) {
  bordered_ = bordered;
  setFrame(bordered);
  // A computed value stands on the screen's own background.
  setStyleSheet(bordered ? QString() : QStringLiteral("QLineEdit { background: transparent; }"));
}

void EntryBox::focusCaretAtStart() {
  setFocus(Qt::OtherFocusReason);
  deselect();
  setCursorPosition(0);
}

void EntryBox::focusSelectAll() {
  setFocus(Qt::OtherFocusReason);
  selectAll();
}

void EntryBox::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  // The focus coming back with its window (after a message box, or from
  // another program) or after a popup leaves the caret and selection as
  // they were: after a validation message the caret stays at the start
  // and the next key does not wipe the entry.
  switch (event->reason()) {
    case Qt::MouseFocusReason:
    case Qt::ActiveWindowFocusReason:
    case Qt::PopupFocusReason:
      break;
    default:
      selectAll();
  }
}

void EntryBox::mousePressEvent(QMouseEvent* event) {
  QLineEdit::mousePressEvent(event);
  selectOnRelease_ = true;
  emit clicked();
}

void EntryBox::mouseReleaseEvent(QMouseEvent* event) {
  QLineEdit::mouseReleaseEvent(event);
  if (selectOnRelease_) {
    selectOnRelease_ = false;
    selectAll();
  }
}

void EntryBox::mouseDoubleClickEvent(QMouseEvent* event) {
  QLineEdit::mouseDoubleClickEvent(event);
  const int length = static_cast<int>(text().size());
  if (length > 10)
    setSelection(10, length - 10);
  else
    setCursorPosition(length);
}

void EntryBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    event->accept();
    emit enterPressed();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

namespace {

bool IsEnterKey(QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<QKeyEvent*>(event)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

class EnterAction : public QObject {
 public:
  EnterAction(QObject* parent, std::function<void()> action) : QObject(parent), action_(std::move(action)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!IsEnterKey(event)) return QObject::eventFilter(watched, event);
    action_();
    return true;
  }

 private:
  std::function<void()> action_;
};

}  // namespace

void OnEnter(QWidget* widget, std::function<void()> action) {
  widget->installEventFilter(new EnterAction(widget, std::move(action)));
}

EnterOrder::EnterOrder(QObject* parent) : QObject(parent) {}

void EnterOrder::watch(QWidget* widget) {
  if (widget) widget->installEventFilter(this);
}

void EnterOrder::setOrder(const QList<QWidget*>& order) {
  for (const auto& w : order_)
    if (w) w->removeEventFilter(this);
  order_.clear();
  for (QWidget* w : order) {
    order_.append(w);
    watch(w);
  }
}

void EnterOrder::setPressOnEnter(QAbstractButton* button) {
  pressed_.append(button);
  watch(button);
}

void EnterOrder::setTarget(QWidget* from, std::function<QWidget*()> target) {
  targets_.append({from, std::move(target)});
  watch(from);
}

void EnterOrder::moveFocusTo(QWidget* target) {
  if (!target) return;
  if (auto* entry = qobject_cast<EntryBox*>(target)) {
    entry->focusSelectAll();
  } else if (auto* line = qobject_cast<QLineEdit*>(target)) {
    line->setFocus(Qt::TabFocusReason);
    line->selectAll();
  } else {
    target->setFocus(Qt::TabFocusReason);
  }
}

bool EnterOrder::eventFilter(QObject* watched, QEvent* event) {
  if (!IsEnterKey(event)) return QObject::eventFilter(watched, event);
  for (const auto& [from, target] : targets_) {
    if (from == watched) {
      moveFocusTo(target());
      return true;
    }
  }
  for (const auto& button : pressed_) {
    if (button == watched) {
      if (button->isEnabled()) button->click();
      return true;
    }
  }
  for (int i = 0; i < order_.size(); ++i) {
    if (order_[i] == watched) {
      if (i + 1 < order_.size()) {
        moveFocusTo(order_[i + 1]);
      } else if (auto* button = qobject_cast<QAbstractButton*>(order_[i].data());
                 button && button->isEnabled()) {
        // The order ends on the screen's OK or "計算": Enter there presses it.
        button->click();
      }
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

QVariant ColumnHeaderData(const QString& caption, const QString& controlName, int role) {
  switch (role) {
    case Qt::DisplayRole: {
      QString lines = caption;
      const qsizetype blank = lines.indexOf(QLatin1Char(' '));
      if (blank > 0) lines[blank] = QLatin1Char('\n');
      return lines;
    }
    case Qt::AccessibleTextRole:
      return caption;
    case Qt::AccessibleDescriptionRole:
      return controlName;
    default:
      return {};
  }
}

}  // namespace mk
