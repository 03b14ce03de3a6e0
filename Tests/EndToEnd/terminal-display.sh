#!/usr/bin/env bash
# The terminal display end to end, as a person uses it: the demo program runs in a tmux pane; keys go in
# with send-keys and each step reads the screen with capture-pane. Exits 77 (skipped) where tmux or a
# terminal cannot be had.
set -uo pipefail
demo=${1:?usage: terminal-display.sh <TerminalDemo executable>}

command -v tmux >/dev/null || { echo "tmux is not installed: skipped"; exit 77; }
work=$(mktemp -d)
socket="display-e2e-$$"
tmux_() { tmux -L "$socket" -f /dev/null "$@"; }
cleanup() { tmux_ kill-server >/dev/null 2>&1; rm -rf "$work"; }
trap cleanup EXIT

# Each run is a session with a pane of 100 x 30 cells; the desktop's clipboard tools stay out, so a copy
# goes to tmux's buffer. The program's process number and exit status land beside its list.
start() {
  tmux_ new-session -d -x 100 -y 30 -s "$1" \
    "sh -c 'echo \$\$ > $work/$1.pid; exec env -u DISPLAY -u WAYLAND_DISPLAY ASAN_OPTIONS=detect_leaks=0 $demo $work/$1.tsv'; echo \$? > $work/$1.status; sleep 60"
}
session=demo
start demo || { echo "tmux cannot start a terminal here: skipped"; exit 77; }
tmux_ set-option -g set-clipboard on >/dev/null

fail() { echo "FAILED: $1"; echo "--- screen ---"; tmux_ capture-pane -p -t "$session"; exit 1; }
screen() { tmux_ capture-pane -p -t "$session"; }
# Waits (at most 10 s) until the screen shows the text, or fails the step.
expect() {
  for _ in $(seq 200); do screen | grep -qF -- "$1" && return 0; sleep 0.05; done
  fail "$2: the screen never showed \"$1\""
}
expect_not() {
  for _ in $(seq 200); do screen | grep -qF -- "$1" || return 0; sleep 0.05; done
  fail "$2: the screen still shows \"$1\""
}
keys() { tmux_ send-keys -t "$session" "$@"; }
# The program ended with the status, and the terminal has its main screen, cursor and mouse back.
ended() {
  for _ in $(seq 200); do [ -s "$work/$session.status" ] && break; sleep 0.05; done
  [ "$(cat "$work/$session.status" 2>/dev/null)" = "$1" ] || fail "$2 (status $(cat "$work/$session.status" 2>/dev/null))"
  [ "$(tmux_ display-message -p -t "$session" '#{alternate_on} #{cursor_flag} #{mouse_any_flag}')" = "0 1 0" ] \
    || fail "$2: the terminal was not restored"
  expect_not "F10: menus" "$2"
}

# A terminal that the terminal library does not know (no terminfo entry) is no terminal to test on.
for _ in $(seq 200); do screen | grep -qF "F10: menus" && break; [ -s "$work/demo.status" ] && break; sleep 0.05; done
[ "$(cat "$work/demo.status" 2>/dev/null)" = 77 ] && { echo "no usable terminal in tmux: skipped"; exit 77; }
expect "F10: menus" "first launch"
expect "Bank" "the list"
expect "Title" "the form"

# Tab to the form's title (search field, table, title), type, generate a password, add the item.
keys Tab Tab Tab
keys -l "Forum"
expect "Forum" "typing the title"
keys Tab Tab Enter
expect "•••••••••••••" "generating a password"
screen | grep -qF "Tq9#vL2m" && fail "a secure field shows its text"
keys Tab Space
expect "Tq9#vL2m-xR4z" "revealing the password"
keys Space
expect_not "Tq9#vL2m" "hiding the password again"
keys Tab Tab Enter

# Search for it (Ctrl-F is the Find key command), select it with the arrows, copy its password (Ctrl-P).
keys C-f
keys -l "for"
expect_not "Bank" "searching"
expect "Forum" "searching"
keys Down
expect "› Forum" "selecting with the arrows"
keys C-p
for _ in $(seq 100); do tmux_ show-buffer 2>/dev/null | grep -qF "Tq9#vL2m-xR4z" && break; sleep 0.05; done
tmux_ show-buffer 2>/dev/null | grep -qF "Tq9#vL2m-xR4z" || fail "copying the password to the clipboard"
screen | grep -qF "Tq9#vL2m" && fail "the copied password shows on screen"

# Lock from the menu bar: F10, then along the bar to the Item menu, down to Lock.
keys F10
for _ in $(seq 20); do screen | grep -qF "Copy Password" && break; keys Right; sleep 0.05; done
expect "Lock" "the Item menu"
keys Down Down Enter
expect "Master password" "the lock sheet"
keys -l "opensesame"
expect "••••••••••" "typing the master password"
screen | grep -qF "opensesame" && fail "the master password shows on screen"
keys Enter
expect_not "Master password" "unlocking"

# The window follows the terminal's size: a narrow one shows one column, a wide one both again.
tmux_ resize-window -t demo -x 50 -y 20
expect_not "Generate" "narrowing the terminal"
tmux_ resize-window -t demo -x 100 -y 30
expect "Generate" "widening the terminal"

# Quit (Ctrl-Q); the terminal is restored and the list holds the item.
keys C-q
ended 0 "quitting"
grep -qP "^Forum\tTq9#vL2m-xR4z$" "$work/demo.tsv" || fail "the item was not kept"

# A termination signal ends the program as a quit does; a crash leaves the terminal usable too.
for run in "TERM 0" "SEGV 139"; do
  set -- $run
  session=$1
  start "$session" || fail "starting again"
  expect "F10: menus" "starting again"
  kill -"$1" "$(cat "$work/$session.pid")"
  ended "$2" "the signal $1"
done
echo "terminal display end to end: passed"
