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
  # make fuzz: clang with libFuzzer and the sanitizers' runtimes
  clang libclang-rt-14-dev
  # a display for headless runs, window manager, tray host and notification daemon
  xvfb xauth icewm xcompmgr dunst xdotool x11-utils x11-xserver-utils imagemagick libnotify-bin
  # desktops without a tray or the window hints, and a Wayland session with and without X11
  twm weston xwayland qt6-wayland
  # the desktop opener, printing, and the fonts that stand in for the skins' Windows fonts
  xdg-utils cups-client fonts-liberation
  # the Debian package's checks: its linter, the AppStream validator, man to render its pages
  lintian appstream man-db
)

# The real-network fixture of the end-to-end tests (tests/e2e/nm_fixture.py) runs these only
# inside its own namespaces. They come without their recommendations (ModemManager,
# wpa_supplicant, ppp) and with services kept from starting, so that installing them leaves
# this machine's network as it was.
network_packages=(network-manager network-manager-openvpn openvpn openssl iproute2 util-linux)
# `make test-vm` (scripts/test-vm.sh) asks for these too with --vm: the emulator, a static
# busybox for the machine's first process, and pppd with its PPPoE server, which run inside
# the machine from this machine's root file system.
if [ "${1:-}" = "--vm" ]; then
  network_packages+=(qemu-system-x86 busybox-static cpio ppp pppoe procps)
fi

missing_of() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
  done
}
mapfile -t missing < <(missing_of "${packages[@]}")
mapfile -t network_missing < <(missing_of "${network_packages[@]}")
[ ${#missing[@]} -eq 0 ] && [ ${#network_missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get install -y -qq "${missing[@]}"
fi
if [ ${#network_missing[@]} -gt 0 ]; then
  echo "Installing (services kept from starting): ${network_missing[*]}"
  # A policy-rc.d that answers 101 tells the packages' scripts not to start their services;
  # one already there is left as it is.
  policy=/usr/sbin/policy-rc.d
  if [ ! -e "$policy" ]; then
    printf '#!/bin/sh\nexit 101\n' | $sudo tee "$policy" >/dev/null
    $sudo chmod 755 "$policy"
    trap '$sudo rm -f "$policy"' EXIT
  fi
  $sudo apt-get install -y -qq --no-install-recommends "${network_missing[@]}"
  # Nor at the next boot: this machine did without them so far.
  if command -v systemctl >/dev/null; then
    $sudo systemctl --quiet disable NetworkManager.service NetworkManager-wait-online.service \
      NetworkManager-dispatcher.service openvpn.service pppd-dns.service 2>/dev/null || true
  fi
  if command -v update-rc.d >/dev/null; then
    $sudo update-rc.d openvpn disable >/dev/null 2>&1 || true
  fi
fi
