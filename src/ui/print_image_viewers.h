#pragma once
// The two print-image windows "流量計算": Form7 shows page 1, Form3 page 2.
// Each holds a viewport (Picture1) with the page canvas (Picture2) inside
// it, sized as the printer's sheet, and the scroll bars VScroll1 and
// HScroll1 that move the canvas.  Page 1 is drawn anew each time its
// window becomes active; page 2 when "次のページ" shows it.

#include <QImage>
#include <QPointF>
#include <QWidget>

#include "ui/print_image.h"

class QAction;
class QPainter;
class QScrollBar;

namespace mk {

class ScreenHost;

// Picture2: the page canvas.  Keeps what the renderers drew in an image of
// the sheet's size at screen resolution.
class PageCanvas : public QWidget {
  Q_OBJECT
 public:
  explicit PageCanvas(QWidget* parent = nullptr);

  // Sizes the canvas as the sheet (points) and places the text origin at
  // the corner of the sheet's printable area.
  void setPage(const PageGeometry& page);
  void clear();
  QImage& image() { return image_; }
  QPointF textOrigin() const { return origin_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage image_;
  QPointF origin_;
};

class PrintImageViewer : public QWidget {
  Q_OBJECT
 public:
  // page 1 is Form7, page 2 is Form3.
  PrintImageViewer(ScreenHost& host, int page, QWidget* parent = nullptr);

  int page() const { return page_; }
  QString formName() const;
  PageCanvas* canvas() const { return canvas_; }

  // Clears the canvas (white).
  void clearCanvas();
  // Draws this window's page from a freshly composed report: page 1 the
  // stormwater part (and the sewage part unless it begins page 2), then
  // hides the rainfall-intensity screen; page 2 the rest, with one beep
  // when its verdict is NO.
  void drawPage();
  // Draws this window's page of a freshly composed report (page 1 or 2 as
  // SplitReportPages assigns the lines) on `painter` with the screen's
  // report font, the text starting at the canvas's text origin.  True when
  // the page drawn holds the NO verdict.  drawPage draws the canvas with it.
  bool paintPage(QPainter& painter) const;
  // Makes this window the active child window (page 1 draws on activation;
  // it draws here if it was active already).
  void activate();

  int drawCount() const { return drawCount_; }

 public slots:
  void nextPage();      // 次のページ (page 1)
  void previousPage();  // 前のページ (page 2)
  void print();         // 印刷(&P)
  void write();         // 書き込み(&W)
  void launch();        // 起動(&O)
  void closeViewer();   // 閉じる(&C)

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void setUpScrollBars();
  void scrollCanvas();

  ScreenHost& host_;
  int page_;
  QWidget* viewport_ = nullptr;  // Picture1
  PageCanvas* canvas_ = nullptr; // Picture2
  QScrollBar* vertical_ = nullptr;   // VScroll1
  QScrollBar* horizontal_ = nullptr; // HScroll1
  bool watchingActivation_ = false;
  int drawCount_ = 0;
};

// 書き込み: appends the report to "Gouryu.txt" (Kakikomi); one beep when
// the verdict is NO; a failed write is shown as a message.
void WriteReportFile(ScreenHost& host, QWidget* parent);

// 起動: opens "Gouryu.txt" (its absolute path) with the system's handler
// for text files; a failure is ignored.
void LaunchReportEditor();

}  // namespace mk
