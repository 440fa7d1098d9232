#!/usr/bin/env bash
# Runs every fuzzing harness of BUILD_DIR for SECONDS each, starting from its seed corpus in
# tests/fuzz/corpus/<name>/. New inputs go to BUILD_DIR/fuzz-corpus/<name>/ (the tree is left as
# it is); a finding is kept in BUILD_DIR/fuzz-findings/ and ends the run with failure.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:?usage: fuzz.sh BUILD_DIR [SECONDS]}
seconds=${2:-20}
# Undefined behaviour ends a run like a crash does.
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export ASAN_OPTIONS=detect_leaks=1
mkdir -p "$build/fuzz-findings"
status=0
for harness in "$build"/fuzz/fuzz_*; do
  name=$(basename "$harness")
  name=${name#fuzz_}
  seeds=tests/fuzz/corpus/$name
  work=$build/fuzz-corpus/$name
  mkdir -p "$work"
  echo "== fuzz $name (${seconds}s)"
  if ! "$harness" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
      -print_final_stats=1 -artifact_prefix="$build/fuzz-findings/$name-" "$work" "$seeds" \
      >"$build/fuzz-findings/$name.log" 2>&1; then
    tail -n 40 "$build/fuzz-findings/$name.log"
    status=1
  else
    grep -E "^stat::number_of_executed_units|^stat::peak_rss_mb" "$build/fuzz-findings/$name.log" || true
  fi
done
exit $status
