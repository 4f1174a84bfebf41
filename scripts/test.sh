#!/usr/bin/env bash
# Set-up as scripts/setup.sh (which builds everything), the second compiler's build of the
# library and programs (scripts/clang-build.sh; KAIRON_SKIP_CLANG=1 leaves it out while
# iterating), then every test. Exits non-zero on any failure.
# Extra arguments go to ctest (for example -R strbuffer).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
[ "${KAIRON_SKIP_CLANG:-0}" = 1 ] || bash scripts/clang-build.sh
BUILD_DIR="${KAIRON_BUILD_DIR:-build}"
source scripts/display.sh
ensure_display
cd "$BUILD_DIR"
# One wineserver serves the whole run: a test starting while an idle server shuts down
# would otherwise fail with a reset connection. A server still up (the prefix was just
# made) is let go first; if it stays (the program is open), tests use that one.
export WINEPREFIX="$PWD/wineprefix"
own_server=""
if wineserver -p 2>/dev/null || { timeout 20 wineserver -w; wineserver -p 2>/dev/null; }; then
  own_server=1
fi
# Wine's background services start with the first program and keep its output open; start
# them here, away from ctest's pipes, or ctest waits on them until the test times out.
./wine-run.sh cmd /c exit </dev/null >/dev/null 2>&1 || true
# A test program that crashes must fail its test, not wait for a person: Wine's crash
# dialog would keep the debugger (and with it ctest's output pipe) open until CI gives up.
./wine-run.sh reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
  </dev/null >/dev/null 2>&1 || true
# Xvfb runs without a window manager, yet Wine waits up to two seconds for one each time
# it hides a managed window: every test window would take about 4 s to release. The test
# prefix lets Wine place its windows itself, as a window manager would.
./wine-run.sh reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
  </dev/null >/dev/null 2>&1 || true
trap '[ -n "$own_server" ] && wineserver -k 2>/dev/null; [ -n "${KAIRON_XVFB_PID:-}" ] && kill "$KAIRON_XVFB_PID" 2>/dev/null; true' EXIT
ctest --output-on-failure -j "$(nproc)" "$@"
