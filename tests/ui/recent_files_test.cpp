// The recent files: the list's order and limit, its place in ﾌｧｲﾙ, opening
// an entry, a missing file's message, and the dialogs' start folder.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "ui/main_window.h"
#include "ui/prompter.h"
#include "ui/recent_files.h"

namespace mk {
namespace {

const QString kExample = QStringLiteral(MK_EXAMPLES_DIR "/example_02.vor");

TEST(RecentFilesTest, KeepsTheLastEightNewestFirstWithoutRepeats) {
  QTemporaryDir dir;
  RecordingPrompter prompter;
  QWidget window;
  RecentFiles recent(prompter, [](const QString&) {}, &window);
  QStringList paths;
  for (int i = 1; i <= 10; ++i) paths << dir.filePath(QStringLiteral("p%1.vor").arg(i));
  for (const QString& path : paths) recent.remember(path);
  EXPECT_EQ(recent.files(), (QStringList{paths[9], paths[8], paths[7], paths[6], paths[5], paths[4], paths[3],
                                         paths[2]}));
  recent.remember(paths[5]);
  EXPECT_EQ(recent.files().size(), RecentFiles::kMaxFiles);
  EXPECT_EQ(recent.files().first(), paths[5]);
  EXPECT_EQ(recent.files().count(paths[5]), 1);
}

class RecentFilesWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { window = std::make_unique<MainWindow>(prompter); }
  QMenu* fileMenu() {
    auto* menu = window->findChild<QMenu*>("Men_F");
    emit menu->aboutToShow();
    return menu;
  }
  QAction* entry(int number) {
    fileMenu();
    return window->findChild<QAction*>(QStringLiteral("Men_FRec%1").arg(number));
  }

  RecordingPrompter prompter;
  std::unique_ptr<MainWindow> window;
};

TEST_F(RecentFilesWindowTest, OpenedFilesAreOfferedAboveExitAndAGoneOneIsTakenOff) {
  QMenu* menu = fileMenu();
  const QList<QAction*> entries = menu->actions();
  const qsizetype exit = entries.indexOf(window->findChild<QAction*>("Men_FEnd"));
  ASSERT_GT(exit, 0);
  EXPECT_EQ(entries[exit - 1]->text(), "最近使ったファイル(&R)");
  EXPECT_FALSE(entries[exit - 1]->isEnabled());  // nothing yet
  EXPECT_EQ(entry(1), nullptr);

  ASSERT_TRUE(window->openProject(kExample));
  window->fileNew();
  ASSERT_NE(entry(1), nullptr);
  EXPECT_TRUE(entry(1)->text().endsWith(QDir::toNativeSeparators(kExample)));
  entry(1)->trigger();
  EXPECT_EQ(window->fileName(), QFileInfo(kExample).absoluteFilePath());
  EXPECT_EQ(window->record().main.txt_c, "0.73");

  // The dialogs start where the last project was opened or saved.
  window->fileOpen();  // cancelled
  ASSERT_EQ(prompter.fileRequests.size(), 1);
  EXPECT_EQ(prompter.fileRequests[0].directory, QFileInfo(kExample).absolutePath());

  // A file that has gone is taken off the list with a message.
  QTemporaryDir dir;
  const QString gone = dir.filePath("gone.vor");
  ASSERT_TRUE(QFile::copy(kExample, gone));
  ASSERT_TRUE(window->openProject(gone));
  window->fileNew();
  ASSERT_TRUE(QFile::remove(gone));
  prompter.clear();

  entry(1)->trigger();
  ASSERT_EQ(prompter.requests.size(), 1);
  EXPECT_EQ(prompter.requests[0].title, "エラーメッセージ");
  EXPECT_EQ(prompter.requests[0].text,
            QStringLiteral("「%1」が見つかりません。最近使ったファイルから削除しました。")
                .arg(QDir::toNativeSeparators(gone)));
  EXPECT_TRUE(window->fileName().isEmpty());  // the new project stays
  ASSERT_NE(entry(1), nullptr);
  EXPECT_TRUE(entry(1)->text().endsWith(QDir::toNativeSeparators(kExample)));
  EXPECT_EQ(entry(2), nullptr);
}

}  // namespace
}  // namespace mk
