#pragma once
#include <QMainWindow>

class QLabel;

namespace mk {

// The main window: menu bar, toolbar, MDI work area and the status panel "msg".
class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(QWidget* parent = nullptr);

  void setStatusNotice(const QString& text);
  QString statusNotice() const;

 private:
  QLabel* msg_ = nullptr;
};

}  // namespace mk
