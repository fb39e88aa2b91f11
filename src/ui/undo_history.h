#pragma once
// Undo and redo of the open project's inputs (menu "編集(&E)").
//
// The record is the truth, so a step is a snapshot of the whole record, and
// no screen reports its edits: the history looks at the record itself
// whenever an edit may just have been finished (the focus moves; a mouse
// button or key is released; the wheel turns) and, when the inputs differ
// from those of the last step, keeps the previous record as a step.
// - Typing is one step per visit of a box: while the focus stays in a text
//   box nothing is recorded; leaving it (or Undo) records the visit.
// - A sub-screen with OK and Cancel (the rainfall-intensity, runoff and
//   flow-time screens, and every modal dialog) is one step: nothing is
//   recorded while it is open, and Undo / Redo are unavailable there.
// Undo restores a snapshot through the window, which rebuilds the screens
// from the record as Open does, without a result (the user presses 計算
// again).  Ctrl+Z / Ctrl+Y in a text box of the main window are the
// project's undo and redo, never the box's own (only the sub-screens'
// boxes keep theirs), so one key never does two things.

#include <QObject>
#include <deque>
#include <functional>

#include "model/project_record.h"

class QAction;
class QKeyEvent;
class QMenu;
class QMenuBar;

namespace mk {

class ScreenHost;

class UndoHistory : public QObject {
  Q_OBJECT
 public:
  // `restore` replaces the record by a snapshot and rebuilds the screens.
  using Restore = std::function<void(const ProjectRecord&)>;
  UndoHistory(ScreenHost& host, Restore restore, QObject* parent);

  // The menu "編集(&E)" (Men_E) with "元に戻す(&U)" (Men_EUndo, Ctrl+Z) and
  // "やり直し(&R)" (Men_ERedo, Ctrl+Y), put into `bar` before `before`.
  QMenu* addMenu(QMenuBar* bar, QAction* before);

  // New, Open, Close: no steps; the record as it is now is the start.
  void clear();
  // Records a finished edit as a step.  `force` also records the box being
  // typed into.
  void checkpoint(bool force = false);

  bool canUndo();
  bool canRedo();
  void undo();
  void redo();

  // The most steps kept; the oldest go first.
  static constexpr std::size_t kMaxSteps = 100;

 signals:
  // A sub-screen or dialog has been left (by its OK, Cancel or close box).
  void subScreenLeft();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool projectOpen();
  bool inSubScreen();
  bool pending();
  bool isUndoKey(const QKeyEvent* key) const;
  void schedule(bool force);
  void updateActions();
  void restore(std::deque<ProjectRecord>& from, std::deque<ProjectRecord>& to);

  ScreenHost& host_;
  Restore restore_;
  ProjectRecord current_;  // the record as of the last step
  std::deque<ProjectRecord> undo_;
  std::deque<ProjectRecord> redo_;
  bool scheduled_ = false;
  bool scheduledForce_ = false;
  bool restoring_ = false;
  bool wasInSubScreen_ = false;
  QAction* undoAction_ = nullptr;
  QAction* redoAction_ = nullptr;
};

}  // namespace mk
