#!/usr/bin/env bash
# The terminal display end to end, as a person uses it: a demo program of the kit's views runs in a tmux
# pane (tmux-driver.sh). Exits 77 (skipped) where tmux or a terminal cannot be had.
set -uo pipefail
demo=${1:?usage: terminal-display.sh <TerminalDemo executable>}

source "$(dirname "${BASH_SOURCE[0]}")/tmux-driver.sh"
start demo env ASAN_OPTIONS=detect_leaks=0 "$demo" "$work/demo.tsv"

# A terminal that the terminal library does not know (no terminfo entry) is no terminal to test on.
for _ in $(seq 200); do screen | grep -qF "F10: menus" && break; [ -s "$work/demo.status" ] && break; sleep 0.05; done
[ "$(cat "$work/demo.status" 2>/dev/null)" = 77 ] && { echo "no usable terminal in tmux: skipped"; exit 77; }
expect "F10: menus" "first launch"
expect "Bank" "the list"
expect "Title" "the form"
# The tinted button shows in its colour (the 256-colour cube's red).
tmux_ capture-pane -e -p -t "$session" | grep -qF "38;5;160mGenerate" || fail "the tinted button shows in no colour"

# Tab to the form's title (search field, table, title), type, generate a password, add the item.
keys Tab Tab Tab
type_ "Forum"
expect "Forum" "typing the title"
keys Tab Tab Enter
expect "•••••••••••••" "generating a password"
never "Tq9#vL2m" "a secure field"
keys Tab Space
expect "Tq9#vL2m-xR4z" "revealing the password"
keys Space
expect_not "Tq9#vL2m" "hiding the password again"
keys Tab Tab Enter

# Search for it (Ctrl-F is the Find key command), select it with the arrows, copy its password (Ctrl-P).
keys C-f
type_ "for"
expect_not "Bank" "searching"
expect "Forum" "searching"
keys Down
expect "› Forum" "selecting with the arrows"
keys C-p
clipboard "Tq9#vL2m-xR4z" "copying the password"
never "Tq9#vL2m" "the copied password"

# Lock from the menu bar: F10, then along the bar to the Item menu, down to Lock.
keys F10
for _ in $(seq 20); do screen | grep -qF "Copy Password" && break; keys Right; sleep 0.05; done
expect "Lock" "the Item menu"
keys Down Down Enter
expect "Master password" "the lock sheet"
type_ "opensesame"
expect "••••••••••" "typing the master password"
never "opensesame" "the master password"
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
  start "$1" env NO_COLOR=1 ASAN_OPTIONS=detect_leaks=0 "$demo" "$work/$1.tsv"
  expect "F10: menus" "starting again"
  tmux_ capture-pane -e -p -t "$session" | grep -F "Generate" | grep -qF "38;5;" && fail "colours with NO_COLOR set"
  kill -"$1" "$(cat "$work/$session.pid")"
  ended "$2" "the signal $1"
done
echo "terminal display end to end: passed"
