#pragma once
// What the stormwater and sewage sub-screens share: the title line, centred
// column heads, option buttons set from the record, text boxes bound to
// their record fields, the OK / Cancel row, Enter on a focused button, and
// the modal sub-screen dialog (Form13, Form22, Form28).

#include <QDialog>
#include <optional>
#include <string>

#include "calc/calc_error.h"

class QBoxLayout;
class QGridLayout;
class QHBoxLayout;
class QKeyEvent;
class QLabel;
class QPushButton;
class QRadioButton;

namespace mk {

class EntryBox;
class ScreenHost;

// The screen's title line, bold; `scale` enlarges it (the non-modal screens
// use a larger one).
QLabel* TitleLine(const QString& text, double scale = 1.0);

// A column head centred over its column.
QLabel* ColumnHead(const QString& text);

// An option button's state from the record.  A member of an exclusive group
// can only be cleared with the exclusivity lifted for the moment.
void SetOption(QRadioButton* option, bool checked);

// Every edit of `box` is written to `field` at once.  `field` belongs to the
// project record, which outlives every screen.
void BindText(EntryBox* box, std::string& field);

// One input row of a grid: caption, sign ("Ｐ＝"), box, unit; an empty
// caption or unit leaves its column empty.
void AddEntryRow(QGridLayout* grid, int row, const QString& caption, const QString& sign, EntryBox* box,
                 const QString& unit = QString());

// OK (`cmd1` "ＯＫ") and Cancel (`cmd2` "キャンセル") at the right of a row.
// Neither is a default button: Enter presses a button only when it has
// the focus.
QHBoxLayout* OkCancelRow(QPushButton*& ok, QPushButton*& cancel);

// Enter on a screen: presses the focused button and otherwise does nothing.
// Returns true when the key was Enter (and so is used up).
bool PressFocusedButtonOnEnter(QWidget* screen, QKeyEvent* event);

// Shows a failed check's message box and moves the focus to its control
// (caret at the start of a text box).  Returns true when there was a failure.
bool ShowFailure(ScreenHost& host, QWidget* screen, const std::optional<CalcError>& failure);

// A modal sub-screen, titled "ミルカナ" and opened with open().  Every
// opening shows the record as it is; Escape and the close box act as its
// Cancel (reject()); Enter presses only a focused button.
class SubScreenDialog : public QDialog {
  Q_OBJECT
 public:
  SubScreenDialog(ScreenHost& host, const QString& form, QWidget* parent);

  // Shows the screen's record group.
  virtual void load() = 0;

 protected:
  // The OK / Cancel row at the foot of `layout`: OK calls onOk(), Cancel reject().
  void addOkCancel(QBoxLayout* layout);
  virtual void onOk() = 0;

  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;

  ScreenHost& host_;
  QPushButton* cmd1_ = nullptr;
  QPushButton* cmd2_ = nullptr;
};

}  // namespace mk
