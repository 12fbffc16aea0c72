#!/usr/bin/env bash
# Runs Velto as a user would, under Xvfb with the trayer tray host and a private session
# bus, clicks through the tray item and the popover with xdotool and saves screenshots.
#   scripts/screenshots.sh [build dir] [output dir]     (defaults: build, screenshots)
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
out=$(mkdir -p "${2:-screenshots}" && cd "${2:-screenshots}" && pwd)
velto=$build/src/app/velto
calmix=$build/tests/support/fake-calmix
[ -x "$velto" ] || { echo "screenshots: build Velto first ($velto is missing)"; exit 1; }

if [ -z "${VELTO_SHOTS_INNER:-}" ]; then
  work=$(mktemp -d)
  trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
  display=:$((200 + RANDOM % 300))
  Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 & xvfb=$!
  sleep 1
  DISPLAY=$display VELTO_SHOTS_INNER=1 WORK="$work" dbus-run-session -- "$0" "$build" "$out"
  echo "screenshots: saved in $out"
  ls -1 "$out"/*.png
  exit
fi

export XDG_RUNTIME_DIR=$WORK/runtime DO_NOT_TRACK=1
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
trayer --edge top --align right --widthtype request --height 24 --SetDockType true >/dev/null 2>&1 &
sleep 1

# The popover opens under the icon at the right end of the tray: its top left is 960,29.
px() { echo $((960 + $1)); }
py() { echo $((29 + $1)); }
click() { xdotool mousemove "$(px "$1")" "$(py "$2")" click 1; sleep "${3:-0.6}"; }
icon() { xdotool mousemove 1268 12 click "${1:-1}"; sleep 1.2; }
shot_popover() { import -window root -crop 320x540+960+29 "$out/$1.png"; }
shot_tray() { import -window root -crop 70x26+1210+0 "$WORK/tray.png"; convert "$WORK/tray.png" -scale 400% "$out/$1.png"; }
profile() {
  pkill -x velto || true; while pgrep -x velto >/dev/null; do sleep 0.1; done
  rm -rf "$WORK/profile"; mkdir -p "$WORK/profile/config/velto"
  export XDG_CONFIG_HOME=$WORK/profile/config XDG_DATA_HOME=$WORK/profile/data
  [ -z "${1:-}" ] || printf '%s' "$1" > "$XDG_CONFIG_HOME/velto/preferences.json"
  "$velto" >/dev/null 2>&1 &
  sleep 2
}

profile
shot_tray tray-idle-focus
icon
shot_popover popover-color-tip
click 160 166                         # Got it!
shot_popover popover-idle-focus
click 230 33                          # the Break tab
shot_popover popover-idle-break
shot_tray tray-idle-break
xdotool mousemove "$(px 230)" "$(py 33)" mousedown 1; sleep 0.8; xdotool mouseup 1; sleep 0.6
shot_popover popover-color-picker
xdotool key Escape; sleep 0.5
click 100 33                          # back to Focus
click 112 444                         # the tag button
shot_popover popover-tag-picker
click 160 298                         # Deep Work
shot_popover popover-tag-chosen
xdotool mousemove "$(px 202)" "$(py 506)"; sleep 1.2
shot_popover popover-sync-calmix-not-running
"$calmix" >/dev/null 2>&1 & calmix_pid=$!
sleep 5.5                             # the detector looks every five seconds
xdotool mousemove "$(px 160)" "$(py 300)"; sleep 0.3; xdotool mousemove "$(px 202)" "$(py 506)"; sleep 1.2
shot_popover popover-sync-calmix-running
kill $calmix_pid
xdotool key Escape; sleep 0.5
icon 3                                # right click: the menu, never the popover
import -window root -crop 400x160+880+0 "$out/tray-context-menu.png"
xdotool key Escape; sleep 0.5

# A 20-second focus interval, shot half-way.
profile '{"workDuration": 20.0, "colorTipDismissed": true}'
icon
click 160 288 10.3                    # play, then ten seconds
shot_popover popover-running-half
shot_tray tray-running
xdotool key Escape; sleep 3           # hidden for three seconds: reopened, it shows the time left now
icon
sleep 0.6
shot_popover popover-reopened
click 160 444 2                       # Insights: the popover closes, a dashboard opens
import -window root "$out/dashboard-from-popover.png"
pkill -x velto || true
