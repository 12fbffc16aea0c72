#!/usr/bin/env bash
# Measures the application as a user runs it: under Xvfb with the trayer tray host and
# a private session bus, on a fresh profile.
#   bench/app/measure-app.sh [build dir]        (default: build)
# Reports: time from exec to the tray icon being mapped (median of 5 starts), resident
# memory with only the tray icon, CPU over 60 s idle and over 60 s with a focus interval
# counting down and the popover closed, time from a click on the icon to the popover
# being mapped (first opening), and memory and CPU over 30 s with the popover shown.
# CPU is in clock ticks of /proc/PID/stat (utime + stime; 100 ticks = 1 s of one core).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd)
velto=$build/src/app/velto
[ -x "$velto" ] || { echo "measure-app: build Velto first ($velto is missing)"; exit 1; }

if [ -z "${VELTO_MEASURE_INNER:-}" ]; then
  work=$(mktemp -d)
  trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
  cc -O2 -o "$work/map-time" "$here/map-time.c" -lX11
  # Xvfb picks a free display itself and writes its number to the pipe.
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 & xvfb=$!
  while [ ! -s "$work/display" ]; do sleep 0.1; done
  DISPLAY=:$(cat "$work/display") VELTO_MEASURE_INNER=1 MAP_TIME="$work/map-time" WORK="$work" \
    dbus-run-session -- "$0" "$build"
  exit
fi

export XDG_RUNTIME_DIR=$WORK/runtime DO_NOT_TRACK=1
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
trayer --edge top --align right --widthtype request --height 24 --SetDockType true >/dev/null 2>&1 &
tray=$!
sleep 1

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# Resident memory in MB, with its anonymous (heap, stacks) and file-backed (libraries, fonts) parts.
rss_mb() {
  awk '/^VmRSS/ {r = $2} /^RssAnon/ {a = $2} /^RssFile/ {f = $2} /^RssShmem/ {s = $2}
       END {printf "%.1f (anonymous %.1f, files %.1f, shared %.1f)", r / 1024, a / 1024, f / 1024, s / 1024}' \
    "/proc/$1/status"
}
fresh_profile() {
  rm -rf "$WORK/profile"
  export XDG_CONFIG_HOME=$WORK/profile/config XDG_DATA_HOME=$WORK/profile/data
}
# Only the Velto this script started is ended: a user's own may be running.
pid=
stop_velto() {
  [ -n "$pid" ] || return 0
  kill "$pid" 2>/dev/null || true
  # Started by map-time, it is no child of ours: wait until it is gone or a zombie.
  while [ -e "/proc/$pid" ] && [ "$(awk '{print $3}' "/proc/$pid/stat" 2>/dev/null)" != Z ]; do sleep 0.1; done
  pid=
}
trap 'stop_velto; kill $tray 2>/dev/null || true' EXIT

echo "== start to tray icon (ms, 5 starts, fresh profile each)"
times=()
for i in 1 2 3 4 5; do
  fresh_profile
  result=$("$MAP_TIME" 16 16 "$velto")
  times+=("$(echo "$result" | awk '{print $1}')")
  pid=$(echo "$result" | awk '{print $NF}')
  sleep 2
  stop_velto
done
printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "   runs: %s\n   median: %s ms\n", a[1]" "a[2]" "a[3]" "a[4]" "a[5], a[3]}'

fresh_profile
"$velto" >/dev/null 2>&1 & pid=$!
sleep 3
echo "== only the tray icon"
echo "   resident memory: $(rss_mb "$pid") MB"
a=$(ticks "$pid"); sleep 60; b=$(ticks "$pid")
echo "   CPU over 60 s idle: $((b - a)) ticks"

# The icon sits at the tray's right end; its centre is 1268,12 on a 1280-wide screen.
echo "== first popover opening (click to mapped)"
echo "   $("$MAP_TIME" 300 500 xdotool mousemove 1268 12 click 1)"
sleep 1
echo "   resident memory, popover shown: $(rss_mb "$pid") MB"
xdotool mousemove 1120 195 click 1   # "Got it!" on the first-run colour tip
sleep 0.5
xdotool mousemove 1120 317 click 1   # play
sleep 1
a=$(ticks "$pid"); sleep 30; b=$(ticks "$pid")
echo "   CPU over 30 s, popover shown, focus interval running: $((b - a)) ticks"
xdotool key Escape
sleep 1
echo "   resident memory, popover hidden again: $(rss_mb "$pid") MB"
a=$(ticks "$pid"); sleep 60; b=$(ticks "$pid")
echo "== CPU over 60 s, focus interval running, popover closed: $((b - a)) ticks"
