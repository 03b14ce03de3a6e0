# Driving a program in a tmux pane as a person does: keys go in with send-keys, each step reads the screen
# with capture-pane, waiting a bounded time for what it expects. Sourced by the end-to-end scripts, which
# set `session` to the pane they talk to and start programs with `start`.

command -v tmux >/dev/null || { echo "tmux is not installed (scripts/install-dependencies installs it): skipped"; exit 77; }
work=$(mktemp -d)
# The server's socket lives in the run's own folder; nothing of the user's tmux is touched.
export TMUX_TMPDIR=$work
unset TMUX
# A terminal every ncurses knows, and copies that reach tmux's buffer (the terminal's clipboard).
printf 'set -g default-terminal screen-256color\nset -g set-clipboard on\n' > "$work/tmux.conf"
tmux_() { tmux -L e2e -f "$work/tmux.conf" "$@"; }
# Programs still running (a failed step) end before their folders go.
cleanup() {
  local pid
  for file in "$work"/*.pid; do
    [ -f "$file" ] || continue
    pid=$(cat "$file")
    kill "$pid" 2>/dev/null || continue
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
  done
  tmux_ kill-server >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT

# Waits run in steps of 50 ms; how many steps a wait may take (10 s; ASan makes the program slow).
steps=200
# The run fails with its screen once it has taken this long (CTest gives each run a little more), rather
# than being killed silently in the middle of a step.
deadline=${E2E_DEADLINE:-300}

# start <session> <command...>: a pane of 100 x 30 cells running the command; its process number lands in
# $work/<session>.pid and its exit status in $work/<session>.status. The desktop's clipboard tools stay
# out, so a copy goes to tmux's buffer.
start() {
  local name=$1
  shift
  local command
  printf -v command '%q ' "$@"
  printf '#!/usr/bin/env bash\necho $$ > %q\nexec env -u DISPLAY -u WAYLAND_DISPLAY %s\n' "$work/$name.pid" "$command" > "$work/$name.run"
  tmux_ new-session -d -x 100 -y 30 -s "$name" "bash $work/$name.run; echo \$? > $work/$name.status; sleep 600" \
    || { echo "FAILED: tmux cannot start a pane"; exit 1; }
  session=$name
}

screen() { tmux_ capture-pane -p -t "$session"; }
fail() { echo "FAILED: $1"; echo "--- screen ---"; screen; exit 1; }
keys() {
  [ $SECONDS -lt $deadline ] || fail "the run took longer than $deadline s"
  tmux_ send-keys -t "$session" "$@"
}
# Typed as a person types: one character a key, then a look until the screen shows what was typed
# (see `press`).
type_() {
  local before
  before=$(picture)
  tmux_ send-keys -t "$session" -l "$1"
  changed "$before"
}

# expect <text> <step>: waits until the screen shows the text, or fails the step.
expect() {
  for _ in $(seq $steps); do screen | grep -qF -- "$1" && return 0; sleep 0.05; done
  fail "$2: the screen never showed \"$1\""
}
expect_not() {
  for _ in $(seq $steps); do screen | grep -qF -- "$1" || return 0; sleep 0.05; done
  fail "$2: the screen still shows \"$1\""
}
# never <text> <step>: the screen does not show the text now (a secret).
never() {
  screen | grep -qF -- "$1" && fail "$2: the screen shows \"$1\""
  return 0
}
# clipboard <text> <step>: waits until tmux's buffer (the terminal's clipboard) holds the text.
clipboard() {
  for _ in $(seq $steps); do tmux_ show-buffer 2>/dev/null | grep -qF -- "$1" && return 0; sleep 0.05; done
  fail "$2: the clipboard never held \"$1\""
}
# copied <length> <step>: waits until tmux's buffer holds a text of that many characters, and prints it.
copied() {
  local text
  for _ in $(seq $steps); do
    text=$(tmux_ show-buffer 2>/dev/null)
    [ "$(printf '%s' "$text" | wc -m)" = "$1" ] && { printf '%s' "$text"; return 0; }
    sleep 0.05
  done
  fail "$2: the clipboard holds \"$text\", not $1 characters" >&2
  exit 1
}

# ended <status> <step>: the program ended with the status, and the terminal has its main screen, cursor
# and mouse back.
ended() {
  for _ in $(seq $steps); do [ -s "$work/$session.status" ] && break; sleep 0.05; done
  [ "$(cat "$work/$session.status" 2>/dev/null)" = "$1" ] || fail "$2 (status $(cat "$work/$session.status" 2>/dev/null))"
  [ "$(tmux_ display-message -p -t "$session" '#{alternate_on} #{cursor_flag} #{mouse_any_flag}')" = "0 1 0" ] \
    || fail "$2: the terminal was not restored"
  expect_not "F10: menus" "$2"
}

# The text as an extended regular expression that matches it literally.
literal() { printf '%s' "$1" | sed 's/[][\.*^$+?(){}|/]/\\&/g'; }
# The picture with its attributes (SGR sequences): what is highlighted shows in reverse ("7m").
styled() { tmux_ capture-pane -e -p -t "$session"; }
# The picture and, on a line after it, where the cursor stands ("<shown> <column> <row>"): a focus moving
# between text fields moves only the cursor. One look, so that the two agree.
picture() { tmux_ capture-pane -e -p -t "$session" \; display-message -p -t "$session" '#{cursor_flag} #{cursor_x} #{cursor_y}'; }
# steady: waits (10 s at most) until the picture stands still (the same in three looks 50 ms apart). A busy machine
# shows what a key did late, and may show it in parts (a frame written in pieces, keys taken a few at a
# time).
steady() {
  local now last="" same=0
  for _ in $(seq $steps); do
    now=$(picture)
    [ "$now" = "$last" ] && same=$((same + 1)) || same=0
    [ $same -ge 2 ] && return 0
    last=$now
    sleep 0.05
  done
}
# changed <picture>: waits (10 s at most) until the picture differs from the one given, then until it is
# steady. A step that reads the picture to decide its next key must read it after its last keys took
# effect, or a key sent too early goes too far.
changed() {
  for _ in $(seq $steps); do [ "$(picture)" != "$1" ] && break; sleep 0.05; done
  steady
}
# press <keys...>: the keys, then a look until the screen shows what they did (`changed`), for steps
# that read the picture to decide the next key.
press() {
  local before
  before=$(picture)
  keys "$@"
  changed "$before"
}
# focused <text>: the control showing the text has the focus: a button or switch shows it in reverse, a
# text field has the terminal's cursor on its row.
focused() {
  local shot shown column row
  shot=$(picture)
  grep -qE $'\e\\[([0-9]+;)*7m *'"$(literal "$1")" <<< "$shot" && return 0
  read -r shown column row < <(tail -n 1 <<< "$shot")
  [ "$shown" = 1 ] && sed -n "$((row + 1))p" <<< "$shot" | sed $'s/\e\\[[0-9;]*m//g' | grep -qF -- "$1"
}
# expect_focused <text> <step>: waits until the control showing the text has the focus.
expect_focused() {
  for _ in $(seq $steps); do focused "$1" && return 0; sleep 0.05; done
  fail "$2: \"$1\" never had the focus"
}
# focus <text> <step>: Tab until the control showing the text has the focus (40 presses at most).
focus() {
  for _ in $(seq 40); do focused "$1" && return 0; press Tab; done
  fail "$2: Tab never reached \"$1\""
}
# focused_choice <text>: the choice of an option list showing the text has the focus: its row is drawn
# in reverse behind a "›".
focused_choice() {
  styled | grep -E $'\e\\[([0-9]+;)*7m' | sed $'s/\e\\[[0-9;]*m//g' | grep -qE "› *$(literal "$1")(  |$)"
}
# focus_choice <text> <step>: Tab until the focus is on the choice showing the text (40 presses at most):
# an option list is entered at its chosen option.
focus_choice() {
  for _ in $(seq 40); do focused_choice "$1" && return 0; press Tab; done
  fail "$2: Tab never reached the choice \"$1\""
}
# pick_choice <text> <step> [Up]: in the focused option list, Down (or Up) until the choice showing the text has
# the focus, then Return chooses it.
pick_choice() {
  for _ in $(seq 40); do
    focused_choice "$1" && { keys Enter; return 0; }
    press "${3:-Down}"
  done
  fail "$2: the arrows never reached the choice \"$1\""
}
# highlighted <text> <step>: waits until a line showing the text is drawn in reverse (a selected row).
highlighted() {
  for _ in $(seq $steps); do
    styled | grep -E $'\e\\[([0-9]+;)*7m' | grep -qF -- "$1" && return 0
    sleep 0.05
  done
  fail "$2: \"$1\" is not highlighted"
}
# choose <title> <step>: in the open menu, Down until the entry is highlighted, then Return. A menu that
# did not open fails at once rather than after forty arrows.
choose() {
  expect "$1" "$2: the menu with \"$1\""
  for _ in $(seq 40); do
    if styled | grep -qE $'\e\\[([0-9]+;)*7m( |✓|–)'"$(literal "$1")"'(  |.?│)'; then
      keys Enter
      return 0
    fi
    press Down
  done
  fail "$2: the open menu has no entry \"$1\""
}
# select_row <text> <step>: Down until a row showing the text is highlighted: a list takes the arrows only
# once it has the keyboard, which may come a moment after it shows.
select_row() {
  for _ in $(seq 20); do
    keys Down
    for _ in $(seq 20); do
      styled | grep -E $'\e\\[([0-9]+;)*7m' | grep -qF -- "$1" && return 0
      sleep 0.05
    done
  done
  fail "$2: the arrows never selected the row \"$1\""
}
# click <text> <step>: once the picture is steady, a click of the mouse's first button on the middle of
# the text's first showing,
# sent the way the terminal reports it (a press and a release in the X10 encoding, which the terminal
# description of tmux's panes gives ncurses).
click() {
  local LC_ALL=C.UTF-8 line row=0 before
  steady
  while IFS= read -r line; do
    if [[ $line == *"$1"* ]]; then
      before=${line%%"$1"*}
      local column=$((${#before} + ${#1} / 2))
      keys -H 1b 5b 4d 20 "$(printf '%x' $((column + 33)))" "$(printf '%x' $((row + 33)))"
      keys -H 1b 5b 4d 23 "$(printf '%x' $((column + 33)))" "$(printf '%x' $((row + 33)))"
      return 0
    fi
    row=$((row + 1))
  done < <(screen)
  fail "$2: nothing to click shows \"$1\""
}

# first_launch <master password>: on the first launch's screen, the master password typed twice, then
# the set-up steps, each passed with its Continue button, until the unlocked window shows.
first_launch() {
  expect "Create Master Password" "first launch"
  type_ "$1"
  keys Tab
  type_ "$1"
  keys Enter
  local step
  for step in "AutoFill" "Automatic Backups" "Sync"; do
    expect "$step" "the set-up step $step"
    focus "Continue" "the set-up step $step"
    keys Enter
  done
  expect "No Items" "the unlocked window"
}
# new_login <title>: a new login from the list's + button, its title typed, not saved yet.
new_login() {
  focus "+" "the new item button"
  keys Enter
  expect "Secure Note" "the new item menu"
  choose "Login" "the new item menu"
  expect "Untitled" "a new login"
  focus "Title" "the title field"
  type_ "$1"
  expect "$1" "typing the title"
}
# open_page <row title> <page's text>: the settings from the menu bar, then the row by the arrows.
open_page() {
  keys F10
  expect "Settings..." "the application menu"
  choose "Settings..." "the application menu"
  expect "Authentication & Security" "the settings"
  press Down
  for _ in $(seq 12); do
    styled | grep -E $'\e\\[([0-9]+;)*7m' | grep -qF -- "$1" && break
    press Down
  done
  highlighted "$1" "the row $1"
  keys Enter
  expect "$2" "the page $1"
}
# Escape closes the page, then the settings beneath it.
close_settings() {
  for _ in 1 2 3; do
    screen | grep -qF "Done" || break
    press Escape
  done
  expect_not "Done" "closing the settings"
}
# autofill_offer <step>: the first login saved with a user name and a password while AutoFill is off
# offers the AutoFill page once; Escape closes it.
autofill_offer() {
  expect "Enable password AutoFill in Safari:" "$1: the AutoFill page offered"
  press Escape
  expect_not "Enable password AutoFill in Safari:" "$1: closing the AutoFill page"
}
