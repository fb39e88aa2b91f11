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
// again).
// New, Open, Close and 区間を開く replace the project without asking; the
// project they replace is a step too (with its file name and its inputs
// as saved), so Undo right after them brings it back.
// While the network flow table is the active child window, the menu and
// its keys act on the table's own history instead.  Ctrl+Z / Ctrl+Y in a text box of the main window are the
// project's undo and redo, never the box's own (only the sub-screens'
// boxes keep theirs), so one key never does two things.

#include <QObject>
#include <deque>
#include <functional>
#include <optional>

#include <QString>

#include "model/project_record.h"

class QAction;
class QKeyEvent;
class QMenu;
class QMenuBar;

namespace mk {

class ScreenHost;

// What a step across New, Open or Close brings back besides the inputs.
struct ProjectState {
  bool open = false;                    // a project was open (else: none)
  QString fileName;                     // its file, or empty
  std::optional<ProjectRecord> saved;   // its inputs as saved; none: never saved
};

// Another window's own history that takes the menu and the keys while that
// window is the active child (the network flow table).
class ChildHistory {
 public:
  virtual ~ChildHistory() = default;
  virtual bool canUndo() const = 0;
  virtual bool canRedo() const = 0;
  virtual void undo() = 0;
  virtual void redo() = 0;
};

class UndoHistory : public QObject {
  Q_OBJECT
 public:
  // `restore` replaces the record by a snapshot and rebuilds the screens;
  // with a state, that project (or none) comes back as a whole.
  using Restore = std::function<void(const ProjectRecord&, const ProjectState*)>;
  // The window's project as it is now.
  using State = std::function<ProjectState()>;
  UndoHistory(ScreenHost& host, Restore restore, State state, QObject* parent);

  // The menu "編集(&E)" (Men_E) with "元に戻す(&U)" (Men_EUndo, Ctrl+Z) and
  // "やり直し(&R)" (Men_ERedo, Ctrl+Y), put into `bar` before `before`.
  QMenu* addMenu(QMenuBar* bar, QAction* before);

  // No steps; the record as it is now is the start (a restored project).
  void clear();
  // New, Open, Close: `replace` replaces the project and returns whether it
  // did; the project open before (if any) is then a step.
  void replaceProject(const std::function<bool()>& replace);
  // The active child's own history, or nullptr for the project's.
  void setChildHistory(std::function<ChildHistory*()> active);
  // The menu's availability follows the active child and its history.
  void updateActions();
  // Records a finished edit as a step.  `force` also records the box being
  // typed into.
  void checkpoint(bool force = false);

  // The active child's history when it has one, otherwise the project's.
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
  ChildHistory* child() const;
  bool canUndoProject();
  bool canRedoProject();
  struct Step {
    ProjectRecord record;
    std::optional<ProjectState> state;  // set on a step across New, Open, Close
  };
  void push(std::deque<Step>& steps, Step step);
  void restore(std::deque<Step>& from, std::deque<Step>& to);

  ScreenHost& host_;
  Restore restore_;
  State state_;
  std::function<ChildHistory*()> child_;
  ProjectRecord current_;  // the record as of the last step
  std::deque<Step> undo_;
  std::deque<Step> redo_;
  bool scheduled_ = false;
  bool scheduledForce_ = false;
  bool restoring_ = false;
  bool wasInSubScreen_ = false;
  QAction* undoAction_ = nullptr;
  QAction* redoAction_ = nullptr;
};

}  // namespace mk
