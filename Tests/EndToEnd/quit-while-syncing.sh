#!/usr/bin/env bash
# A new installation of an account of many items, quit while its first sync runs: the quit ends the
# program at once, and the next launch finishes the sync and unlocks with every item. The program runs on
# its scripted display (standard input), so no terminal is needed; the account is made with the program's
# own stores by ProgramBenchmark.
set -uo pipefail
program=${1:?usage: quit-while-syncing.sh <Corvendale executable> <ProgramBenchmark executable>}
bench=${2:?usage: quit-while-syncing.sh <Corvendale executable> <ProgramBenchmark executable>}
items=${QUIT_WHILE_SYNCING_ITEMS:-2000}
master="bench-master-4812"

work=$(mktemp -d "${TMPDIR:-/tmp}/quit-while-syncing.XXXXXX")
trap 'kill "${PROGRAM_PID:-}" 2>/dev/null; rm -rf "$work"' EXIT
fail() {
  echo "quit while syncing: $1" >&2
  [ -f "$work/third/program.log" ] && tail -n 20 "$work/third/program.log" >&2
  exit 1
}

"$bench" --make-account "$work" "$items" >/dev/null 2>&1 || fail "the account could not be made"

launch() {
  mkdir -p "$work/third"
  coproc PROGRAM { exec env -i HOME="$work/third" PATH="$PATH" CORVENDALE_CLOUDKIT_FOLDER="$work/container" \
    CORVENDALE_DISPLAY_SCRIPT=- "$program" 2>>"$work/third/program.log"; }
}
send() { printf '%s\n' "$@" >&"${PROGRAM[1]}"; }
# The next frame the program prints, once every command sent before it has run.
frame() {
  send screen
  shown=""
  while IFS= read -r -t 300 line <&"${PROGRAM[0]}"; do
    [ "$line" = "--" ] && return 0
    shown+="$line"$'\n'
  done
  fail "the program printed no frame: $shown"
}
wait_for() {
  send "limit ${2:-120}" "wait $1"
  frame
  case "$shown" in
    "Never shown:"*) fail "never shown: $1" ;;
  esac
}

# The first launch: the lock screen waits for the account's master password and items while the first
# sync runs.
launch
send "limit 60" "wait Waiting for Sync"
frame
case "$shown" in
  "Never shown:"*|*"Is Locked"*) fail "the first sync of $items items ended before it showed; raise QUIT_WHILE_SYNCING_ITEMS" ;;
esac
started=$(date +%s%N)
send "key q control"
eval "exec ${PROGRAM[1]}>&-"
wait "$PROGRAM_PID"
status=$?
ended=$(date +%s%N)
[ "$status" -eq 0 ] || fail "the quit ended the program with status $status"
# A sync that finished its round before ending would take seconds here under the sanitizers; a quit that
# waited for the whole sync, far longer.
elapsed=$(( (ended - started) / 1000000 ))
[ "$elapsed" -lt 10000 ] || fail "the quit took $elapsed ms"

# The next launch finishes the sync: the lock screen, the unlock and every item.
launch
wait_for "Is Locked" 300
send "type $master" "key Return"
wait_for "Aardvark" 120
send "key q control"
eval "exec ${PROGRAM[1]}>&-"
wait "$PROGRAM_PID" || fail "the second launch did not end well"
count=$("$bench" --count "$work/third" 2>/dev/null) || fail "the vault could not be counted"
[ "$count" = "$items" ] || fail "the vault holds $count of $items items"
echo "quit while syncing end to end: passed (the quit took $elapsed ms)"
