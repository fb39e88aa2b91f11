#pragma once
// Form4: the reference tables a user consults while typing coefficients —
// runoff coefficients C of land uses and roughness coefficients n of
// drainage facilities.  Read-only; nothing is written back.  Opened modally
// (open()) from the menu "参考(&S)" and closed with "閉じる".

#include <QDialog>

class QTableWidget;

namespace mk {

class ScreenHost;

class RoughnessReferenceScreen : public QDialog {
  Q_OBJECT
 public:
  explicit RoughnessReferenceScreen(ScreenHost& host, QWidget* parent = nullptr);

  QTableWidget* runoffTable() const { return runoff_; }
  QTableWidget* roughnessTable() const { return roughness_; }

 private:
  QTableWidget* runoff_ = nullptr;
  QTableWidget* roughness_ = nullptr;
};

}  // namespace mk
