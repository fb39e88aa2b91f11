#pragma once
// The recovery file: while the open project has unsaved changes, its
// inputs are written every 30 seconds (and whenever a sub-screen is left)
// to "recovery.vor" in the user's application data folder
// (QStandardPaths::AppLocalDataLocation), by the project file's own writer
// (QSaveFile: a write cut short leaves the previous one whole).  A clean
// New, Open, Save, Close or Exit removes it; a file still there at the
// next start was left by a crash or a power cut, and the program offers to
// restore it.
//
// The network flow table has a recovery file of its own, "recovery.mkt"
// beside it, kept the same way (TableRecovery): written every 30 seconds
// and after each change of its rows while the table has unsaved changes,
// removed by a clean save or close.  Exit keeps both files when there are
// unsaved changes (the next start offers them, as after a crash).
//
// Only one running copy of the program keeps the files: the first takes the
// lock on "recovery.lock" beside it (released by the system when the process
// dies; the file itself stays), and a second copy neither offers, writes
// nor removes it.
//
// Two environment variables exist for the crash test only (README):
// MIRUKANA_TEST_RECOVERY_INTERVAL_MS shortens the 30 seconds, and
// MIRUKANA_TEST_TYPE="Form25.txt_c=0.65" types the text into that box once
// the program runs, as a user would (several edits separated by ";", a
// menu entry's name alone chooses it: "Men_TNew;NetworkTable.title=...").

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "calc/network.h"
#include "model/project_record.h"

class QTimer;
class QWidget;

namespace mk {

class Prompter;
class RecoveryLock;
class ScreenHost;

// The recovery files' full paths (their folder is created when missing).
QString RecoveryFilePath();
QString TableRecoveryFilePath();

// The files an earlier session left that the user chose to restore.
struct RecoveryChoice {
  bool project = false;
  bool table = false;
};

class ProjectRecovery : public QObject {
  Q_OBJECT
 public:
  ProjectRecovery(ScreenHost& host, QObject* parent);
  ~ProjectRecovery() override;

  // The project's inputs as they are now count as saved (New, Open, Save):
  // the file is removed.
  void markSaved();
  // A project restored from the file: unsaved until it is saved.
  void markUnsaved();
  // No project any more (Close, Exit): the file is removed.
  void markClosed();

  // The project's inputs as saved (none: never saved), and whether one is open.
  const std::optional<ProjectRecord>& savedInputs() const { return saved_; }
  // Undo brought back a project (or none) with its inputs as saved.
  void restore(bool open, std::optional<ProjectRecord> saved);

  // Writes the file when the project has unsaved changes (and they differ
  // from what was written last), removes it when it has none.
  void update();

  // At start: when files left by an earlier session exist (the project's,
  // the table's or both), asks once (title "確認") whether to restore them.
  // Yes returns them (the caller opens the files); No deletes them.
  RecoveryChoice askRestore(Prompter& prompter, QWidget* parent);

  // Whether this copy of the program keeps the recovery file.
  bool keepsFile() const { return lock_ != nullptr; }

 private:
  void remove();

  ScreenHost& host_;
  std::unique_ptr<RecoveryLock> lock_;
  QTimer* timer_ = nullptr;
  bool open_ = false;
  std::optional<ProjectRecord> saved_;    // inputs as saved; none: never saved
  std::optional<ProjectRecord> written_;  // inputs in the file
  bool warned_ = false;
};

// The network flow table's recovery file.  `unsaved` gives the table's
// record while it has unsaved changes, nullptr otherwise (no table, or
// saved).  The file is kept only while `project` keeps its own.
class TableRecovery : public QObject {
  Q_OBJECT
 public:
  TableRecovery(const ProjectRecovery& project, std::function<const NetworkRecord*()> unsaved, QObject* parent);

  // Writes the file when the table has unsaved changes (that differ from
  // what was written last); removes it when the table has none.
  void update();
  // Soon after the current event (a change of the table's rows).
  void updateSoon();
  // A clean save or close of the table: the file goes.
  void remove();

 private:
  const ProjectRecovery& project_;
  std::function<const NetworkRecord*()> unsaved_;
  QTimer* timer_ = nullptr;
  std::optional<NetworkRecord> written_;
  bool scheduled_ = false;
  bool warned_ = false;
};

}  // namespace mk
