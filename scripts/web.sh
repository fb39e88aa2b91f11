#!/bin/sh
# Builds the browser edition into build-web/site/ (index.html, its script and
# the core as WebAssembly inside mirukana.js): open build-web/site/index.html
# in a browser, straight from disk or from any static web server.
# Installs what is missing (emscripten, and Qt for the CP932 table) first.
set -eu
cd "$(dirname "$0")/.."
scripts/install-deps.sh emscripten
OUT="${WEB_BUILD_DIR:-build-web}"
mkdir -p "$OUT/tools" "$OUT/site"
OUT="$(cd "$OUT" && pwd)"

# The CP932 tables, from the desktop's own codec.
if [ ! -x "$OUT/tools/cp932_table" ] || [ web/tools/cp932_table.cpp -nt "$OUT/tools/cp932_table" ] ||
   [ src/project_file/cp932.cpp -nt "$OUT/tools/cp932_table" ]; then
  g++ -std=c++20 -O1 -fPIC -Isrc $(pkg-config --cflags Qt6Core) web/tools/cp932_table.cpp \
    src/project_file/cp932.cpp -o "$OUT/tools/cp932_table" $(pkg-config --libs Qt6Core)
  "$OUT/tools/cp932_table" "$OUT/tools/cp932_tables.inc"
fi

# emscripten's JS tools load Debian's node modules; a node that is not
# Debian's own does not look there by itself.
export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"
if [ ! -f "$OUT/core/build.ninja" ]; then
  emcmake cmake -S web -B "$OUT/core" -G Ninja -DCP932_TABLE_DIR="$OUT/tools" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
cmake --build "$OUT/core"
cp "$OUT/core/site/mirukana.js" "$OUT/site/"
cp web/site/index.html web/site/mirukana-page.js web/site/mirukana.css "$OUT/site/"
echo "Built $OUT/site/index.html: open it in a browser (from disk or any static web server)."
