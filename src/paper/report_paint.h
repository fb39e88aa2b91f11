#pragma once
// Drawing the report on a page, shared by the print image, printing and the
// PDF output: the report font, and the surface the report's lines are
// drawn on, line by line.  Needs only QtGui, so that the headless report
// command can draw the same pages without widgets.
//
// Every character is placed at its own column (half-width one column,
// full-width two), so the columns of the sheet line up whatever the font's
// own advances are.

#include <QColor>
#include <QFont>
#include <QPageLayout>
#include <QPointF>

#include "report/page_split.h"

class QPainter;
class QPaintDevice;

namespace mk {

// The report's font family and its sizes on screen and on paper.
inline constexpr const char* kReportFontFamily = "ＭＳ 明朝";
inline constexpr const char* kReportFontSubstitute = "IPAMincho";
inline constexpr double kScreenReportPointSize = 11.25;
inline constexpr double kPaperReportPointSize = 12.0;

// Light magenta (palette entry 13) for the NO verdict line; black otherwise.
inline QColor ReportLineColor(bool magenta) { return magenta ? QColor(255, 0, 255) : QColor(0, 0, 0); }

// "ＭＳ 明朝" at the given size; the first call registers the installed
// fixed-pitch Mincho as its substitute.
QFont ReportFont(double pointSize);

// True when the font resolves to a fixed-pitch face whose full-width
// characters are exactly two half-width columns on `device`.
bool ReportFontKeepsColumns(const QFont& font, QPaintDevice* device);

// The rule character of the report's fraction bars and rule lines.
inline constexpr char32_t kRuleCharacter = U'―';

// The surface the renderers draw on.  Drawing is line by line: a line is
// drawn at the current position, which then moves one line down, back to
// the left edge; an empty line only moves the position.  The pitch of a
// line is the font's size (one em), and a column is half an em.  A run of
// the rule character "―" is drawn as one filled band over exactly the
// columns the run takes, at the height and thickness of the glyph's
// stroke, so that fraction bars and rule lines print without gaps.
class DrawTarget {
 public:
  // `origin`: the top-left corner of the text on the painter's device.
  DrawTarget(QPainter& painter, const QFont& font, QPointF origin = QPointF(0, 0));

  void drawLine(const PrintLine& line);
  void drawLines(const PrintLines& lines);
  // Back to the top-left corner (a new page).
  void toTop();

  double lineHeight() const { return lineHeight_; }
  double columnWidth() const { return columnWidth_; }
  QPointF position() const { return position_; }

 private:
  QPainter& painter_;
  QFont font_;
  QPointF origin_;
  QPointF position_;
  double lineHeight_ = 0.0;
  double columnWidth_ = 0.0;
  double ascent_ = 0.0;
  double ruleTop_ = 0.0;     // top of the rule band, from the baseline
  double ruleHeight_ = 0.0;  // thickness of the rule band
};

// The sheet of the PDF output: A4, its printable area starting 5 mm from
// the top-left corner, as on a common office printer.  The right side keeps
// no margin so that the widest sheet lines (96 columns of 6 pt) are not cut
// off.
QPageLayout PdfPageLayout();

}  // namespace mk
