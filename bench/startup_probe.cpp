// Start-to-quit probe: starts the way the program's main() starts (with
// MK_PROBE_MAIN_WINDOW: the main window "ミルカナ" with a recording
// prompter; without: an empty QMainWindow), shows the window, waits until
// the window system has exposed it, lets the event loop run once and quits.
// scripts/bench.sh times whole runs of both to compare their start times.
#include <QApplication>
#include <QMainWindow>
#include <QTest>
#include <QTimer>

#ifdef MK_PROBE_MAIN_WINDOW
#include "ui/about_dialog.h"
#include "ui/main_window.h"
#include "ui/prompter.h"
#endif

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
#ifdef MK_PROBE_MAIN_WINDOW
  QApplication::setApplicationName(QStringLiteral("ミルカナ"));
  QApplication::setApplicationVersion(QStringLiteral("1.32"));
  mk::RecordingPrompter prompter;
  mk::MainWindow window(prompter);
  QApplication::setWindowIcon(mk::ProgramIcon());
#else
  QMainWindow window;
#endif
  window.show();
  if (!QTest::qWaitForWindowExposed(&window, 10000)) return 1;
  QTimer::singleShot(0, &app, &QCoreApplication::quit);
  return QApplication::exec();
}
