#pragma once
// Form20 "円　形　管": the flow-time facility screen of a circular pipe of
// any diameter (Form17 kind 4).  It keeps its values while it stays open
// and opens empty after it was closed.

#include "ui/flow_time_facility_screen.h"

class QComboBox;
class QPushButton;

namespace mk {

class EnterOrder;

class FlowTimeCircularScreen : public FlowTimeFacilityScreen {
  Q_OBJECT
 public:
  explicit FlowTimeCircularScreen(ScreenHost& host, QWidget* parent = nullptr);

  // Shows record.flowTime.form20.
  void load() override;

 private:
  EntryBox* txt_m_ = nullptr;
  EntryBox* txt1_ = nullptr;
  EntryBox* txt2_ = nullptr;
  EntryBox* txt3_ = nullptr;
  QComboBox* cbo1_ = nullptr;
  QPushButton* cmd1_ = nullptr;
  QPushButton* cmd2_ = nullptr;
  EnterOrder* enter_ = nullptr;
};

}  // namespace mk
