// Timings of the work behind Open, the report and 計算, over the twelve
// example projects (one project per iteration, taking them in turn).
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdlib>
#include <string>
#include <vector>

#include "calc/check_run.h"
#include "calc/recompute.h"
#include "model/project_record.h"
#include "project_file/cp932.h"
#include "project_file/vor_file.h"
#include "report/flow_report.h"

namespace {

struct Example {
  QString path;
  std::vector<std::string> lines;  // decoded, as Open reads them
  mk::ProjectRecord opened;        // read and recomputed
};

const std::vector<Example>& Examples() {
  static const std::vector<Example> examples = [] {
    std::vector<Example> list;
    const QDir dir(QStringLiteral(MK_EXAMPLES_DIR));
    for (const QString& name : dir.entryList({QStringLiteral("*.vor")}, QDir::Files, QDir::Name)) {
      Example e;
      e.path = dir.filePath(name);
      QFile f(e.path);
      if (!f.open(QIODevice::ReadOnly)) std::abort();
      for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.isEmpty()) continue;
        e.lines.push_back(mk::DecodeCp932(line.endsWith('\r') ? line.chopped(1) : line));
      }
      if (mk::ReadProjectFile(e.path, e.opened)) std::abort();
      mk::RecomputeAfterOpen(e.opened);
      list.push_back(std::move(e));
    }
    if (list.empty()) std::abort();
    return list;
  }();
  return examples;
}

// Compose the report of an opened project.
void BM_ComposeFlowReport(benchmark::State& state) {
  const auto& examples = Examples();
  std::size_t i = 0;
  for (auto _ : state) {
    mk::FlowReport report = mk::ComposeFlowReport(examples[i++ % examples.size()].opened);
    benchmark::DoNotOptimize(report);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ComposeFlowReport);

// Open as the program does: read the file (CP932), then recompute.
void BM_OpenFileAndRecompute(benchmark::State& state) {
  const auto& examples = Examples();
  std::size_t i = 0;
  for (auto _ : state) {
    mk::ProjectRecord record;
    if (mk::ReadProjectFile(examples[i++ % examples.size()].path, record)) state.SkipWithError("read failed");
    mk::RecomputeAfterOpen(record);
    benchmark::DoNotOptimize(record);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_OpenFileAndRecompute);

// Open from the file, recompute and compose the report: what the headless
// command does for one project.  One benchmark per example (the argument is
// its index); scripts/bench.sh takes the median over the twelve.
void BM_OpenRecomputeCompose(benchmark::State& state) {
  const Example& example = Examples().at(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    mk::ProjectRecord record;
    if (mk::ReadProjectFile(example.path, record)) state.SkipWithError("read failed");
    mk::RecomputeAfterOpen(record);
    mk::FlowReport report = mk::ComposeFlowReport(record);
    benchmark::DoNotOptimize(report);
  }
  state.SetLabel(QFileInfo(example.path).fileName().toStdString());
}
BENCHMARK(BM_OpenRecomputeCompose)->DenseRange(0, 11)->Unit(benchmark::kMicrosecond);

// The same from lines already decoded: the reader and the recompute alone.
void BM_ReadLinesAndRecompute(benchmark::State& state) {
  const auto& examples = Examples();
  std::size_t i = 0;
  for (auto _ : state) {
    mk::ProjectRecord record;
    mk::ReadProjectLines(examples[i++ % examples.size()].lines, record);
    mk::RecomputeAfterOpen(record);
    benchmark::DoNotOptimize(record);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ReadLinesAndRecompute);

// 計算 on the facility screen: the checks, the section, flows and verdict.
void BM_CheckRun(benchmark::State& state) {
  std::vector<mk::ProjectRecord> records;
  for (const Example& e : Examples()) records.push_back(e.opened);
  std::size_t i = 0;
  for (auto _ : state) {
    mk::CheckRunOutcome outcome = mk::CheckRun(records[i++ % records.size()]);
    benchmark::DoNotOptimize(outcome);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CheckRun);

}  // namespace
