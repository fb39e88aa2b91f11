#include <QApplication>

#include "ui/main_window.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("ミルカナ"));
  mk::MainWindow window;
  window.show();
  return QApplication::exec();
}
