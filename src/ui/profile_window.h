#pragma once
// "縦断図": the longitudinal profile of one flow path of the network flow
// table, as a child window of the work area.  The sheets are shown as they
// print (every sheet, one under another, to scale at the zoom chosen);
// above them the path's head node (起点: the longest flow path, or any head
// node), the horizontal and vertical scales, the sheet, the zoom, and 印刷,
// PDF出力 and DXF出力.  The drawing follows the table: every recompute of
// the table draws the profile again.

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "drawing/profile_drawing.h"

class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;

namespace mk {

class Prompter;
class NetworkTableScreen;

// Where the window's paths come from (the table, or a test's path).
struct ProfileSource {
  std::function<std::vector<std::string>()> heads;       // the head nodes
  std::function<std::string()> longestHead;              // the default path's head
  std::function<drawing::ProfilePathResult(const std::string& from)> path;  // "" = longest
};

// The sheets drawn at a zoom: grey desk, white paper, a page gap.
class ProfileCanvas : public QWidget {
  Q_OBJECT
 public:
  explicit ProfileCanvas(QWidget* parent = nullptr);
  void setSheets(const std::vector<drawing::Sheet>* sheets, double zoom);
  double pixelsPerMm() const;
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const std::vector<drawing::Sheet>* sheets_ = nullptr;
  double zoom_ = 1.0;
};

class ProfileWindow : public QWidget {
  Q_OBJECT
 public:
  ProfileWindow(Prompter& prompter, ProfileSource source, QWidget* parent = nullptr);

  // The drawing as it stands (its refusal shown on the message line).
  const drawing::ProfileDrawing& profile() const { return drawing_; }
  drawing::ProfileOptions options() const;

  // The table changed: the heads and the drawing again.
  void refresh();
  void print();      // 印刷
  void exportPdf();  // PDF出力
  void exportDxf();  // DXF出力

 private:
  void redraw();
  bool drawable();  // shows the refusal; false when there is nothing to output
  QString chooseSaveFile(const QString& title, const QString& filter, const QString& suffix);

  Prompter& prompter_;
  ProfileSource source_;
  drawing::ProfileDrawing drawing_;
  QComboBox* head_ = nullptr;
  QComboBox* horizontal_ = nullptr;
  QComboBox* vertical_ = nullptr;
  QComboBox* sheet_ = nullptr;
  QComboBox* zoom_ = nullptr;
  QLabel* message_ = nullptr;
  QScrollArea* scroll_ = nullptr;
  ProfileCanvas* canvas_ = nullptr;
};

// Opens (or brings forward) the profile window of a table window, in the
// same work area; it closes with the table.
void ShowProfileWindow(NetworkTableScreen& table);

}  // namespace mk
