#pragma once
// Form10, the About box "バージョン情報": the program's icon, its name and
// version, one line on what it does, and "ＯＫ".

#include <QDialog>

namespace mk {

class AboutDialog : public QDialog {
  Q_OBJECT
 public:
  explicit AboutDialog(QWidget* parent = nullptr);
};

// The program's icon (also the main window's icon).
QIcon ProgramIcon();

}  // namespace mk
