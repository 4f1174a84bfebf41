#!/usr/bin/env bash
# Set-up as scripts/setup.sh, building only the two programs (Kairon.exe and kairon-cli.exe
# beside it), then starts Kairon under Wine. The tests and benchmarks are the test command's.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh Kairon kairon-cli
BUILD_DIR="${KAIRON_BUILD_DIR:-build}"
source scripts/display.sh
ensure_display

# Wine turns the names of files dropped from the host desktop into Windows text through the
# locale: without a UTF-8 one (nothing set, or C/POSIX) every non-ASCII name arrives garbled.
locale_of_process="${LC_ALL:-${LC_CTYPE:-${LANG:-}}}"
case "$locale_of_process" in
  "" | C | POSIX)
    utf8_locale=""
    for candidate in C.UTF-8 C.utf8 en_US.UTF-8 en_US.utf8; do
      if locale -a 2>/dev/null | grep -qix "$candidate"; then
        utf8_locale="$candidate"
        break
      fi
    done
    export LC_ALL="${utf8_locale:-C.UTF-8}"
    ;;
esac

"$BUILD_DIR/wine-run.sh" "$BUILD_DIR/Kairon.exe" "$@"
