#!/usr/bin/env bash
# tarvik-line against a temporary program directory: the usage, the phonebook, dialling,
# a second call, hang-up, a call with a byte rate, and the exit code 2 for bad arguments.
set -u
line="${TARVIK_LINE:?TARVIK_LINE must name the tarvik-line binary}"
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
failures=0
tab=$'\t'

check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" != "$3" ]; then
    echo "FAIL $1: expected [$2], got [$3]"
    failures=$((failures + 1))
  fi
}

check_exit() {  # check_exit NAME CODE command...
  local name="$1" code="$2"
  shift 2
  "$@" >/dev/null 2>"$dir/err"
  local rc=$?
  check "$name exit" "$code" "$rc"
  if [ "$code" = 2 ]; then
    grep -q '^usage: tarvik-line \[DIR\]' "$dir/err" || { echo "FAIL $name: no usage line"; failures=$((failures + 1)); }
  fi
}

check "status without a file" "0" "$("$line" "$dir" status)"
check "entries without a file" "" "$("$line" "$dir" entries)"
[ ! -e "$dir/simline.ini" ] || { echo "FAIL: reading created the file"; failures=$((failures + 1)); }

"$line" "$dir" add "Мой провайдер"
"$line" "$dir" add "Work VPN"
"$line" "$dir" add "Work VPN"
check "entries" "Мой провайдер"$'\n'"Work VPN" "$("$line" "$dir" entries)"

"$line" "$dir" dial "Мой провайдер" --auth 0
check "connected at once" "8192${tab}Мой провайдер${tab}Simulated modem" "$("$line" "$dir" status)"

"$line" "$dir" dial "Work VPN" --device "ttyUSB0" --auth 600
check "authenticating" "5${tab}Work VPN${tab}ttyUSB0" "$("$line" "$dir" status)"

"$line" "$dir" second "Мой провайдер"
check "status shows the first of two" "5${tab}Work VPN${tab}ttyUSB0" "$("$line" "$dir" status)"

"$line" "$dir" hangup
check "after hangup" "0" "$("$line" "$dir" status)"

"$line" "$dir" dial "Work VPN" --fail --auth 0
check "failed call is gone" "0" "$("$line" "$dir" status)"

# Files keep their content after a dial: the phonebook survives.
check "entries after dialling" "Мой провайдер"$'\n'"Work VPN" "$("$line" "$dir" entries)"

# A rate adds the bytes received and sent so far; it sends a tenth of what it receives.
"$line" "$dir" dial ISP --auth 0 --rate 1000000
IFS="$tab" read -r state entry device received sent <<<"$("$line" "$dir" status)"
check "rate: connected" "8192 ISP" "$state $entry"
if ! [[ "$received" =~ ^[0-9]+$ ]] || [ "$sent" != "$((received / 10))" ]; then
  echo "FAIL rate: counters [$received] [$sent]"
  failures=$((failures + 1))
fi
check_exit "bad rate" 2 "$line" "$dir" dial ISP --rate fast
check_exit "negative rate" 2 "$line" "$dir" dial ISP --rate -5

check_exit "no arguments" 2 "$line"
check_exit "no command" 2 "$line" "$dir"
check_exit "unknown command" 2 "$line" "$dir" connect ISP
check_exit "dial without entry" 2 "$line" "$dir" dial
check_exit "bad auth" 2 "$line" "$dir" dial ISP --auth soon
check_exit "negative auth" 2 "$line" "$dir" dial ISP --auth -1
check_exit "device without name" 2 "$line" "$dir" dial ISP --device
check_exit "unknown option" 2 "$line" "$dir" dial ISP --fast
check_exit "name with a line break" 2 "$line" "$dir" add $'two\nlines'
check_exit "add two names" 2 "$line" "$dir" add A B
check_exit "status with argument" 2 "$line" "$dir" status now
check_exit "good dial" 0 "$line" "$dir" dial ISP --auth 60.5 --device modem --fail
check "bad arguments changed nothing" "5${tab}ISP${tab}modem" "$("$line" "$dir" status)"

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all checks passed"
