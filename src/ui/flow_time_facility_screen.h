#pragma once
// What the four flow-time facility screens (Form18 catalogue pipe or
// U-trough, Form19 ditch, Form20 circular pipe, Form21 irregular channel)
// have in common: "計算" runs the checks, the section and V and hands V
// back to the rainfall-intensity screen; "キャンセル" and the window's close
// box close the velocity calculation; a text box writes every edit into its
// record field.

#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "calc/catalogue.h"

class QComboBox;
class QHBoxLayout;
class QLabel;
class QPushButton;

namespace mk {

class ScreenHost;
class EntryBox;

class FlowTimeFacilityScreen : public QWidget {
  Q_OBJECT
 public:
  // Shows the screen's record group.
  virtual void load() = 0;

 protected:
  FlowTimeFacilityScreen(ScreenHost& host, const QString& form, const QString& title, QWidget* parent);

  // The checks of the current kind, its section and V.  A failure shows
  // its message and focuses its control; nothing changes.  On success the
  // flow-time values are stored and V is returned.
  // `sectionDone` runs once the section has passed, before V.
  std::optional<double> computeVelocity(const std::function<void()>& sectionDone = {});
  // Hides Form17 and this screen and gives V to the rainfall-intensity screen.
  void handBack(double velocity);

  // The bold caption at the top of the screen.
  QLabel* makeHeading(const QString& text);
  // The buttons "計算" (cmd1: V, then the hand-back) and "キャンセル" (cmd2), wired.
  QPushButton* makeCalculateButton();
  QPushButton* makeCancelButton();
  // Both buttons side by side at the right of a row.
  QHBoxLayout* makeButtonRow(QPushButton*& calculate, QPushButton*& cancel);
  // A depth choice box (cbo1) that writes its index into `field`.
  QComboBox* makeDepthChoice(const QString& caption, int* field);

  // The close box closes the velocity calculation as "キャンセル" does.
  void closeEvent(QCloseEvent* event) override;

  ScreenHost& host_;
  // Set while load() fills the controls, so that no change is written back.
  bool loading_ = false;
};

// A text box writes every edit into its record field at once.
void BindTextToRecord(EntryBox* box, std::string* field);
// Fills a depth choice box from its list and selects `index` (none when out of range).
void FillDepthChoices(QComboBox* box, DepthListKind kind, int index);

}  // namespace mk
