#!/bin/sh
# Installs the Debian packages that building, running and testing need,
# plus any packages named as arguments (the fuzz, bench and package scripts
# name what they need on top).  Only what is missing is installed; apt-get
# runs through sudo when not root.
set -eu

PACKAGES="ca-certificates g++ cmake ninja-build pkg-config qt6-base-dev libgl-dev \
libgtest-dev libgmock-dev libqt6svg6 qt6-translations-l10n fonts-ipafont-mincho fonts-ipafont-gothic \
poppler-utils python3-ezdxf"

missing=""
for p in $PACKAGES "$@"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

if [ -z "$missing" ]; then
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  SUDO=""
else
  SUDO="sudo"
fi

echo "Installing:$missing"
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends $missing
