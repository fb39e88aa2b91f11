#pragma once
// Form21 "その他排水溝": the flow-time facility screen of an irregular open
// channel (Form17 kind 7).  The wetted outline is typed as up to eight
// vertices (X to the right, Y downwards from the upper-left corner, counter-
// clockwise from the upper-left vertex); the screen draws the outline and
// computes the velocity.  It keeps its values while it stays open and opens
// empty (vertex 0 at " 0", " 0") after it was closed.

#include <QLabel>
#include <QVector>
#include <QWidget>
#include <vector>

#include "calc/polygon_drawing.h"
#include "ui/flow_time_facility_screen.h"
#include "ui/widget_support.h"

class QPushButton;

namespace mk {

class EnterOrder;

// Picture1: the outline as an open polyline, 2 pixels wide, on white.
class OutlineDrawing : public QWidget {
  Q_OBJECT
 public:
  explicit OutlineDrawing(QWidget* parent = nullptr);
  void setOutline(const std::vector<DrawingPoint>& points);
  void clearOutline();
  const std::vector<DrawingPoint>& outline() const { return points_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<DrawingPoint> points_;
};

// A caption written top to bottom ("Ｙ軸(＋)" beside the drawing's left edge).
class VerticalCaption : public QLabel {
  Q_OBJECT
 public:
  VerticalCaption(const QString& text, QWidget* parent = nullptr);
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// A vertex box: no border, except a single flat line while it has the focus.
class VertexBox : public EntryBox {
  Q_OBJECT
 public:
  explicit VertexBox(QWidget* parent = nullptr);

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void showBorder(bool shown);
};

// The ruled table of the eight vertices: row number, Ｘ(m), Y(m).
class VertexTable : public QWidget {
  Q_OBJECT
 public:
  explicit VertexTable(QWidget* parent = nullptr);
  VertexBox* xBox(int row) const { return x_[row]; }
  VertexBox* yBox(int row) const { return y_[row]; }
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  VertexBox* x_[8] = {};
  VertexBox* y_[8] = {};
};

class IrregularChannelScreen : public FlowTimeFacilityScreen {
  Q_OBJECT
 public:
  explicit IrregularChannelScreen(ScreenHost& host, QWidget* parent = nullptr);

  // Shows record.flowTime.form21.
  void load() override;

  OutlineDrawing* drawing() const { return Picture1_; }

 private:
  // "計算" (hand V back) and "描画" (stay open): checks, section, drawing, V.
  void computeAndDraw(bool handBackVelocity);
  void draw();

  EntryBox* txt_m_ = nullptr;
  EntryBox* txt_[5] = {};  // txt1 .. txt5
  VertexTable* table_ = nullptr;
  OutlineDrawing* Picture1_ = nullptr;
  QLabel* Label15_ = nullptr;
  QPushButton* cmd1_ = nullptr;
  QPushButton* cmd2_ = nullptr;
  QPushButton* cmd3_ = nullptr;
  EnterOrder* enter_ = nullptr;
};

}  // namespace mk
