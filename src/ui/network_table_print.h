#pragma once
// The network flow table on paper: landscape pages (A4, or the sheet chosen
// in the printer dialog), the title and the settings above, the column
// header repeated on every page, the rows split over as many pages as they
// need, a page number below.  The columns are printed in two groups, each
// with the 路線番号 and its nodes at the left: the flows and the capacity
// (through 判定) on the first pages, then the levels and the design checks
// (管厚 through 備考) with the design criteria above them.  The wider group
// is scaled down to the page when it is wider, so no column is ever cut.
// NO rows (and on the check pages, rows whose 照査 fails) in the report's
// light magenta, bold, their verdict framed, so a monochrome printer shows
// them too.  Printing, the PDF file and the tests draw the same pages.

#include <QFont>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "calc/network.h"

class QPainter;
class QPagedPaintDevice;
class QPaintDevice;
class QWidget;

namespace mk {

class Prompter;

// What the pages show, as text: the computed table's columns (the sizing
// proposal is the screen's, not the sheet's).
struct NetworkSheet {
  QString title;         // the table's title line ("流量計算表" when none)
  QString settingsLine;  // formula and constants, t1, velocity formula, percentages
  QString criteriaLine;  // the design criteria, above the check pages
  QString noticeLine;    // said under the criteria (no ground levels), or empty
  QStringList captions;  // NetworkColumns' captions
  std::vector<QStringList> rows;
  std::vector<bool> magenta;  // NO rows
  std::vector<bool> checkFailed;  // rows whose 照査 is not "適"
  // The column groups, each printed on pages of its own: column indexes.
  std::vector<std::vector<int>> groups;
};

// The formula as the settings show it: "①  I＝a／(t＋b)".
QString NetworkFormulaCaption(IntensityFormula formula);

// The sheet of a computed table (record order, as the screen shows it).
NetworkSheet MakeNetworkSheet(const NetworkRecord& record, const NetworkTable& table);

// Where everything goes on a page of `paintRect` (device units), drawn with
// `font` on `device`: column widths at full size, the scale that fits the
// widest group into the page's width (at most 1), the heights, and how many
// rows each page takes.  Pages run through every row of the first group,
// then every row of the next.
struct NetworkPageLayout {
  QRectF paintRect;
  double scale = 1.0;
  std::vector<double> columnWidths;  // unscaled, one per column of the sheet
  std::vector<std::vector<int>> groups;
  double titleHeight = 0.0;          // title, settings and notice lines
  double headerHeight = 0.0;         // the two caption lines
  double rowHeight = 0.0;
  double footerHeight = 0.0;
  int rowsPerPage = 1;
  int rowPages = 1;   // pages of one group
  int pageCount = 1;  // every group's pages
  double headerTop() const { return paintRect.top() + titleHeight * scale; }
  double headerBottom() const { return headerTop() + headerHeight * scale; }
  double groupWidth(int group) const;  // unscaled
};

// The font of the printed table: the report's fixed-pitch Mincho.
QFont NetworkSheetFont();

NetworkPageLayout LayoutNetworkPages(const NetworkSheet& sheet, const QFont& font, QPaintDevice* device,
                                     const QRectF& paintRect);

// Draws page `page` (from 0) of the layout.
void DrawNetworkPage(QPainter& painter, const NetworkSheet& sheet, const NetworkPageLayout& layout, int page);

// Every page on `device` (ready to paint; landscape set by the caller).
// False when the device could not be painted on.
bool DrawNetworkPages(QPagedPaintDevice& device, const NetworkSheet& sheet);

// The landscape sheet of the table's pages: A4 unless `size` says otherwise,
// 10 mm margins.
QPageLayout NetworkPageLayoutOf(QPageSize size);

// The pages as a PDF file (replaced only once the whole file is written);
// the message to show when it could not be written.
std::optional<QString> WriteNetworkPdf(const NetworkSheet& sheet, const QString& path);

// 印刷: the printer dialog (landscape A4 preset; A3 or another sheet as
// chosen there), then the pages; with no printer installed, a PDF file the
// user names.  Failures are said through the Prompter.
void PrintNetworkSheet(const NetworkSheet& sheet, Prompter& prompter, QWidget* parent);

}  // namespace mk
