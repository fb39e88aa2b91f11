#include "ui/recovery.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLockFile>
#include <QMdiArea>
#include <QStandardPaths>
#include <QTimer>
#include <QWidget>

#include "project_file/network_file.h"
#include "project_file/vor_file.h"
#include "ui/prompter.h"
#include "ui/screen_host.h"

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace mk {

namespace {

constexpr int kIntervalMs = 30 * 1000;

// The interval, shortened for the crash test.
int RecoveryInterval() {
  bool ok = false;
  const int testInterval = qEnvironmentVariableIntValue("MIRUKANA_TEST_RECOVERY_INTERVAL_MS", &ok);
  return ok && testInterval > 0 ? testInterval : kIntervalMs;
}

QString RecoveryFolder() {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
  QDir().mkpath(folder);
  return folder;
}

// The crash test's edits, separated by ";": "Form25.txt_c=0.65" selects the
// box's text and types the new text over it with a key event, as a user
// would ("NetworkTable.title=..." a box of the network flow table); a name
// alone ("Men_TNew") chooses that menu entry.
void TypeForTest(ScreenHost& host, const QString& edits) {
  QWidget* window = host.workArea() ? host.workArea()->window() : nullptr;
  for (const QString& what : edits.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    const int equals = what.indexOf(QLatin1Char('='));
    if (equals < 0) {
      if (auto* action = window ? window->findChild<QAction*>(what) : nullptr) action->trigger();
      continue;
    }
    const QStringList name = what.left(equals).split(QLatin1Char('.'));
    if (name.size() != 2) continue;
    QWidget* screen = host.findScreen(name[0]);
    if (!screen && window) screen = window->findChild<QWidget*>(name[0]);
    auto* box = screen ? screen->findChild<QLineEdit*>(name[1]) : nullptr;
    if (!box) continue;
    box->setFocus(Qt::OtherFocusReason);
    box->selectAll();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, what.mid(equals + 1));
    QCoreApplication::sendEvent(box, &press);
  }
}

}  // namespace

// An advisory lock on "recovery.lock" beside the recovery file, which the
// system releases when the process ends, however it ends.  QLockFile keeps
// the same lock (and its own record of the owner) but forces its lock file
// to disk with fdatasync, a wait of several milliseconds on the way to the
// first window; the lock alone needs no data on disk.  A copy of the
// program holding the lock through QLockFile excludes this one as well, as
// QLockFile takes the same system lock.
class RecoveryLock {
 public:
  // Takes the lock; false when another running copy holds it or the lock
  // file cannot be opened (said on standard error).
  bool take(const QString& path) {
#ifdef Q_OS_UNIX
    fd_ = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) == 0) return true;
    const bool held = fd_ >= 0 && errno == EWOULDBLOCK;
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!held) qWarning("ミルカナ: the recovery file's lock cannot be taken; no recovery file is kept");
    return false;
#else
    file_ = std::make_unique<QLockFile>(path);
    // Never stale by age, only when its process has gone.
    file_->setStaleLockTime(0);
    if (file_->tryLock(0)) return true;
    if (file_->error() != QLockFile::LockFailedError)
      qWarning("ミルカナ: the recovery file's lock cannot be taken; no recovery file is kept");
    file_.reset();
    return false;
#endif
  }

  ~RecoveryLock() {
#ifdef Q_OS_UNIX
    if (fd_ >= 0) ::close(fd_);
#endif
  }

 private:
#ifdef Q_OS_UNIX
  int fd_ = -1;
#else
  std::unique_ptr<QLockFile> file_;
#endif
};

QString RecoveryFilePath() { return RecoveryFolder() + QStringLiteral("/recovery.vor"); }

QString TableRecoveryFilePath() { return RecoveryFolder() + QStringLiteral("/recovery.mkt"); }

ProjectRecovery::ProjectRecovery(ScreenHost& host, QObject* parent) : QObject(parent), host_(host) {
  // Held for the program's life.
  auto lock = std::make_unique<RecoveryLock>();
  if (lock->take(RecoveryFolder() + QStringLiteral("/recovery.lock"))) lock_ = std::move(lock);

  timer_ = new QTimer(this);
  timer_->setInterval(RecoveryInterval());
  connect(timer_, &QTimer::timeout, this, &ProjectRecovery::update);
  if (keepsFile()) timer_->start();

  const QString typing = qEnvironmentVariable("MIRUKANA_TEST_TYPE");
  if (!typing.isEmpty()) QTimer::singleShot(0, this, [this, typing] { TypeForTest(host_, typing); });
}

ProjectRecovery::~ProjectRecovery() = default;

void ProjectRecovery::markSaved() {
  open_ = true;
  saved_ = host_.record();
  warned_ = false;
  remove();
}

void ProjectRecovery::markUnsaved() {
  open_ = true;
  saved_.reset();
  written_.reset();
  warned_ = false;
}

void ProjectRecovery::restore(bool open, std::optional<ProjectRecord> saved) {
  if (!open) return markClosed();
  open_ = true;
  saved_ = std::move(saved);
  warned_ = false;
}

void ProjectRecovery::markClosed() {
  open_ = false;
  saved_.reset();
  remove();
}

void ProjectRecovery::remove() {
  written_.reset();
  if (keepsFile()) QFile::remove(RecoveryFilePath());
}

void ProjectRecovery::update() {
  if (!keepsFile() || !open_) return;
  const ProjectRecord& record = host_.record();
  if (saved_ && SameInputs(record, *saved_)) {
    if (written_) remove();
    return;
  }
  if (written_ && SameInputs(record, *written_)) return;
  if (const auto error = WriteProjectFile(RecoveryFilePath(), record)) {
    // The project itself is untouched; Save reports the same trouble to
    // the user.  Said once per project, not every half minute.
    if (!warned_) qWarning("ミルカナ: the recovery file was not written: %s", qUtf8Printable(*error));
    warned_ = true;
    return;
  }
  written_ = record;
}

RecoveryChoice ProjectRecovery::askRestore(Prompter& prompter, QWidget* parent) {
  if (!keepsFile()) return {};
  const QString project = RecoveryFilePath();
  const QString table = TableRecoveryFilePath();
  RecoveryChoice left{QFileInfo::exists(project), QFileInfo::exists(table)};
  if (!left.project && !left.table) return {};
  const QString what = left.project && left.table ? QStringLiteral("作成中のデータと流量計算表")
                       : left.project             ? QStringLiteral("作成中のデータ")
                                                  : QStringLiteral("流量計算表");
  const PromptAnswer answer = prompter.ask(
      parent, PromptRequest{QStringLiteral("確認"),
                            QStringLiteral("前回、保存されずに終了した%1があります。復元しますか？").arg(what),
                            PromptButtons::YesNo, PromptIcon::Question, PromptAnswer::Yes});
  if (answer == PromptAnswer::Yes) return left;
  QFile::remove(project);
  QFile::remove(table);
  return {};
}

TableRecovery::TableRecovery(const ProjectRecovery& project, std::function<const NetworkRecord*()> unsaved,
                             QObject* parent)
    : QObject(parent), project_(project), unsaved_(std::move(unsaved)) {
  timer_ = new QTimer(this);
  timer_->setInterval(RecoveryInterval());
  connect(timer_, &QTimer::timeout, this, &TableRecovery::update);
  if (project_.keepsFile()) timer_->start();
}

void TableRecovery::update() {
  if (!project_.keepsFile()) return;
  const NetworkRecord* record = unsaved_();
  if (!record) {
    // Only a file this session wrote: one an earlier session left waits
    // for the question at start.
    if (written_) remove();
    return;
  }
  if (written_ && *written_ == *record) return;
  if (const auto error = WriteNetworkFile(TableRecoveryFilePath(), *record)) {
    if (!warned_) qWarning("ミルカナ: the table's recovery file was not written: %s", qUtf8Printable(*error));
    warned_ = true;
    return;
  }
  written_ = *record;
  warned_ = false;
}

void TableRecovery::updateSoon() {
  if (scheduled_) return;
  scheduled_ = true;
  QTimer::singleShot(0, this, [this] {
    scheduled_ = false;
    update();
  });
}

void TableRecovery::remove() {
  written_.reset();
  if (project_.keepsFile()) QFile::remove(TableRecoveryFilePath());
}

}  // namespace mk
