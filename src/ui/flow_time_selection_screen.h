#pragma once
// Form17 "流下時間の流速計算": the user picks the kind of the upstream
// conduit and the velocity formula; the facility screen of that kind
// (Form18, Form19, Form20 or Form21) opens beside it, computes the section
// and the velocity V and hands V back to the rainfall-intensity screen.
//
// The functions below are the flow-time path as a whole, shared by Form17
// and the four facility screens.

#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

#include "model/project_record.h"

class QListWidget;
class QRadioButton;

namespace mk {

class ScreenHost;
class EnterOrder;

// Where every flow-time facility screen opens: at the top, beside Form17.
inline constexpr int kFlowTimeFacilityLeftTwips = 4860;

// "Form18" .. "Form21" for the flow-time screen code 1 .. 4; empty otherwise.
QString FlowTimeFacilityForm(int code);
// The stored flow-time screen code (record.flowTime.FlowTimeScreenCode) as a number.
int StoredFlowTimeScreenCode(ScreenHost& host);

// Opens the velocity calculation (Form12's button for a calculated velocity):
// Form17 at the top left and, when a facility screen belongs to the stored
// code, that screen beside it with its last values; with no code, Form17
// starts from its first kind (VP pipe with its defaults).
// Showing "Form17" through the host does the same; this is the one call.
void OpenFlowTimeVelocity(ScreenHost& host);

// Closes Form17 and every flow-time facility screen and forgets their inputs
// and the screen code (" 0 ").  "キャンセル" on a facility screen does this;
// so may Form12 when the velocity is switched to an assumed one.
void DiscardFlowTimeVelocity(ScreenHost& host);

// "キャンセル" on a facility screen, or the close box of Form17 or of a
// facility screen: Form17 and the facility screen close at once (hidden
// now, destroyed when control is back in the event loop, since the button
// that asked is on one of them) and the screen code is forgotten, so the
// next opening starts from the VP pipe.  Form12 is not changed, and so the
// flow-time inputs and values go back to what they were when the velocity
// calculation was opened: they describe the facility whose velocity Form12
// holds, which the report prints and the project file keeps.
void CancelFlowTimeVelocity(ScreenHost& host);

// "計算" on a flow-time facility screen: the checks, the section and V.
// A failure shows its message over `screen`, focuses the named control and
// returns false; nothing changes.  On success the flow-time values are
// stored, `velocity` is set and true is returned.  `sectionDone` runs once
// the section has passed, before the velocity is computed.
bool ComputeFlowTimeVelocity(ScreenHost& host, QWidget* screen, double& velocity,
                             const std::function<void()>& sectionDone = {});

// Hides Form17 and the facility screen (they keep their values for the next
// opening) and gives V to the rainfall-intensity screen (Form12): its
// calculated-velocity option, V in its velocity box as "0.00##" without a
// border, and its status notice; Form12 becomes the active screen again.
void HandBackFlowTimeVelocity(ScreenHost& host, const QString& facilityForm, double velocity);

class FlowTimeSelectionScreen : public QWidget {
  Q_OBJECT
 public:
  explicit FlowTimeSelectionScreen(ScreenHost& host, QWidget* parent = nullptr);

  // Shows the record's Form17 fields.
  void load();

  // The selection of a kind (also the first one when the screen starts
  // without a facility screen): the other facility screens are discarded,
  // the chosen one opens beside this screen and its code is stored; Form18
  // is re-initialised for the kind; Form19, Form20 and Form21 keep their
  // values while open and open empty otherwise.
  void selectKind(int kind);

  // Puts the flow-time inputs and values back as they were when this
  // screen was last shown ("キャンセル").
  void restoreOpeningState();

 protected:
  void showEvent(QShowEvent* event) override;
  // The close box cancels the velocity calculation.
  void closeEvent(QCloseEvent* event) override;

 private:
  void presentFacilityScreen();

  // The record's flow-time part when the screen was shown.
  struct OpeningState {
    FlowTimeFacilityInputs inputs;
    FacilitySection section;
    CapacityResult capacity;
    double slope = 0.0;
    double roughness = 0.0;
  };

  ScreenHost& host_;
  std::optional<OpeningState> openedWith_;
  QListWidget* lst_s_ = nullptr;
  QRadioButton* opt1_ = nullptr;
  QRadioButton* opt2_ = nullptr;
  EnterOrder* enter_ = nullptr;
  bool loading_ = false;
};

}  // namespace mk
