#!/usr/bin/env bash
# The desktop install as a user or a distribution gets it: `cmake --install` puts every
# file where the desktop looks for it, the launcher and metainfo pass their validators,
# and the Debian package unpacked into an empty tree starts from there.
#   test-install.sh <build-dir>
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

echo "--- cmake --install"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
share=$prefix/share
for file in bin/velto \
            share/applications/studio.murv.Velto.desktop \
            share/metainfo/studio.murv.Velto.metainfo.xml \
            share/icons/hicolor/scalable/apps/studio.murv.Velto.svg \
            share/icons/hicolor/48x48/apps/studio.murv.Velto.png \
            share/icons/hicolor/256x256/apps/studio.murv.Velto.png \
            share/dbus-1/services/studio.murv.Velto.service \
            share/dbus-1/interfaces/studio.murv.Velto.Timer.xml; do
  [[ -s $prefix/$file ]] || fail "$file is not installed"
done
# The bus starts the binary that was installed, wherever the prefix is.
grep -qx "Exec=$prefix/bin/velto" "$share/dbus-1/services/studio.murv.Velto.service" \
  || fail "the D-Bus service does not start $prefix/bin/velto"
file "$share/icons/hicolor/48x48/apps/studio.murv.Velto.png" | grep -q "48 x 48" \
  || fail "the 48x48 icon has another size"

echo "--- validators"
desktop-file-validate "$share/applications/studio.murv.Velto.desktop"
appstreamcli validate --no-net --explain "$share/metainfo/studio.murv.Velto.metainfo.xml"

echo "--- Debian package"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/deb" >/dev/null
deb=$(ls "$work"/deb/velto_*.deb)
dpkg-deb --info "$deb" >/dev/null
depends=$(dpkg-deb --field "$deb" Depends)
for needed in libqt6quick6 qml6-module-qtquick fonts-quicksand; do
  [[ $depends == *"$needed"* ]] || fail "the package does not depend on $needed: $depends"
done
root=$work/root
dpkg-deb --extract "$deb" "$root"
[[ $(stat -c %a "$root/usr/bin/velto") == 755 ]] || fail "/usr/bin/velto is not executable"
grep -qx "Exec=/usr/bin/velto" "$root/usr/share/dbus-1/services/studio.murv.Velto.service" \
  || fail "the packaged D-Bus service does not start /usr/bin/velto"

# Started from the unpacked tree, in a home of its own: every window loads.
home=$work/home
mkdir -p "$home"
HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share DO_NOT_TRACK=1 \
  QT_QPA_PLATFORM=offscreen "$root/usr/bin/velto" --self-test
echo "--- installed and started"
