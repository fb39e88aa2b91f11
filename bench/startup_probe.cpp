// Start-to-quit probe.  With MK_PROBE_MAIN_WINDOW it starts the way the
// program's main() starts (keep the two in step): the application names,
// icon and font, and the main window "ミルカナ" with a recording prompter;
// without, an empty QMainWindow.  It shows the window, waits until the
// window system has exposed it, lets the event loop run once and quits.
// scripts/bench.sh times whole runs of both to compare their start times.
#include <QApplication>
#include <QFontDatabase>
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
  QApplication::setWindowIcon(mk::ProgramIcon());
  // As main() does: the screens' Japanese Gothic when one is installed
  // (the font database lookup is part of the start).
  for (const QString& family : {QStringLiteral("IPAGothic"), QStringLiteral("ＭＳ ゴシック"),
                                QStringLiteral("MS Gothic")}) {
    if (QFontDatabase::hasFamily(family)) {
      QApplication::setFont(QFont(family, 9));
      break;
    }
  }
  mk::RecordingPrompter prompter;
  mk::MainWindow window(prompter);
#else
  QMainWindow window;
#endif
  window.show();
  if (!QTest::qWaitForWindowExposed(&window, 10000)) return 1;
  QTimer::singleShot(0, &app, &QCoreApplication::quit);
  return QApplication::exec();
}
