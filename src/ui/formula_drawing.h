#pragma once
// The formulas that the intensity, inflow-time and river-course screens
// show beside their inputs.

#include <QList>
#include <QString>
#include <QWidget>

class QPainter;

namespace mk {

// A formula drawn as on paper: text, raised exponents and fractions whose
// numerator and denominator are runs of text and exponents of their own.
// Used by the intensity, inflow-time and river-course screens.
class FormulaDrawing : public QWidget {
 public:
  struct Run {
    QString text;
    bool raised = false;
  };
  explicit FormulaDrawing(QWidget* parent = nullptr);

  FormulaDrawing& text(const QString& text);
  FormulaDrawing& raised(const QString& text);
  FormulaDrawing& fraction(const QList<Run>& numerator, const QList<Run>& denominator);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  struct Piece {
    QList<Run> runs;         // text and exponents on the middle line
    QList<Run> numerator;    // a fraction when not empty
    QList<Run> denominator;
  };
  int runsWidth(const QList<Run>& runs) const;
  int pieceWidth(const Piece& piece) const;
  bool hasFraction() const;
  void drawRuns(QPainter& painter, const QList<Run>& runs, int x, int baseline) const;
  void updateAccessibleName();
  QList<Piece> pieces_;
};

}  // namespace mk
