#!/usr/bin/env bash
# The program in a desktop's tray: the real program on an Xvfb display under
# openbox, with trayer as the panel's tray, driven by xdotool.
#
#   tray_session.sh VARNEK_BINARY SERVER_SCRIPT [tray|notray]
#
# tray: the switch "Beim Schließen im Infobereich bleiben" is turned on
# through the menu; the window manager's close (Alt+F4) only hides the
# window, a click on the tray icon brings it back, the tray menu's
# "Beenden" ends the program.
# notray: no tray on the desktop; with the switch stored on, Alt+F4 still
# ends the program, as it always did.
#
# With VARNEK_X11_SHOTS set to a folder, a screenshot of the open tray menu
# is written there. Exit status 0 when every step passed, 77 when a tool is
# missing.
set -uo pipefail

VARNEK=$1
SERVER=$2
MODE=${3:-tray}

for tool in Xvfb xdotool xwininfo xprop openbox trayer; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool not installed"; exit 77; }
done

WORK=$(mktemp -d /tmp/varnek-tray.XXXXXX)
. "$(dirname "$0")/gemeinsam.sh"
x() { DISPLAY=":$DPY" xdotool "$@"; }
keys() { x key --delay 60 "$@"; sleep 0.3; }
visible() { x search --onlyvisible --name 'Varnek-5-VX' 2>/dev/null | head -1; }
alive() { kill -0 "$PID" 2>/dev/null; }
shown() { test -n "$(visible)"; }
hidden() { test -z "$(visible)"; }
has_icon() { test -n "$(icon_geometry)"; }

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$WORK/dpy" >/dev/null 2>&1 &
PIDS+=($!)
until_ok 50 test -s "$WORK/dpy" || fail "Xvfb did not start"
DPY=$(head -1 "$WORK/dpy")
DISPLAY=":$DPY" XDG_CONFIG_HOME="$WORK/wm-config" openbox >"$WORK/wm.out" 2>&1 &
PIDS+=($!)
until_ok 100 sh -c "DISPLAY=:$DPY xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'" \
  || fail "openbox did not start"
if [ "$MODE" = tray ]; then
  DISPLAY=":$DPY" trayer --edge top --align right --widthtype request --height 32 \
    --SetDockType true --expand false --transparent false >"$WORK/trayer.out" 2>&1 &
  PIDS+=($!)
  until_ok 100 sh -c "DISPLAY=:$DPY xwininfo -root -tree | grep -q '\"panel\"'" \
    || fail "trayer did not start"
fi

mkdir -p "$WORK/server" "$WORK/prog" "$WORK/config"
/usr/bin/python3 "$SERVER" --root "$WORK/server" --ftp-port 0 --http-port 0 \
  >"$WORK/server.out" 2>"$WORK/server.err" &
PIDS+=($!)
until_ok 100 grep -q READY "$WORK/server.out" || fail "local server did not start"
read -r _ ftp http <"$WORK/server.out"
printf 'Hallo\r\n' >"$WORK/server/localhost/vx/stillbox/vxvx/test/Gast.txt"
[ "$MODE" = notray ] && printf 'True\r\n' >"$WORK/prog/Infobereich"

DISPLAY=":$DPY" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$WORK" XDG_CONFIG_HOME="$WORK/config" \
  "$VARNEK" --folder "$WORK/prog" --host localhost --ftp-port "${ftp#ftp=}" \
  --http-port "${http#http=}" --mute --watch test >"$WORK/varnek.out" 2>"$WORK/varnek.err" &
PID=$!
PIDS+=("$PID")
until_ok 100 shown || fail "no contact window"
W=$(visible)
x windowactivate --sync "$W"
sleep 0.5

if [ "$MODE" = notray ]; then
  keys alt+F4
  until_ok 100 sh -c "! kill -0 $PID" || fail "Alt+F4 without a tray left the program running"
  wait "$PID"; rc=$?
  [ "$rc" -eq 0 ] || fail "exit status $rc"
  echo "ok: without a tray Alt+F4 ends the program (switch stored on)"
  exit 0
fi

# The tray icon: the program's window embedded in trayer's panel.
icon_geometry() {
  DISPLAY=":$DPY" xwininfo -root -tree |
    awk '/"panel"/ { p = 1 } p && /"varnek": \("varnek" "varnek"\)/ { print $(NF-1), $NF; exit }'
}
until_ok 100 has_icon || fail "no icon in the tray"
read -r size pos <<<"$(icon_geometry)"
IFS=x read -r iw ih <<<"$size"
IFS=+ read -r _ ix iy <<<"$pos"
ICON_X=$((ix + iw / 2)); ICON_Y=$((iy + ih / 2))
echo "ok: the icon is in the tray at $ICON_X,$ICON_Y"

# The switch through the menu: Alt+F, up past "Mit der Anmeldung starten".
keys alt+f
keys Up Up Return
until_ok 50 grep -q True "$WORK/prog/Infobereich" || fail "the tray switch was not stored"
echo "ok: the switch is stored"

keys alt+F4
until_ok 50 hidden || fail "Alt+F4 did not hide the window"
sleep 1
alive || fail "the program ended although it should stay in the tray"
echo "ok: Alt+F4 hides the window, the program stays"

x mousemove "$ICON_X" "$ICON_Y" click 1
until_ok 100 shown || fail "a click on the tray icon did not bring the window back"
echo "ok: a click on the tray icon shows the window again"

keys alt+F4
until_ok 50 hidden || fail "Alt+F4 did not hide the window again"
x mousemove "$ICON_X" "$ICON_Y" click 3
sleep 1
if [ -n "${VARNEK_X11_SHOTS:-}" ] && command -v import >/dev/null; then
  mkdir -p "$VARNEK_X11_SHOTS"
  DISPLAY=":$DPY" import -window root "$VARNEK_X11_SHOTS/tray-menu.png" 2>/dev/null
fi
# Up from no entry: the last one, "Beenden".
keys Up Return
until_ok 100 sh -c "! kill -0 $PID" || fail "the tray menu's Beenden did not end the program"
wait "$PID"; rc=$?
[ "$rc" -eq 0 ] || fail "exit status $rc"
echo "ok: Beenden in the tray menu ends the program"
