#!/usr/bin/env bash
# The main program on terminals it cannot show on, in tmux as a person meets them: TERM=dumb stops it with
# one line and a failure status; a window too small says so, with nothing of the screens drawn over it,
# until it grows. Exits 77 (skipped) where tmux is missing.
set -uo pipefail
program=${1:?usage: terminal-size.sh <Corvendale executable>}

source "$(dirname "${BASH_SOURCE[0]}")/tmux-driver.sh"
home=$work/home
mkdir -p "$home"
launch() {
  local name=$1
  shift
  start "$name" env HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" XDG_CACHE_HOME="$home/.cache" \
    ASAN_OPTIONS=detect_leaks=0 "$@" "$program" --record-store in-memory --sync-coordinator-sync-status-override disabled
}

# A terminal that cannot place its cursor: one line on standard error, and a failure.
launch dumb TERM=dumb
for _ in $(seq $steps); do [ -s "$work/dumb.status" ] && break; sleep 0.05; done
[ "$(cat "$work/dumb.status" 2>/dev/null)" = 1 ] || fail "TERM=dumb: the program ended with $(cat "$work/dumb.status" 2>/dev/null), not 1"
[ "$(screen | grep -c .)" = 1 ] || fail "TERM=dumb: more than one line"
expect "cannot move its cursor" "TERM=dumb"
never "F10: menus" "TERM=dumb"

# A window too small for the screens says so until it grows.
launch small
expect "Create Master Password" "first launch"
tmux_ resize-window -t small -x 20 -y 10
expect "Window too small" "narrowing to 20 x 10"
expect "20 x 10" "narrowing to 20 x 10"
steady
never "Master" "a window too small"
never "F10" "a window too small"
tmux_ resize-window -t small -x 100 -y 30
expect "Create Master Password" "growing again"
expect_not "too small" "growing again"
kill -TERM "$(cat "$work/small.pid")"
ended 0 "ending"
echo "terminal size end to end: passed"
