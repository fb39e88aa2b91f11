#!/bin/sh
# Installs what is missing, builds and runs every test (screens headless),
# then builds the web edition and runs its browser tests.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j "$(nproc)"

# The web edition: built with emscripten, then its browser tests in headless
# Chromium (the page from file://, driven by puppeteer-core from web/'s
# package-lock.json), comparing with the desktop's report command.
scripts/install-deps.sh emscripten chromium
command -v npm >/dev/null 2>&1 || scripts/install-deps.sh nodejs npm
scripts/web.sh
cd web
npm ci --no-audit --no-fund
MIRUKANA_REPORT="$(pwd)/../build/bin/mirukana-report" npm test
