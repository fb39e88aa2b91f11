// The network flow table's window at 2,000 segments: from the Enter that
// commits a typed cell to the end of the table's next repaint (goal: one
// frame, 16 ms or less).  The edit is a head segment's area, so the sums,
// times, flows and verdicts of its whole path to the outlet change, as in
// a day's typing.  Runs offscreen (QT_QPA_PLATFORM=offscreen) or on a
// display; wall time per edit, measured by hand around the key press and
// the paint.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>

#include <chrono>
#include <random>
#include <string>

#include "calc/network.h"
#include "ui/network_table_screen.h"
#include "ui/prompter.h"

namespace {

// A random tree of `count` catalogue and rectangular segments in record
// order from the outlet up; segment i flows into one of the segments
// before it (with `chain`, into segment i - 1: one line, so that an edit
// at its head changes every row).
mk::NetworkRecord Tree(int count, bool chain) {
  std::mt19937 random(2000);
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  mk::NetworkRecord net;
  net.settings.a = "5000";
  net.settings.b = "40";
  net.settings.t1 = "7";
  for (int i = 0; i < count; ++i) {
    mk::NetworkSegment s = mk::NewNetworkSegment();
    s.name = "R-" + std::to_string(i);
    s.upstream = "N" + std::to_string(i + 1);
    s.downstream = i == 0 ? "N0" : "N" + std::to_string(chain ? i : 1 + pick(i));
    s.length = std::to_string(20 + pick(80));
    s.area = "0." + std::to_string(10 + pick(80));
    s.c = "0.6";
    s.kind = i % 7 == 0 ? mk::NetworkFacilityKind::Rectangular : mk::NetworkFacilityKind::Hume;
    s.sizeIndex = pick(10);
    s.B = "1.0";
    s.H = "0.8";
    s.slope = std::to_string(2 + pick(10));
    s.roughness = "0.013";
    s.depthIndex = mk::NetworkDefaultDepthIndex(s.kind);
    net.segments.push_back(s);
  }
  return net;
}

// Notes when the view's viewport has finished a paint: the filter has the
// viewport paint inside it, then takes the time.
class PaintWatch : public QObject {
 public:
  bool painted = false;
  std::chrono::steady_clock::time_point at;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Paint || inside_) return QObject::eventFilter(watched, event);
    inside_ = true;
    QCoreApplication::sendEvent(watched, event);
    inside_ = false;
    if (!painted) at = std::chrono::steady_clock::now();
    painted = true;
    return true;
  }

 private:
  bool inside_ = false;
};

void BM_TableCellEditToRepaint(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  mk::RecordingPrompter prompter;
  mk::NetworkTableScreen screen(prompter);
  screen.load(Tree(count, state.range(1) != 0), QString());
  screen.resize(1400, 800);
  screen.show();
  (void)QTest::qWaitForWindowExposed(&screen);
  mk::NetworkTableView* view = screen.table();
  mk::NetworkTableModel* model = screen.model();
  int areaColumn = -1;
  for (int c = 0; c < model->columnCount(); ++c)
    if (mk::NetworkTableModel::columnName(c) == QLatin1String(mk::network_field::kArea)) areaColumn = c;
  const int head = count - 1;  // the last segment: nothing flows into it
  const QModelIndex cell = model->index(head, areaColumn);
  view->setFocus();
  view->setCurrentIndex(cell);
  view->scrollTo(cell);
  QApplication::processEvents();
  PaintWatch watch;
  view->viewport()->installEventFilter(&watch);

  bool flip = false;
  for (auto _ : state) {
    // Typing is not timed: the editor opens with the first key.
    flip = !flip;
    QTest::keyClicks(view, flip ? "0" : "1");
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (!editor) {
      state.SkipWithError("no cell editor");
      break;
    }
    QTest::keyClicks(editor, flip ? ".25" : ".5");
    QApplication::processEvents();
    watch.painted = false;
    const auto start = std::chrono::steady_clock::now();
    QTest::keyClick(editor, Qt::Key_Return);
    QElapsedTimer limit;
    limit.start();
    while (!watch.painted && limit.elapsed() < 1000) QApplication::processEvents(QEventLoop::AllEvents, 5);
    if (!watch.painted) {
      state.SkipWithError("no repaint");
      break;
    }
    state.SetIterationTime(std::chrono::duration<double>(watch.at - start).count());
    view->setCurrentIndex(cell);
    QApplication::processEvents();
  }
  state.counters["segments"] = count;
}
// Second argument 0: a random tree, the edit's path mostly off screen; 1:
// one line, every row on screen (and off it) changes.
BENCHMARK(BM_TableCellEditToRepaint)->Args({2000, 0})->Args({2000, 1})->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(40);

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
