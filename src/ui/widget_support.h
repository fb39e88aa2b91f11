#pragma once
// Conventions every screen shares: control names for automation and screen
// readers, text boxes that select their text on focus and click, Enter
// orders, bordered / borderless entry style, twips.

#include <QAbstractButton>
#include <QLineEdit>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <functional>

class QWidget;

namespace mk {

// objectName = control name; accessible name = caption as a user reads it;
// accessible description = control name.  An empty caption keeps Qt's
// default accessible name (a value label says what it shows).
void NameControl(QWidget* widget, const QString& controlName, const QString& caption = QString());

// A screen: objectName and accessible description = form name.
void NameScreen(QWidget* screen, const QString& formName, const QString& title);

// A table column's header data: the caption over two lines at its first
// blank ("面積" / "累計(ha)") to show, the caption as its accessible name and
// the column's control name as its description; nothing for other roles.
QVariant ColumnHeaderData(const QString& caption, const QString& controlName, int role);

// Positions inside the main window are given in twips (15 per pixel at 96 dpi).
constexpr int TwipsToPixels(int twips) { return twips / 15; }

// Text box of every screen: selects its whole text when focused or clicked;
// a double-click puts the selection start at position 10 and its length to
// the text's length; no typed character is rejected.  Emits clicked() on a
// mouse press and enterPressed() for Enter (the key itself is swallowed).
class EntryBox : public QLineEdit {
  Q_OBJECT
 public:
  explicit EntryBox(QWidget* parent = nullptr);

  // Bordered (typed by the user) or borderless (filled in by a calculation).
  void setBordered(bool bordered);
  bool isBordered() const { return bordered_; }

  // Focus with the caret at the start (after a validation message).
  void focusCaretAtStart();
  // Focus with the whole text selected.
  void focusSelectAll();

 signals:
  void clicked();
  void enterPressed();

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool bordered_ = true;
  bool selectOnRelease_ = false;
};

// Enter (either key) on `widget` runs `action` instead of reaching the
// widget, e.g. a list whose Enter chooses its current row.
void OnEnter(QWidget* widget, std::function<void()> action);

// Enter moves the focus along `order` (the last entry is normally the OK or
// "計算" button, which Enter then presses); a text box reached gets its
// whole text selected.  Works
// for any widget: text boxes, option buttons, lists, combo boxes.  A widget
// whose Enter has a special target can be given `override`, which returns
// the widget to focus (or nullptr to do nothing).
class EnterOrder : public QObject {
  Q_OBJECT
 public:
  explicit EnterOrder(QObject* parent);
  void setOrder(const QList<QWidget*>& order);
  void setTarget(QWidget* from, std::function<QWidget*()> target);
  // A button outside the order (the last one an order's target leads to):
  // Enter on it presses it.  A button that ends the order is pressed by
  // Enter without this.
  void setPressOnEnter(QAbstractButton* button);

  static void moveFocusTo(QWidget* target);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void watch(QWidget* widget);
  QList<QPointer<QWidget>> order_;
  QList<QPair<QPointer<QWidget>, std::function<QWidget*()>>> targets_;
  QList<QPointer<QAbstractButton>> pressed_;
};

}  // namespace mk
