#pragma once
// Form18: the flow-time facility screen of a catalogue pipe (VP, VU, FRPM,
// Hume) or a U-trough, whichever Form17's kind list chose.  It is
// re-initialised on every selection of such a kind.

#include "model/project_record.h"
#include "ui/flow_time_facility_screen.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace mk {

class EnterOrder;

// The inputs a selection of `kind` (Form17's list index 0..3 or 5) starts
// Form18 with: the first size, no slope, the material's roughness ("0.010"
// or "0.013"; U-trough "0.013") and "水深８割".
void ResetFlowTimePipeInputs(FlowTimeFacilityInputs& inputs, int kind);

class FlowTimePipeScreen : public FlowTimeFacilityScreen {
  Q_OBJECT
 public:
  explicit FlowTimePipeScreen(ScreenHost& host, QWidget* parent = nullptr);

  // Shows record.flowTime.form18 for the kind of record.flowTime.lst_s:
  // captions, size list and depth list of a pipe or of a U-trough.
  void load() override;

 private:
  bool isUTrough() const;

  QLabel* Label1_ = nullptr;
  QLabel* Label6_ = nullptr;
  QListWidget* lst_pu_ = nullptr;
  EntryBox* txt1_ = nullptr;
  EntryBox* txt2_ = nullptr;
  QComboBox* cbo1_ = nullptr;
  QPushButton* cmd1_ = nullptr;
  QPushButton* cmd2_ = nullptr;
  EnterOrder* enter_ = nullptr;
};

}  // namespace mk
