#!/usr/bin/env bash
# Set-up as scripts/setup.sh, then starts Kairon under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
BUILD_DIR="${KAIRON_BUILD_DIR:-build}"
source scripts/display.sh
ensure_display
"$BUILD_DIR/wine-run.sh" "$BUILD_DIR/Kairon.exe" "$@"
