#!/usr/bin/env bash
# Screenshots for the README: both built-in skins in both modes while a connection is metered,
# the tray menu and a balloon. Runs the real program on the simulated line inside a virtual X
# display with icewm (window manager and tray) and dunst (desktop notifications).
#
#   tools/screenshots.sh [BUILD_DIR]        (default: build; output: docs/screenshots/)
#
# TARVIK_BIN and TARVIK_LINE override the binaries, OUT the output folder.
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$ROOT/build}
BIN=${TARVIK_BIN:-$BUILD/tarvik}
LINE=${TARVIK_LINE:-$BUILD/tarvik-line}
OUT=${OUT:-$ROOT/docs/screenshots}
SCREEN_DISPLAY=${SCREEN_DISPLAY:-:91}
for tool in Xvfb icewm dunst xdotool import convert dbus-daemon; do
  command -v "$tool" >/dev/null || { echo "missing $tool (bash scripts/install-deps.sh)" >&2; exit 1; }
done
[ -x "$BIN" ] && [ -x "$LINE" ] || { echo "build tarvik and tarvik-line first" >&2; exit 1; }

WORK=$(mktemp -d)
PIDS=()
cleanup() {
  for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$WORK"
}
trap cleanup EXIT

export DISPLAY=$SCREEN_DISPLAY
Xvfb "$DISPLAY" -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1 &
PIDS+=($!)
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
# A session bus of our own for the notification daemon.
dbus-daemon --session --fork --print-address=3 --print-pid=4 3>"$WORK/bus.address" 4>"$WORK/bus.pid"
DBUS_SESSION_BUS_ADDRESS=$(cat "$WORK/bus.address")
export DBUS_SESSION_BUS_ADDRESS
PIDS+=("$(cat "$WORK/bus.pid")")
export XDG_RUNTIME_DIR=$WORK/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
# A plain blue-grey desktop, so that the shaped outline shows.
export ICEWM_PRIVCFG=$WORK/icewm
mkdir -p "$ICEWM_PRIVCFG"
printf 'DesktopBackgroundColor="rgb:5b/7a/99"\nDesktopBackgroundImage=""\nTaskBarShowWorkspaces=0\n' \
  >"$ICEWM_PRIVCFG/preferences"
icewm >/dev/null 2>&1 &
PIDS+=($!)
dunst >/dev/null 2>&1 &
PIDS+=($!)
sleep 1
xsetroot -solid '#5b7a99' 2>/dev/null || true
mkdir -p "$OUT"

# A program folder of its own with the simulated line and the chosen skin; prints the pid.
start_program() {
  local dir=$1 skin=$2 size=$3
  mkdir -p "$dir"
  cp "$BIN" "$dir/tarvik"
  printf '[Olm:TK]\r\nO=1\r\nX=270\r\nY=200\r\nFade=0\r\nIcon=%s\r\n[Olm:TK:Skin]\r\nSkinExternal=0\r\nSkinName=%s\r\nSkinSize=%s\r\n[Provider]\r\nDone=1\r\nAccountDisplay=0\r\n' \
    "${4:-0}" "$skin" "$size" >"$dir/TarvikC.Kfg"
  "$LINE" "$dir" add Provider >/dev/null
  (cd "$dir" && exec ./tarvik >/dev/null 2>&1) &
  echo $!
}

stop_program() {
  kill "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}

# Waits until the status window is mapped.
wait_window() {
  for _ in $(seq 100); do
    xdotool search --onlyvisible --name '^Tarvik$' >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  return 0
}

for skin in Advanced Default; do
  for size in 0 1; do
    mode=$([ "$size" = 1 ] && echo full || echo compact)
    dir=$WORK/$skin-$mode
    pid=$(start_program "$dir" "$skin" "$size")
    wait_window
    "$LINE" "$dir" dial Provider --auth 1 >/dev/null
    sleep 5
    # The window at (270, 200), enlarged four times so that every pixel of the texts shows.
    import -window root "$WORK/root.png"
    convert "$WORK/root.png" -crop 120x70+260+190 +repage -filter point -resize 400% \
      "$OUT/status-$(echo "$skin" | tr '[:upper:]' '[:lower:]')-$mode.png"
    if [ "$skin" = Advanced ] && [ "$size" = 0 ]; then
      # The identification and connection balloons come through dunst.
      "$LINE" "$dir" hangup >/dev/null
      sleep 2
      "$LINE" "$dir" dial Provider --auth 1 >/dev/null
      sleep 2.5
      import -window root "$WORK/root.png"
      convert "$WORK/root.png" -crop 640x200+0+0 +repage "$OUT/balloon.png"
      # The tray menu, opened on the status window (it is also its context menu).
      xdotool mousemove 300 212 click 3
      sleep 0.5
      # Open the submenu of the entry in use (the fifth item that can be chosen while online).
      xdotool key Down Down Down Down Right
      sleep 1
      import -window root "$OUT/tray-menu.png"
      xdotool key Escape
    fi
    stop_program "$pid"
  done
done
ls -l "$OUT"
