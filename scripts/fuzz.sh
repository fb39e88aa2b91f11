#!/bin/sh
# Builds the libFuzzer targets into build-fuzz (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for a bounded time, all in
# parallel.  Not part of the normal test run or of CI.
#
#   scripts/fuzz.sh [SECONDS]      # seconds per target, default 600
#
# Each target starts from its seed corpus in fuzz/corpus/<target>/ (copied
# into build-fuzz/corpus/<target>/, where the corpus grows); findings land in
# build-fuzz/artifacts/<target>/, logs in build-fuzz/logs/<target>.log.  The
# script ends non-zero when any target found a crash, a hang, a leak or a
# sanitizer report, and prints each target's count of executions.
set -eu
cd "$(dirname "$0")/.."
SECONDS_PER_TARGET=${1:-600}
TARGETS="vor_file_fuzzer number_text_fuzzer network_file_fuzzer"

# What building the program needs, then what fuzzing needs on top.
FUZZ_PACKAGES="clang libclang-rt-dev llvm"
scripts/install-deps.sh $FUZZ_PACKAGES

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMIRUKANA_BUILD_FUZZERS=ON -DMIRUKANA_SANITIZE=ON -DMIRUKANA_BUILD_TESTS=OFF
cmake --build build-fuzz --target $TARGETS

export ASAN_OPTIONS="abort_on_error=1:detect_leaks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

mkdir -p build-fuzz/logs
for t in $TARGETS; do
  name=${t%_fuzzer}
  mkdir -p "build-fuzz/corpus/$name" "build-fuzz/artifacts/$name"
  cp -n "fuzz/corpus/$name/"* "build-fuzz/corpus/$name/" 2>/dev/null || true
  case $name in
    number_text) max_len=128 ;;
    *) max_len=4096 ;;  # Open reads at most 133 lines; the examples are under 1 KiB
  esac
  # -timeout: an input taking longer than 10 s is a hang.  -len_control=0:
  # inputs up to max_len from the start rather than growing slowly.
  "build-fuzz/bin/$t" "build-fuzz/corpus/$name" \
    -dict="fuzz/$name.dict" -max_len=$max_len -len_control=0 -timeout=10 -rss_limit_mb=2048 \
    -max_total_time="$SECONDS_PER_TARGET" -print_final_stats=1 \
    -artifact_prefix="build-fuzz/artifacts/$name/" >"build-fuzz/logs/$name.log" 2>&1 &
done
status=0
wait || status=$?

failed=0
for t in $TARGETS; do
  name=${t%_fuzzer}
  log="build-fuzz/logs/$name.log"
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  found=$(find "build-fuzz/artifacts/$name" -type f | wc -l)
  if grep -q "^Done [0-9]* runs" "$log" && [ "$found" -eq 0 ]; then
    echo "$name: ${runs:-?} executions in ${SECONDS_PER_TARGET} s, clean"
  else
    echo "$name: FOUND SOMETHING after ${runs:-?} executions; see $log and build-fuzz/artifacts/$name/"
    failed=1
  fi
done
[ "$failed" -eq 0 ] || exit 1
exit $status
