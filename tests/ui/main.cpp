// Screen tests: one QApplication for the whole program, headless.
#include <QApplication>
#include <QFile>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

// Every test starts without the settings (recent files, the dialogs'
// folder) and the recovery file an earlier test may have left; test mode
// keeps them all out of the user's own folders.
class FreshSettings : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override {
    QFile::remove(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + "/mirukana.conf");
    QFile::remove(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + "/recovery.vor");
  }
};

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                    : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  QStandardPaths::setTestModeEnabled(true);
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new FreshSettings);
  return RUN_ALL_TESTS();
}
