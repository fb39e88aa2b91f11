#pragma once
// Form13, the inflow time t1 by Kerby's formula (modal dialog, title
// "ミルカナ"): slope length L, slope S (per mille) and the retardance
// coefficient n.  OK writes t1 into the intensity screen's txt3 and selects
// its by-slope choice (Option2); Cancel discards the entries.

#include <QDialog>

class QPushButton;

namespace mk {

class EntryBox;
class EnterOrder;
class ScreenHost;

class InflowTimeScreen : public QDialog {
  Q_OBJECT
 public:
  explicit InflowTimeScreen(ScreenHost& host, QWidget* parent = nullptr);

  // Shows record.inflow.
  void load();

  // Cancel (also Escape and the close box): the entries are lost; the
  // intensity screen is unchanged.
  void reject() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  // Every opening shows the record as it is now.
  void showEvent(QShowEvent* event) override;

 private:
  void build();
  void onOk();

  ScreenHost& host_;
  EntryBox* txt1_ = nullptr;
  EntryBox* txt2_ = nullptr;
  EntryBox* txt3_ = nullptr;
  QPushButton* cmd1_ = nullptr;
  QPushButton* cmd2_ = nullptr;
  EnterOrder* enter_ = nullptr;
};

}  // namespace mk
