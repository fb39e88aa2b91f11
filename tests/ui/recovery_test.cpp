// The recovery file: the real program, killed in the middle of an edit,
// leaves its inputs behind; the next start restores them as a project never
// saved, or deletes them when the user declines.
#include <QDir>
#include <QAbstractButton>
#include <QAction>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "project_file/vor_file.h"
#include "ui/main_window.h"
#include "ui/network_table_menu.h"
#include "ui/network_table_screen.h"
#include "ui/prompter.h"
#include "ui/recovery.h"

namespace mk {
namespace {

const QString kExample = QStringLiteral(MK_EXAMPLES_DIR "/example_02.vor");

// A recovery file as a killed `mirukana` leaves it: the program starts with
// `arguments`, `typed` is typed (MIRUKANA_TEST_TYPE), and the process is
// killed (SIGKILL) once the file `name` is there.  Returns the file's
// bytes, or "" when none appeared.
QByteArray RecoveryOfAKilledProgram(const QString& home, const QStringList& arguments, const QString& typed,
                                    const QString& name) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("HOME", home);
  env.insert("XDG_DATA_HOME", home + "/data");
  env.insert("XDG_CONFIG_HOME", home + "/config");
  env.insert("MIRUKANA_TEST_RECOVERY_INTERVAL_MS", "100");
  env.insert("MIRUKANA_TEST_TYPE", typed);
  QProcess program;
  program.setProcessEnvironment(env);
  program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  program.start(QStringLiteral(MK_BIN_DIR "/mirukana"), arguments);
  if (!program.waitForStarted(10000)) return {};
  const QString file = home + "/data/ミルカナ/" + name;
  QElapsedTimer waited;
  waited.start();
  while (!QFile::exists(file) && waited.elapsed() < 30000 && program.state() == QProcess::Running)
    QTest::qWait(50);
  program.kill();
  program.waitForFinished(10000);
  QFile written(file);
  return written.open(QIODevice::ReadOnly) ? written.readAll() : QByteArray();
}

// The example opened, "0.0123" typed as the sewage flow.
QByteArray RecoveryOfAKilledProgram(const QString& home) {
  return RecoveryOfAKilledProgram(home, {kExample}, "Form25.txt3=0.0123", "recovery.vor");
}

class RecoveryTest : public ::testing::Test {
 protected:
  void TearDown() override {
    window.reset();
    QFile::remove(RecoveryFilePath());
    QFile::remove(TableRecoveryFilePath());
  }
  void placeRecoveryFile(const QByteArray& bytes, const QString& path = RecoveryFilePath()) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }

  RecordingPrompter prompter;
  std::unique_ptr<MainWindow> window;
};

TEST_F(RecoveryTest, AKilledProgramsEditIsRestoredAsAProjectNeverSaved) {
  QTemporaryDir home;
  const QByteArray left = RecoveryOfAKilledProgram(home.path());
  ASSERT_TRUE(left.contains("\r\n0.0123\r\n")) << left.left(80).toStdString();

  placeRecoveryFile(left);
  window = std::make_unique<MainWindow>(prompter);
  prompter.answers = {PromptAnswer::Yes};
  ASSERT_TRUE(window->offerRecovery());
  ASSERT_EQ(prompter.requests.size(), 1);
  EXPECT_EQ(prompter.requests[0].title, "確認");
  EXPECT_EQ(prompter.requests[0].buttons, PromptButtons::YesNo);
  EXPECT_EQ(window->record().main.txt3, "0.0123");
  EXPECT_EQ(window->record().main.txt_c, "0.73");  // the rest as opened
  EXPECT_TRUE(window->fileName().isEmpty());
  EXPECT_FALSE(window->toolbarButton(3)->isEnabled());  // nothing to save over
  EXPECT_TRUE(QFile::exists(RecoveryFilePath()));       // still unsaved

  // A clean Close removes the file.
  prompter.answers = {PromptAnswer::Ok};
  window->fileClose();
  EXPECT_FALSE(QFile::exists(RecoveryFilePath()));
}

TEST_F(RecoveryTest, ASubScreensOkWritesTheFileAndNewRemovesIt) {
  QTemporaryDir dir;
  const QString path = dir.filePath("p.vor");
  ASSERT_TRUE(QFile::copy(kExample, path));
  window = std::make_unique<MainWindow>(prompter);
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  ASSERT_TRUE(window->openProject(path));
  QCoreApplication::processEvents();
  EXPECT_FALSE(QFile::exists(RecoveryFilePath()));

  // The sewage flow screen (a modal dialog): a class chosen, OK.
  window->findScreen("Form25")->findChild<QAbstractButton*>("cmd1")->click();
  QWidget* sewage = window->findScreen("Form28");
  ASSERT_NE(sewage, nullptr);
  QTest::keyClicks(sewage->findChild<QLineEdit*>("txt_p"), "100");
  QTest::keyClicks(sewage->findChild<QLineEdit*>("txt_q1"), "300");
  sewage->findChild<QAbstractButton*>("cmd1")->click();
  ASSERT_TRUE(prompter.requests.isEmpty()) << prompter.lastText().toStdString();
  QTest::qWait(50);
  ProjectRecord written;
  ASSERT_FALSE(ReadProjectFile(RecoveryFilePath(), written).has_value());
  EXPECT_EQ(written.sewage.txt_p, "100");

  // A clean New leaves nothing to recover.
  window->fileNew();
  EXPECT_FALSE(QFile::exists(RecoveryFilePath()));
}

TEST_F(RecoveryTest, DecliningDeletesTheFileAndNoFileAsksNothing) {
  QFile example(kExample);
  ASSERT_TRUE(example.open(QIODevice::ReadOnly));
  placeRecoveryFile(example.readAll());
  window = std::make_unique<MainWindow>(prompter);
  prompter.answers = {PromptAnswer::No};
  EXPECT_FALSE(window->offerRecovery());
  EXPECT_EQ(prompter.requests.size(), 1);
  EXPECT_FALSE(QFile::exists(RecoveryFilePath()));
  EXPECT_EQ(window->findScreen("Form25"), nullptr);

  prompter.clear();
  EXPECT_FALSE(window->offerRecovery());
  EXPECT_TRUE(prompter.requests.isEmpty());
}

TEST_F(RecoveryTest, ASecondCopyNeitherOffersNorRemovesTheFirstCopysFile) {
  // Two windows in one process take the lock through two opens of the lock
  // file, as two running copies would.
  window = std::make_unique<MainWindow>(prompter);
  QFile example(kExample);
  ASSERT_TRUE(example.open(QIODevice::ReadOnly));
  placeRecoveryFile(example.readAll());
  RecordingPrompter second;
  auto other = std::make_unique<MainWindow>(second);
  EXPECT_FALSE(other->offerRecovery());
  EXPECT_TRUE(second.requests.isEmpty());
  other->fileNew();
  other->fileClose();
  EXPECT_TRUE(QFile::exists(RecoveryFilePath()));

  // Once the first copy has gone, the next one keeps the file.
  other.reset();
  window.reset();
  window = std::make_unique<MainWindow>(prompter);
  prompter.answers = {PromptAnswer::No};
  EXPECT_FALSE(window->offerRecovery());
  EXPECT_EQ(prompter.requests.size(), 1);
}

TEST_F(RecoveryTest, AKilledProgramsNewTableIsOfferedWithTheProjectAndSavedByCtrlS) {
  QTemporaryDir home;
  const QByteArray table =
      RecoveryOfAKilledProgram(home.path(), {}, "Men_TNew;NetworkTable.title=下水幹線", "recovery.mkt");
  ASSERT_TRUE(table.contains("title=下水幹線")) << table.left(80).toStdString();

  placeRecoveryFile(table, TableRecoveryFilePath());
  QFile example(kExample);
  ASSERT_TRUE(example.open(QIODevice::ReadOnly));
  placeRecoveryFile(example.readAll());
  window = std::make_unique<MainWindow>(prompter);
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  prompter.answers = {PromptAnswer::Yes};
  ASSERT_TRUE(window->offerRecovery());
  ASSERT_EQ(prompter.requests.size(), 1);  // one question for both
  EXPECT_EQ(prompter.requests[0].text, "前回、保存されずに終了した作成中のデータと流量計算表があります。復元しますか？");
  NetworkTableScreen* screen = window->findChild<NetworkTableMenu*>()->screen();
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(screen->record().settings.title, "下水幹線");
  EXPECT_TRUE(screen->isModified());
  EXPECT_TRUE(screen->fileName().isEmpty());
  EXPECT_NE(window->findScreen("Form25"), nullptr);

  // Ctrl+S in the table: never saved, so the save dialog, proposing its title.
  QTemporaryDir dir;
  prompter.clear();
  prompter.files = {dir.filePath("saved.mkt")};
  screen->table()->setFocus();
  QTest::keyClick(screen->table(), Qt::Key_S, Qt::ControlModifier);
  ASSERT_EQ(prompter.fileRequests.size(), 1);
  EXPECT_TRUE(prompter.fileRequests[0].directory.endsWith("/下水幹線.mkt"));
  EXPECT_TRUE(QFile::exists(dir.filePath("saved.mkt")));
  EXPECT_FALSE(QFile::exists(TableRecoveryFilePath()));
  EXPECT_FALSE(screen->isModified());
  // Saved over its file now, without a question.
  prompter.clear();
  screen->findChild<QLineEdit*>("title")->setFocus();
  QTest::keyClicks(screen->findChild<QLineEdit*>("title"), "2");
  QTest::keyClick(screen->findChild<QLineEdit*>("title"), Qt::Key_S, Qt::ControlModifier);
  EXPECT_TRUE(prompter.requests.isEmpty());
  EXPECT_TRUE(prompter.fileRequests.isEmpty());
  EXPECT_FALSE(screen->isModified());
}

TEST_F(RecoveryTest, ExitKeepsUnsavedChangesForTheNextStartAndSavedOnesLeaveNothing) {
  QTemporaryDir dir;
  const QString path = dir.filePath("p.vor");
  ASSERT_TRUE(QFile::copy(kExample, path));
  window = std::make_unique<MainWindow>(prompter);
  ASSERT_TRUE(window->openProject(path));
  prompter.answers = {PromptAnswer::Yes};
  window->fileExit();
  EXPECT_FALSE(QFile::exists(RecoveryFilePath()));

  window.reset();  // the next copy keeps the file only once this one has gone
  window = std::make_unique<MainWindow>(prompter);
  ASSERT_TRUE(window->openProject(path));
  window->record().main.txt3 = "0.0456";  // an edit not saved
  prompter.answers = {PromptAnswer::Yes};
  window->fileExit();
  ProjectRecord kept;
  ASSERT_FALSE(ReadProjectFile(RecoveryFilePath(), kept).has_value());
  EXPECT_EQ(kept.main.txt3, "0.0456");
}

}  // namespace
}  // namespace mk
