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

#include "report/flow_report.h"
#include "ui/prompter.h"
#include "ui/screen_host.h"

namespace mk {
namespace {

// PDF output (no printer installed): an A4 sheet whose printable area starts
// 5 mm from the top-left corner, as on a common office printer.  The right
// side keeps no margin so that the widest sheet lines (96 columns of 6 pt)
// are not cut off.
const QMarginsF kPdfMarginsMm(5.0, 5.0, 0.0, 5.0);

PrintDialogRunner& PlatformRunner() {
  static PrintDialogRunner runner;
  return runner;
}

PrintDialogRunner* g_runner = nullptr;

PrintDialogRunner& CurrentRunner() { return g_runner ? *g_runner : PlatformRunner(); }

}  // namespace

QFont ReportFont(double pointSize) {
  static const bool registered = [] {
    QFont::insertSubstitution(QString::fromUtf8(kReportFontFamily), QString::fromUtf8(kReportFontSubstitute));
    return true;
  }();
  (void)registered;
  QFont font(QString::fromUtf8(kReportFontFamily));
  font.setPointSizeF(pointSize);
  font.setStyleHint(QFont::Serif);
  // Unhinted outlines give the font's own fractional advances at any size.
  font.setHintingPreference(QFont::PreferNoHinting);
  font.setKerning(false);
  return font;
}

bool ReportFontKeepsColumns(const QFont& font, QPaintDevice* device) {
  const QFontInfo info(font);
  if (info.family() != QString::fromUtf8(kReportFontSubstitute) && !info.fixedPitch()) return false;
  const QFontMetricsF metrics = device ? QFontMetricsF(font, device) : QFontMetricsF(font);
  const double half = metrics.horizontalAdvance(QStringLiteral("0"));
  if (half <= 0.0) return false;
  const double tolerance = half * 0.001;
  for (const QString& narrow : {QStringLiteral("i"), QStringLiteral("W"), QStringLiteral("ｺ"), QStringLiteral("･")}) {
    if (std::abs(metrics.horizontalAdvance(narrow) - half) > tolerance) return false;
  }
  for (const QString& wide : {QStringLiteral("あ"), QStringLiteral("流"), QStringLiteral("＋"), QStringLiteral("―")}) {
    if (std::abs(metrics.horizontalAdvance(wide) - 2.0 * half) > tolerance) return false;
  }
  return true;
}

// ---------------------------------------------------------------- DrawTarget

DrawTarget::DrawTarget(QPainter& painter, const QFont& font, QPointF origin)
    : painter_(painter), font_(font), origin_(origin), position_(origin) {
  QPaintDevice* device = painter_.device();
  const double dpiX = device ? device->logicalDpiX() : 96.0;
  const double dpiY = device ? device->logicalDpiY() : 96.0;
  const double em = font_.pointSizeF() > 0 ? font_.pointSizeF() : 12.0;
  lineHeight_ = em * dpiY / 72.0;
  columnWidth_ = em * dpiX / 72.0 / 2.0;
  // The baseline divides the line's em box as the font divides its height.
  const QFontMetricsF metrics = device ? QFontMetricsF(font_, device) : QFontMetricsF(font_);
  const double height = metrics.ascent() + metrics.descent();
  ascent_ = height > 0 ? lineHeight_ * metrics.ascent() / height : lineHeight_ * 0.86;
}

void DrawTarget::drawLine(const PrintLine& line) {
  if (!line.text.empty() && painter_.isActive()) {
    painter_.setFont(font_);
    painter_.setPen(ReportLineColor(line.magenta));
    const QFontMetricsF metrics(font_, painter_.device());
    const double baseline = position_.y() + ascent_;
    double x = origin_.x();
    for (char32_t c : DecodeUtf8(line.text)) {
      const double cell = CharacterColumns(c) * columnWidth_;
      if (c != U' ' && c != U'　') {
        const QString glyph = QString::fromUcs4(&c, 1);
        // A glyph narrower than its cell (a fallback font) sits in its middle.
        const double advance = metrics.horizontalAdvance(glyph);
        const double dx = advance > 0 && advance < cell ? (cell - advance) / 2.0 : 0.0;
        painter_.drawText(QPointF(x + dx, baseline), glyph);
      }
      x += cell;
    }
  }
  position_ = QPointF(origin_.x(), position_.y() + lineHeight_);
}

void DrawTarget::drawLines(const PrintLines& lines) {
  for (const PrintLine& line : lines) drawLine(line);
}

void DrawTarget::toTop() { position_ = origin_; }

void Hyouji_1(DrawTarget& target, const PrintSections& sections) { target.drawLines(sections.stormwater); }
void Hyouji_2(DrawTarget& target, const PrintSections& sections) { target.drawLines(sections.sewage); }
void Hyouji_3(DrawTarget& target, const PrintSections& sections) { target.drawLines(sections.facility); }

// ---------------------------------------------------------------- printer

void ConfigurePdfPrinter(QPrinter& printer, const QString& path) {
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  printer.setPageLayout(
      QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, kPdfMarginsMm, QPageLayout::Millimeter));
}

PageGeometry DefaultPrinterPage() {
  QPrinter printer(QPrinter::HighResolution);
  if (!CurrentRunner().hasPrinters() || printer.outputFormat() == QPrinter::PdfFormat) {
    ConfigurePdfPrinter(printer, QString());
  }
  const QPageLayout layout = printer.pageLayout();
  PageGeometry page{layout.fullRectPoints().size(), layout.paintRectPoints().topLeft()};
  if (page.pageSize.isEmpty()) {
    const QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Portrait, kPdfMarginsMm, QPageLayout::Millimeter);
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

void FilePrint(ScreenHost& host, QWidget* parent) {
  PrintDialogRunner& runner = CurrentRunner();
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QStringLiteral("流量計算書"));

  // 1. The printer dialog; with no printer installed, a PDF file instead.
  if (runner.hasPrinters()) {
    if (!runner.run(printer, parent)) return;
  } else {
    FileDialogRequest request;
    request.save = true;
    request.title = QStringLiteral("PDFファイルに印刷（プリンタがありません）");
    request.directory = DocumentsFolder();
    request.filter = QStringLiteral("PDF (*.pdf)");
    QString path = host.prompter().chooseFile(parent, request);
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
    ConfigurePdfPrinter(printer, path);
  }

  const ProjectRecord& record = host.record();
  const PrintSections sections = SplitReportSections(ComposeFlowReport(record), record);

  // 2. The report font on the printer.
  QPainter painter;
  if (!painter.begin(&printer)) {
    host.prompter().error(parent, QStringLiteral("印刷できませんでした。プリンタ又は出力先を確認してください。"));
    return;
  }
  DrawTarget target(painter, ReportFont(kPaperReportPointSize));

  // 3. Page 1.
  Hyouji_1(target, sections);
  if (!sections.sewageOnSecondPage) Hyouji_2(target, sections);
  // 4. A new page; a failure here is passed over.
  printer.newPage();
  target.toTop();
  // 5. Page 2.
  if (sections.sewageOnSecondPage) Hyouji_2(target, sections);
  Hyouji_3(target, sections);
  if (sections.verdictIsNo) host.prompter().beep();
  // 6. The job goes to the printer.
  painter.end();
}

}  // namespace mk
