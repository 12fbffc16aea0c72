#!/usr/bin/env bash
# Installs every Debian 12 package Velto needs to build, test and run.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build pkg-config git ca-certificates
  clang libclang-rt-14-dev clang-format clang-tidy
  # Qt 6.4
  qt6-base-dev qt6-base-dev-tools qt6-declarative-dev qt6-declarative-dev-tools
  qt6-tools-dev qt6-l10n-tools qt6-svg-dev qt6-qpa-plugins
  # Qt Quick's accessible item, whose disabled state the views add (src/ui/QuickAccessibility.cpp)
  qt6-declarative-private-dev
  qml6-module-qtqml qml6-module-qtqml-models qml6-module-qtqml-workerscript
  qml6-module-qtquick qml6-module-qtquick-controls qml6-module-qtquick-templates
  qml6-module-qtquick-layouts qml6-module-qtquick-shapes qml6-module-qtquick-window
  qml6-module-qttest
  # fonts the interface uses: a rounded face and monospaced digits
  fonts-quicksand fonts-jetbrains-mono
  # libraries
  nlohmann-json3-dev libcurl4-openssl-dev zlib1g-dev libutfcpp-dev libcanberra-dev libdbus-1-dev
  # GSettings for GNOME's notification banners, X11's screensaver extension for idle time
  libglib2.0-dev libx11-dev libxss-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev libcpp-httplib-dev
  dbus dbus-x11 libglib2.0-bin xvfb xauth xdotool trayer dunst x11-utils imagemagick
  # a Wayland session for tests: a tiling compositor, a bar that hosts tray items, screenshots
  sway waybar grim qt6-wayland jq
  # the accessibility bus and a client that walks it from outside the process
  at-spi2-core python3-pyatspi
  # stand-ins for desktop services, and GNOME's settings schemas with a real settings store
  python3 python3-gi gir1.2-glib-2.0 gsettings-desktop-schemas dconf-gsettings-backend
  # the bus tools, a media player controller and the desktop-file and metainfo checkers
  libglib2.0-bin systemd playerctl appstream desktop-file-utils file
)

# npm installs the icon set (package.json); Debian's npm is enough where none is present.
command -v npm >/dev/null 2>&1 || packages+=(nodejs npm)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

install_npm_assets() {
  local root
  root=$(cd "$(dirname "$0")/.." && pwd)
  if [ ! -f "$root/node_modules/@phosphor-icons/core/package.json" ]; then
    echo "install-deps: installing the icon set from npm"
    (cd "$root" && npm ci --no-audit --no-fund --loglevel=error)
  fi
}

if [ ${#missing[@]} -eq 0 ]; then
  install_npm_assets
  echo "install-deps: all ${#packages[@]} packages present"
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
install_npm_assets
