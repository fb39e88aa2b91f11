#pragma once
// "管径選定": the pipe sizing table of the catalogue pipe screen (Form2) for
// the inputs as they stand — every catalogue size of the material checked
// as 計算 checks it, the smallest passing size marked — and choosing a row
// chooses that size on Form2.

#include <QDialog>
#include <functional>

#include "calc/sizing.h"

class QPushButton;
class QTableWidget;

namespace mk {

class ScreenHost;

class SizeTableWindow : public QDialog {
  Q_OBJECT
 public:
  // `choose` receives the chosen row (the size's index in the material's
  // list); `currentRow` is the size Form2 shows, chosen at the start when
  // no size passes.
  SizeTableWindow(const SizeTableResult& table, int currentRow, std::function<void(int)> choose,
                  QWidget* parent = nullptr);

  QTableWidget* table() const { return grid_; }

 private:
  void choose();

  QTableWidget* grid_ = nullptr;
  std::function<void(int)> choose_;
};

// Opens the window for host.record().  The check run must pass with the
// inputs as they stand; when it does not, its message is shown as the
// screens show it, with the focus on the control it names, and no window
// opens (nullptr).
SizeTableWindow* OpenSizeTable(ScreenHost& host, QWidget* parent, std::function<void(int)> choose);

}  // namespace mk
