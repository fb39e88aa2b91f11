#pragma once
// Form16 "◇ 流 出 係 数": the runoff coefficient C as the area-weighted
// average of up to six land uses (child window of the work area).  The 19
// catalogue boxes only write a land-use name into the entry rows; OK writes
// C and the total area into the main screen's txt_c and txt_a.  OK and
// Cancel only hide the screen, so its rows are there at the next opening.
//
// The main input screen calls:
//   Command4 "加重平均": OpenRunoffScreen(host)
//   Command3 "直接入力": DiscardRunoffScreen(host) - the screen and its
//                        group; the main screen itself then focuses txt_c,
//                        makes txt_c/txt_a bordered, selects opt5 and
//                        discards the run result.

#include <QWidget>
#include <array>

class QCheckBox;
class QPushButton;

namespace mk {

class EntryBox;
class ScreenHost;

class RunoffCoefficientScreen : public QWidget {
  Q_OBJECT
 public:
  explicit RunoffCoefficientScreen(ScreenHost& host, QWidget* parent = nullptr);

  // Shows record.runoff: the ticks and the eighteen row boxes.
  void load();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  // Every opening shows the record as it is now.
  void showEvent(QShowEvent* event) override;

 private:
  void build();
  void onTick(int index, bool ticked);
  void onOk();
  void onCancel();

  ScreenHost& host_;
  std::array<QCheckBox*, 19> checks_{};
  std::array<EntryBox*, 6> names_{};
  std::array<EntryBox*, 6> coefficients_{};
  std::array<EntryBox*, 6> areas_{};
  QPushButton* cmd1_ = nullptr;
  QPushButton* cmd2_ = nullptr;
};

// Command4: hides the toolbar, notice N3, shows the screen at the top left
// of the work area and discards the run result.
void OpenRunoffScreen(ScreenHost& host);

// Command3: discards the screen and resets its group (rows empty, no tick).
void DiscardRunoffScreen(ScreenHost& host);

}  // namespace mk
