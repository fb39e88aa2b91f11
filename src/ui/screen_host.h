#pragma once
// What every screen needs from the main window: the project record, the
// Prompter, the status notice, the toolbar, the run result, and the other
// screens by their form names ("Form12", "Form25", ...).
//
// The record is the truth: a screen shows its record group, writes every
// user edit back into it at once, and reloads from it when another screen
// has changed it.  Discarding a screen destroys its widget; the caller also
// resets the record group where that is what the screen's discard means.

#include <QString>

#include "model/project_record.h"

class QMdiArea;
class QWidget;

namespace mk {

class Prompter;

class ScreenHost {
 public:
  virtual ~ScreenHost() = default;

  virtual ProjectRecord& record() = 0;
  virtual Prompter& prompter() = 0;
  virtual QMdiArea* workArea() = 0;
  // The open project's file: its full path, or empty before it is saved.
  virtual QString projectFileName() const { return QString(); }
  // For a project not saved yet: the file its dialogs propose (a row of the
  // network flow table proposes its 路線番号), or empty.
  virtual QString proposedFileName() const { return QString(); }

  // The status-bar panel "msg".
  virtual void setStatusNotice(const QString& text) = 0;
  virtual QString statusNotice() const = 0;
  virtual void setToolbarVisible(bool visible) = 0;
  virtual void setReferenceMenuEnabled(bool enabled) = 0;

  // Closes the results screen (Form26) and withdraws the run result:
  // captions dropped, Q2 = 0, toolbar buttons 3, 5 and 6 disabled.
  virtual void discardRunResult() = 0;
  // Shows (or refreshes) the results screen from record.run / record.results
  // after a passing run; enables the toolbar buttons as a result allows.
  virtual void showRunResult(const QString& lbl16 = QString(), const QString& lbl17 = QString(),
                             bool verdictIsNo = false) = 0;

  // Screens by form name.  findScreen: the existing screen or nullptr.
  // screen: creates it (hidden, from the record) when missing.
  // showScreen: creates when missing, places it (twips from the work area's
  // top-left corner; MDI child screens only), shows and raises it.
  // discardScreen: destroys it (next opening starts from the record).
  virtual QWidget* findScreen(const QString& form) = 0;
  virtual QWidget* screen(const QString& form) = 0;
  virtual QWidget* showScreen(const QString& form, int leftTwips = 0, int topTwips = 0) = 0;
  virtual void hideScreen(const QString& form) = 0;
  virtual void discardScreen(const QString& form) = 0;

  // Focus a control named "Form.control" (as calc/ names it in a CalcError),
  // with the caret at the start of a text box.  Returns false when missing.
  virtual bool focusControl(const QString& formDotControl) = 0;
};

}  // namespace mk
