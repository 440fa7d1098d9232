#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need.
# Idempotent: packages already present are left alone, and apt is not touched at all
# when nothing is missing.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ ccache pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-multimedia-dev libxcb1-dev libx11-dev
  # Qt's own Russian texts (the buttons of message boxes)
  qt6-translations-l10n
  # tests and benchmarks
  libgtest-dev libgmock-dev googletest libbenchmark-dev python3 python3-dbusmock dbus
  # a display for headless runs, window manager, tray host and notification daemon
  xvfb xauth icewm xcompmgr dunst xdotool x11-utils x11-xserver-utils imagemagick libnotify-bin
  # the desktop opener, printing, and the fonts that stand in for the skins' Windows fonts
  xdg-utils cups-client fonts-liberation
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq "${missing[@]}"
