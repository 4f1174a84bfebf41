#!/usr/bin/env bash
# Compiles the library and both programs (not the tests, not the benchmarks) with Clang for the
# same Windows target, into <build>/clang, with the project's warnings turned into errors: code
# that only one compiler takes, or that one of them warns about, fails here. Called by
# scripts/test.sh after scripts/setup.sh, whose libjpeg-turbo it links (a C library: the
# compiler that built it does not matter). Safe to run again: it only rebuilds what changed.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR="${KAIRON_BUILD_DIR:-build}"
CLANG_DIR="$BUILD_DIR/clang"
JPEG_ROOT="$(cd "$BUILD_DIR" && pwd)/libjpeg-turbo/install"
EXIF_ROOT="$(cd "$BUILD_DIR" && pwd)/libexif/install"

if [ ! -f "$CLANG_DIR/build.ninja" ]; then
  launcher=()
  if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  fi
  # Release without optimisation: the assertion-free form that users get, compiled only to be
  # checked (nobody runs it), so neither debug information nor the optimiser's time is spent.
  cmake -S . -B "$CLANG_DIR" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/clang-mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_C_FLAGS_RELEASE=-DNDEBUG -DCMAKE_CXX_FLAGS_RELEASE=-DNDEBUG \
    -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
    -DBUILD_TESTING=OFF -DKAIRON_BENCHMARKS=OFF -DKAIRON_JPEG_ROOT="$JPEG_ROOT" -DKAIRON_EXIF_ROOT="$EXIF_ROOT" "${launcher[@]}"
fi
echo "Compiling the library and programs with Clang in $CLANG_DIR"
cmake --build "$CLANG_DIR"
