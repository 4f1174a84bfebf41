# Sourced by the run and test commands: makes sure windows have a display.
# Without DISPLAY it starts a private Xvfb on a free display number and stops it on exit.
ensure_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local n
  for n in $(seq 90 130); do
    { [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; } && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    KAIRON_XVFB_PID=$!
    trap 'kill "$KAIRON_XVFB_PID" 2>/dev/null || true' EXIT
    export DISPLAY=":$n"
    local _
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    echo "No DISPLAY set: using a private Xvfb on $DISPLAY"
    return 0
  done
  echo "No free display number for Xvfb" >&2
  return 1
}
