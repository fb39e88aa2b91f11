#include <QApplication>

#include "app/start.h"
#include "ui/main_window.h"
#include "ui/prompter.h"

int main(int argc, char* argv[]) {
  mk::FontConfigWarmUp fonts;
  QApplication app(argc, argv);
  mk::PrepareApplication(app, &fonts);
  mk::MessageBoxPrompter prompter;
  mk::MainWindow window(prompter);
  // Ends at once, even with a dialog of the project still open.
  QObject::connect(&window, &mk::MainWindow::exitConfirmed, &app, &QApplication::quit,
                   Qt::QueuedConnection);
  window.show();
  // Work left unsaved by a session that ended without Exit is offered
  // first; a project file named on the command line is opened at once
  // unless that work was restored (a .mkt as a network flow table).
  const bool restored = window.offerRecovery();
  const QStringList arguments = QApplication::arguments();
  if (!restored && arguments.size() > 1) window.openDocument(arguments.at(1));
  return QApplication::exec();
}
