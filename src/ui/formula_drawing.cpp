#include "ui/formula_drawing.h"

#include <QPainter>
#include <algorithm>

namespace mk {

FormulaDrawing::FormulaDrawing(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

FormulaDrawing& FormulaDrawing::text(const QString& text) {
  pieces_.append(Piece{{Run{text, false}}, {}, {}});
  updateAccessibleName();
  updateGeometry();
  return *this;
}

FormulaDrawing& FormulaDrawing::raised(const QString& text) {
  pieces_.append(Piece{{Run{text, true}}, {}, {}});
  updateAccessibleName();
  updateGeometry();
  return *this;
}

FormulaDrawing& FormulaDrawing::fraction(const QList<Run>& numerator, const QList<Run>& denominator) {
  pieces_.append(Piece{{}, numerator, denominator});
  updateAccessibleName();
  updateGeometry();
  return *this;
}

namespace {

QFont RaisedFont(const QFont& base) {
  QFont font = base;
  font.setPointSizeF(base.pointSizeF() > 0 ? base.pointSizeF() * 0.7 : 7.0);
  return font;
}

QString Plain(const QList<FormulaDrawing::Run>& runs) {
  QString text;
  for (const auto& run : runs) text += run.raised ? QStringLiteral("^") + run.text : run.text;
  return text;
}

}  // namespace

void FormulaDrawing::updateAccessibleName() {
  QString name;
  for (const Piece& piece : pieces_) {
    if (piece.numerator.isEmpty())
      name += Plain(piece.runs);
    else
      name += QStringLiteral("(%1)/(%2)").arg(Plain(piece.numerator), Plain(piece.denominator));
  }
  setAccessibleName(name);
}

int FormulaDrawing::runsWidth(const QList<Run>& runs) const {
  const QFontMetrics normal(font());
  const QFontMetrics small(RaisedFont(font()));
  int width = 0;
  for (const Run& run : runs) width += (run.raised ? small : normal).horizontalAdvance(run.text);
  return width;
}

int FormulaDrawing::pieceWidth(const Piece& piece) const {
  if (piece.numerator.isEmpty()) return runsWidth(piece.runs);
  return std::max(runsWidth(piece.numerator), runsWidth(piece.denominator)) + 6;
}

bool FormulaDrawing::hasFraction() const {
  for (const Piece& piece : pieces_)
    if (!piece.numerator.isEmpty()) return true;
  return false;
}

QSize FormulaDrawing::sizeHint() const {
  const QFontMetrics metrics(font());
  int width = 4;
  for (const Piece& piece : pieces_) width += pieceWidth(piece) + 2;
  // A fraction takes two lines; a line with an exponent a little more than one.
  const int height = hasFraction() ? 2 * metrics.height() + 8 : metrics.height() + metrics.ascent() / 2 + 2;
  return {width, height};
}

void FormulaDrawing::drawRuns(QPainter& painter, const QList<Run>& runs, int x, int baseline) const {
  const QFont normal = font();
  const QFont small = RaisedFont(normal);
  const int lift = QFontMetrics(normal).ascent() * 2 / 5;
  for (const Run& run : runs) {
    painter.setFont(run.raised ? small : normal);
    painter.drawText(x, run.raised ? baseline - lift : baseline, run.text);
    x += QFontMetrics(painter.font()).horizontalAdvance(run.text);
  }
}

void FormulaDrawing::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::WindowText));
  const QFontMetrics metrics(font());
  const int middle = height() / 2;
  // Text on the middle line is centred on the fraction bars; on a line
  // without fractions it sits low enough to leave room for the exponent.
  const int baseline = hasFraction() ? middle + (metrics.ascent() - metrics.descent()) / 2
                                     : height() - metrics.descent() - 1;
  int x = 2;
  for (const Piece& piece : pieces_) {
    const int width = pieceWidth(piece);
    if (piece.numerator.isEmpty()) {
      drawRuns(painter, piece.runs, x, baseline);
    } else {
      const int barY = middle;
      painter.drawLine(x + 1, barY, x + width - 1, barY);
      drawRuns(painter, piece.numerator, x + (width - runsWidth(piece.numerator)) / 2,
               barY - 3 - metrics.descent());
      drawRuns(painter, piece.denominator, x + (width - runsWidth(piece.denominator)) / 2,
               barY + 3 + metrics.ascent());
    }
    x += width + 2;
  }
}

}  // namespace mk
