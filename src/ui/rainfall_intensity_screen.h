#pragma once
// Form12 "◇ １時間当たりの降雨強度": the one-hour rainfall intensity I from
// one of six formulas and the time of concentration t = t1 + t2 (child
// window of the work area).  It opens the inflow-time screen (Form13), the
// river-course screen (Form22) and the flow-time selection screen (Form17).
//
// What the screen shows follows record.intensity: which of c and d, the t1
// and t2 frames, the velocity frame and the river-course controls are
// visible, and which boxes are bordered (typed) or borderless (computed),
// are derived from the options in refresh().  A handler changes the record
// and refreshes; the record is what the project file saves.
//
// The main input screen calls:
//   Command2 "計算する": OpenIntensityScreen(host)
//   Command1 "直接入力": DiscardIntensityScreen(host) - the screen and its
//                        group; the main screen itself then focuses txt_i,
//                        makes it bordered, selects opt3 and discards the
//                        run result.
// The flow-time facility screens hand their velocity back with
//   qobject_cast<RainfallIntensityScreen*>(host.findScreen("Form12"))
//       ->acceptFlowTimeVelocity(V);

#include <QList>
#include <QString>
#include <QWidget>

#include "calc/intensity.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QCheckBox;

namespace mk {

class EntryBox;
class EnterOrder;
class FormulaDrawing;
class ScreenHost;

// The source line shown in river-course mode.
inline constexpr const char* kRiverCourseSource =
    "茨城県宅地開発関係資料集による(茨城県土木部都市局建築指導課)";

// What Cancel on the river-course screen does to the intensity group:
// "茨城県" unticked, source line emptied, t2 computed by L / (60·V)
// (Option6), L, V and t2 emptied, neither velocity option selected.
void LeaveRiverCourseMode(IntensityScreenInputs& screen);

class RainfallIntensityScreen : public QWidget {
  Q_OBJECT
 public:
  explicit RainfallIntensityScreen(ScreenHost& host, QWidget* parent = nullptr);

  // Shows record.intensity: texts, options, visibility and entry style.
  void refresh();

  // The opening rule: no formula chosen deselects Option4 (so the t1 and t2
  // frames are hidden); c and d follow the formula; the focus goes to OK.
  void applyOpeningAdjustments();

  // Hand-back of a flow-time facility screen: Option8 selected, txt5 <- V
  // as "0.00##" (borderless), notice N2.
  void acceptFlowTimeVelocity(double V);

  // Cancel on the river-course screen: LeaveRiverCourseMode, then the
  // focus on txt4.
  void leaveRiverCourseMode();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  // Every opening shows the record as it is now.
  void showEvent(QShowEvent* event) override;

 private:
  void build();
  QGroupBox* buildFormulaFrame();
  QGroupBox* buildTimeFrame();
  QGroupBox* buildInflowFrame();
  QGroupBox* buildFlowFrame();
  void wireBehaviour();

  void chooseFormula(IntensityFormula formula);
  void chooseTimeDirect();        // Option3
  void chooseTimeComputed();      // Option4
  void chooseInflowDirect();      // Option1
  void chooseInflowBySlope();     // Option2
  void chooseFlowDirect();        // Option5
  void chooseFlowComputed();      // Option6
  void chooseVelocityAssumed();   // Option7
  void chooseVelocityComputed();  // Option8
  void onRiverCourseTicked(bool ticked);  // chk1
  void openInflowTimeScreen();    // Command4
  void openRiverCourseScreen();   // Command1 (and OK step 14)
  void openFlowTimeScreens();     // Command8
  void onOk();
  void onCancel();

  ScreenHost& host_;
  QRadioButton* formula_[6] = {};  // opt1..opt6 by control number
  QLabel* cLabels_[2] = {};        // "定数" "ｃ="
  QLabel* dLabels_[2] = {};        // "定数" "ｄ="
  EntryBox* txt_[10] = {};         // txt1..txt9 (index 0 unused)
  QRadioButton* option_[9] = {};   // Option1..Option8 (index 0 unused)
  QGroupBox* inflowFrame_ = nullptr;
  QGroupBox* flowFrame_ = nullptr;
  QGroupBox* velocityFrame_ = nullptr;
  QList<QWidget*> lengthLabels_;   // "排水施設延長距離 ", "L=", "m"
  FormulaDrawing* flowFormula_ = nullptr;  // t2 = L / (60·V)
  QCheckBox* chk1_ = nullptr;
  QLabel* lbl1_ = nullptr;
  QPushButton* command1_ = nullptr;
  QPushButton* command4_ = nullptr;
  QPushButton* command8_ = nullptr;
  QPushButton* cmd1_ = nullptr;
  QPushButton* cmd2_ = nullptr;
  EnterOrder* enter_ = nullptr;
};

// Command2: hides the toolbar, notice N2, discards the run result, shows the
// screen at the top left of the work area and applies the opening rule.
void OpenIntensityScreen(ScreenHost& host);

// Command1: discards the screen and resets its group.
void DiscardIntensityScreen(ScreenHost& host);

// Discarding the inflow-time (Form13) and river-course (Form22) screens:
// the screen and its entries.
void DiscardInflowTimeScreen(ScreenHost& host);
void DiscardRiverCourseScreen(ScreenHost& host);

}  // namespace mk
