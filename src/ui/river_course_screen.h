#pragma once
// Form22, the river course for the flow time t2 (modal dialog, title
// "ミルカナ"): before or after development, river length L (km) and slope
// i.  It computes nothing; the intensity screen reads these fields when it
// computes t.  OK hides it; Cancel discards its entries and takes the
// intensity screen out of river-course mode.

#include <QDialog>

class QPushButton;
class QRadioButton;

namespace mk {

class EntryBox;
class EnterOrder;
class ScreenHost;

class RiverCourseScreen : public QDialog {
  Q_OBJECT
 public:
  explicit RiverCourseScreen(ScreenHost& host, QWidget* parent = nullptr);

  // Shows record.river.
  void load();

  // Cancel (also Escape and the close box).
  void reject() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  // Every opening shows the record as it is now.
  void showEvent(QShowEvent* event) override;

 private:
  void build();
  void onOk();

  ScreenHost& host_;
  QRadioButton* opt1_ = nullptr;
  QRadioButton* opt2_ = nullptr;
  EntryBox* txt1_ = nullptr;
  EntryBox* txt2_ = nullptr;
  QPushButton* cmd1_ = nullptr;
  QPushButton* cmd2_ = nullptr;
  EnterOrder* enter_ = nullptr;
};

}  // namespace mk
