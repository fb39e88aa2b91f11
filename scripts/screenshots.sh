#!/bin/sh
# Pictures for a look by eye: the main window, the about box, and both
# print-image pages of a few example projects as PNG files, with their
# printouts as PDF files.  Builds the screenshot tool into build-screenshots
# (or $SCREENSHOTS_BUILD_DIR) and runs it headless.  Not part of the test
# run or of CI.
#
#   scripts/screenshots.sh [FOLDER]    # default: build-screenshots/pictures
set -eu
cd "$(dirname "$0")/.."
BUILD=${SCREENSHOTS_BUILD_DIR:-build-screenshots}
OUT=${1:-$BUILD/pictures}

scripts/install-deps.sh

cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMIRUKANA_BUILD_SCREENSHOTS=ON
cmake --build "$BUILD" --target mirukana_screenshots
QT_QPA_PLATFORM=offscreen "$BUILD/bin/mirukana_screenshots" "$OUT"
