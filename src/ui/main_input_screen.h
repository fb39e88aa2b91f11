#pragma once
// Form25, the main input screen "☆ 下水排水施設（合流式）流量計算": runoff
// coefficient, catchment area, rainfall intensity, planned sewage flow,
// groundwater infiltration, surcharge, facility kind and velocity formula
// (record.main).  It opens the runoff (Form16), rainfall-intensity (Form12)
// and sewage (Form28) screens and, through its facility list, the facility
// screen (Form2, Form5 or Form1) whose "計算" runs the check.
//
// What other screens call after they have changed record.main:
//
//   if (auto* main = MainInputScreen::find(host)) {
//     main->refreshFromRecord();         // texts, options, list, % boxes
//     main->setCBordered(false);         // Form16 OK: txt_c and txt_a computed
//     main->setIBordered(false);         // Form12 OK: txt_i computed
//     main->setSewageBordered(false);    // txt3 computed (cmd1 already does this)
//   }
//   host.focusControl("Form25.Command1"); // or "Form25.lst_s", "Form25.txt_c" ...
//   host.showScreen("Form25", 0, 0);      // bring it to the front at the top left
//
// refreshFromRecord() has no side effects: it neither discards the run
// result nor runs Sentaku.  The entry style (bordered = typed, borderless =
// filled in by a calculation) is presentation only and lives in the boxes.

#include <QPointer>
#include <QWidget>

class QAbstractButton;
class QButtonGroup;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace mk {

class EntryBox;
class EnterOrder;
class ScreenHost;

class MainInputScreen : public QWidget {
  Q_OBJECT
 public:
  explicit MainInputScreen(ScreenHost& host, QWidget* parent = nullptr);

  // The main input screen when it exists, else nullptr.
  static MainInputScreen* find(ScreenHost& host);

  // Shows record.main: texts, options, the facility list and the
  // percentage boxes (visible only while "有り" is chosen).
  void refreshFromRecord();

  // Entry style of the fillable boxes "txt_c", "txt_a", "txt_i", "txt3".
  void setEntryBordered(const QString& control, bool bordered);
  bool isEntryBordered(const QString& control) const;
  void setCBordered(bool bordered);  // txt_c and txt_a together
  void setIBordered(bool bordered);  // txt_i
  void setSewageBordered(bool bordered);  // txt3

  // Opens the facility screen of record.main.lst_s with its defaults and
  // discards the other facility screens (runs whenever the facility list's
  // choice changes; New calls it for the VP pipe).
  void sentaku();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void build();
  void wireBehaviour();
  void discardResult();
  void onBoxClicked(EntryBox* box);
  void onOptionClicked(QAbstractButton* option);
  void directIntensity();     // Command1
  void calculateIntensity();  // Command2
  void directRunoff();        // Command3
  void weightedRunoff();      // Command4
  void calculateSewage();     // cmd1
  void directSewage();        // cmd2
  void showPercentBoxes();
  bool isScreenShown(const QString& form);
  void toolbarBackUnlessSubScreenOpen();
  QWidget* enterTargetFromList();

  ScreenHost& host_;
  EntryBox* txt_c_ = nullptr;
  EntryBox* txt_a_ = nullptr;
  EntryBox* txt_i_ = nullptr;
  EntryBox* txt1_ = nullptr;
  EntryBox* txt2_ = nullptr;
  EntryBox* txt3_ = nullptr;
  QLabel* txt1Unit_ = nullptr;  // "％増し"
  QLabel* txt2Unit_ = nullptr;  // "％"
  QRadioButton* opt_[13] = {};  // opt1..opt12 (index 0 unused)
  QButtonGroup* groups_[6] = {};
  QPushButton* command1_ = nullptr;
  QPushButton* command2_ = nullptr;
  QPushButton* command3_ = nullptr;
  QPushButton* command4_ = nullptr;
  QPushButton* cmd1_ = nullptr;
  QPushButton* cmd2_ = nullptr;
  QListWidget* lst_s_ = nullptr;
  EnterOrder* enter_ = nullptr;
  bool loading_ = false;
};

// The status notice after New and after a click into a box.
extern const char* const kNoticeN1;

}  // namespace mk
