// The longitudinal profile of a 200-segment flow path (6 km, 35 A3 sheets
// at 1/500 × 1/100): the drawing list, the PDF in memory from it, and the
// DXF.  Goal: list + PDF well under a second.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QPdfWriter>

#include "drawing/dxf_writer.h"
#include "drawing/profile_drawing.h"
#include "paper/profile_paint.h"

namespace {

mk::drawing::ProfilePath LongPath(int segments) {
  mk::drawing::ProfilePath path;
  path.title = "200区間の路線";
  double invert = 60.0;
  for (int k = 0; k <= segments; ++k) {
    const double ground = 63.0 - 0.009 * 30.0 * k + (k % 7) * 0.05;
    path.nodes.push_back({"No." + std::to_string(k + 1), 30.0 * k, ground});
  }
  for (int k = 0; k < segments; ++k) {
    const double down = invert - 0.3 * 30.0 / 100.0 * 3.0;
    path.segments.push_back({"S" + std::to_string(k + 1), 30.0, invert, down, invert + 0.6, down + 0.6, invert + 0.3,
                             down + 0.3, 1.5, 1.5, "ﾋｭｰﾑ管 φ600", 9.0, 0.02});
    invert = down - 0.02;
  }
  return path;
}

const mk::drawing::ProfileOptions kOptions{mk::drawing::SheetSizeMm(mk::drawing::SheetSize::A3), 500, 100, "2026年12月8日"};

void BM_ProfileDrawing(benchmark::State& state) {
  const auto path = LongPath(200);
  for (auto _ : state) benchmark::DoNotOptimize(mk::drawing::DrawProfile(path, kOptions));
}
BENCHMARK(BM_ProfileDrawing)->Unit(benchmark::kMillisecond);

void BM_ProfileDrawingAndPdf(benchmark::State& state) {
  const auto path = LongPath(200);
  std::size_t sheets = 0, bytes = 0;
  for (auto _ : state) {
    const auto drawing = mk::drawing::DrawProfile(path, kOptions);
    QByteArray document;
    QBuffer buffer(&document);
    buffer.open(QIODevice::WriteOnly);
    {
      QPdfWriter writer(&buffer);
      writer.setResolution(600);
      writer.setPageLayout(mk::SheetPageLayout(drawing.sheets.front()));
      mk::PaintSheets(writer, drawing.sheets);
    }
    sheets = drawing.sheets.size();
    bytes = static_cast<std::size_t>(document.size());
  }
  state.counters["sheets"] = static_cast<double>(sheets);
  state.counters["pdf_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ProfileDrawingAndPdf)->Unit(benchmark::kMillisecond);

void BM_ProfileDxf(benchmark::State& state) {
  const auto drawing = mk::drawing::DrawProfile(LongPath(200), kOptions);
  const mk::drawing::Cp932Encoder ascii = [](std::string_view s, std::string*) { return std::optional<std::string>(std::string(s)); };
  for (auto _ : state) benchmark::DoNotOptimize(mk::drawing::WriteDxf(drawing.sheets, ascii));
}
BENCHMARK(BM_ProfileDxf)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);  // fonts for the PDF's texts
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
