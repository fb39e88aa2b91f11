#include "paper/report_pdf.h"

#include <QBuffer>
#include <QDir>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include "paper/report_paint.h"
#include "report/flow_report.h"

namespace mk {

bool DrawReportPages(QPagedPaintDevice& device, const PrintPages& pages) {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  DrawTarget target(painter, ReportFont(kPaperReportPointSize));
  target.drawLines(pages.page1);
  const bool turned = device.newPage();
  target.toTop();
  if (turned) target.drawLines(pages.page2);
  return painter.end() && turned;
}

std::optional<QString> WriteReportPdf(const ProjectRecord& record, const QString& path) {
  const QString failed = QStringLiteral("「%1」にPDFを出力できませんでした。").arg(QDir::toNativeSeparators(path));
  // The whole document is made in memory first; a temporary file beside the
  // target then replaces the target only once it holds every byte.
  QByteArray document;
  {
    QBuffer buffer(&document);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(1200);
    writer.setPageLayout(PdfPageLayout());
    writer.setTitle(QStringLiteral("流量計算書"));
    writer.setCreator(QStringLiteral("ミルカナ"));
    if (!DrawReportPages(writer, SplitReportPages(ComposeFlowReport(record), record))) return failed;
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(document) != document.size() || !file.commit()) return failed;
  return std::nullopt;
}

}  // namespace mk
