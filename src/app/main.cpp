#include <QApplication>
#include <QStringList>

#include "ui/about_dialog.h"
#include "ui/main_window.h"
#include "ui/prompter.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("ミルカナ"));
  QApplication::setApplicationVersion(QStringLiteral("1.32"));
  mk::MessageBoxPrompter prompter;
  mk::MainWindow window(prompter);
  QApplication::setWindowIcon(mk::ProgramIcon());
  window.show();
  // A project file named on the command line is opened at once.
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1) window.openProject(arguments.at(1));
  return QApplication::exec();
}
