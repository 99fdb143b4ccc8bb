#!/usr/bin/env bash
# Accessibility of the real program: on a private X display and a private
# session bus with the AT-SPI bus, zugaenglichkeit.py walks every window's
# accessible tree and presses Tab through it (tests/x11/README.md).
#
#   zugaenglichkeit.sh VARNEK_BINARY [openbox]
#
# Exit status 0 when every check passed, 77 when a tool is missing.
set -uo pipefail

VARNEK=$1
WM=${2:-}
HIER=$(cd "$(dirname "$0")" && pwd)
ATSPI=/usr/libexec/at-spi-bus-launcher

for tool in Xvfb xdotool dbus-run-session ${WM:+$WM xprop}; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed"; exit 77; }
done
[ -x "$ATSPI" ] || { echo "SKIP: at-spi2-core not installed"; exit 77; }
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "SKIP: python3-pyatspi not installed"; exit 77; }

WORK=$(mktemp -d /tmp/varnek-a11y.XXXXXX)
PIDS=()
cleanup() {
  for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$WORK"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$WORK/dpy" >/dev/null 2>&1 &
PIDS+=($!)
for _ in $(seq 50); do [ -s "$WORK/dpy" ] && break; sleep 0.1; done
[ -s "$WORK/dpy" ] || { echo "FAIL: Xvfb did not start"; exit 1; }
export DISPLAY=":$(head -1 "$WORK/dpy")"
if [ -n "$WM" ]; then
  XDG_CONFIG_HOME="$WORK/wm-config" openbox >"$WORK/wm.out" 2>&1 &
  PIDS+=($!)
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
  done
  export VARNEK_WM=$WM
fi

mkdir -p "$WORK/folder"
# Bell window alert: two beeps once (no message box).
printf 'False\r\nFalse\r\nTrue\r\n' >"$WORK/folder/Kling"
export WORK VARNEK HIER ATSPI
# The session bus, the accessibility bus and the program live and end with
# the walker.
dbus-run-session -- bash -c '
  "$ATSPI" --launch-immediately >"$WORK/atspi.out" 2>&1 &
  ATSPI_PID=$!
  QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 QT_QPA_PLATFORM=xcb \
    XDG_RUNTIME_DIR="$WORK" "$VARNEK" --folder "$WORK/folder" --mute \
    >"$WORK/varnek.out" 2>"$WORK/varnek.err" &
  VARNEK_PID=$!
  /usr/bin/python3 "$HIER/zugaenglichkeit.py"
  RC=$?
  kill "$VARNEK_PID" "$ATSPI_PID" 2>/dev/null
  wait 2>/dev/null
  exit $RC
' 2> >(grep -v "Failed to set fd limit" >&2)
RC=$?
[ "$RC" = 0 ] || { echo "--- varnek stderr"; tail -20 "$WORK/varnek.err"; }
exit "$RC"
