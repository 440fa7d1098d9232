#!/usr/bin/env bash
# Side-by-side figures of the real program and a minimal Qt tray program with one shaped window
# (bench/status_minimal_tray.cpp) on a virtual X display with icewm as window manager and tray:
# start-up time until the tray icon is mapped, resident memory after start, and CPU time used over
# an idle period, offline and while the simulated line is connected.
#
#   bench/status_measure.sh [BUILD_DIR] [IDLE_SECONDS]      (defaults: build, 60)
#   RUNS=15 bench/status_measure.sh ...   takes the medians of more starts on a busy machine
set -euo pipefail

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$ROOT/build}
IDLE=${2:-60}
BIN=${TARVIK_BIN:-$BUILD/tarvik}
LINE=${TARVIK_LINE:-$BUILD/tarvik-line}
MEASURE_DISPLAY=${MEASURE_DISPLAY:-:92}
WORK=$(mktemp -d)
PIDS=()
cleanup() {
  for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$WORK"
}
trap cleanup EXIT

# The yardstick, built the same way as the program (release, same compiler).
c++ -O2 -std=c++20 -fPIC "$ROOT/bench/status_minimal_tray.cpp" -o "$WORK/minimal" \
  $(pkg-config --cflags --libs Qt6Widgets)

export DISPLAY=$MEASURE_DISPLAY QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR=$WORK/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
PIDS+=($!)
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
icewm >/dev/null 2>&1 &
PIDS+=($!)
sleep 1

now_ms() { date +%s%3N; }
rss_kb() { awk '/^VmRSS/ {print $2}' "/proc/$1/status"; }
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

# Starts a program from its folder and waits until its first window is mapped - the tray icon,
# as the status window of the program comes a moment later by design; prints "pid milliseconds".
start_timed() {
  local dir=$1 exe=$2
  local t0
  t0=$(now_ms)
  (cd "$dir" && exec "./$exe" >/dev/null 2>&1) &
  local pid=$!
  # Polled every 10 ms: xdotool's own --sync looks only twice a second.
  until xdotool search --onlyvisible --classname "^$exe\$" >/dev/null 2>&1; do sleep 0.01; done
  echo "$pid $(($(now_ms) - t0))"
}

idle_percent() {  # pid seconds
  local hz before after
  hz=$(getconf CLK_TCK)
  before=$(cpu_ticks "$1")
  sleep "$2"
  after=$(cpu_ticks "$1")
  awk -v d=$((after - before)) -v hz="$hz" -v s="$2" 'BEGIN {printf "%.3f", 100 * d / hz / s}'
}

runs=${RUNS:-5}
median() { sort -n | sed -n "$(((runs + 1) / 2))p"; }

mkdir -p "$WORK/min" && cp "$WORK/minimal" "$WORK/min/minimal"
min_times=()
for _ in $(seq $runs); do
  read -r pid ms < <(start_timed "$WORK/min" minimal)
  sleep 1
  min_rss=$(rss_kb "$pid")
  kill "$pid"; wait "$pid" 2>/dev/null || true
  sleep 0.5
  min_times+=("$ms")
done

mkdir -p "$WORK/prog"
cp "$BIN" "$WORK/prog/tarvik"
printf '[Olm:TK]\r\nFade=0\r\n' >"$WORK/prog/TarvikC.Kfg"
"$LINE" "$WORK/prog" add Provider >/dev/null
prog_times=()
for i in $(seq $runs); do
  read -r pid ms < <(start_timed "$WORK/prog" tarvik)
  prog_times+=("$ms")
  if [ "$i" -lt $runs ]; then
    sleep 1
    prog_rss=$(rss_kb "$pid")
    kill "$pid"; wait "$pid" 2>/dev/null || true
    sleep 0.5
  fi
done
sleep 2
prog_rss=$(rss_kb "$pid")
offline=$(idle_percent "$pid" "$IDLE")
"$LINE" "$WORK/prog" dial Provider --auth 1 >/dev/null
sleep 3
online=$(idle_percent "$pid" "$IDLE")
kill "$pid"; wait "$pid" 2>/dev/null || true

min_ms=$(printf '%s\n' "${min_times[@]}" | median)
prog_ms=$(printf '%s\n' "${prog_times[@]}" | median)
echo "start-up to tray icon mapped (median of $runs): tarvik ${prog_ms} ms, minimal ${min_ms} ms," \
  "ratio $(awk -v a="$prog_ms" -v b="$min_ms" 'BEGIN {printf "%.2f", a / b}')"
echo "resident memory after start: tarvik ${prog_rss} kB, minimal ${min_rss} kB," \
  "ratio $(awk -v a="$prog_rss" -v b="$min_rss" 'BEGIN {printf "%.2f", a / b}')"
echo "CPU over ${IDLE} s: offline ${offline} %, online ${online} % of one core"
