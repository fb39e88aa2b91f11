#pragma once
// Form22, the river course for the flow time t2 (modal dialog, title
// "ミルカナ"): before or after development, river length L (km) and slope
// i.  It computes nothing; the intensity screen reads these fields when it
// computes t.  OK hides it; Cancel discards its entries and takes the
// intensity screen out of river-course mode.

#include "ui/sub_screen_support.h"

class QRadioButton;

namespace mk {

class EntryBox;

class RiverCourseScreen : public SubScreenDialog {
  Q_OBJECT
 public:
  explicit RiverCourseScreen(ScreenHost& host, QWidget* parent = nullptr);

  // Shows record.river.
  void load() override;

  // Cancel (also Escape and the close box).
  void reject() override;

 protected:
  void onOk() override;

 private:
  void build();

  QRadioButton* opt1_ = nullptr;
  QRadioButton* opt2_ = nullptr;
  EntryBox* txt1_ = nullptr;
  EntryBox* txt2_ = nullptr;
};

}  // namespace mk
