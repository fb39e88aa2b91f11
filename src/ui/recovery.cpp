#include "ui/recovery.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLockFile>
#include <QStandardPaths>
#include <QTimer>
#include <QWidget>

#include "project_file/vor_file.h"
#include "ui/prompter.h"
#include "ui/screen_host.h"

namespace mk {

namespace {

constexpr int kIntervalMs = 30 * 1000;

QString RecoveryFolder() {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
  QDir().mkpath(folder);
  return folder;
}

// The crash test's edit: "Form25.txt_c=0.65" selects the box's text and
// types the new text over it with a key event, as a user would.
void TypeForTest(ScreenHost& host, const QString& what) {
  const int equals = what.indexOf(QLatin1Char('='));
  const QStringList name = what.left(equals).split(QLatin1Char('.'));
  if (equals < 0 || name.size() != 2) return;
  QWidget* screen = host.findScreen(name[0]);
  auto* box = screen ? screen->findChild<QLineEdit*>(name[1]) : nullptr;
  if (!box) return;
  box->setFocus(Qt::OtherFocusReason);
  box->selectAll();
  QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, what.mid(equals + 1));
  QCoreApplication::sendEvent(box, &press);
}

}  // namespace

QString RecoveryFilePath() { return RecoveryFolder() + QStringLiteral("/recovery.vor"); }

ProjectRecovery::ProjectRecovery(ScreenHost& host, QObject* parent) : QObject(parent), host_(host) {
  auto lock = std::make_unique<QLockFile>(RecoveryFolder() + QStringLiteral("/recovery.lock"));
  // Held for the program's life: never stale by age, only when its
  // process has gone.
  lock->setStaleLockTime(0);
  if (lock->tryLock(0))
    lock_ = std::move(lock);
  else if (lock->error() != QLockFile::LockFailedError)
    qWarning("ミルカナ: the recovery file's lock cannot be taken; no recovery file is kept");

  timer_ = new QTimer(this);
  bool ok = false;
  const int testInterval = qEnvironmentVariableIntValue("MIRUKANA_TEST_RECOVERY_INTERVAL_MS", &ok);
  timer_->setInterval(ok && testInterval > 0 ? testInterval : kIntervalMs);
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

bool ProjectRecovery::askRestore(Prompter& prompter, QWidget* parent) {
  const QString path = RecoveryFilePath();
  if (!keepsFile() || !QFileInfo::exists(path)) return false;
  const PromptAnswer answer = prompter.ask(
      parent, PromptRequest{QStringLiteral("確認"),
                            QStringLiteral("前回、保存されずに終了した作成中のデータがあります。復元しますか？"),
                            PromptButtons::YesNo, PromptIcon::Question, PromptAnswer::Yes});
  if (answer == PromptAnswer::Yes) return true;
  QFile::remove(path);
  return false;
}

}  // namespace mk
