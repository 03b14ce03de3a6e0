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
# tmux hands a mouse report over a byte at a time: a long ESCDELAY keeps a busy machine from reading its
# leading Escape as the Escape key.
launch() {
  start "$1" env -i HOME="$home" PATH="$PATH" TERM=screen-256color ESCDELAY=1000 "$program"
}

# First launch: once the first fetch from the account ended, the master password is created.
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
keys Enter

# The set-up steps, each passed with its Continue button.
for step in "AutoFill" "Automatic Backups" "Sync"; do
  expect "$step" "the set-up step $step"
  focus "Continue" "the set-up step $step"
  keys Enter
done
expect "No Items" "the unlocked window"

# A new login: the list's + button offers the kinds of item.
focus "+" "the new item button"
keys Enter
expect "Secure Note" "the new item menu"
choose "Login" "the new item menu"
expect "Untitled" "a new login"
focus "Title" "the title field"
type_ "Forum"
expect "Forum" "typing the title"
focus "Username" "the username field"
type_ "alice"
expect "alice" "typing the username"
# The password is generated: the generator shows under the password field while it is edited, and its
# Regenerate button puts a new password of its 20 characters into the field, which keeps the keyboard.
focus "Password" "the password field"
expect "Regenerate" "the password generator"
click "Regenerate" "generating a password"
expect "••••••••••••••••••••" "generating a password"
focused "Password" || fail "the password field lost the keyboard to the generator"
expect "Regenerate" "the generator after generating"
keys C-s
autofill_offer "saving the login"
expect_not "Untitled" "saving the login"
expect "Forum" "saving the login"

# Search for it (Edit > Find puts the keyboard in the search field, here from the focused new item
# button): a search that matches nothing, then one that matches the login, which the arrows select.
focus "+" "the new item button"
keys F10 Right Right
expect "Select All" "the Edit menu"
choose "Find" "the Edit menu"
expect_focused "Search" "Edit > Find"
type_ "zq"
expect "No Results" "searching for what is not there"
keys BSpace BSpace
type_ "for"
expect_not "No Results" "searching"
expect "Forum" "searching"
keys Down
# Copy its password (Item > Copy Password, Alt-Shift-C): the clipboard holds the 20 generated characters,
# which never show.
keys M-C
password=$(copied 20 "copying the password") || exit 1
never "$password" "the copied password"
# The password in large type (Alt-Shift-L): each character in a box of its own over the dimmed window;
# Escape closes it.
keys M-L
expect "┌" "the large-type viewer"
keys Escape
expect_not "┌" "closing the large-type viewer"
expect "Forum" "closing the large-type viewer"

# The settings from the menu bar (Corvendale > Settings...): the arrows move the highlight through the
# rows, the version text at the end opens the debug-information sheet, and Escape closes the sheet and
# then the settings. A taller pane shows the settings whole.
tmux_ resize-window -t "$session" -x 100 -y 40
keys F10
expect "Settings..." "the application menu"
choose "Settings..." "the application menu"
expect "Authentication & Security" "the settings"
press Down
highlighted "Authentication & Security" "Down in the settings"
press Down
highlighted "AutoFill" "Down again in the settings"
press Up
highlighted "Authentication & Security" "Up in the settings"
# End takes the selection to the version row, as a click there would.
press End
steady
screen | grep -q "Analytics ID Only" || click "Version " "the version text"
expect "Analytics ID Only" "the debug-information sheet"
keys Escape
expect_not "Analytics ID Only" "cancelling the debug-information sheet"
click "Version " "the version text"
expect "Analytics ID Only" "the debug-information sheet from the version text"
keys Escape
expect_not "Analytics ID Only" "cancelling the debug-information sheet again"
expect "Questions?" "the settings after the sheet"
keys Escape
expect_not "Questions?" "closing the settings"
expect "Forum" "the window after the settings"
tmux_ resize-window -t "$session" -x 100 -y 30

# Lock from the menu bar: File > Lock.
keys F10 Right
expect "Lock and Require" "the File menu"
choose "Lock" "the File menu"
expect "Is Locked" "locking"
type_ "$master"
never "$master" "the master password"
keys Enter
expect_not "Is Locked" "unlocking"
expect "Forum" "unlocking"

# Quit (Ctrl-Q): the terminal is restored.
keys C-q
ended 0 "quitting"

# The vault holds the login: the program starts locked and shows it once unlocked.
launch second
expect "Is Locked" "launching again"
type_ "$master"
keys Enter
expect "Forum" "the login after launching again"
# It holds the generated password. Find's key (Ctrl-F) reaches the search field from a focused button too.
tmux_ set-buffer "nothing copied"
focus "+" "the new item button"
keys C-f
expect_focused "Search" "Find's key"
type_ "for"
expect "Forum" "searching again"
keys Down
keys M-C
kept=$(copied 20 "copying the kept password") || exit 1
[ "$kept" = "$password" ] || fail "the kept login holds another password"
never "$password" "the copied password"
# A login with fields of its own, by the keyboard: "+" > Login starts at its title; a section and a
# field come from the context menus (Shift-F10) of the "Add Section" and "Add Field" rows. The search
# ends first, so that the list shows what is added.
keys C-f
expect_focused "for" "Find's key"
press BSpace BSpace BSpace
expect_focused "Search" "ending the search"
focus "+" "the new item button"
keys Enter
expect "Secure Note" "the new item menu"
choose "Login" "the new item menu"
expect_focused "Title" "a new login"
type_ "Bank"
keys Tab
expect_focused "Username" "Tab from the title"
type_ "bob"
focus "Add Section" "the add section row"
keys S-F10
expect "Blank Section" "the add section menu"
choose "Blank Section" "the add section menu"
expect "Add Field" "a new section"
# The section's first field takes the keyboard at its value; its title stands before it.
type_ "North Street"
keys BTab
type_ "Branch"
focus "Add Field" "the add field row"
keys S-F10
expect "Multiline Text" "the add field menu"
choose "URL" "the add field menu"
expect "URL" "a new field"
keys C-s
# The saved login reads whole on the screen, each label with its value, and is the list's selection.
expect "Branch North Street" "the saved login's own field"
expect "Username bob" "the saved login's username"
expect_not "Cancel" "saving the login"

# Duplicated through the alert by the keyboard alone: Return takes its preferred action.
keys C-d
expect "Duplicate Item?" "the duplicate confirmation"
keys Enter
expect_not "Duplicate Item?" "confirming the duplicate"
for _ in $(seq $steps); do [ "$(screen | grep -c '^Bank')" -ge 2 ] && break; sleep 0.05; done
[ "$(screen | grep -c '^Bank')" -ge 2 ] || fail "the copy is not in the list"

# At 60 columns the details stand on their own with a way back; Escape takes it.
tmux_ resize-window -t "$session" -x 60 -y 30
expect "Back" "the details on their own at 60 columns"
expect "Help" "the menu bar at 60 columns"
keys Escape
expect "All Items" "back to the list"
tmux_ resize-window -t "$session" -x 100 -y 30

# The plug-in beside the program pins its window above other apps (Window menu): the menu bar says so and
# the menu's entry carries the check mark; Alt-Shift-P unpins it.
click "Window" "the Window menu"
choose "Keep Window Pinned Above Other Apps" "the Window menu"
expect "Pinned  F10: menus" "pinning the window"
click "Window" "the Window menu"
expect "✓Keep Window Pinned Above Other Apps" "the pinned window's check mark"
keys Escape
expect_not "Keep Window Pinned" "closing the Window menu"
keys M-P
expect_not "Pinned  F10: menus" "unpinning the window"

# Closing the window (Ctrl-W) quits the program through the plug-in.
keys C-w
ended 0 "closing the window"
echo "main program end to end: passed"
