#!/usr/bin/env bash
# Renders every dashboard section and the popover's states to PNG files for review:
#   scripts/dashboard-screenshots.sh [folder] [build folder]
# The folder defaults to build-screenshots/dashboard-png. Four scenarios run (SCENARIOS
# picks some), each in its own process on a private session bus (Calmix "runs" by owning
# its name there):
#   empty  - a fresh history: Insights, Tags, Integrations, Settings, the menu
#   rich   - twelve weeks of generated history: streak, every heat-map shade,
#            tags, the Manage panel in rename mode and its dialogs, Calmix
#            running and connected
#   stress - 100,000 records (some in the future) and 500 tags with long,
#            emoji and right-to-left names; prints how long each step held
#            the window
#   dialogs - "About Velto" and the update results, each in its own window
# With LANGUAGE=de (or another language Velto speaks) the pictures are in that language.
#   popover - the popover's overlays, a running, a paused and a break interval
# Set DISPLAY_MODE=xvfb to render under Xvfb instead of Qt's offscreen platform.
# Set VELTO_SHOTS_PLAIN_BACKGROUND=1 to leave out the animated backgrounds (for comparing builds).
set -euo pipefail
cd "$(dirname "$0")/.."
build=${2:-build-screenshots}
out=${1:-$build/dashboard-png}

if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" --target dashboard_screenshots -j 2
tool=$build/tests/ui/dashboard_screenshots
mkdir -p "$out"

run() {
  if [ "${DISPLAY_MODE:-offscreen}" = xvfb ]; then
    QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1400x1000x24" dbus-run-session -- "$tool" "$@"
  else
    QT_QPA_PLATFORM=offscreen dbus-run-session -- "$tool" "$@"
  fi
}

for scenario in ${SCENARIOS:-empty rich stress popover dialogs}; do
  echo "=== $scenario"
  run "$scenario" "$out"
done
echo "PNG files in $out"
