#!/bin/sh
# Installs the Debian packages orefrac needs to build, test, run and package (file: for the .deb's
# library dependencies), only when one is missing (quiet and quick otherwise).
set -e
PACKAGES="build-essential cmake ninja-build pkg-config qt6-base-dev qt6-charts-dev libqt6opengl6-dev
  libgl-dev qt6-translations-l10n libzip-dev zlib1g-dev libexpat1-dev libxlsxwriter-dev libgtest-dev
  fonts-dejavu-core fonts-liberation file clang-format"
missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
echo "Устанавливаются пакеты:$missing"
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null
