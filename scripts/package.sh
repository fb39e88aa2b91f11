#!/bin/sh
# Builds the Debian package of ミルカナ: installs what is missing, builds
# Release into build-package/ (or $PACKAGE_BUILD_DIR) and runs CPack.  The
# package lands there as mirukana_<version>_<arch>.deb; install it with
#   sudo apt-get install ./build-package/mirukana_*.deb
set -eu
cd "$(dirname "$0")/.."

# dpkg-dev: dpkg-shlibdeps finds the libraries the package depends on;
# file: CPack's DEB generator uses it to find the programs to strip and scan;
# librsvg2-bin: rsvg-convert draws the PNG icons from the SVG ones.
PACKAGES="dpkg-dev file librsvg2-bin"
scripts/install-deps.sh $PACKAGES

BUILD_DIR=${PACKAGE_BUILD_DIR:-build-package}
cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMIRUKANA_BUILD_TESTS=OFF
cmake --build "$BUILD_DIR"
rm -f "$BUILD_DIR"/mirukana_*.deb
(cd "$BUILD_DIR" && cpack -G DEB)
ls -l "$BUILD_DIR"/mirukana_*.deb
