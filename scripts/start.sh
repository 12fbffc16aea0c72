#!/usr/bin/env bash
# Installs what is needed, builds Velto and starts it. Where there is no display to start
# it on (a server, a container), it says so and shows Velto working instead: under Xvfb
# with a tray host, saving screenshots of the tray item, the popover and a dashboard.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "start: no X11 or Wayland display here, so Velto runs under Xvfb with a tray host instead"
  cmake --build build -j "$(nproc)" --target velto fake-calmix
  out=$PWD/screenshots/showcase
  rm -rf "$out"
  scripts/screenshots.sh build "$out" >/dev/null
  echo "start: screenshots of the tray item, the popover and a dashboard are in $out"
  exit 0
fi
cmake --build build -j "$(nproc)" --target velto
exec build/src/app/velto "$@"
