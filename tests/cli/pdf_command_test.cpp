// mirukana-report --pdf, run as a user would without a display; the PDF is
// read back with the system's PDF text tools (poppler-utils).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>

#include "calc/recompute.h"
#include "cli/program_run.h"
#include "project_file/vor_file.h"
#include "report/page_split.h"

namespace mk {
namespace {

const QString kExamples = QStringLiteral(MK_EXAMPLES_DIR);

// `program` as started from a shell with no display at all.
ProgramRun Execute(const QString& program, const QStringList& args) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.remove(QStringLiteral("DISPLAY"));
  env.remove(QStringLiteral("WAYLAND_DISPLAY"));
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
  return RunProgram(program, args, QString(), env);
}

ProgramRun RunWithoutDisplay(const QStringList& args) { return Execute(kReportProgram, args); }

// A page's letters and digits, sorted: the PDF's text comes back in its
// reader's order (side-by-side blocks may swap), symbols that share a glyph
// with another may come back as that one, and runs of "―" may be lines.
QString Compact(const QString& text) {
  QString kept;
  for (QChar c : text)
    if (c.isLetterOrNumber()) kept += c;
  std::sort(kept.begin(), kept.end());
  return kept;
}

QString ExpectedPage(const PrintLines& lines) {
  QString text;
  for (const PrintLine& line : lines) text += QString::fromStdString(line.text);
  return Compact(text);
}

QString PdfPageText(const QString& pdf, int page) {
  const ProgramRun run = Execute(QStringLiteral("pdftotext"),
                          {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"), QString::number(page),
                           QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
  return Compact(QString::fromUtf8(run.out));
}

TEST(PdfCommand, WritesBothPrintedPagesWithoutADisplayAndExitsWithTheVerdict) {
  QTemporaryDir dir;
  // example_01: NO, sewage part on page 2; example_02: O.K, sewage on page 1.
  for (const auto& [name, exitCode] : {std::pair{"example_01", 1}, std::pair{"example_02", 0}}) {
    SCOPED_TRACE(name);
    const QString project = kExamples + "/" + name + ".vor";
    const QString pdf = dir.filePath(QString::fromLatin1(name) + ".pdf");
    const ProgramRun run = RunWithoutDisplay({QStringLiteral("--pdf"), pdf, project});
    EXPECT_EQ(run.exitCode, exitCode) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains("mirukana-report")) << run.err.toStdString();

    const QString info = QString::fromUtf8(Execute(QStringLiteral("pdfinfo"), {pdf}).out);
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\n")))) << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("(A4)"))) << info.toStdString();

    ProjectRecord record;
    ASSERT_FALSE(ReadProjectFile(project, record));
    RecomputeAfterOpen(record);
    const PrintPages pages = SplitReportPages(ComposeFlowReport(record), record);
    EXPECT_EQ(PdfPageText(pdf, 1), ExpectedPage(pages.page1));
    EXPECT_EQ(PdfPageText(pdf, 2), ExpectedPage(pages.page2));
  }
}

TEST(PdfCommand, AFailedWriteKeepsTheOldFileAndExitsWithTwo) {
  QTemporaryDir dir;
  // A name so long that no temporary file can be made beside it.
  const QString pdf = dir.filePath(QString(247, QLatin1Char('a')) + ".pdf");
  {
    QFile old(pdf);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
  }
  const ProgramRun run = RunWithoutDisplay({QStringLiteral("--pdf"), pdf, kExamples + "/example_02.vor"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_TRUE(QString::fromUtf8(run.err).contains(QStringLiteral("にPDFを出力できませんでした。")));
  QFile old(pdf);
  ASSERT_TRUE(old.open(QIODevice::ReadOnly));
  EXPECT_EQ(old.readAll(), QByteArray("old"));

  EXPECT_EQ(RunWithoutDisplay({QStringLiteral("--pdf"), dir.filePath("x.pdf")}).exitCode, 2);  // no project
}

}  // namespace
}  // namespace mk
