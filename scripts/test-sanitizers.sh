#!/bin/sh
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-asan (MIRUKANA_SANITIZE=ON) and runs the whole test suite there.
# Any sanitizer report fails the test that triggered it: ASan aborts on the
# first error, UBSan too (-fno-sanitize-recover=undefined).  Screen tests run
# offscreen.  Leak detection stays on; scripts/lsan-suppressions.txt lists
# the one leak that is Qt's and fontconfig's own (a fallback font's match
# kept for the process's life), with why.  Not part of CI, which runs the
# normal build only.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMIRUKANA_SANITIZE=ON "$@"
cmake --build build-asan

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS="abort_on_error=1:detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1:detect_leaks=1"
export LSAN_OPTIONS="suppressions=$(pwd)/scripts/lsan-suppressions.txt:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
ctest --test-dir build-asan --output-on-failure -j "$(nproc)"
