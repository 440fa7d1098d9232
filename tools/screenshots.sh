#!/usr/bin/env bash
# Screenshots for the README: both built-in skins in both modes while a connection is metered,
# the status window's tooltip online, the tray menu, a balloon, the settings dialog's tariff page
# and every page of the dialog. Runs the real program on the simulated line inside a virtual X
# display with icewm (window manager and tray) and dunst (desktop notifications).
#
#   tools/screenshots.sh [BUILD_DIR]        (default: build; output: docs/screenshots/)
#
# TARVIK_BIN and TARVIK_LINE override the binaries, OUT the output folder. Any step that fails
# ends the script with a message and a non-zero status: a missing shot must never pass unseen.
set -Eeuo pipefail
trap 'echo "tools/screenshots.sh: line $LINENO: \"$BASH_COMMAND\" failed" >&2' ERR

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$ROOT/build}
BIN=${TARVIK_BIN:-$BUILD/tarvik}
LINE=${TARVIK_LINE:-$BUILD/tarvik-line}
OUT=${OUT:-$ROOT/docs/screenshots}
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

# Starts a virtual display of SIZE on a display number nobody uses (a fixed number may be
# another server's, whose windows would then be shot) and sets the variable NAME to it.
start_display() {
  local name=$1 size=$2 file=$WORK/display-$1
  Xvfb -displayfd 5 -screen 0 "${size}x24" -nolisten tcp 5>"$file" 2>"$file.log" &
  PIDS+=($!)
  for _ in $(seq 100); do [ -s "$file" ] && break; sleep 0.1; done
  [ -s "$file" ] || { echo "Xvfb did not start:" >&2; cat "$file.log" >&2; return 1; }
  printf -v "$name" ':%s' "$(head -1 "$file")"
}

start_display SCREEN_DISPLAY 640x480
export DISPLAY=$SCREEN_DISPLAY
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

# The first visible window titled like the pattern, or nothing yet.
find_window() {
  LC_ALL=C.UTF-8 xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1 || true
}

# Waits until the status window is mapped.
wait_window() {
  for _ in $(seq 100); do
    [ -n "$(find_window '^Tarvik$')" ] && return 0
    sleep 0.1
  done
  echo "the status window never appeared on $DISPLAY" >&2
  return 1
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
# The status window's tooltip while online: the volume of a line with a rate, when the balance
# runs out and the day's next tariff change (at the next full hour).
(
  dir=$WORK/tooltip
  hour=$((10#$(date +%H) + 1))
  plan=""
  for d in 0 1 2 3 4 5 6; do
    plan+="Tar$d=2\r\nTar${d}x0ZH=$(printf %02d "$hour")\r\nTar${d}x0Cost=00800\r\nTar${d}x0Name=Day\r\n"
    plan+="Tar${d}x1AH=$(printf %02d "$hour")\r\nTar${d}x1Cost=01200\r\nTar${d}x1Name=Evening\r\n"
  done
  mkdir -p "$dir"
  cp "$BIN" "$dir/tarvik"
  printf "[Olm:TK]\r\nO=1\r\nX=270\r\nY=200\r\nFade=0\r\n[Provider]\r\nDone=1\r\nFreeTime=0\r\n$plan" \
    >"$dir/TarvikC.Kfg"
  printf '[Provider]\r\nAccount=25\r\n' >"$dir/TarvikA.Kfg"
  "$LINE" "$dir" add Provider >/dev/null
  (cd "$dir" && exec ./tarvik >/dev/null 2>&1) &
  pid=$!
  wait_window
  "$LINE" "$dir" dial Provider --auth 1 --rate 180000 >/dev/null
  sleep 6
  xdotool mousemove 300 212
  sleep 0.3
  xdotool mousemove 302 213
  sleep 2
  import -window root "$WORK/root.png"
  convert "$WORK/root.png" -crop 300x110+255+190 +repage -filter point -resize 200% \
    "$OUT/tooltip-online.png"
  stop_program "$pid"
)

# The settings dialog needs more room than the status window's screen: a second display of
# 1024 x 768 with its own window manager.
start_display DIALOG_DISPLAY 1024x768
DISPLAY=$DIALOG_DISPLAY icewm >/dev/null 2>&1 &
PIDS+=($!)
sleep 1

# Opens the settings dialog through the menu of the status window placed at (20, 20)
# ("Настройки", sixth item from the bottom), clicks the page button at (x, y) of the dialog
# and prints the dialog's window.
open_settings_page() {
  local x=$1 y=$2
  xdotool mousemove 40 30 click 3
  sleep 0.5
  xdotool key Up Up Up Up Up Up Return
  local win=""
  for _ in $(seq 50); do
    win=$(find_window '^Настройки')
    [ -n "$win" ] && break
    sleep 0.1
  done
  [ -n "$win" ] || { echo "the settings dialog did not open" >&2; return 1; }
  xdotool mousemove --window "$win" "$x" "$y" click 1
  sleep 0.5
  echo "$win"
}

# The tariff page: a day plan that leaves 23:00 - 23:59 uncovered, after the tester found it.
(
  export DISPLAY=$DIALOG_DISPLAY
  dir=$WORK/tariff
  plan=""
  for d in 0 1 2 3 4 5 6; do
    plan+="Tar$d=3\r\n"
    plan+="Tar${d}x0AH=00\r\nTar${d}x0ZH=08\r\nTar${d}x0Cost=00050\r\nTar${d}x0Name=Night\r\n"
    plan+="Tar${d}x1AH=08\r\nTar${d}x1ZH=18\r\nTar${d}x1ZM=30\r\nTar${d}x1Cost=00120\r\nTar${d}x1Name=Day\r\n"
    plan+="Tar${d}x2AH=18\r\nTar${d}x2AM=30\r\nTar${d}x2ZH=23\r\nTar${d}x2Cost=00090\r\nTar${d}x2Name=Evening\r\n"
  done
  mkdir -p "$dir"
  cp "$BIN" "$dir/tarvik"
  printf "[Olm:TK]\r\nO=1\r\nX=20\r\nY=20\r\nFade=0\r\nEntry=1\r\n[Provider]\r\nDone=1\r\n$plan" \
    >"$dir/TarvikC.Kfg"
  "$LINE" "$dir" add Provider >/dev/null
  (cd "$dir" && exec ./tarvik >/dev/null 2>&1) &
  pid=$!
  wait_window
  win=$(open_settings_page 128 100)
  # "ПРОТЕСТИРОВАТЬ ТАРИФ", then the error message is answered.
  xdotool mousemove --window "$win" 611 90 click 1
  sleep 2
  xdotool key Return
  sleep 0.5
  import -window "$win" "$OUT/settings-tariff.png"
  stop_program "$pid"
)

# Every page of the settings dialog at its own size, after a metered connection of the entry
# shown, whose statistics already hold some months of use and a week of connections (the graph
# on its traffic axis, up to 400 MB a day). The program says where its controls are
# (TARVIK_TEST_WIDGET_MAP), so each page button is clicked where it is; each shot includes the
# window manager's title bar.
(
  export DISPLAY=$DIALOG_DISPLAY
  dir=$WORK/pages
  map=$WORK/widgets.txt
  plan=""
  for d in 0 1 2 3 4 5 6; do
    plan+="Tar$d=2\r\nTar${d}x0AH=00\r\nTar${d}x0ZH=08\r\nTar${d}x0Cost=01200\r\nTar${d}x0Name=Ночь\r\n"
    plan+="Tar${d}x1AH=08\r\nTar${d}x1ZH=24\r\nTar${d}x1Cost=03600\r\nTar${d}x1Name=День\r\n"
  done
  week=""
  # Weekday: seconds, hundredths, connections, megabytes received and sent.
  for day in "0 5400 5210 2 180 12" "1 3605 3605 1 64 5" "2 6480 6275 3 240 20" \
    "3 1200 1200 1 15 2" "4 4544 4390 2 125 11" "5 2710 2710 1 50 4" "6 7020 6830 3 310 25"; do
    read -r d t f c rx tx <<<"$day"
    week+="Gr${d}t=$t\r\nGr${d}f=$f\r\nGr${d}c=$c\r\nGr${d}rx=$((rx << 20))\r\nGr${d}tx=$((tx << 20))\r\n"
  done
  volume=""
  for span in "TC 52 4" "PC 50 4" "TD 125 11" "PD 64 5" "TW 734 60" "PW 905 71" "TM 3072 256" \
    "PM 7168 600" "TT 92160 8192"; do
    read -r s rx tx <<<"$span"
    volume+="Rx$s=$((rx << 20))\r\nTx$s=$((tx << 20))\r\n"
  done
  mkdir -p "$dir"
  cp "$BIN" "$dir/tarvik"
  printf "[Olm:TK]\r\nO=1\r\nX=700\r\nY=120\r\nFade=0\r\nEntry=1\r\n[Provider]\r\nDone=1\r\nFreeTime=0\r\nGraphX=4\r\nGraph5=400\r\nGraphMax=400\r\n$plan" |
    iconv -f UTF-8 -t CP1251 >"$dir/TarvikC.Kfg"
  printf '[Provider]\r\nAccount=150\r\n' >"$dir/TarvikA.Kfg"
  printf "[Provider]\r\nTimeTC=1834\r\nTimePC=2710\r\nTimeTD=4544\r\nTimePD=3605\r\nTimeTW=20112\r\nTimePW=25870\r\nTimeTM=71245\r\nTimePM=190455\r\nTimeTT=1296733\r\nMoneyTC=1834\r\nMoneyPC=2710\r\nMoneyTD=4390\r\nMoneyPD=3605\r\nMoneyTW=19635\r\nMoneyPW=25112\r\nMoneyTM=70120\r\nMoneyPM=181200\r\nMoneyTT=1213390\r\nCountTD=2\r\nCountPD=1\r\nCountTW=9\r\nCountPW=12\r\nCountTM=31\r\nCountPM=77\r\nCountTT=542\r\nUndo=1\r\n$week$volume" \
    >"$dir/TarvikS.Kfg"
  "$LINE" "$dir" add Provider >/dev/null
  "$LINE" "$dir" add Office >/dev/null
  (cd "$dir" && TARVIK_TEST_WIDGET_MAP=$map LC_ALL=C.UTF-8 exec ./tarvik >/dev/null 2>&1) &
  pid=$!
  wait_window
  "$LINE" "$dir" dial Provider --auth 0.5 --rate 400000 >/dev/null
  sleep 4
  "$LINE" "$dir" hangup >/dev/null
  sleep 2
  # "Настройки", the sixth item from the bottom of the status window's menu while offline.
  xdotool mousemove 760 132 click 3
  sleep 0.7
  xdotool key Up Up Up Up Up Up Return
  win=""
  for _ in $(seq 100); do
    win=$(find_window '^Настройки')
    [ -n "$win" ] && [ -s "$map" ] && break
    sleep 0.1
  done
  [ -n "$win" ] || { echo "the settings dialog did not open" >&2; exit 1; }
  read -r left top < <(xwininfo -id "$win" |
    awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF} END {print x, y}')
  page=0
  for name in cfg app skin editor info cur tar conn msg stat; do
    button=$(grep "^b_tab_$name " "$map" | cut -f1) || { echo "no page button b_tab_$name" >&2; exit 1; }
    read -r _ x y w h <<<"$button"
    xdotool mousemove $((left + x + w / 2)) $((top + y + h / 2)) click 1
    # The program lists the controls again once the page shows: its own name among them.
    for _ in $(seq 50); do grep -q "^tab${name^} " "$map" && break; sleep 0.1; done
    grep -q "^tab${name^} " "$map" || { echo "the page tab${name^} did not show" >&2; exit 1; }
    sleep 0.5
    import -frame -window "$win" "$OUT/settings-$page-$name.png"
    page=$((page + 1))
  done
  stop_program "$pid"
)

# The skin editor with a two-mode skin in progress, drawn by its widget test on the offscreen
# platform (it saves the dialog when TARVIK_SCREENSHOT_DIR is set).
if [ -x "$BUILD/tests/qt_tab_editor_test" ]; then
  TARVIK_SCREENSHOT_DIR=$OUT QT_QPA_PLATFORM=offscreen \
    "$BUILD/tests/qt_tab_editor_test" savedSkinShapesTheStatusWindow >/dev/null
fi
ls -l "$OUT"
