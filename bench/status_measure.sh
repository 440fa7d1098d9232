#!/usr/bin/env bash
# Side-by-side figures of the real program and a minimal Qt tray program with one shaped window
# (bench/status_minimal_tray.cpp) on a virtual X display with icewm as window manager and tray:
# start-up time until the tray icon is mapped, resident memory after start, and CPU time and
# wake-ups of the main thread over an idle period, offline and while the simulated line is
# connected, with the yardstick running beside the program over the same periods.
#
#   bench/status_measure.sh [BUILD_DIR] [IDLE_SECONDS]      (defaults: build, 60)
#   RUNS=15 bench/status_measure.sh ...   takes the medians of more starts on a busy machine
#   LISTENER=1 bench/status_measure.sh ...  runs on a session bus of its own (dbus-run-session)
#       and measures the program online once more with `tarvik-report --watch --format json`
#       following it, printing its CPU without and with the listener
set -euo pipefail

# The program and the listener must share one session bus, which nothing else uses.
if [ "${LISTENER:-0}" = 1 ] && [ -z "${MEASURE_OWN_BUS:-}" ]; then
  MEASURE_OWN_BUS=1 exec dbus-run-session -- "$0" "$@"
fi

ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$ROOT/build}
IDLE=${2:-60}
BIN=${TARVIK_BIN:-$BUILD/tarvik}
LINE=${TARVIK_LINE:-$BUILD/tarvik-line}
REPORT=${TARVIK_REPORT:-$BUILD/tarvik-report}
MEASURE_DISPLAY=${MEASURE_DISPLAY:-:92}
WORK=$(mktemp -d)
PIDS=()
cleanup() {
  for pid in "${PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$WORK"
}
trap cleanup EXIT

# The yardstick, built the same way as the program (release, same compiler), and the helper
# that reports when a window is mapped.
c++ -O2 -std=c++20 -fPIC "$ROOT/bench/status_minimal_tray.cpp" -o "$WORK/minimal" \
  $(pkg-config --cflags --libs Qt6Widgets)
cc -O2 "$ROOT/bench/status_map_watch.c" -o "$WORK/map_watch" $(pkg-config --cflags --libs xcb)

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
# CPU time of all its threads in nanoseconds (the scheduler's own count, finer than clock ticks).
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{s += $1} END {printf "%d", s}'; }
# Times the main thread went to sleep and was woken again.
wakeups() { awk '/^voluntary_ctxt_switches/ {print $2}' "/proc/$1/task/$1/status"; }

# Starts a program from its folder and prints "pid milliseconds" once its first window is
# mapped - the tray icon, as the status window of the program comes a moment later by design.
# The time is the X server's map event as the watcher saw it, not a poll.
start_timed() {
  local dir=$1 exe=$2 t0 out=$WORK/map.$2
  : >"$out"
  "$WORK/map_watch" "$exe" 30000 >>"$out" &
  local watch=$!
  until grep -q ready "$out"; do sleep 0.01; done  # it listens before the program starts
  t0=$(now_ms)
  (cd "$dir" && exec "./$exe" >/dev/null 2>&1) &
  local pid=$!
  wait "$watch" || true
  local mapped
  mapped=$(sed -n 2p "$out")
  echo "$pid $((${mapped:-$((t0 + 30000))} - t0))"
}

stop() { kill "$1"; wait "$1" 2>/dev/null || true; sleep 0.5; }

runs=${RUNS:-5}
median() { sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

mkdir -p "$WORK/min" "$WORK/prog"
cp "$WORK/minimal" "$WORK/min/minimal"
cp "$BIN" "$WORK/prog/tarvik"
printf '[Olm:TK]\r\nFade=0\r\n' >"$WORK/prog/TarvikC.Kfg"
"$LINE" "$WORK/prog" add Provider >/dev/null

# The two programs' starts alternate, so that a load that comes and goes on the machine weighs
# on both alike; each pair gives one ratio.
time_ratios=() mem_ratios=() prog_times=() min_times=()
for i in $(seq $runs); do
  read -r min_pid min_ms < <(start_timed "$WORK/min" minimal)
  sleep 1
  min_rss=$(rss_kb "$min_pid")
  stop "$min_pid"
  read -r pid ms < <(start_timed "$WORK/prog" tarvik)
  sleep 1
  prog_rss=$(rss_kb "$pid")
  if [ "$i" -lt "$runs" ]; then stop "$pid"; fi
  min_times+=("$min_ms") prog_times+=("$ms")
  time_ratios+=("$(awk -v a="$ms" -v b="$min_ms" 'BEGIN {printf "%.3f", a / b}')")
  mem_ratios+=("$(awk -v a="$prog_rss" -v b="$min_rss" 'BEGIN {printf "%.3f", a / b}')")
done

# The yardstick runs beside the program over the same periods: its label and tooltip change
# once a second, as the program's display does while online.
read -r min_pid _ < <(start_timed "$WORK/min" minimal)
sleep 2
prog_rss=$(rss_kb "$pid")
min_rss=$(rss_kb "$min_pid")

# Prints "cpu% wakeups/s" of each pid over the period.
measure() {  # seconds pid...
  local seconds=$1 pid
  shift
  local -A cpu wake
  for pid in "$@"; do cpu[$pid]=$(cpu_ns "$pid") wake[$pid]=$(wakeups "$pid"); done
  sleep "$seconds"
  for pid in "$@"; do
    awk -v d=$(($(cpu_ns "$pid") - cpu[$pid])) -v w=$(($(wakeups "$pid") - wake[$pid])) \
      -v s="$seconds" 'BEGIN {printf "%.4f %.1f\n", 100 * d / 1e9 / s, w / s}'
  done
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", (b > 0 ? a / b : 0)}'; }

read -r off_cpu off_wake min_off_cpu min_off_wake < <(measure "$IDLE" "$pid" "$min_pid" | xargs)
"$LINE" "$WORK/prog" dial Provider --auth 1 >/dev/null
sleep 3
read -r on_cpu on_wake min_on_cpu min_on_wake < <(measure "$IDLE" "$pid" "$min_pid" | xargs)
if [ "${LISTENER:-0}" = 1 ]; then
  # The same online period again with a panel bar's listener on the bus, and once more
  # without it, so that a load that comes and goes weighs on both sides.
  "$REPORT" --watch --format json >"$WORK/watch.out" 2>&1 &
  listener=$!
  PIDS+=("$listener")
  sleep 2
  read -r with_cpu with_wake < <(measure "$IDLE" "$pid" | xargs)
  kill "$listener"
  wait "$listener" 2>/dev/null || true
  sleep 1
  read -r after_cpu after_wake < <(measure "$IDLE" "$pid" | xargs)
  without_cpu=$(awk -v a="$on_cpu" -v b="$after_cpu" 'BEGIN {printf "%.4f", (a + b) / 2}')
  heard=$(grep -c '^{' "$WORK/watch.out" || true)
fi
stop "$pid"
stop "$min_pid"

echo "start-up to tray icon mapped (X map event, $runs interleaved pairs):" \
  "tarvik median $(printf '%s\n' "${prog_times[@]}" | median) ms," \
  "minimal median $(printf '%s\n' "${min_times[@]}" | median) ms," \
  "median of per-pair ratios $(printf '%s\n' "${time_ratios[@]}" | median)" \
  "(pairs: ${time_ratios[*]})"
echo "resident memory after start: median of per-pair ratios" \
  "$(printf '%s\n' "${mem_ratios[@]}" | median); side by side: tarvik ${prog_rss} kB," \
  "minimal ${min_rss} kB, ratio $(ratio "$prog_rss" "$min_rss")"
echo "CPU over ${IDLE} s offline: tarvik ${off_cpu} % (${off_wake} wake-ups/s)," \
  "minimal ${min_off_cpu} % (${min_off_wake} wake-ups/s), ratio $(ratio "$off_cpu" "$min_off_cpu")"
echo "CPU over ${IDLE} s online: tarvik ${on_cpu} % (${on_wake} wake-ups/s)," \
  "minimal ${min_on_cpu} % (${min_on_wake} wake-ups/s), ratio $(ratio "$on_cpu" "$min_on_cpu")"
if [ "${LISTENER:-0}" = 1 ]; then
  echo "CPU over ${IDLE} s online with a session-bus listener (tarvik-report --watch, $heard lines):" \
    "tarvik ${with_cpu} % (${with_wake} wake-ups/s); without it ${without_cpu} %" \
    "(before ${on_cpu} %, after ${after_cpu} %); difference" \
    "$(awk -v a="$with_cpu" -v b="$without_cpu" 'BEGIN {printf "%+.4f", a - b}') points"
fi
