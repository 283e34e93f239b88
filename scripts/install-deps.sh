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
  # regular expressions over the editor's UTF-8 text
  libpcre2-dev
  # picture formats read by the image dialog beyond GIF, PNG, JPEG and BMP (WebP, TIFF...)
  qt6-image-formats-plugins
  # SVG pictures: their size and preview in the image dialog
  qt6-svg-dev libqt6svg6
  # previews of very large PNG pictures, decoded row by row
  libpng-dev
  # the help book: the help compiler, the help module and its database driver
  qt6-tools-dev qt6-tools-dev-tools libqt6sql6-sqlite
  qt6-translations-l10n
  fonts-dejavu-core
  # tests: a display server for screenshots, an FTP server, scripting
  xvfb xauth python3 python3-pyftpdlib
  # looking at dialogs under Xvfb: key presses for the running program
  xdotool
  # looking at the program: screenshots of the virtual display (import)
  imagemagick
  # tests: reading the text of printed PDF files
  poppler-utils
  # FTP passwords in the desktop's secret service
  qtkeychain-qt6-dev
  # spelling: the library and the French dictionary; tests: a second language
  libhunspell-dev hunspell-fr hunspell-en-us
  # tests: FTP with TLS on the test FTP server
  python3-openssl
  # tests: an SSH server started by the SFTP tests (never as a system service)
  openssh-server
  # benchmarks: the reference the command line's indenter is measured against
  tidy
  # benchmarks: the reference the site publishing is measured against
  lftp
  # benchmarks: the start-up bench sees the window's first drawing through the X server
  libxdamage-dev
  # benchmarks: the reference the search in files is measured against
  ripgrep
  # tests: the desktop's validators for the desktop entry and the AppStream metainfo
  desktop-file-utils appstream
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
