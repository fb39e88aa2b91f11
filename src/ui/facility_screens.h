#pragma once
// The facility screens of the main check, opened beside the main input
// screen (left 6165, top 0 twips) by its facility list:
//   Form2  CataloguePipeScreen       VP, VU, FRPM and Hume pipes (record.facility.form2)
//   Form5  OtherCircularPipeScreen   circular pipe of a typed diameter (record.facility.form5)
//   Form1  RectangularPipeScreen     rectangular pipe (record.facility.form1)
// Each shows its record group, writes every edit back at once, and runs the
// check (CheckRun) with its "計算" button `cmd1`.

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "calc/catalogue.h"

class QComboBox;
class QGridLayout;
class QLabel;
class QListWidget;
class QPushButton;

namespace mk {

class EntryBox;
class EnterOrder;
class ScreenHost;

// What the three screens share: text boxes bound to record fields, the
// depth choice, the "計算" button, the click rule (results screen closed,
// status notice) and the run with its messages.
class FacilityScreen : public QWidget {
  Q_OBJECT
 public:
  // Shows the screen's record group (lists refilled, entries chosen).
  virtual void refreshFromRecord();

 protected:
  FacilityScreen(ScreenHost& host, const QString& form, const QString& title,
                 const QString& clickNotice, QWidget* parent);

  // A text box bound to a text field of the record.
  EntryBox* makeBox(const QString& name, const QString& caption,
                    std::function<std::string&()> field);
  // The depth choice `cbo1`, filled with `kind`'s list, bound to an index field.
  QComboBox* makeDepthChoice(DepthListKind kind, const QString& caption,
                             std::function<int&()> field);
  // The "計算" button `cmd1`.
  QPushButton* makeRunButton();
  // Clicking `input` closes the results screen and sets the click notice.
  void watchClicks(QWidget* input);
  // A user edit of an input: the result no longer belongs to the inputs.
  void inputChanged();

  bool eventFilter(QObject* watched, QEvent* event) override;

  ScreenHost& host_;
  QComboBox* cbo1_ = nullptr;
  QPushButton* cmd1_ = nullptr;
  EnterOrder* enter_ = nullptr;
  bool loading_ = false;

 private:
  void runCheck();

  QString clickNotice_;
  std::vector<std::pair<EntryBox*, std::function<std::string&()>>> boxes_;
  std::function<int&()> depthField_;
};

// Form2: catalogue pipe of the material chosen on the main screen.
class CataloguePipeScreen : public FacilityScreen {
  Q_OBJECT
 public:
  explicit CataloguePipeScreen(ScreenHost& host, QWidget* parent = nullptr);
  void refreshFromRecord() override;
  // Chooses the size in row `row` of the list, as a click on it does.
  void chooseSize(int row);

 private:
  QLabel* label1_ = nullptr;  // material caption
  QLabel* label6_ = nullptr;  // "有効水深 水量"
  QListWidget* lst_pu_ = nullptr;
};

// Form5: circular pipe of any diameter.
class OtherCircularPipeScreen : public FacilityScreen {
  Q_OBJECT
 public:
  explicit OtherCircularPipeScreen(ScreenHost& host, QWidget* parent = nullptr);
};

// Form1: rectangular pipe.
class RectangularPipeScreen : public FacilityScreen {
  Q_OBJECT
 public:
  explicit RectangularPipeScreen(ScreenHost& host, QWidget* parent = nullptr);
};

}  // namespace mk
