// "PDFに出力" from the File menu and the print-image windows.
#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

#include "ui/main_window.h"
#include "ui/prompter.h"

namespace mk {
namespace {

QByteArray ReadBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int PdfPages(const QString& path) {
  return static_cast<int>(QString::fromLatin1(ReadBytes(path)).count(QRegularExpression("/Type\\s*/Page[^s]")));
}

QStringList EntryNames(const QList<QAction*>& actions) {
  QStringList names;
  for (QAction* a : actions) names << a->objectName();
  return names;
}

class PdfExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QStandardPaths::setTestModeEnabled(true);
    window = std::make_unique<MainWindow>(prompter);
    window->show();
  }
  void TearDown() override {
    window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
  // The example copied into the temporary folder as "project.vor" and opened.
  void openProject(const char* example) {
    const QString copy = dir.filePath("project.vor");
    ASSERT_TRUE(QFile::copy(QStringLiteral(MK_EXAMPLES_DIR "/") + example + ".vor", copy));
    ASSERT_TRUE(window->openProject(copy));
  }
  QAction* pdfEntry() {
    emit window->findChild<QMenu*>("Men_F")->aboutToShow();
    return window->findChild<QAction*>("Men_FPdf");
  }

  QTemporaryDir dir;
  RecordingPrompter prompter;
  std::unique_ptr<MainWindow> window;
};

TEST_F(PdfExportTest, OfferedAfterPrintWhileAResultExistsAndOnThePrintImage) {
  ASSERT_NE(pdfEntry(), nullptr);
  EXPECT_EQ(pdfEntry()->text(), QStringLiteral("PDFに出力(&D)"));
  EXPECT_FALSE(pdfEntry()->isEnabled());
  const QStringList file = EntryNames(window->findChild<QMenu*>("Men_F")->actions());
  EXPECT_EQ(file.indexOf("Men_FPdf"), file.indexOf("Men_FPrn") + 1);

  openProject("example_02");
  EXPECT_TRUE(pdfEntry()->isEnabled());
  window->fileImage();
  QWidget* page1 = window->findScreen("Form7");
  ASSERT_NE(page1, nullptr);
  const QStringList viewer = EntryNames(page1->findChild<QMenuBar*>()->actions());
  EXPECT_EQ(viewer.indexOf("pdf"), viewer.indexOf("print") + 1);
  prompter.files << dir.filePath("image.pdf");
  page1->findChild<QAction*>("pdf")->trigger();
  EXPECT_EQ(PdfPages(dir.filePath("image.pdf")), 2);

  window->discardRunResult();
  EXPECT_FALSE(pdfEntry()->isEnabled());
}

TEST_F(PdfExportTest, WritesTwoPagesAsksBeforeReplacingAndKeepsTheOldFileOnFailure) {
  openProject("example_01");  // NO: one beep, as printing gives
  prompter.clear();
  prompter.files << dir.filePath("report");
  pdfEntry()->trigger();
  ASSERT_EQ(prompter.fileRequests.size(), 1);
  EXPECT_TRUE(prompter.fileRequests[0].save);
  EXPECT_EQ(prompter.fileRequests[0].directory, dir.filePath("project.pdf"));
  EXPECT_EQ(prompter.fileRequests[0].filter, QStringLiteral("PDF(.pdf) (*.pdf)"));
  const QString written = dir.filePath("report.pdf");
  EXPECT_EQ(PdfPages(written), 2);
  EXPECT_EQ(prompter.beeps, 1);

  // The same name again: asked as Save As asks; No keeps the file.
  const QByteArray first = ReadBytes(written);
  prompter.clear();
  prompter.files << written;
  prompter.answers << PromptAnswer::No;
  pdfEntry()->trigger();
  EXPECT_EQ(prompter.lastText(), QStringLiteral("同名ファイルがあります。上書き保存しますか？"));
  EXPECT_EQ(ReadBytes(written), first);

  // A name so long that no temporary file can be made beside it.
  const QString path = dir.filePath(QString(247, 'a') + ".pdf");
  QFile old(path);
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("old");
  old.close();
  prompter.clear();
  prompter.files << path;
  prompter.answers << PromptAnswer::Yes;
  pdfEntry()->trigger();
  EXPECT_EQ(prompter.requests.last().title, QStringLiteral("エラーメッセージ"));
  EXPECT_TRUE(prompter.lastText().endsWith(QStringLiteral("」にPDFを出力できませんでした。")));
  EXPECT_EQ(ReadBytes(path), QByteArray("old"));
}

}  // namespace
}  // namespace mk
