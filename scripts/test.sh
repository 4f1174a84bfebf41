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
# One wineserver serves the whole run: a test starting while an idle server shuts down
# would otherwise fail with a reset connection.
export WINEPREFIX="$PWD/wineprefix"
wineserver -p
trap 'wineserver -k 2>/dev/null || true; [ -n "${KAIRON_XVFB_PID:-}" ] && kill "$KAIRON_XVFB_PID" 2>/dev/null || true' EXIT
ctest --output-on-failure -j "$(nproc)" "$@"
