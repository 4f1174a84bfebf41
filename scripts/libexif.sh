#!/usr/bin/env bash
# Builds libexif (LGPL-2.1; reads the EXIF block of photos: the date taken) for mingw-w64
# (x86_64) from Debian's own source package, once, as a static library inside the build
# folder:
#     <build>/libexif/src/      the unpacked source package (apt-get source, Debian's patches)
#     <build>/libexif/build/    its build (cmake/libexif/CMakeLists.txt, the project's toolchain)
#     <build>/libexif/install/  include/libexif/*.h and lib/libexif.a, which CMake picks up
# A later run finds the installed library and only checks. Called by scripts/setup.sh with
# the build folder as its argument; needs root or sudo only to add a deb-src entry.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$PWD"
BUILD_DIR="$(cd "${1:-build}" && pwd)"
EXIF_DIR="$BUILD_DIR/libexif"
INSTALL_DIR="$EXIF_DIR/install"

if [ -f "$INSTALL_DIR/lib/libexif.a" ] && [ -f "$INSTALL_DIR/include/libexif/exif-data.h" ]; then
  exit 0
fi

# shellcheck source=scripts/debsrc.sh
. "$ROOT/scripts/debsrc.sh"
SRC=$(fetch_source libexif "$EXIF_DIR")

echo "Building libexif for mingw-w64 (once)"
cmake -S "$ROOT/cmake/libexif" -B "$EXIF_DIR/build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DLIBEXIF_SRC="${SRC%/}" >"$EXIF_DIR/configure.log" 2>&1 \
  || { tail -n 30 "$EXIF_DIR/configure.log" >&2; exit 1; }
cmake --build "$EXIF_DIR/build" >"$EXIF_DIR/build.log" 2>&1 \
  || { tail -n 30 "$EXIF_DIR/build.log" >&2; exit 1; }
mkdir -p "$INSTALL_DIR/include/libexif" "$INSTALL_DIR/lib"
cp "$SRC"/libexif/*.h "$EXIF_DIR/build/config/libexif/_stdint.h" "$INSTALL_DIR/include/libexif/"
cp "$EXIF_DIR/build/libexif.a" "$INSTALL_DIR/lib/libexif.a.part"
mv "$INSTALL_DIR/lib/libexif.a.part" "$INSTALL_DIR/lib/libexif.a"
echo "libexif ready in $INSTALL_DIR"
