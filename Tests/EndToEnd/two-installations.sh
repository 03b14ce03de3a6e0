#!/usr/bin/env bash
# Two installations of the main program on one account, as a person runs them on two machines: each its
# own home folder, one sync container folder between them. The second learns the master password from the
# account, unlocks with it and shows what the first saved.
set -uo pipefail
program=${1:?usage: two-installations.sh <Corvendale executable>}

source "$(dirname "${BASH_SOURCE[0]}")/tmux-driver.sh"
container=$work/container
mkdir -p "$container" "$work/home-first" "$work/home-second"
master="opensesame-4812"
launch() {
  start "$1" env -i HOME="$work/home-$1" PATH="$PATH" TERM=screen-256color ESCDELAY=1000 CORVENDALE_CLOUDKIT_FOLDER="$container" "$program"
}

# The first installation: the master password and a login.
launch first
expect "Create Master Password" "the first installation's first launch"
type_ "$master"
keys Tab
type_ "$master"
expect "•••••••••••••••" "typing the master password twice"
keys Enter
for step in "AutoFill" "Automatic Backups" "Sync"; do
  expect "$step" "the set-up step $step"
  focus "Continue" "the set-up step $step"
  keys Enter
done
expect "No Items" "the first installation unlocked"
focus "+" "the new item button"
keys Enter
expect "Secure Note" "the new item menu"
choose "Login" "the new item menu"
expect "Untitled" "a new login"
focus "Title" "the title field"
type_ "Forum"
expect "Forum" "typing the title"
keys C-s
expect_not "Untitled" "saving the login"

# The second installation never offers a master password of its own: the account's opens it.
launch second
expect "Is Locked" "the second installation's first launch"
never "Create Master Password" "the second installation"
type_ "$master"
keys Enter
expect_not "Is Locked" "unlocking the second installation"
expect "Forum" "the first installation's login on the second"
keys C-q
ended 0 "quitting the second installation"
session=first
keys C-q
ended 0 "quitting the first installation"
echo "two installations end to end: passed"
