#!/usr/bin/env bash
# Velto in an X11 session with an XEmbed tray: Xvfb with trayer, checked from outside the
# app with xdotool and the X properties: the icon docks, a left click opens the popover as
# a fixed-size utility window anchored under the icon, Escape dismisses the first-run tip
# and then closes it, a right click opens the menu and its "Quit Velto" ends the app.
#   tests/app/xembed-session.sh <velto>
# Exit status 77 (skipped) only where Xvfb or trayer is missing.
set -euo pipefail

skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*"; cat "$session/velto.log"; exit 1; }
note() { echo "-- $*"; }

if [ -z "${VELTO_SESSION_INNER:-}" ]; then
  [ $# -eq 1 ] || { echo "usage: $0 <velto>"; exit 2; }
  for tool in Xvfb trayer xdotool xprop xwininfo dbus-run-session; do
    command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/install-deps.sh installs it)"
  done
  exec env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY -u DBUS_SESSION_BUS_ADDRESS \
    VELTO_SESSION_INNER=1 VELTO="$(realpath "$1")" dbus-run-session -- bash "$0"
fi

session=$(mktemp -d /tmp/velto-xembed.XXXXXX)
export HOME=$session/home XDG_RUNTIME_DIR=$session/runtime DO_NOT_TRACK=1
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share VELTO_ANALYTICS_HOST=http://127.0.0.1:9
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$session"
}
trap cleanup EXIT
until_ok() {
  local tenths=$1; shift
  for ((i = 0; i < tenths; i++)); do "$@" && return 0; sleep 0.1; done
  return 1
}

Xvfb -displayfd 5 -screen 0 1280x800x24 -nolisten tcp 5>"$session/display" >/dev/null 2>&1 &
pids+=($!)
until_ok 100 test -s "$session/display" || fail "Xvfb did not start"
export DISPLAY=:$(cat "$session/display")
trayer --edge top --align right --widthtype request --height 24 --SetDockType true >/dev/null 2>&1 &
pids+=($!)
until_ok 50 eval 'xwininfo -root -tree | grep -q "\"panel\""' || fail "trayer did not start"

QT_QPA_PLATFORM=xcb "$VELTO" >"$session/velto.log" 2>&1 &
velto=$!
pids+=("$velto")
# Velto's windows that are mapped, as "id width height x y".
shown() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$velto" 2>/dev/null); do
    xwininfo -id "$id" | awk -v id="$id" '/Absolute upper-left X/ {x = $4} /Absolute upper-left Y/ {y = $4}
      /Width:/ {w = $2} /Height:/ {h = $2} END {print id, w, h, x, y}'
  done
}
sized() { shown | awk -v w="$1" -v h="$2" '$2 == w && $3 == h' | head -n 1; }

until_ok 100 eval '[ -n "$(sized 22 22)" ]' || fail "the tray icon did not dock in trayer"
read -r _ _ _ icon_x icon_y <<<"$(sized 22 22)"
note "the icon docked at $icon_x,$icon_y"

xdotool mousemove $((icon_x + 11)) $((icon_y + 11)) click 1
until_ok 50 eval '[ -n "$(sized 320 540)" ]' || fail "a left click showed no 320 x 540 popover: $(shown)"
read -r popover x y <<<"$(sized 320 540 | cut -d' ' -f1,4,5)"
# Centred under the icon and kept on the screen: at the right edge, six pixels below the tray.
[ "$x" -eq 960 ] && [ "$y" -eq $((icon_y + 22 + 6)) ] || fail "the popover is at $x,$y, not under the icon"
xprop -id "$popover" _NET_WM_WINDOW_TYPE | grep -q _NET_WM_WINDOW_TYPE_UTILITY ||
  fail "the popover is no utility window: $(xprop -id "$popover" _NET_WM_WINDOW_TYPE)"
hints=$(xprop -id "$popover" WM_NORMAL_HINTS)
grep -q "minimum size: 320 by 540" <<<"$hints" && grep -q "maximum size: 320 by 540" <<<"$hints" ||
  fail "the popover's size is not fixed: $hints"
note "the popover: a fixed-size utility window at $x,$y"
# On a fresh profile the first-run tip is the innermost overlay: Escape dismisses it first.
sleep 1 # the tip opens with the popover's first showing
xdotool key Escape
sleep 0.5
[ -n "$(sized 320 540)" ] || fail "Escape closed the popover under the first-run tip"
xdotool key Escape
until_ok 30 eval '[ -z "$(sized 320 540)" ]' || fail "Escape did not close the popover"

xdotool mousemove $((icon_x + 11)) $((icon_y + 11)) click 1
until_ok 50 eval '[ -n "$(sized 320 540)" ]' || fail "the popover did not open again"
sleep 0.5
xdotool click 3
until_ok 30 eval '[ -z "$(sized 320 540)" ]' || fail "the menu left the popover open"
until_ok 30 eval '[ "$(shown | wc -l)" -ge 2 ]' || fail "a right click showed no menu"
note "the menu: $(shown | grep -v ' 22 22 ' | cut -d' ' -f2-3 | tr ' ' x)"
xdotool key Up Return # the last entry: "Quit Velto"
until_ok 50 eval '! kill -0 "$velto" 2>/dev/null' || fail "\"Quit Velto\" did not end Velto"
status=0
wait "$velto" || status=$?
[ "$status" -lt 128 ] || fail "Velto ended with status $status"
echo "PASS"
