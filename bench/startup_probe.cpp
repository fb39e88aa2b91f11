// Start-time probe, built three ways:
//   MK_PROBE_MAIN_WINDOW      the program's own start (PrepareApplication,
//                             then the main window "ミルカナ" with a
//                             recording prompter, and the recovery offer),
//   MK_PROBE_JAPANESE_FLOOR   what any Japanese Qt program pays: an empty
//                             QMainWindow with IPAGothic 9 pt as the
//                             application font, one menu, a Japanese label
//                             as central widget and a status-bar message,
//   MK_PROBE_FLOOR_SIZE       the same Japanese floor program, resized to
//                             the main window's 1024 x 768 before it is
//                             shown: what a window of that area costs to
//                             appear (its first paint fills 3 MB of fresh
//                             shared memory, page by page),
//   neither                   an empty QMainWindow.
// It shows the window, waits until the window system has exposed it and
// prints the milliseconds since launch: MK_LAUNCH_NS holds the launch time
// (nanoseconds since the epoch, `date +%s%N`, set by scripts/bench.sh).
// Then it lets the event loop run once and quits.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#ifdef MK_PROBE_MAIN_WINDOW
#include "app/start.h"
#include "ui/main_window.h"
#include "ui/prompter.h"
#endif

namespace {

// With MK_PROBE_STEPS set, the milliseconds since the previous step go to
// standard error, to see where the start spends its time.
// The first step counts from the launch (MK_LAUNCH_NS): loading and linking
// the libraries.
void Step(const char* name) {
  static const bool enabled = std::getenv("MK_PROBE_STEPS") != nullptr;
  static auto last = std::chrono::system_clock::time_point(std::chrono::nanoseconds(
      std::getenv("MK_LAUNCH_NS") ? std::atoll(std::getenv("MK_LAUNCH_NS")) : 0));
  if (!enabled) return;
  const auto now = std::chrono::system_clock::now();
  std::fprintf(stderr, "%-20s %6.1f ms\n", name, std::chrono::duration<double, std::milli>(now - last).count());
  last = now;
}

void PrintMillisecondsSinceLaunch() {
  const char* launch = std::getenv("MK_LAUNCH_NS");
  if (!launch) return;
  const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                       std::chrono::system_clock::now().time_since_epoch())
                       .count();
  std::printf("%.1f\n", static_cast<double>(now - std::atoll(launch)) / 1e6);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char* argv[]) {
  Step("start of main");
#if defined(MK_PROBE_MAIN_WINDOW)
  mk::FontConfigWarmUp fonts;
#endif
  QApplication app(argc, argv);
  Step("QApplication");
#if defined(MK_PROBE_MAIN_WINDOW)
  mk::PrepareApplication(app, &fonts);
  Step("PrepareApplication");
  mk::RecordingPrompter prompter;
  mk::MainWindow window(prompter);
  Step("MainWindow");
  window.show();
  Step("show");
  window.offerRecovery();
  Step("offerRecovery");
#elif defined(MK_PROBE_JAPANESE_FLOOR) || defined(MK_PROBE_FLOOR_SIZE)
  QApplication::setFont(QFont(QStringLiteral("IPAGothic"), 9));
  QMainWindow window;
  window.menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
  window.setCentralWidget(new QLabel(QStringLiteral("下水排水施設（合流式）流量計算")));
  window.statusBar()->showMessage(QStringLiteral("入力してください。"));
#ifdef MK_PROBE_FLOOR_SIZE
  window.resize(1024, 768);
#endif
  window.show();
  Step("window and show");
#else
  QMainWindow window;
  window.show();
  Step("window and show");
#endif
  if (!QTest::qWaitForWindowExposed(&window, 10000)) return 1;
  Step("exposed");
  PrintMillisecondsSinceLaunch();
  QTimer::singleShot(0, &app, &QCoreApplication::quit);
  return QApplication::exec();
}
