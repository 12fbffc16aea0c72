#!/usr/bin/env bash
# Runs the Wayland session test (headless sway, waybar as the tray host) and keeps its
# screenshots, taken with grim: the tray item and module while a focus interval runs, the
# popover, the popover at 200 %, the window standing in for a missing tray, and the tray
# item that comes with the bar.
#   scripts/sway-screenshots.sh [build dir] [output dir]     (defaults: build, screenshots/sway)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" && pwd)
out=$(mkdir -p "${2:-screenshots/sway}" && cd "${2:-screenshots/sway}" && pwd)
velto=$build/src/app/velto
[ -x "$velto" ] || { echo "sway-screenshots: build Velto first ($velto is missing)"; exit 1; }
"$root/tests/app/sway-session.sh" "$velto" "$out"
echo "sway-screenshots: saved in $out"
ls -1 "$out"/*.png
