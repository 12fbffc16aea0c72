#!/usr/bin/env bash
# Velto in a real Wayland session: a headless sway with waybar as the StatusNotifierItem
# host and a waybar module that follows Velto, checked from outside the app with the bus
# and sway's own tools.
#   tests/app/sway-session.sh <velto> [screenshot folder]
# Exit status 77 (skipped) only where sway or waybar cannot run at all. sway refuses to
# run as root: as root, the session runs as the unprivileged user velto-session.
set -euo pipefail

skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAIL: $*"; exit 1; }
note() { echo "-- $*"; }

if [ -z "${VELTO_SESSION_INNER:-}" ]; then
  [ $# -ge 1 ] || { echo "usage: $0 <velto> [screenshot folder]"; exit 2; }
  velto=$(realpath "$1")
  shots=${2:+$(mkdir -p "$2" && realpath "$2")}
  for tool in sway swaymsg waybar grim busctl jq dbus-run-session; do
    command -v "$tool" >/dev/null || skip "$tool is not installed (scripts/install-deps.sh installs it)"
  done
  work=$(mktemp -d /tmp/velto-sway.XXXXXX)
  trap 'rm -rf "$work"' EXIT
  chmod 755 "$work"
  cp "$0" "$work/session.sh"
  run=()
  if [ "$(id -u)" -eq 0 ]; then
    user=velto-session
    if ! id -u "$user" >/dev/null 2>&1; then
      useradd --system --create-home --home-dir "/var/lib/$user" --shell /usr/sbin/nologin "$user" ||
        skip "cannot create the user $user to run sway as"
    fi
    # The program must be reachable for that user; a build tree that is not gets copied.
    if ! runuser -u "$user" -- test -x "$velto"; then
      install -m 755 "$velto" "$work/velto"
      velto=$work/velto
    fi
    chown "$user" "$work"
    [ -z "$shots" ] || chown "$user" "$shots"
    run=(runuser -u "$user" --)
  fi
  # The app under test talks to a real compositor, whatever the test run chose for others.
  exec "${run[@]}" env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY -u DBUS_SESSION_BUS_ADDRESS \
    VELTO_SESSION_INNER=1 WORK="$work" VELTO="$velto" SHOTS="$shots" \
    dbus-run-session -- bash "$work/session.sh"
fi

# ---- inside the session, as an ordinary user, on a private session bus ----
session=$(mktemp -d "$WORK/session.XXXXXX")
export HOME=$session/home XDG_RUNTIME_DIR=$session/runtime
export XDG_CONFIG_HOME=$HOME/.config XDG_DATA_HOME=$HOME/.local/share XDG_CACHE_HOME=$HOME/.cache
mkdir -p "$HOME" "$XDG_CONFIG_HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
export WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 WLR_HEADLESS_OUTPUTS=1
export NO_AT_BRIDGE=1 GTK_A11Y=none DO_NOT_TRACK=1 VELTO_ANALYTICS_HOST=http://127.0.0.1:9

pids=()
cleanup() {
  for pid in "${pids[@]}" $(cat "$session/followers" 2>/dev/null); do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
}
trap cleanup EXIT

# Waits up to $1 tenths of a second for the command after it to succeed.
until_ok() {
  local tenths=$1; shift
  for ((i = 0; i < tenths; i++)); do "$@" && return 0; sleep 0.1; done
  return 1
}
alive() { kill -0 "$1" 2>/dev/null; }
shot() { [ -z "$SHOTS" ] || grim "$SHOTS/$1.png"; }

cat > "$session/sway.conf" <<EOF
xwayland disable
output HEADLESS-1 resolution 1280x800 position 0,0 bg #94a3b8 solid_color
default_border pixel 2
EOF
# The module as the README gives it, with a copy of what it hands waybar for the test.
cat > "$session/module.sh" <<EOF
#!/bin/sh
sh -c 'echo \$\$ >> "$session/followers"; exec "$VELTO" status --format waybar --follow' | tee --output-error=exit -a "$session/module.log"
EOF
chmod +x "$session/module.sh"
cat > "$session/waybar.json" <<EOF
{ "layer": "top", "position": "top", "height": 30,
  "modules-left": ["custom/velto"], "modules-right": ["tray"],
  "tray": { "icon-size": 22, "spacing": 6 },
  "custom/velto": { "exec": "$session/module.sh", "return-type": "json", "format": "Velto {}" } }
EOF
cat > "$session/waybar.css" <<EOF
* { font-family: sans-serif; font-size: 14px; }
window#waybar { background: #1e293b; color: #f8fafc; }
#custom-velto { padding: 0 10px; } #custom-velto.work { background: #fda4af; color: #18181b; }
#tray { padding: 0 6px; }
EOF

sway -c "$session/sway.conf" >"$session/sway.log" 2>&1 &
sway_pid=$!
pids+=("$sway_pid")
if ! until_ok 100 eval 'ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock >/dev/null 2>&1 && [ -S "$XDG_RUNTIME_DIR/wayland-1" ]'; then
  tail -5 "$session/sway.log"
  skip "sway cannot start here"
fi
SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock)
export SWAYSOCK WAYLAND_DISPLAY=wayland-1

watcher=(org.kde.StatusNotifierWatcher /StatusNotifierWatcher org.kde.StatusNotifierWatcher)
host_ready() {
  [ "$(busctl --user get-property "${watcher[@]}" IsStatusNotifierHostRegistered 2>/dev/null)" = "b true" ]
}
waybar_pid=
start_waybar() {
  waybar -c "$session/waybar.json" -s "$session/waybar.css" >>"$session/waybar.log" 2>&1 &
  waybar_pid=$!
  pids+=("$waybar_pid")
  until_ok 100 host_ready
}
stop_waybar() {
  kill "$waybar_pid"
  wait "$waybar_pid" 2>/dev/null || true
}
start_waybar || { tail -5 "$session/waybar.log"; skip "waybar cannot start here"; }
note "sway and waybar run"

# The line waybar was last given by the module.
module_line() { tail -n 1 "$session/module.log" 2>/dev/null; }
# jq 1.6 exits 0 on empty input: no line yet shows nothing.
module_shows() {
  local line
  line=$(module_line)
  [ -n "$line" ] && jq -e "$1" <<<"$line" >/dev/null 2>&1
}
countdown='(.text | test("^[0-9]{2}:[0-9]{2}$")) and .class == "work"'
stopped='.text == "" and .class == "stopped" and (.tooltip | test("not running"))'

until_ok 50 module_shows "$stopped" || fail "the module does not say Velto is not running: $(module_line)"
note "the module waits for Velto: $(module_line)"

velto_pid=
start_velto() {
  QT_QPA_PLATFORM=wayland "$VELTO" >>"$session/velto.log" 2>&1 &
  velto_pid=$!
  pids+=("$velto_pid")
}
# The bus name of Velto's tray item, from the items registered with the watcher.
item=
find_item() {
  item=
  local entry service owner
  for entry in $(busctl --user --json=short get-property "${watcher[@]}" RegisteredStatusNotifierItems |
    jq -r '.data[]'); do
    service=${entry%%/*}
    owner=$(busctl --user --json=short call org.freedesktop.DBus /org/freedesktop/DBus org.freedesktop.DBus \
      GetConnectionUnixProcessID s "$service" 2>/dev/null | jq -r '.data[0]')
    if [ "$owner" = "$velto_pid" ]; then
      item=$service
      return 0
    fi
  done
  return 1
}
stop_velto_by_menu() {
  local menu layout quit
  menu=$(busctl --user --json=short get-property "$item" /StatusNotifierItem org.kde.StatusNotifierItem Menu | jq -r .data)
  [ "$menu" != /NO_DBUSMENU ] || fail "the tray item exports no menu"
  busctl --user call "$item" "$menu" com.canonical.dbusmenu AboutToShow i 0 >/dev/null
  layout=$(busctl --user --json=short -- call "$item" "$menu" com.canonical.dbusmenu GetLayout iias 0 -1 0)
  labels=$(jq -c '[.data[1][2][].data | select(.[1].label) | .[1].label.data]' <<<"$layout")
  [ "$labels" = '["Check for Updates...","Auto Updates","Quit Velto"]' ] || fail "the tray menu holds $labels"
  note "the tray menu over dbusmenu: $labels"
  quit=$(jq '.data[1][2][].data | select(.[1].label.data == "Quit Velto") | .[0]' <<<"$layout")
  busctl --user call "$item" "$menu" com.canonical.dbusmenu Event isvu "$quit" clicked s "" 0
  until_ok 100 eval '! alive "$velto_pid"' || fail "\"Quit Velto\" did not end Velto"
  local status=0
  wait "$velto_pid" || status=$?
  [ "$status" -lt 128 ] || fail "Velto ended with status $status after \"Quit Velto\""
}
# The popover as sway has it: the window of Velto's process, as JSON.
velto_window() {
  swaymsg -t get_tree | jq -c --argjson pid "$velto_pid" \
    '[recurse(.nodes[]?, .floating_nodes[]?) | select(.pid == $pid and .visible)] | first // empty
     | {floating: (.type == "floating_con"), width: .geometry.width, height: .geometry.height, rect}'
}
# Velto's window, once it is up: floating at its fixed size, or the test fails with what it is.
expect_floating_window() {
  sleep "$1"
  window=$(velto_window)
  jq -e '.floating and .width == 320 and .height == 540' <<<"$window" >/dev/null ||
    fail "$2 is not a floating 320 x 540 window: $window"
}
activate() { busctl --user call "$item" /StatusNotifierItem org.kde.StatusNotifierItem Activate ii 0 0; }

# 1. Velto starts after the bar: the item registers, the module follows, the menu quits.
start_velto
until_ok 200 find_item || fail "Velto's tray item never registered with org.kde.StatusNotifierWatcher"
note "the tray item registered as $item"
until_ok 50 module_shows '.class == "idle"' || fail "the module does not follow Velto: $(module_line)"
"$VELTO" start
until_ok 30 module_shows "$countdown" || fail "the module shows no countdown: $(module_line)"
note "the module shows $(module_line)"
shot tray-running
stop_velto_by_menu
until_ok 50 module_shows "$stopped" || fail "the module does not say Velto quit: $(module_line)"
follower=$(head -n 1 "$session/followers")
alive "$follower" || fail "the module's follower ended when Velto quit"

# 2. Started again: the same module follows again; Activate floats the fixed-size popover.
start_velto
until_ok 200 find_item || fail "the tray item did not register after a restart"
"$VELTO" start
until_ok 50 module_shows "$countdown" || fail "the module shows no countdown after a restart: $(module_line)"
[ "$(wc -l <"$session/followers")" -eq 1 ] || fail "waybar had to restart the module"
note "after a restart the module shows $(module_line)"
activate
until_ok 50 eval '[ -n "$(velto_window)" ]' || fail "Activate showed no window"
expect_floating_window 0.5 "the popover"
note "the popover: $window"
shot popover
# Losing the focus closes it, as a click elsewhere would.
swaymsg -q workspace 2
sleep 0.5
swaymsg -q workspace 1
until_ok 30 eval '[ -z "$(velto_window)" ]' || fail "the popover stayed open without the focus"

# 3. At 200 % on 1280 x 800 the popover shrinks to fit the 640 x 400 points.
swaymsg -q output HEADLESS-1 scale 2
sleep 1
activate
until_ok 50 eval '[ -n "$(velto_window)" ]' || fail "Activate showed no window at 200 %"
sleep 0.5
window=$(velto_window)
jq -e '.floating and .rect.y >= 0 and .rect.y + .rect.height <= 400 and .rect.x + .rect.width <= 640
       and .height < 540 and ((.width * 540 - .height * 320) | fabs) < 540' <<<"$window" >/dev/null ||
  fail "the popover does not fit the screen at 200 %: $window"
note "the popover at 200 %: $window"
shot popover-200-percent
activate
swaymsg -q output HEADLESS-1 scale 1

# 4. The tray host goes and comes back: the item registers again; the module's follower
# leaves with its bar and a new one follows at once.
stop_waybar
until_ok 50 eval '! alive "$follower"' || fail "the follower outlived its bar"
start_waybar || fail "waybar did not start again"
until_ok 200 find_item || fail "the tray item did not register with the new host"
until_ok 50 module_shows "$countdown" || fail "the new module shows no countdown: $(module_line)"
note "the item is back with the new host; the module shows $(module_line)"

# 5. Velto before any tray host: a floating window with the note, and the item once a bar comes.
stop_velto_by_menu
stop_waybar
start_velto
until_ok 100 eval '[ -n "$(velto_window)" ]' || fail "without a tray host Velto showed no window"
expect_floating_window 1 "the window without a tray"
grep -q '"veltoTrayNoteShown": *true' "$XDG_CONFIG_HOME/velto/preferences.json" ||
  fail "the note on trays was not remembered"
note "without a tray: $window"
shot no-tray-window
start_waybar || fail "waybar did not start again"
until_ok 200 find_item || fail "the tray item did not come with the first tray host"
shot tray-after-window
note "the item came with the bar"
echo "PASS"
