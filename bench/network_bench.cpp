// Timings of the network flow table: the whole-table recompute that every
// edit of the table starts (goal: 500 segments in 5 ms or less), the same
// with the cell texts, and the sizing proposal.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>

#include "calc/network.h"

namespace {

// A random tree of `count` segments with every kind of facility, listed in
// a shuffled order, under ① with groundwater and surcharge.
mk::NetworkRecord RandomNetwork(int count) {
  std::mt19937 random(500);
  auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(random); };
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  auto text = [](double v) { return std::to_string(v).substr(0, 6); };
  mk::NetworkRecord net;
  net.settings.a = "5000";
  net.settings.b = "40";
  net.settings.t1 = "7";
  net.settings.groundwater = true;
  net.settings.groundwaterPercent = "20";
  net.settings.surcharge = true;
  net.settings.surchargePercent = "10";
  for (int i = 0; i < count; ++i) {
    mk::NetworkSegment s = mk::NewNetworkSegment();
    s.name = "R-" + std::to_string(i);
    s.upstream = "N" + std::to_string(i + 1);
    s.downstream = i == 0 ? "N0" : "N" + std::to_string(1 + pick(i));
    s.length = text(uniform(10, 200));
    s.area = text(uniform(0.05, 2));
    s.c = text(uniform(0.3, 0.9));
    s.sewage = text(uniform(0, 0.01));
    s.kind = static_cast<mk::NetworkFacilityKind>(pick(6));
    s.sizeIndex = pick(8);
    s.D = text(uniform(0.3, 1.5));
    s.B = text(uniform(0.5, 2));
    s.H = text(uniform(0.5, 2));
    s.slope = text(uniform(1, 30));
    s.roughness = "0.013";
    s.depthIndex = 0;
    net.segments.push_back(s);
  }
  std::shuffle(net.segments.begin(), net.segments.end(), random);
  if (!mk::ComputeNetwork(net).ok()) std::abort();
  return net;
}

void BM_NetworkRecompute(benchmark::State& state) {
  const mk::NetworkRecord net = RandomNetwork(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(mk::ComputeNetwork(net));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_NetworkRecompute)->Arg(500)->Unit(benchmark::kMicrosecond);

void BM_NetworkRecomputeWithTexts(benchmark::State& state) {
  const mk::NetworkRecord net = RandomNetwork(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    const mk::NetworkComputation c = mk::ComputeNetwork(net);
    for (const mk::NetworkRow& row : c.table.rows) benchmark::DoNotOptimize(mk::NetworkRowTexts(net, row));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_NetworkRecomputeWithTexts)->Arg(500)->Unit(benchmark::kMicrosecond);

void BM_NetworkSizing(benchmark::State& state) {
  const mk::NetworkRecord net = RandomNetwork(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(mk::ProposeNetworkSizes(net));
}
BENCHMARK(BM_NetworkSizing)->Arg(500)->Unit(benchmark::kMicrosecond);

}  // namespace
