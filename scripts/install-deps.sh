#!/usr/bin/env bash
# Installs the Debian packages Balizor needs to build, run and test.
# Only missing packages are installed; sudo is used when not root.
set -euo pipefail

PACKAGES=(
  cmake g++ make ninja-build ccache pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libgl-dev
  qt6-webengine-dev qt6-webengine-dev-tools libqt6webenginecore6-bin
  libqscintilla2-qt6-dev
  libcurl4-openssl-dev
  qt6-translations-l10n
  fonts-dejavu-core
  # tests: a display server for screenshots, an FTP server, scripting
  xvfb xauth python3 python3-pyftpdlib
  # looking at the program by hand: keys and clicks sent to a window under Xvfb
  xdotool
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
