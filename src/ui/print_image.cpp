#include "ui/print_image.h"

#include <QDir>
#include <QFileInfo>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QHash>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

#include "paper/report_pdf.h"
#include "report/flow_report.h"
#include "ui/prompter.h"
#include "ui/screen_host.h"

namespace mk {
namespace {

PrintDialogRunner& PlatformRunner() {
  static PrintDialogRunner runner;
  return runner;
}

PrintDialogRunner* g_runner = nullptr;

PrintDialogRunner& CurrentRunner() { return g_runner ? *g_runner : PlatformRunner(); }

}  // namespace

// ---------------------------------------------------------------- printer

void ConfigurePdfPrinter(QPrinter& printer, const QString& path) {
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  printer.setPageLayout(PdfPageLayout());
}

PageGeometry DefaultPrinterPage() {
  QPrinter printer(QPrinter::HighResolution);
  if (!CurrentRunner().hasPrinters() || printer.outputFormat() == QPrinter::PdfFormat) {
    ConfigurePdfPrinter(printer, QString());
  }
  const QPageLayout layout = printer.pageLayout();
  PageGeometry page{layout.fullRectPoints().size(), layout.paintRectPoints().topLeft()};
  if (page.pageSize.isEmpty()) {
    const QPageLayout a4 = PdfPageLayout();
    page = {a4.fullRectPoints().size(), a4.paintRectPoints().topLeft()};
  }
  return page;
}

bool PrintDialogRunner::hasPrinters() const { return !QPrinterInfo::availablePrinterNames().isEmpty(); }

bool PrintDialogRunner::run(QPrinter& printer, QWidget* parent) {
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

PrintDialogRunner* SetPrintDialogRunner(PrintDialogRunner* runner) {
  PrintDialogRunner* previous = g_runner;
  g_runner = runner;
  return previous;
}

QString DocumentsFolder() {
  QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (documents.isEmpty()) documents = QDir::homePath();
  const QString folder = QDir(documents).filePath(QStringLiteral("ミルカナ"));
  QDir().mkpath(folder);
  return folder;
}

QString ChoosePdfInsteadOfPrinter(Prompter& prompter, QWidget* parent) {
  FileDialogRequest request;
  request.save = true;
  request.title = QStringLiteral("PDFファイルに印刷（プリンタがありません）");
  request.directory = DocumentsFolder();
  request.filter = QStringLiteral("PDF (*.pdf)");
  QString path = prompter.chooseFile(parent, request);
  if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
  return path;
}

void FilePrint(ScreenHost& host, QWidget* parent) {
  PrintDialogRunner& runner = CurrentRunner();
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QStringLiteral("流量計算書"));

  // 1. The printer dialog; with no printer installed, a PDF file instead.
  if (runner.hasPrinters()) {
    if (!runner.run(printer, parent)) return;
  } else {
    const QString path = ChoosePdfInsteadOfPrinter(host.prompter(), parent);
    if (path.isEmpty()) return;
    ConfigurePdfPrinter(printer, path);
  }

  const ProjectRecord& record = host.record();
  const PrintPages pages = SplitReportPages(ComposeFlowReport(record), record);

  // 2.–5. Page 1, a new page and page 2, in the report font on the printer;
  // 6. the job goes to the printer.
  if (!DrawReportPages(printer, pages)) {
    host.prompter().error(parent, QStringLiteral("印刷できませんでした。プリンタ又は出力先を確認してください。"));
    return;
  }
  if (pages.verdictIsNo) host.prompter().beep();
}

}  // namespace mk
