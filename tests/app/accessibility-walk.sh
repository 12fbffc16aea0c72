#!/usr/bin/env bash
# Starts Velto as a screen-reader user would meet it, under Xvfb (no tray, so the popover
# shows as a window) with a private session bus and its accessibility bus, on a profile
# with one tagged session today and a 200-character tag, and walks it from outside the
# process with accessibility_walk.py.
#   accessibility-walk.sh <velto executable>
set -euo pipefail
velto=$1
here=$(cd "$(dirname "$0")" && pwd)
for tool in Xvfb dbus-run-session /usr/libexec/at-spi-bus-launcher; do
  command -v "$tool" >/dev/null || { echo "accessibility walk: $tool is missing (scripts/install-deps.sh)"; exit 1; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "accessibility walk: python3-pyatspi is missing"; exit 1; }

if [ -z "${VELTO_WALK_INNER:-}" ]; then
  work=$(mktemp -d)
  trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 & xvfb=$!
  while [ ! -s "$work/display" ]; do sleep 0.1; done
  DISPLAY=:$(cat "$work/display") VELTO_WALK_INNER=1 WORK="$work" dbus-run-session -- "$0" "$velto"
  exit
fi

export XDG_RUNTIME_DIR=$WORK/runtime XDG_CONFIG_HOME=$WORK/config XDG_DATA_HOME=$WORK/data
export DO_NOT_TRACK=1 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 LANGUAGE=en TZ=UTC QT_QPA_PLATFORM=xcb
mkdir -p "$XDG_RUNTIME_DIR" "$XDG_CONFIG_HOME/velto" "$XDG_DATA_HOME/Velto"
chmod 700 "$XDG_RUNTIME_DIR"
long=$(printf 'W%.0s' $(seq 200))
cat > "$XDG_CONFIG_HOME/velto/preferences.json" <<JSON
{ "colorTipDismissed": true, "veltoCustomTags": ["$long"], "veltoCurrentSessionTag": "$long" }
JSON
# One focus interval a minute ago and one yesterday; dates count from 2001-01-01 UTC.
now=$(( $(date +%s) - 978307200 ))
cat > "$XDG_DATA_HOME/Velto/sessions.json" <<JSON
[{"id":"6F1C5C2E-6A0B-4C34-9D5E-1B1C2D3E4F50","date":$((now - 60)),"duration":1500,"type":"focus","completedFully":true,"tag":"Deep Work"},
 {"id":"6F1C5C2E-6A0B-4C34-9D5E-1B1C2D3E4F51","date":$((now - 86400)),"duration":1500,"type":"focus","completedFully":true,"tag":"$long"}]
JSON

/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 & bus=$!
velto_pid=
trap 'kill $velto_pid $bus 2>/dev/null || true' EXIT
sleep 1
"$velto" >"$WORK/velto.log" 2>&1 & velto_pid=$!
status=0
/usr/bin/python3 "$here/accessibility_walk.py" || status=$?
[ $status -eq 0 ] || { echo "--- velto's output"; cat "$WORK/velto.log"; }
exit $status
