#!/bin/sh
# Writes the diagram's program data: the six letter pictures graph/letters/*.bmp with their
# span tables and pixels in graph/letter_data.cpp, and the diagram font's glyphs in
# graph/font_data.cpp. Run it by hand (tools/make_graph_data.sh, from anywhere) after changing
# tools/make_graph_data.cpp or the fonts, check the pictures, and commit what it wrote; the
# program itself never derives any of it. Installs the Debian packages it needs when missing.
set -e
cd "$(dirname "$0")/.."
PACKAGES="g++ pkg-config qt6-base-dev fonts-dejavu-core fonts-dejavu-extra clang-format"
missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
fi
mkdir -p build/tools graph/letters
g++ -std=c++20 -O1 -fPIC -I. tools/make_graph_data.cpp graph/span_rule.cpp graph/bmp_file.cpp \
  -o build/tools/make_graph_data $(pkg-config --cflags --libs Qt6Gui)
QT_QPA_PLATFORM=offscreen build/tools/make_graph_data .
clang-format -i graph/letter_data.cpp graph/font_data.cpp
