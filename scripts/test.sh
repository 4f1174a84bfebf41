#!/usr/bin/env bash
# Set-up as scripts/setup.sh, then every test. Exits non-zero on any failure.
# Extra arguments go to ctest (for example -R strbuffer).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
BUILD_DIR="${KAIRON_BUILD_DIR:-build}"
source scripts/display.sh
ensure_display
cd "$BUILD_DIR"
ctest --output-on-failure -j "$(nproc)" "$@"
