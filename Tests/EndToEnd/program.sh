#!/usr/bin/env bash
# The main program end to end, as a person uses it on a terminal: the real executable runs in a tmux pane
# (tmux-driver.sh) on a vault of its own, in a home folder made for the run.
set -uo pipefail
program=${1:?usage: program.sh <Corvendale executable>}

source "$(dirname "${BASH_SOURCE[0]}")/tmux-driver.sh"
home=$work/home
mkdir -p "$home"
master="opensesame-4812"
# The program on the run's home folder: its vault, preferences, caches and sync container all under it.
launch() {
  start "$1" env -i HOME="$home" PATH="$PATH" TERM=screen-256color ASAN_OPTIONS=detect_leaks=0 "$program"
}

# First launch: the first fetch from the account, then the master password is created.
launch first
expect "Create Master Password" "first launch"
type_ "$master"
keys Tab
type_ "$master"
expect "•••••••••••••••" "typing the master password twice"
never "$master" "the master password"

# What the program writes to standard error goes to its log, not over the picture.
never "[Error]" "standard error"
[ -f "$home/.cache/com.example.corvendale/display.log" ] || fail "no log file in the caches folder"

# Quit (Ctrl-Q): the terminal is restored.
keys C-q
ended 0 "quitting"
echo "main program end to end: passed"
