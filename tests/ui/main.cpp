// Screen tests: one QApplication for the whole program, headless.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Every test starts without the settings (recent files, the dialogs'
// folder) and the recovery files an earlier test may have left; test mode
// keeps them all out of the user's own folders.
class FreshSettings : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override {
    QFile::remove(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + "/mirukana.conf");
    QFile::remove(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + "/recovery.vor");
    QFile::remove(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + "/recovery.mkt");
  }
};

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
  // A home folder of this test process's own: CTest runs tests in parallel
  // processes, which must not share settings, recovery files or the
  // documents folder (nor touch the user's).
  QTemporaryDir home(QDir::tempPath() + QStringLiteral("/mirukana-ui-test-XXXXXX"));
  if (home.isValid()) qputenv("HOME", QFile::encodeName(home.path()));
  QApplication app(argc, argv);
  QStandardPaths::setTestModeEnabled(true);
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new FreshSettings);
  return RUN_ALL_TESTS();
}
