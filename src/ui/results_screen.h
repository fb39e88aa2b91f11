#pragma once
// Form26, the results screen "★　計 算 結 果": the planned total flow Q1 with
// the surcharge factor in front of it, the capacity Q2 (in light magenta
// when it is too small) and the velocity V, as the run stored them in
// record.results.  Closing it withdraws the run result.

#include <QWidget>

class QLabel;

namespace mk {

class ScreenHost;

class ResultsScreen : public QWidget {
  Q_OBJECT
 public:
  explicit ResultsScreen(ScreenHost& host, QWidget* parent = nullptr);

  // Shows record.results (lbl3 Q1, lbl6 Q2, lbl9 V) with the surcharge
  // factor `lbl16` and its sign `lbl17` (both empty for a factor of 1);
  // Q2 in light magenta when the verdict is NO.
  void showResult(const QString& lbl16, const QString& lbl17, bool verdictIsNo);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  ScreenHost& host_;
  QLabel* lbl16_ = nullptr;
  QLabel* lbl17_ = nullptr;
  QLabel* lbl3_ = nullptr;
  QLabel* lbl6_ = nullptr;
  QLabel* lbl9_ = nullptr;
};

}  // namespace mk
