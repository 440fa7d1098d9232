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
  # Xvfb picks a free display number itself and reports it, so two runs do not collide.
  displayfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
  xvfb=$!
  wm=
  trap 'rm -f "$displayfile"; [ -n "$wm" ] && kill $wm 2>/dev/null; kill $xvfb 2>/dev/null || true' EXIT
  for _ in $(seq 100); do [ -s "$displayfile" ] && break; sleep 0.05; done
  [ -s "$displayfile" ] || { echo "Xvfb did not start." >&2; exit 1; }
  export DISPLAY=":$(head -n1 "$displayfile")"
  echo "No graphical session: running Tarvik on a virtual display (Xvfb $DISPLAY)."
  if command -v icewm >/dev/null; then
    icewm >/dev/null 2>&1 &
    wm=$!
  fi
fi
echo "Program directory: $dir"
cd "$dir"
exec_status=0
"$dir/tarvik" "${@:2}" || exec_status=$?
exit $exec_status
