#!/usr/bin/env bash
# Installs what the build needs (Debian 12, as root or through sudo) and configures
# and builds in build/. Safe to run again: it only checks then.
# Without arguments it builds everything: the library, Kairon.exe, kairon-cli.exe, the tests
# and the benchmarks. Arguments name the targets to build instead (scripts/run.sh asks for
# Kairon and kairon-cli only), with what they need and nothing else.
set -euo pipefail
cd "$(dirname "$0")/.."

# fonts-wqy-microhei: Latin and CJK glyphs for the Japanese (and Chinese) user interface under Wine.
# clang: the second compiler the test command builds the library and programs with.
PACKAGES=(mingw-w64 wine wine64 xvfb xauth cmake ninja-build googletest dpkg-dev fonts-wqy-microhei clang)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

BUILD_DIR="${KAIRON_BUILD_DIR:-build}"
mkdir -p "$BUILD_DIR"
bash scripts/libjpeg.sh "$BUILD_DIR"
bash scripts/libexif.sh "$BUILD_DIR"

if [ ! -f "$BUILD_DIR/build.ninja" ]; then
  cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
fi
if [ $# -gt 0 ]; then
  cmake --build "$BUILD_DIR" --target "$@"
else
  cmake --build "$BUILD_DIR"
fi

# The Wine prefix lives in the build folder; the first start creates it.
if [ ! -f "$BUILD_DIR/wineprefix/system.reg" ]; then
  echo "Creating the Wine prefix (first start only)"
  "$BUILD_DIR/wine-run.sh" cmd /c exit >/dev/null 2>&1 || true
fi
