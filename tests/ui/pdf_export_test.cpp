// "PDFに出力" from the File menu and the print-image windows: where it is,
// when it is offered, the save dialog, the file, and a failed write.
#include <QAction>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
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

int PdfPages(const QByteArray& pdf) {
  return static_cast<int>(QString::fromLatin1(pdf).count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
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
    const QString copy = dir.filePath(QStringLiteral("project.vor"));
    QFile::remove(copy);
    ASSERT_TRUE(QFile::copy(QStringLiteral(MK_EXAMPLES_DIR "/") + example + ".vor", copy));
    ASSERT_TRUE(window->openProject(copy));
  }
  QAction* fileEntry(const char* name) {
    emit window->findChild<QMenu*>("Men_F")->aboutToShow();
    return window->findChild<QAction*>(QLatin1String(name));
  }

  QTemporaryDir dir;
  RecordingPrompter prompter;
  std::unique_ptr<MainWindow> window;
};

TEST_F(PdfExportTest, FileMenuOffersItAfterPrintWhileAResultExists) {
  QAction* pdf = fileEntry("Men_FPdf");
  ASSERT_NE(pdf, nullptr);
  EXPECT_EQ(pdf->text(), QStringLiteral("PDFに出力(&D)"));
  EXPECT_FALSE(pdf->isEnabled());
  QStringList order;
  for (QAction* a : window->findChild<QMenu*>("Men_F")->actions()) order << a->objectName();
  // The existing entries keep their relative order.
  const QStringList existing{"Men_FNew", "Men_FOpn", "Men_FCls", "Men_FOvw", "Men_FSav",
                             "Men_FImg", "Men_FPrn", "Men_FEnd"};
  QStringList kept = order;
  kept.removeIf([&](const QString& name) { return !existing.contains(name); });
  EXPECT_EQ(kept, existing);
  const qsizetype print = order.indexOf(QStringLiteral("Men_FPrn"));
  ASSERT_GE(print, 0);
  EXPECT_EQ(order.value(print + 1), QStringLiteral("Men_FPdf"));

  openProject("example_02");
  EXPECT_TRUE(fileEntry("Men_FPdf")->isEnabled());
  window->discardRunResult();
  EXPECT_FALSE(fileEntry("Men_FPdf")->isEnabled());
}

TEST_F(PdfExportTest, WritesTheTwoPagesWhereTheUserChoosesAndAsksBeforeReplacing) {
  openProject("example_01");  // NO: one beep, as printing gives
  prompter.clear();
  prompter.files << dir.filePath(QStringLiteral("report"));
  fileEntry("Men_FPdf")->trigger();
  ASSERT_EQ(prompter.fileRequests.size(), 1);
  const FileDialogRequest& request = prompter.fileRequests.first();
  EXPECT_TRUE(request.save);
  EXPECT_EQ(request.title, QStringLiteral("PDFに出力"));
  EXPECT_EQ(request.directory, dir.filePath(QStringLiteral("project.pdf")));
  EXPECT_EQ(request.filter, QStringLiteral("PDF(.pdf) (*.pdf)"));
  const QString written = dir.filePath(QStringLiteral("report.pdf"));
  const QByteArray pdf = ReadBytes(written);
  EXPECT_TRUE(pdf.startsWith("%PDF"));
  EXPECT_EQ(PdfPages(pdf), 2);
  EXPECT_EQ(prompter.beeps, 1);
  EXPECT_TRUE(prompter.requests.isEmpty());

  // The same name again: asked as Save As asks; No keeps the file.
  prompter.clear();
  prompter.files << written;
  prompter.answers << PromptAnswer::No;
  fileEntry("Men_FPdf")->trigger();
  ASSERT_EQ(prompter.requests.size(), 1);
  EXPECT_EQ(prompter.requests.first().title, QStringLiteral("上書き保存の確認"));
  EXPECT_EQ(prompter.lastText(), QStringLiteral("同名ファイルがあります。上書き保存しますか？"));
  EXPECT_EQ(ReadBytes(written), pdf);
}

TEST_F(PdfExportTest, AFailedWriteSaysSoAndKeepsTheOldFile) {
  openProject("example_02");
  // A name so long that no temporary file can be made beside it.
  const QString path = dir.filePath(QString(247, QLatin1Char('a')) + QStringLiteral(".pdf"));
  {
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
  }
  prompter.clear();
  prompter.files << path;
  prompter.answers << PromptAnswer::Yes;  // replace it
  fileEntry("Men_FPdf")->trigger();
  ASSERT_EQ(prompter.requests.size(), 2);
  EXPECT_EQ(prompter.requests.last().title, QStringLiteral("エラーメッセージ"));
  EXPECT_TRUE(prompter.lastText().endsWith(QStringLiteral("」にPDFを出力できませんでした。")));
  EXPECT_EQ(ReadBytes(path), QByteArray("old"));
}

TEST_F(PdfExportTest, PrintImageWindowsOfferItAfterPrint) {
  openProject("example_02");
  window->fileImage();
  QWidget* page1 = window->findScreen(QStringLiteral("Form7"));
  ASSERT_NE(page1, nullptr);
  QStringList entries;
  for (QAction* a : page1->findChild<QMenuBar*>()->actions()) entries << a->objectName();
  EXPECT_EQ(entries.value(entries.indexOf(QStringLiteral("print")) + 1), QStringLiteral("pdf"));
  QAction* pdf = page1->findChild<QAction*>(QStringLiteral("pdf"));
  EXPECT_EQ(pdf->text(), QStringLiteral("PDFに出力(&D)"));
  prompter.clear();
  prompter.files << dir.filePath(QStringLiteral("image.pdf"));
  pdf->trigger();
  EXPECT_EQ(PdfPages(ReadBytes(dir.filePath(QStringLiteral("image.pdf")))), 2);
  EXPECT_EQ(prompter.beeps, 0);
}

}  // namespace
}  // namespace mk
