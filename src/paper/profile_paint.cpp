#include "paper/profile_paint.h"

#include <QDir>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPen>
#include <QSaveFile>
#include <QBuffer>

#include "paper/report_paint.h"

namespace mk {

namespace {

QPen LayerPen(const std::string& layer, drawing::LineType type, double pxPerMm) {
  const double width = std::max(drawing::LayerOf(layer).penWidthMm * pxPerMm, 0.5);
  QPen pen(QColor(0, 0, 0));
  pen.setWidthF(width);
  pen.setJoinStyle(Qt::RoundJoin);
  if (type == drawing::LineType::Dashed) {
    pen.setCapStyle(Qt::FlatCap);
    pen.setDashPattern({drawing::kDashMm * pxPerMm / width, drawing::kGapMm * pxPerMm / width});
  } else {
    pen.setCapStyle(Qt::RoundCap);
  }
  return pen;
}

}  // namespace

void PaintSheet(QPainter& painter, const drawing::Sheet& sheet, const QRectF& target, bool paper) {
  if (sheet.width <= 0.0 || sheet.height <= 0.0) return;
  const double k = target.width() / sheet.width;  // device units per mm
  auto at = [&](drawing::Point p) { return QPointF(target.left() + p.x * k, target.bottom() - p.y * k); };
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  if (paper) painter.fillRect(target, Qt::white);

  for (const drawing::Line& l : sheet.lines) {
    painter.setPen(LayerPen(l.layer, l.type, k));
    painter.drawLine(at(l.a), at(l.b));
  }
  painter.setBrush(Qt::NoBrush);
  for (const drawing::Polyline& p : sheet.polylines) {
    QPolygonF points;
    for (const drawing::Point& q : p.points) points << at(q);
    painter.setPen(LayerPen(p.layer, p.type, k));
    if (p.closed)
      painter.drawPolygon(points);
    else
      painter.drawPolyline(points);
  }
  for (const drawing::Circle& c : sheet.circles) {
    painter.setPen(LayerPen(c.layer, drawing::LineType::Continuous, k));
    painter.drawEllipse(at(c.centre), c.radius * k, c.radius * k);
  }

  // Texts: the font's em is the text's height; the report's Mincho.
  QFont font = ReportFont(kPaperReportPointSize);
  const double dpi = painter.device() ? painter.device()->logicalDpiY() : 96.0;
  painter.setPen(QColor(0, 0, 0));
  for (const drawing::Text& t : sheet.texts) {
    font.setPointSizeF(t.height * k * 72.0 / dpi);
    painter.setFont(font);
    const QString text = QString::fromStdString(t.text);
    const double width = QFontMetricsF(font, painter.device()).horizontalAdvance(text);
    const double dx = t.h == drawing::HAlign::Left ? 0.0 : t.h == drawing::HAlign::Center ? -width / 2.0 : -width;
    painter.save();
    painter.translate(at(t.at));
    if (t.rotation != 0.0) painter.rotate(-t.rotation);
    painter.drawText(QPointF(dx, -drawing::BaselineOffset(t.v, t.height) * k), text);
    painter.restore();
  }
  painter.restore();
}

QPageLayout SheetPageLayout(const drawing::Sheet& sheet) {
  const QPageSize size(QSizeF(std::min(sheet.width, sheet.height), std::max(sheet.width, sheet.height)),
                       QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
  return QPageLayout(size, sheet.width >= sheet.height ? QPageLayout::Landscape : QPageLayout::Portrait,
                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

bool PaintSheets(QPagedPaintDevice& device, const std::vector<drawing::Sheet>& sheets) {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  const double pxPerMm = device.logicalDpiX() / 25.4;
  for (std::size_t i = 0; i < sheets.size(); ++i) {
    if (i > 0 && !device.newPage()) return false;
    const drawing::Sheet& sheet = sheets[i];
    PaintSheet(painter, sheet, QRectF(0, 0, sheet.width * pxPerMm, sheet.height * pxPerMm), false);
  }
  return painter.end();
}

std::optional<QString> WriteSheetsPdf(const std::vector<drawing::Sheet>& sheets, const QString& title,
                                      const QString& path) {
  const QString failed = QStringLiteral("「%1」にPDFを出力できませんでした。").arg(QDir::toNativeSeparators(path));
  if (sheets.empty()) return failed;
  // Made in memory first; the file is replaced only once it holds every byte.
  QByteArray document;
  {
    QBuffer buffer(&document);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(600);
    writer.setPageLayout(SheetPageLayout(sheets.front()));
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("ミルカナ"));
    if (!PaintSheets(writer, sheets)) return failed;
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(document) != document.size() || !file.commit()) return failed;
  return std::nullopt;
}

}  // namespace mk
