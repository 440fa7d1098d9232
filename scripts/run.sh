#!/usr/bin/env bash
# Starts the freshly built program. Every data file lives beside the executable, so the
# program runs from its own directory `run/` (kept out of git), not from the build tree.
set -euo pipefail
build=${1:-build}
top=$(cd "$(dirname "$0")/.." && pwd)
dir="$top/run"
mkdir -p "$dir"
cp -f "$build/tarvik" "$dir/tarvik"
[ -x "$build/tarvik-line" ] && cp -f "$build/tarvik-line" "$dir/tarvik-line"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No graphical session: running Tarvik on a virtual display (Xvfb :77)."
  Xvfb :77 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  trap 'kill $xvfb 2>/dev/null || true' EXIT
  export DISPLAY=:77
  sleep 0.5
  command -v icewm >/dev/null && { icewm >/dev/null 2>&1 & }
fi
echo "Program directory: $dir"
cd "$dir"
exec_status=0
"$dir/tarvik" "${@:2}" || exec_status=$?
exit $exec_status
