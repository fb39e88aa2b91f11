#pragma once
// Form13, the inflow time t1 by Kerby's formula (modal dialog, title
// "ミルカナ"): slope length L, slope S (per mille) and the retardance
// coefficient n.  OK writes t1 into the intensity screen's txt3 and selects
// its by-slope choice (Option2); Cancel discards the entries.

#include "ui/sub_screen_support.h"

namespace mk {

class EntryBox;

class InflowTimeScreen : public SubScreenDialog {
  Q_OBJECT
 public:
  explicit InflowTimeScreen(ScreenHost& host, QWidget* parent = nullptr);

  // Shows record.inflow.
  void load() override;

  // Cancel (also Escape and the close box): the entries are lost; the
  // intensity screen is unchanged.
  void reject() override;

 protected:
  void onOk() override;

 private:
  void build();

  EntryBox* txt1_ = nullptr;
  EntryBox* txt2_ = nullptr;
  EntryBox* txt3_ = nullptr;
};

}  // namespace mk
