#!/bin/sh
# Speed figures: the core benchmarks (Google Benchmark), the desktop
# program's start-to-quit time against an empty Qt Widgets program, and
# `mirukana-report --summary` over 10,000 generated projects.
# Builds Release into build-bench (or $BENCH_BUILD_DIR) with
# MIRUKANA_BUILD_BENCHMARKS=ON.  Not part of the normal test run or of CI.
#
#   scripts/bench.sh [RUNS]     # start-time runs per program, default 15
set -eu
cd "$(dirname "$0")/.."
RUNS=${1:-15}
BUILD=${BENCH_BUILD_DIR:-build-bench}
PROJECTS=10000

# What building the program needs, then what the benchmarks need on top.
BENCH_PACKAGES="libbenchmark-dev xvfb xauth"
scripts/install-deps.sh $BENCH_PACKAGES

cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMIRUKANA_BUILD_BENCHMARKS=ON -DMIRUKANA_BUILD_TESTS=OFF
cmake --build "$BUILD" --target mirukana_bench mirukana_generate_projects startup_probe_mirukana startup_probe_empty mirukana-report

# Median of the numbers on standard input (one per line).
median() { sort -n | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else printf "%.1f\n", (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
# Milliseconds that a command takes, wall clock.
millis() {
  start=$(date +%s%N)
  "$@" >/dev/null
  end=$(date +%s%N)
  echo $(( (end - start) / 1000000 ))
}

echo "== Load average before the runs: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "== Core benchmarks (one example project per iteration)"
"$BUILD/bin/mirukana_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true

echo "== Start to quit under Xvfb, $RUNS runs each (milliseconds, median)"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cat >"$tmp/startup.sh" <<EOS
#!/bin/sh
# Runs inside one X server: first one unmeasured run each (caches), then
# alternating measured runs, so both programs see the same machine state.
set -eu
"$BUILD/bin/startup_probe_empty" >/dev/null
"$BUILD/bin/startup_probe_mirukana" >/dev/null
i=0
while [ \$i -lt $RUNS ]; do
  s=\$(date +%s%N); "$BUILD/bin/startup_probe_empty"; e=\$(date +%s%N); echo \$(( (e - s) / 1000000 )) >>"$tmp/empty.txt"
  s=\$(date +%s%N); "$BUILD/bin/startup_probe_mirukana"; e=\$(date +%s%N); echo \$(( (e - s) / 1000000 )) >>"$tmp/mirukana.txt"
  i=\$((i + 1))
done
EOS
chmod +x "$tmp/startup.sh"
unset QT_QPA_PLATFORM
mkdir -m 700 "$tmp/xdg"
export XDG_RUNTIME_DIR="$tmp/xdg"
xvfb-run -a -s "-screen 0 1280x1024x24" "$tmp/startup.sh"
empty=$(median <"$tmp/empty.txt")
mirukana=$(median <"$tmp/mirukana.txt")
echo "empty QMainWindow: $empty ms"
echo "ミルカナ main window: $mirukana ms"
awk -v a="$mirukana" -v b="$empty" 'BEGIN { printf "ratio: %.2f\n", a / b }'

echo "== mirukana-report --summary over $PROJECTS generated projects (3 runs, seconds, median)"
"$BUILD/bin/mirukana_generate_projects" tests/data/examples "$tmp/projects" $PROJECTS
: >"$tmp/summary.txt"
for run in 1 2 3; do
  millis "$BUILD/bin/mirukana-report" --summary "$tmp"/projects/*.vor >>"$tmp/summary.txt"
done
"$BUILD/bin/mirukana-report" --summary "$tmp"/projects/*.vor >"$tmp/summary-out.txt"
lines=$(wc -l <"$tmp/summary-out.txt")
ms=$(median <"$tmp/summary.txt")
awk -v ms="$ms" -v n="$PROJECTS" -v l="$lines" \
  'BEGIN { printf "%d projects, %d summary lines: %.2f s (%.0f µs per project)\n", n, l, ms / 1000, ms * 1000 / n }'
