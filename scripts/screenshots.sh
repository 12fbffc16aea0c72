#!/usr/bin/env bash
# Runs Velto as a user would, under Xvfb with the trayer tray host and a private session
# bus, clicks through the tray item and the popover with xdotool, then walks the popover
# and a dashboard with the keyboard alone, and saves screenshots.
#   scripts/screenshots.sh [build dir] [output dir]     (defaults: build, screenshots)
# Settings from the environment:
#   LANGUAGE=de     the language Velto is shown in (default: en)
#   SCALE=2         draws at 200 % on a 2560 × 1600 screen (default: 1, 1280 × 800)
#   KEYBOARD=0      skips the keyboard walk (the mouse part alone)
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
out=$(mkdir -p "${2:-screenshots}" && cd "${2:-screenshots}" && pwd)
velto=$build/src/app/velto
calmix=$build/tests/support/fake-calmix
[ -x "$velto" ] || { echo "screenshots: build Velto first ($velto is missing)"; exit 1; }
scale=${SCALE:-1}

if [ -z "${VELTO_SHOTS_INNER:-}" ]; then
  work=$(mktemp -d)
  trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
  # Xvfb picks a free display itself and writes its number to the pipe.
  Xvfb -displayfd 3 -screen 0 $((1280 * scale))x$((800 * scale))x24 -nolisten tcp \
    3>"$work/display" >/dev/null 2>&1 & xvfb=$!
  while [ ! -s "$work/display" ]; do sleep 0.1; done
  DISPLAY=:$(cat "$work/display") VELTO_SHOTS_INNER=1 WORK="$work" dbus-run-session -- "$0" "$build" "$out"
  echo "screenshots: saved in $out"
  ls -1 "$out"/*.png
  exit
fi

export XDG_RUNTIME_DIR=$WORK/runtime DO_NOT_TRACK=1 LANGUAGE=${LANGUAGE:-en}
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
[ "$scale" = 1 ] || export QT_SCALE_FACTOR=$scale
trayer --edge top --align right --widthtype request --height $((24 * scale)) --SetDockType true \
  >/dev/null 2>&1 & tray=$!
velto_pid=
calmix_pid=
trap 'kill $tray $velto_pid $calmix_pid 2>/dev/null || true' EXIT
sleep 1

screen_width=$((1280 * scale))
# The popover opens under the icon at the right end of the tray; points below are in the
# popover's own coordinates at 100 %.
popover_x=$((screen_width - 320 * scale))
popover_y=$((29 * scale))
px() { echo $((popover_x + $1 * scale)); }
py() { echo $((popover_y + $1 * scale)); }
click() { xdotool mousemove "$(px "$1")" "$(py "$2")" click 1; sleep "${3:-0.6}"; }
key() { xdotool key "$@"; sleep 0.25; }
icon() { xdotool mousemove $((screen_width - 12 * scale)) $((12 * scale)) click "${1:-1}"; sleep 1.2; }
shot_popover() {
  import -window root -crop $((320 * scale))x$((540 * scale))+$popover_x+$popover_y "$out/$1.png"
  mogrify +repage "$out/$1.png"
}
shot_tray() {
  import -window root -crop $((70 * scale))x$((26 * scale))+$((screen_width - 70 * scale))+0 "$WORK/tray.png"
  convert "$WORK/tray.png" -scale $((400 / scale))% "$out/$1.png"
}
# The largest Velto window on screen: the dashboard once it is open.
shot_window() {
  local id best=0 best_id=""
  for id in $(xdotool search --onlyvisible --pid "$velto_pid" 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$id")"
    if [ $((WIDTH * HEIGHT)) -gt "$best" ]; then best=$((WIDTH * HEIGHT)); best_id=$id; fi
  done
  [ -n "$best_id" ] && import -window "$best_id" "$out/$1.png"
}
stop_velto() {
  [ -n "$velto_pid" ] || return 0
  kill "$velto_pid" 2>/dev/null || true
  wait "$velto_pid" 2>/dev/null || true
  velto_pid=
}
profile() {
  stop_velto
  rm -rf "$WORK/profile"; mkdir -p "$WORK/profile/config/velto"
  export XDG_CONFIG_HOME=$WORK/profile/config XDG_DATA_HOME=$WORK/profile/data
  [ -z "${1:-}" ] || printf '%s' "$1" > "$XDG_CONFIG_HOME/velto/preferences.json"
  "$velto" >/dev/null 2>&1 & velto_pid=$!
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
xdotool mousemove "$(px 112)" "$(py 444)"; sleep 1.2
shot_popover popover-tag-tooltip      # the tip over the tag button...
click 112 444                         # ...gives way to the tag picker it opens
shot_popover popover-tag-picker
click 160 298                         # Deep Work
shot_popover popover-tag-chosen
xdotool mousemove "$(px 202)" "$(py 506)"; sleep 1.2
shot_popover popover-sync-calmix-not-running
"$calmix" >/dev/null 2>&1 & calmix_pid=$!
sleep 5.5                             # the detector looks every five seconds
xdotool mousemove "$(px 160)" "$(py 300)"; sleep 0.3; xdotool mousemove "$(px 202)" "$(py 506)"; sleep 1.2
shot_popover popover-sync-calmix-running
kill $calmix_pid; calmix_pid=
xdotool key Escape; sleep 0.5
icon 3                                # right click: the menu, never the popover
import -window root -crop $((400 * scale))x$((160 * scale))+$((screen_width - 400 * scale))+0 \
  "$out/tray-context-menu.png"
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
# The daily goal: three of eight focus intervals done today.
today=$(date -u +%Y-%m-%dT%H:%M:%S.000Z)
profile '{"colorTipDismissed": true, "veltoDailyGoalOn": true, "veltoDailyGoal": 8, "dailySessions": 3,
  "totalFocusTimeToday": 4500.0, "lastSessionDate": {"$date": "'"$today"'"}}'
icon
shot_popover popover-daily-goal

[ "${KEYBOARD:-1}" = 1 ] || exit 0

# The keyboard alone: the pointer rests in a corner, away from every control, and each
# shot shows the ring on the control the keyboard is on.
profile '{"colorTipDismissed": true}'
icon
xdotool mousemove 0 $((799 * scale)); sleep 0.3
key Tab                               # the tab bar
shot_popover keyboard-popover-tabs
key Right                             # on the Break tab, not chosen yet
shot_popover keyboard-popover-tabs-break
key Left Tab Right                    # the 50-minute chip
shot_popover keyboard-popover-preset
key Tab                               # play
shot_popover keyboard-popover-play
key Tab Return                        # the tag button opens the picker on its first tag
sleep 0.6
key Down Down
shot_popover keyboard-popover-tag-picker
key Return                            # Creative, and the picker closes
sleep 0.6
key space                             # Space starts the interval wherever the keyboard is
sleep 1
key shift+Tab shift+Tab               # play, then the tabs (the chips are locked while running)
key Right Return                      # Break: the interval is discarded...
key shift+Tab                         # ...and Shift+Tab reaches the Undo in the note
shot_popover keyboard-popover-undo
key Return                            # back, paused where it was
sleep 0.4
key space                             # running again; the keyboard is on no control
key Tab Tab Tab Tab Tab Tab Tab Tab   # tabs, play, tag, Insights, Settings, Skip, +5, Auto
shot_popover keyboard-popover-auto-switch
key Tab
shot_popover keyboard-popover-sync
key Tab
shot_popover keyboard-popover-reset
key Return                            # reset: idle again, so the lengths can change
key Escape                            # the popover closes; opened again, the keyboard starts afresh
sleep 0.5
icon
xdotool mousemove 0 $((799 * scale)); sleep 0.3
key Tab Tab Tab Tab Tab               # tabs, chips, play, tag, Insights
shot_popover keyboard-popover-insights
key Return                            # the dashboard opens on Insights
sleep 1.5
key Tab                               # the sections
shot_window keyboard-dashboard-insights
key Down Return                       # Tags
sleep 0.6
shot_window keyboard-dashboard-tags
key Tab Tab Tab                       # past the footer to the panel switch
shot_window keyboard-dashboard-tags-panel
key Right Return                      # Manage
sleep 0.6
key Tab                               # Add Tag
shot_window keyboard-dashboard-tags-manage
key Return                            # the Add Tag dialog, on its text field
sleep 0.4
xdotool type --delay 60 "Garden"; sleep 0.3
shot_window keyboard-dashboard-add-dialog
key Return                            # added, and in sight
sleep 0.6
shot_window keyboard-dashboard-tag-added
key Tab Tab Tab Tab Tab Tab Tab Tab Tab
shot_window keyboard-dashboard-tag-buttons
key shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab
key shift+Tab shift+Tab shift+Tab shift+Tab  # back to the sections
key Down Return                       # Integrations
sleep 0.6
key Tab Tab Tab
shot_window keyboard-dashboard-integrations
key shift+Tab shift+Tab shift+Tab Down Return   # Settings
sleep 0.6
key Tab Tab Tab
shot_window keyboard-dashboard-settings
key Up
shot_window keyboard-dashboard-settings-minutes
key Tab Tab                           # past the break's length to the auto-start switch
shot_window keyboard-dashboard-settings-switch
key Tab                               # the cycle's first field
shot_window keyboard-dashboard-settings-cycle
key Tab Tab                           # the daily goal's switch
shot_window keyboard-dashboard-settings-goal
key Tab Tab Tab                       # past the notifications to the first command
xdotool type --delay 40 "true"; sleep 0.3
shot_window keyboard-dashboard-settings-command
key Tab                               # its Test button, enabled by the text
shot_window keyboard-dashboard-settings-test
key ctrl+q
sleep 1
stop_velto
