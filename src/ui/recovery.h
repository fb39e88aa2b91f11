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
// Only one running copy of the program keeps the file: the first takes the
// lock on "recovery.lock" beside it (released by the system when the process
// dies; the file itself stays), and a second copy neither offers, writes
// nor removes it.
//
// Two environment variables exist for the crash test only (README):
// MIRUKANA_TEST_RECOVERY_INTERVAL_MS shortens the 30 seconds, and
// MIRUKANA_TEST_TYPE="Form25.txt_c=0.65" types the text into that box once
// the program runs, as a user would.

#include <QObject>
#include <QString>
#include <memory>
#include <optional>

#include "model/project_record.h"

class QTimer;
class QWidget;

namespace mk {

class Prompter;
class RecoveryLock;
class ScreenHost;

// The recovery file's full path (its folder is created when missing).
QString RecoveryFilePath();

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

  // Writes the file when the project has unsaved changes (and they differ
  // from what was written last), removes it when it has none.
  void update();

  // At start: when a file left by an earlier session exists, asks (title
  // "確認") whether to restore it.  Yes returns true (the caller opens the
  // file); No deletes it.
  bool askRestore(Prompter& prompter, QWidget* parent);

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

}  // namespace mk
