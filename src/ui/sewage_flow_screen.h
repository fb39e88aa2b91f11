#pragma once
// Form28, the planned sewage flow (modal dialog, title "ミルカナ"): the
// residential class chooses which of the population block (P, q1) and the
// area block (A, q2) are used; OK writes Q into the main screen's txt3.
//
// The main input screen calls:
//   cmd1 "計算する": OpenSewageScreen(host)   - everything the button does,
//                    including what happens after the dialog has closed.
//   cmd2 "直接入力": DiscardSewageScreen(host) - the screen, its group and
//                    its numbers, the run result and notice N4; the main
//                    screen itself then selects opt8, makes txt3 bordered
//                    and focuses it.

#include "calc/sewage.h"
#include "ui/sub_screen_support.h"

class QGroupBox;
class QRadioButton;

namespace mk {

class EntryBox;

class SewageFlowScreen : public SubScreenDialog {
  Q_OBJECT
 public:
  explicit SewageFlowScreen(ScreenHost& host, QWidget* parent = nullptr);

  // Shows record.sewage: class, four boxes, enabled blocks.
  void load() override;

  // Cancel (also Escape and the close box): the entries are lost and no
  // class is chosen at the next opening; the main screen's txt3 stays empty.
  void reject() override;

 protected:
  void onOk() override;

 private:
  void build();
  void chooseClass(SewageClass sewageClass);
  QWidget* afterPerCapitaFlow();

  QRadioButton* opt1_ = nullptr;
  QRadioButton* opt2_ = nullptr;
  QRadioButton* opt3_ = nullptr;
  QGroupBox* populationBlock_ = nullptr;
  QGroupBox* areaBlock_ = nullptr;
  EntryBox* txt_p_ = nullptr;
  EntryBox* txt_q1_ = nullptr;
  EntryBox* txt_a_ = nullptr;
  EntryBox* txt_q2_ = nullptr;
};

// The main screen's "計算する" for the sewage flow: opt7 selected, "住宅地"
// chosen when no class is, txt3 emptied and borderless, the sewage flow
// numbers 0, then the dialog opens (modal, not blocking).  When it has
// closed (OK or Cancel): the run result is discarded, notice N4 is shown and
// the main screen shows the record again.
void OpenSewageScreen(ScreenHost& host);

// The main screen's "直接入力" for the sewage flow: discards the screen and
// its group, sets P, q1, A and q2 to 0, selects opt8 in the record,
// discards the run result and shows notice N4.
void DiscardSewageScreen(ScreenHost& host);

}  // namespace mk
