#pragma once
// Form19 "Ｕ型溝　台形溝": the flow-time facility screen of a U ditch or a
// trapezoid ditch (Form17 kind 6), with a fixed sketch of the section that
// names its dimensions h, b1, b2 and b3.  It keeps its values while it
// stays open and opens empty after it was closed.

#include "ui/flow_time_facility_screen.h"

class QComboBox;
class QPushButton;

namespace mk {

class EnterOrder;

// The fixed sketch: an open trapezoid with the height h, the bottom width
// b1, the top width b2 and the left wall's run b3 dimensioned.
class DitchSketch : public QWidget {
  Q_OBJECT
 public:
  explicit DitchSketch(QWidget* parent = nullptr);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

class DitchScreen : public FlowTimeFacilityScreen {
  Q_OBJECT
 public:
  explicit DitchScreen(ScreenHost& host, QWidget* parent = nullptr);

  // Shows record.flowTime.form19.
  void load() override;

 private:
  EntryBox* txt_m_ = nullptr;
  EntryBox* txt_[6] = {};  // txt1 .. txt6
  QComboBox* cbo1_ = nullptr;
  QPushButton* cmd1_ = nullptr;
  QPushButton* cmd2_ = nullptr;
  EnterOrder* enter_ = nullptr;
};

}  // namespace mk
