#!/usr/bin/env bash
# The settings of locking, the colour scheme and the safe-for-inspection mode end to end, as a person uses
# them on a terminal. The auto-lock interval is minutes of inactivity (its shortest choice is five), so
# the program that waits it out runs under libfaketime, on a clock the script moves forward; a second
# one, on a home folder of its own, goes through the other pages.
set -uo pipefail
program=${1:?usage: settings-security.sh <Corvendale executable> <ShiftedClockWaits library>}
waits=${2:?usage: settings-security.sh <Corvendale executable> <ShiftedClockWaits library>}
faketime=$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -n 1)
[ -n "$faketime" ] || { echo "libfaketime is not installed (scripts/install-dependencies installs it): skipped"; exit 77; }

source "$(dirname "${BASH_SOURCE[0]}")/tmux-driver.sh"
master="opensesame-4812"
inspection="border-crossing-77"
# launch <name> [environment...]
launch() {
  local name=$1
  shift
  mkdir -p "$work/home-$name"
  start "$name" env -i HOME="$work/home-$name" PATH="$PATH" TERM=screen-256color ESCDELAY=1000 "$@" "$program"
  tmux_ resize-window -t "$name" -x 100 -y 40
}
# The idle program's clock: seconds ahead of the real one, in a file libfaketime reads again each second.
# libfaketime comes ahead of the sanitizers' runtime, which is told not to mind.
clock="$work/clock"
echo "+0" > "$clock"
shifted=(LD_PRELOAD="$faketime:$waits" FAKETIME_TIMESTAMP_FILE="$clock" FAKETIME_CACHE_DURATION=1
         ASAN_OPTIONS=verify_asan_link_order=0)
# A first launch: the master password, then the set-up steps.
set_up() {
  expect "Create Master Password" "$1: the first launch"
  type_ "$master"
  keys Tab
  type_ "$master"
  expect "•••••••••••••••" "$1: typing the master password twice"
  keys Enter
  for step in "AutoFill" "Automatic Backups" "Sync"; do
    expect "$step" "$1: the set-up step $step"
    focus "Continue" "$1: the set-up step $step"
    keys Enter
  done
  expect "No Items" "$1: the unlocked window"
}
# new_login <title> <safe>: a login through the list's + button, marked safe for inspection when asked.
new_login() {
  focus "+" "the new item button"
  keys Enter
  expect "Secure Note" "the new item menu"
  choose "Login" "the new item menu"
  expect_focused "Title" "a new login"
  type_ "$1"
  if [ "$2" = safe ]; then
    click "[ ]" "the safe-for-inspection switch"
    expect_not "Safe for Inspection [ ]" "marking $1 safe for inspection"
  fi
  keys C-s
  expect_not "Cancel" "saving $1"
}

# The first program: five minutes of inactivity, chosen on the page, lock it; not a little before.
launch idle "${shifted[@]}"
set_up idle
open_page "Authentication & Security" "Lock Now"
focus_choice "After 15 Minutes" "the auto-lock choices"
pick_choice "After 5 Minutes" "the auto-lock choices" Up
steady
close_settings
idle_from=$(date +%s)
# ahead <seconds of inactivity>: the clock moved so that that much has passed since the last key.
ahead() { echo "+$(( $1 - ($(date +%s) - idle_from) ))" > "$clock"; }
ahead 280
for _ in $(seq 60); do
  screen | grep -qF "Is Locked" && fail "locked after 280 s of inactivity, before the interval"
  sleep 0.05
done
ahead 310
expect "Is Locked" "five minutes of inactivity"
keys C-q
ended 0 "quitting the first program"

# The second program, meanwhile.
launch pages
set_up pages
new_login "Forum" safe
new_login "Bank" plain
expect "Bank" "the two logins"

# The colour scheme on its page: the terminal's colours change, the menu bar's check mark moves.
before=$(styled)
open_page "Appearance" "Choose which color scheme to use:"
focus_choice "Match System" "the colour schemes"
pick_choice "Always Dark" "the colour schemes"
changed "$before"
close_settings
[ "$(styled)" != "$before" ] || fail "the colours stayed as they were"
keys F10 Right Right Right
expect "Color Scheme" "the View menu"
choose "Color Scheme" "the View menu"
expect "✓Always dark" "the colour scheme's check mark"
for _ in 1 2 3; do
  screen | grep -qF "Dark Mode Style" || break
  press Escape
done
expect_not "Dark Mode Style" "closing the View menu"

# Safe for inspection: its password typed twice, then the lock screen takes it and the list narrows.
open_page "Safe for Inspection" "Setup"
click "Setup" "the set-up button"
expect "Create your Safe for Inspection password:" "the password inputs"
type_ "$inspection"
# Return in the first input moves to the second.
keys Enter
type_ "$inspection-"
expect "Mismatch" "a repetition that differs"
keys BSpace
expect "Continue" "the password typed twice alike"
keys Enter
expect "How to use Safe for Inspection" "the instructions"
never "$inspection" "the inspection password"
close_settings
open_page "Authentication & Security" "Lock Now"
click "Lock Now" "Lock Now"
expect "Is Locked" "Lock Now"
type_ "$inspection"
keys Enter
expect_not "Is Locked" "unlocking with the inspection password"
expect "Forum" "the safe item in the mode"
expect_not "Bank" "the other item in the mode"
# The master password leaves the mode: everything is back.
keys F10 Right
expect "Lock and Require" "the File menu"
choose "Lock and Require Master Password" "the File menu"
expect "Is Locked" "locking"
type_ "$master"
keys Enter
expect_not "Is Locked" "unlocking with the master password"
expect "Bank" "every item back"
keys C-q
ended 0 "quitting the second program"

echo "settings security end to end: passed"
