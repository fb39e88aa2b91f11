#include "ui/network_table_print.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <algorithm>
#include <cmath>

#include "calc/network_levels.h"
#include "ui/print_image.h"
#include "ui/prompter.h"

namespace mk {

namespace {

constexpr double kSheetPointSize = 9.0;
const QMarginsF kSheetMarginsMm(10.0, 10.0, 10.0, 10.0);

QString Text(const std::string& s) { return QString::fromStdString(s); }

// A caption's two header lines: the quantity over its symbol or part.
QStringList CaptionLines(const QString& caption) {
  const qsizetype blank = caption.indexOf(QLatin1Char(' '));
  if (blank <= 0) return {caption, QString()};
  return {caption.left(blank), caption.mid(blank + 1)};
}

// The printer dialog's runner in use (a test's, or the platform's).
PrintDialogRunner& CurrentPrintDialogRunner() {
  static PrintDialogRunner platform;
  PrintDialogRunner* current = SetPrintDialogRunner(nullptr);
  SetPrintDialogRunner(current);
  return current ? *current : platform;
}

}  // namespace

QString NetworkFormulaCaption(IntensityFormula formula) {
  static const char* const kCaptions[] = {
      "①  I＝a／(t＋b)", "②  I＝a／(√t＋b)",       "③  I＝a／(√t－b)",
      "④  I＝a／t^b",    "⑤  I＝a／(t^(d/c)＋b)", "⑥  I＝a／(t^(d/c)－b)",
  };
  const int i = static_cast<int>(formula);
  return i >= 0 && i < 6 ? QString::fromUtf8(kCaptions[i]) : QString();
}

NetworkSheet MakeNetworkSheet(const NetworkRecord& record, const NetworkTable& table) {
  NetworkSheet sheet;
  const NetworkSettings& s = record.settings;
  sheet.title = s.title.empty() ? QStringLiteral("流量計算表") : QStringLiteral("流量計算表　") + Text(s.title);
  QString constants = QStringLiteral("a=%1  b=%2").arg(Text(s.a), Text(s.b));
  if (UsesConstantsCD(s.formula)) constants += QStringLiteral("  c=%1  d=%2").arg(Text(s.c), Text(s.d));
  sheet.settingsLine =
      QStringLiteral("降雨強度式 %1  %2    流入時間 t1=%3 min    %4    地下水混入率 %5    計画下水量の割増し %6")
          .arg(NetworkFormulaCaption(s.formula), constants, Text(s.t1),
               s.velocity == VelocityFormula::Kutter ? QStringLiteral("クッター公式") : QStringLiteral("マニング公式"),
               s.groundwater ? Text(s.groundwaterPercent) + QStringLiteral("％") : QStringLiteral("無し"),
               s.surcharge ? Text(s.surchargePercent) + QStringLiteral("％増し") : QStringLiteral("無し"));
  const NetworkCriteria& k = s.criteria;
  sheet.criteriaLine =
      QStringLiteral("設計基準  流速 %1〜%2 m/sec    最小管径 %3 mm    最小土被り %4 m    %5    副管 段差 %6 m 以上    "
                     "最大間隔 %7／%8／%9／%10 m（φ600以下／φ1000以下／φ1500以下／それ以上）    最小段差 %11 m")
          .arg(Text(k.velocityMin), Text(k.velocityMax), Text(k.minimumSize), Text(k.minimumCover),
               QString::fromUtf8(JointMethodCaption(k.joint)), Text(k.dropPipe), Text(k.spacing600),
               Text(k.spacing1000), Text(k.spacing1500))
          .arg(Text(k.spacingLarger), Text(k.minimumDrop));
  if (!table.hasLevels) sheet.noticeLine = QString::fromUtf8(kNoLevelsNotice);

  const std::vector<NetworkColumn>& columns = NetworkColumns();
  std::vector<int> flows, levels;
  bool pastVerdict = false;
  for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
    const QString caption = QString::fromUtf8(columns[static_cast<std::size_t>(c)].caption);
    sheet.captions << caption;
    // 路線番号, 上流 and 下流 head both groups.
    if (c <= 2) {
      flows.push_back(c);
      levels.push_back(c);
    } else {
      (pastVerdict ? levels : flows).push_back(c);
    }
    if (caption == QStringLiteral("判定")) pastVerdict = true;
  }
  sheet.groups = {flows};
  if (levels.size() > 3) sheet.groups.push_back(levels);
  for (const NetworkRow& row : table.rows) {
    QStringList cells;
    for (const std::string& text : NetworkRowTexts(record, row)) cells << Text(text);
    sheet.rows.push_back(cells);
    sheet.magenta.push_back(row.verdict == Verdict::NO);
    sheet.checkFailed.push_back(!row.levels.failed.empty());
  }
  return sheet;
}

QFont NetworkSheetFont() { return ReportFont(kSheetPointSize); }

double NetworkPageLayout::groupWidth(int group) const {
  double width = 0.0;
  if (group < 0 || group >= static_cast<int>(groups.size())) return width;
  for (int c : groups[static_cast<std::size_t>(group)])
    if (c >= 0 && c < static_cast<int>(columnWidths.size())) width += columnWidths[static_cast<std::size_t>(c)];
  return width;
}

NetworkPageLayout LayoutNetworkPages(const NetworkSheet& sheet, const QFont& font, QPaintDevice* device,
                                     const QRectF& paintRect) {
  NetworkPageLayout layout;
  layout.paintRect = paintRect;
  const QFontMetricsF metrics = device ? QFontMetricsF(font, device) : QFontMetricsF(font);
  // NO rows are printed bold: their cells are measured so too.
  QFont boldFont = font;
  boldFont.setBold(true);
  const QFontMetricsF bold = device ? QFontMetricsF(boldFont, device) : QFontMetricsF(boldFont);
  const double pad = metrics.horizontalAdvance(QLatin1Char('0'));
  const double line = metrics.lineSpacing();

  for (int c = 0; c < sheet.captions.size(); ++c) {
    double width = 0.0;
    for (const QString& part : CaptionLines(sheet.captions[c])) width = std::max(width, metrics.horizontalAdvance(part));
    for (std::size_t r = 0; r < sheet.rows.size(); ++r) {
      const QStringList& row = sheet.rows[r];
      const bool marked = (r < sheet.magenta.size() && sheet.magenta[r]) ||
                          (r < sheet.checkFailed.size() && sheet.checkFailed[r]);
      if (c < row.size()) width = std::max(width, (marked ? bold : metrics).horizontalAdvance(row[c]));
    }
    layout.columnWidths.push_back(width + 2 * pad);
  }
  layout.groups = sheet.groups;
  if (layout.groups.empty()) {
    std::vector<int> all;
    for (int c = 0; c < sheet.captions.size(); ++c) all.push_back(c);
    layout.groups.push_back(all);
  }
  double total = 0.0;
  for (int g = 0; g < static_cast<int>(layout.groups.size()); ++g) total = std::max(total, layout.groupWidth(g));
  layout.titleHeight = line * 3.8;
  layout.headerHeight = line * 2 + pad;
  layout.rowHeight = line + pad * 0.6;
  layout.footerHeight = line * 1.6;
  layout.scale = total > paintRect.width() && total > 0 ? paintRect.width() / total : 1.0;

  const double body = paintRect.height() / layout.scale - layout.titleHeight - layout.headerHeight - layout.footerHeight;
  layout.rowsPerPage = std::max(1, static_cast<int>(std::floor(body / layout.rowHeight)));
  const int rows = static_cast<int>(sheet.rows.size());
  layout.rowPages = std::max(1, (rows + layout.rowsPerPage - 1) / layout.rowsPerPage);
  layout.pageCount = layout.rowPages * static_cast<int>(layout.groups.size());
  return layout;
}

void DrawNetworkPage(QPainter& painter, const NetworkSheet& sheet, const NetworkPageLayout& layout, int page) {
  painter.save();
  painter.translate(layout.paintRect.topLeft());
  painter.scale(layout.scale, layout.scale);
  const QFont font = NetworkSheetFont();
  QFont boldFont = font;
  boldFont.setBold(true);
  painter.setFont(font);
  const QFontMetricsF metrics(font, painter.device());
  const double line = metrics.lineSpacing();
  const double pad = metrics.horizontalAdvance(QLatin1Char('0'));
  const int group = std::clamp(page / std::max(1, layout.rowPages), 0, static_cast<int>(layout.groups.size()) - 1);
  const std::vector<int>& columns = layout.groups[static_cast<std::size_t>(group)];
  const bool checks = group > 0;
  const double width = layout.groupWidth(group);
  const double textWidth = layout.paintRect.width() / layout.scale;
  const QColor black(0, 0, 0);
  auto columnWidth = [&](int c) {
    return c >= 0 && c < static_cast<int>(layout.columnWidths.size()) ? layout.columnWidths[static_cast<std::size_t>(c)]
                                                                       : 0.0;
  };

  // Title, then the settings (the flow pages) or the design criteria and,
  // without ground levels, what that leaves out (the check pages).
  painter.setPen(black);
  painter.drawText(QRectF(0, 0, textWidth, line), Qt::AlignLeft | Qt::AlignVCenter,
                   checks ? sheet.title + QStringLiteral("　（管底高・照査）") : sheet.title);
  painter.drawText(QRectF(0, line * 1.2, textWidth, line), Qt::AlignLeft | Qt::AlignVCenter,
                   checks ? sheet.criteriaLine : sheet.settingsLine);
  if (checks && !sheet.noticeLine.isEmpty())
    painter.drawText(QRectF(0, line * 2.4, textWidth, line), Qt::AlignLeft | Qt::AlignVCenter, sheet.noticeLine);

  // The column header, on every page.
  double y = layout.titleHeight;
  double x = 0.0;
  QPen rule(black);
  rule.setWidthF(std::max(0.5, pad / 10.0));
  painter.setPen(rule);
  painter.drawRect(QRectF(0, y, width, layout.headerHeight));
  for (std::size_t k = 0; k < columns.size(); ++k) {
    const int c = columns[k];
    const double w = columnWidth(c);
    const QStringList parts = CaptionLines(c < sheet.captions.size() ? sheet.captions[c] : QString());
    painter.drawText(QRectF(x, y + pad / 2, w, line), Qt::AlignCenter, parts[0]);
    painter.drawText(QRectF(x, y + pad / 2 + line, w, line), Qt::AlignCenter, parts[1]);
    if (k > 0) painter.drawLine(QPointF(x, y), QPointF(x, y + layout.headerHeight));
    x += w;
  }
  y += layout.headerHeight;

  // The rows of this page.
  const int first = (page % std::max(1, layout.rowPages)) * layout.rowsPerPage;
  const int last = std::min(static_cast<int>(sheet.rows.size()), first + layout.rowsPerPage);
  const QString verdictCaption = checks ? QStringLiteral("照査") : QStringLiteral("判定");
  for (int r = first; r < last; ++r) {
    const QStringList& cells = sheet.rows[static_cast<std::size_t>(r)];
    const std::vector<bool>& marks = checks ? sheet.checkFailed : sheet.magenta;
    const bool magenta = r < static_cast<int>(marks.size()) && marks[static_cast<std::size_t>(r)];
    x = 0.0;
    for (int c : columns) {
      const double w = columnWidth(c);
      const QString caption = c < sheet.captions.size() ? sheet.captions[c] : QString();
      const QString text = c < cells.size() ? cells[c] : QString();
      // Names, nodes, the facility, the depth and the notes read from the
      // left; the verdicts stand centred; numbers line up on the right.
      const bool left = c <= 2 || caption == QStringLiteral("管種・寸法") || caption == QStringLiteral("水深") ||
                        caption == QStringLiteral("備考");
      const Qt::Alignment align = caption == QStringLiteral("判定") || caption == QStringLiteral("照査")
                                      ? Qt::AlignCenter
                                  : left ? Qt::AlignLeft | Qt::AlignVCenter
                                         : Qt::AlignRight | Qt::AlignVCenter;
      // A marked row is magenta on a colour printer; on a monochrome one
      // its bold text and the verdict's heavy frame still tell it apart.
      painter.setPen(ReportLineColor(magenta));
      painter.setFont(magenta ? boldFont : font);
      painter.drawText(QRectF(x + pad, y, w - 2 * pad, layout.rowHeight), align, text);
      if (magenta && caption == verdictCaption) {
        QPen frame(black);
        frame.setWidthF(rule.widthF() * 3);
        painter.setPen(frame);
        const double inset = frame.widthF();
        painter.drawRect(QRectF(x + inset, y + inset, w - 2 * inset, layout.rowHeight - 2 * inset));
      }
      x += w;
    }
    painter.setFont(font);
    painter.setPen(rule);
    painter.drawLine(QPointF(0, y + layout.rowHeight), QPointF(width, y + layout.rowHeight));
    y += layout.rowHeight;
  }
  // The outer frame and the column rules of the body.
  const double top = layout.titleHeight + layout.headerHeight;
  if (y > top) {
    painter.drawLine(QPointF(0, top), QPointF(0, y));
    x = 0.0;
    for (int c : columns) {
      x += columnWidth(c);
      painter.drawLine(QPointF(x, top), QPointF(x, y));
    }
  }

  // Page number.
  painter.setPen(black);
  const double bottom = layout.paintRect.height() / layout.scale;
  painter.drawText(QRectF(0, bottom - line, textWidth, line), Qt::AlignCenter,
                   QStringLiteral("- %1 / %2 -").arg(page + 1).arg(layout.pageCount));
  painter.restore();
}

bool DrawNetworkPages(QPagedPaintDevice& device, const NetworkSheet& sheet) {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  const QRect pixels = device.pageLayout().paintRectPixels(device.logicalDpiX());
  const QRectF paintRect(0, 0, pixels.width(), pixels.height());
  const NetworkPageLayout layout = LayoutNetworkPages(sheet, NetworkSheetFont(), &device, paintRect);
  for (int page = 0; page < layout.pageCount; ++page) {
    if (page > 0 && !device.newPage()) return false;
    DrawNetworkPage(painter, sheet, layout, page);
  }
  return painter.end();
}

QPageLayout NetworkPageLayoutOf(QPageSize size) {
  return QPageLayout(size, QPageLayout::Landscape, kSheetMarginsMm, QPageLayout::Millimeter);
}

std::optional<QString> WriteNetworkPdf(const NetworkSheet& sheet, const QString& path) {
  const QString failed = QStringLiteral("「%1」に出力できませんでした。").arg(QFileInfo(path).fileName());
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return failed;
  {
    QPdfWriter writer(&file);
    writer.setResolution(600);
    writer.setTitle(sheet.title);
    writer.setCreator(QStringLiteral("ミルカナ"));
    writer.setPageLayout(NetworkPageLayoutOf(QPageSize(QPageSize::A4)));
    if (!DrawNetworkPages(writer, sheet)) {
      file.cancelWriting();
      return failed;
    }
  }
  if (!file.commit()) return failed;
  return std::nullopt;
}

void PrintNetworkSheet(const NetworkSheet& sheet, Prompter& prompter, QWidget* parent) {
  PrintDialogRunner& runner = CurrentPrintDialogRunner();
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QStringLiteral("流量計算表"));
  printer.setPageLayout(NetworkPageLayoutOf(QPageSize(QPageSize::A4)));
  if (runner.hasPrinters()) {
    if (!runner.run(printer, parent)) return;
    // The table is laid out across the sheet, whichever sheet was chosen.
    printer.setPageOrientation(QPageLayout::Landscape);
  } else {
    const QString path = ChoosePdfInsteadOfPrinter(prompter, parent);
    if (path.isEmpty()) return;
    if (const auto error = WriteNetworkPdf(sheet, path)) prompter.error(parent, *error);
    return;
  }
  if (!DrawNetworkPages(printer, sheet))
    prompter.error(parent, QStringLiteral("印刷できませんでした。プリンタ又は出力先を確認してください。"));
}

}  // namespace mk
