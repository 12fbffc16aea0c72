#!/usr/bin/env bash
# Drives the running application over the session bus and watches its resident memory:
# rounds of blocking calls to the timer (Toggle, Start, Pause in turn), no window open,
# under Xvfb with the trayer tray host and a private session bus, on a fresh profile.
#   bench/app/measure-bus-memory.sh [build dir] [rounds] [calls per round]
#                                   (defaults: build, 11, 10000)
# Prints resident memory after start-up and after each round. Bounded memory means that
# after the first round the remaining ones add (next to) nothing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd)
rounds=${2:-11}
calls=${3:-10000}
velto=$build/src/app/velto
[ -x "$velto" ] || { echo "measure-bus-memory: build Velto first ($velto is missing)"; exit 1; }

if [ -z "${VELTO_MEASURE_INNER:-}" ]; then
  work=$(mktemp -d)
  trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
  cc -O2 -o "$work/bus-calls" "$here/bus-calls.c" $(pkg-config --cflags --libs dbus-1)
  # Xvfb picks a free display itself and writes its number to the pipe.
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 & xvfb=$!
  while [ ! -s "$work/display" ]; do sleep 0.1; done
  DISPLAY=:$(cat "$work/display") VELTO_MEASURE_INNER=1 BUS_CALLS="$work/bus-calls" WORK="$work" \
    dbus-run-session -- "$0" "$build" "$rounds" "$calls"
  exit
fi

export XDG_RUNTIME_DIR=$WORK/runtime DO_NOT_TRACK=1
export XDG_CONFIG_HOME=$WORK/profile/config XDG_DATA_HOME=$WORK/profile/data
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
trayer --edge top --align right --widthtype request --height 24 --SetDockType true >/dev/null 2>&1 &
tray=$!
"$velto" >/dev/null 2>&1 &
pid=$!
trap 'kill $pid $tray 2>/dev/null || true' EXIT
sleep 3

rss_kb() { awk '/^VmRSS/ {print $2}' "/proc/$pid/status"; }
mb() { awk -v kb="$1" 'BEGIN {printf "%.1f", kb / 1024}'; }

start=$(rss_kb)
echo "resident memory after start-up: $(mb "$start") MB"
first=
for round in $(seq 1 "$rounds"); do
  took=$("$BUS_CALLS" "$calls")
  sleep 1 # let the last changes be drawn
  now=$(rss_kb)
  [ -n "$first" ] || first=$now
  echo "round $round ($took): $(mb "$now") MB"
done
echo "growth over the rounds after the first: $(mb $((now - first))) MB"
kill $pid
wait $pid || true
