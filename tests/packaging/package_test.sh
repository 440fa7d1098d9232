#!/usr/bin/env bash
# The Debian package as a user meets it: lintian finds nothing, it installs into a temporary
# root, its commands answer, its manual pages render, and removing it takes the program's own
# autostart entry for all users (and nothing else) with it.
#   tests/packaging/package_test.sh BUILD/tarvik_4.0_amd64.deb
# Exit status 77: it cannot run here (no lintian, not root) and says why.
set -euo pipefail

deb=$(readlink -f "${1:?usage: package_test.sh PACKAGE.deb}")
for tool in lintian dpkg dpkg-deb man appstreamcli; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing (scripts/install-deps.sh)"; exit 77; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

echo "== lintian"
# Lintian refuses to run as root without this; it reads the package only.
lintian --allow-root --fail-on error,warning --tag-display-limit 0 "$deb" ||
  fail "lintian reports errors or warnings"

echo "== AppStream metadata"
dpkg-deb -x "$deb" "$work/unpacked"
appstreamcli validate --no-net "$work/unpacked"/usr/share/metainfo/*.metainfo.xml

[ "$(id -u)" -eq 0 ] || { echo "SKIP: installing into a temporary root needs root"; exit 77; }

root="$work/root"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/triggers"
touch "$root/var/lib/dpkg/status"
# The scripts run outside the root with DPKG_ROOT set, as they must honour it; the root has
# none of the package's dependencies.
dpkg_root() {
  dpkg --root="$root" --force-script-chrootless --force-depends --log=/dev/null "$@" >/dev/null
}

echo "== install"
dpkg_root -i "$deb"
for file in usr/bin/tarvik usr/bin/tarvik-line usr/bin/tarvik-report usr/libexec/tarvik/tarvik \
  usr/libexec/tarvik/libtarvik-audio.so usr/share/applications/tarvik.desktop \
  usr/share/icons/hicolor/scalable/apps/tarvik.svg usr/share/doc/tarvik/copyright \
  usr/share/doc/tarvik/changelog.gz; do
  [ -f "$root/$file" ] || fail "$file is not installed"
done
for size in 16 22 24 32 48 64 128 256; do
  icon="$root/usr/share/icons/hicolor/${size}x$size/apps/tarvik.png"
  [ "$(file -b "$icon" | grep -o "$size x $size")" = "$size x $size" ] || fail "no ${size}px icon"
done

echo "== manual pages"
for page in tarvik tarvik-line tarvik-report; do
  gz="$root/usr/share/man/man1/$page.1.gz"
  text=$(MANWIDTH=80 man --warnings -l "$gz" 2>"$work/man.err")
  [ ! -s "$work/man.err" ] || fail "$page(1) warns: $(cat "$work/man.err")"
  for section in NAME SYNOPSIS DESCRIPTION FILES EXAMPLES; do
    grep -q "^$section" <<<"$text" || fail "$page(1) has no $section"
  done
  grep -q "local/share/Tarvik" <<<"$text" || fail "$page(1) does not name the data folder"
done

echo "== commands"
home="$work/home"
mkdir -p "$home"
run() { env -u DISPLAY -u WAYLAND_DISPLAY HOME="$home" XDG_DATA_HOME= "$@"; }
run "$root/usr/bin/tarvik" --version | grep -qx "tarvik 4.0" || fail "tarvik --version"
run "$root/usr/bin/tarvik" --help | grep -q "^Usage: tarvik" || fail "tarvik --help"
run "$root/usr/bin/tarvik-line" --help | grep -q "local/share/Tarvik" || fail "tarvik-line --help"
run "$root/usr/bin/tarvik-report" --help | grep -q "local/share/Tarvik" ||
  fail "tarvik-report --help"
[ ! -e "$home/.local" ] || fail "help or version made a data folder"

echo "== removal and the autostart entry for all users"
autostart="$root/etc/xdg/autostart/Tarvik.desktop"
mkdir -p "${autostart%/*}"
# What the program writes for all users when started through the installed launcher.
own_entry() {
  printf '%s\n' "[Desktop Entry]" "Type=Application" "Name=Tarvik" \
    "Comment=Dial-up connection time and cost meter" 'Exec="/usr/bin/tarvik" /auto' \
    "Icon=tarvik" "Terminal=false" "X-GNOME-Autostart-enabled=true" >"$autostart"
}
own_entry
dpkg_root -r tarvik
[ ! -e "$autostart" ] || fail "remove left the program's autostart entry"
[ ! -e "$root/usr/bin/tarvik" ] || fail "remove left the launcher"

# An entry of the same name that starts something else is not the package's to remove.
dpkg_root -i "$deb"
own_entry
sed -i 's|^Exec=.*|Exec="/opt/other/tarvik" /auto|' "$autostart"
dpkg_root -P tarvik
[ -f "$autostart" ] || fail "purge removed an autostart entry that is not the program's"
rm -f "$autostart"
rmdir -p "${autostart%/*}" 2>/dev/null || true

# Nothing of the package is left outside dpkg's own database.
left=$(cd "$root" && find . -mindepth 1 ! -path "./var/lib/dpkg*" ! -path ./var/lib ! -path ./var)
[ -z "$left" ] || fail "purge left: $left"
! dpkg-query --root="$root" -W tarvik >/dev/null 2>&1 || fail "dpkg still knows the package"
echo "PASS"
