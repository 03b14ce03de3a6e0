#!/usr/bin/env bash
# Moving items in and out end to end, as a person does on a terminal: a browser's CSV export of 1,000
# logins goes in through File > Import while the page shows its progress, the vault goes out as this
# program's JSON, a backup is made, the vault changes, and the backup is restored on the lock screen.
set -uo pipefail
program=${1:?usage: transfer.sh <Corvendale executable>}

source "$(dirname "${BASH_SOURCE[0]}")/tmux-driver.sh"
home=$work/home
exports=$work/exports
out=$work/out
backups=$work/backups
mkdir -p "$home" "$exports" "$out" "$backups"
master="opensesame-4812"
{
  echo "name,url,username,password"
  for i in $(seq 0 999); do echo "Site $i,https://site$i.example,user$i,secret$i"; done
} > "$exports/Chrome Passwords.csv"
log=$home/.cache/com.example.corvendale/display.log

# The pages are sheets taller than 30 rows: the pane is 40 rows high.
start transfer env -i HOME="$home" PATH="$PATH" TERM=screen-256color ESCDELAY=1000 "$program"
tmux_ resize-window -t "$session" -x 100 -y 40
first_launch "$master"

# reveal <text> <step>: Tab until what shows the text is in sight (the focus scrolls a long page to it).
reveal() {
  for _ in $(seq 30); do screen | grep -qF -- "$1" && return 0; press Tab; done
  fail "$2: Tab never brought \"$1\" into sight"
}
# menu <title> <step>: the File menu's entry.
menu() {
  keys F10 Right
  expect "$1" "$2"
  choose "$1" "$2"
}
# pick <path> <step>: types the path into the open document picker, the last name completed by Tab, and
# opens it.
pick() {
  expect "Path" "$2"
  type_ "$1"
  press Tab
  keys Enter
  expect_not "Cancel     Open" "$2"
}

# Import: app, format, file (the picker's Tab completes its name), then the progress and the report.
menu "Import..." "File > Import..."
expect "Which app would you like to import from?" "the import page"
expect "Chrome" "the apps"
focus_choice "1Password" "the apps"
pick_choice "Chrome" "choosing the app"
expect "Which file format did you export to?" "the format question"
focus_choice "CSV (.csv)" "the formats"
pick_choice "CSV (.csv)" "choosing the format"
expect "name, url, username, password" "the required column labels"
click "Choose File…" "the file picker"
pick "$exports/Chr" "choosing the export file"
expect "Would you like to add one or more tags" "the chosen file"
reveal "Start Import" "the import's button"
click "Start Import" "starting the import"
expect "Cancel Import" "the import's progress"
expect "Import From Another File" "the import's report"
expect "1000 items successfully imported." "the import's report"
grep -qF "Imported 1000 items, skipped 0, 0 failures" "$log" || fail "the import did not take the 1,000 logins"
expect "Import From Another File" "the import's report"
click "Import From Another File" "starting over"
expect "Which app would you like to import from?" "the page started over"
click "Done" "closing the import page"
expect_not "Import Items" "closing the import page"

# The items are in the vault: the search finds the last row's login.
focus "+" "the new item button"
keys C-f
expect_focused "Search" "Find's key"
type_ "Site 999"
expect "user999" "the last imported login"
for _ in $(seq 8); do keys BSpace; done
expect "user0" "ending the search"

# Export to this program's JSON: the report says where the plain-text file went; it is owner-only.
menu "Export..." "File > Export..."
expect "Which app would you like to export to?" "the export page"
focus_choice "Corvendale" "the apps"
pick_choice "Corvendale" "choosing the app"
expect "JSON (.json)" "the formats"
focus_choice "JSON (.json)" "the formats"
pick_choice "JSON (.json)" "choosing the format"
expect "Choose Folder…" "the folder question"
click "Choose Folder…" "the folder picker"
expect "Choose a folder" "the folder picker"
type_ "$out"
keys Enter
expect "NOT encrypted" "the chosen folder"
reveal "Start Export" "the export's button"
click "Start Export" "starting the export"
expect "1000 items successfully exported." "the export's report"
expect "Written to" "where the export went"
exported=$(ls "$out"/*.json 2>/dev/null | head -n 1)
[ -n "$exported" ] || fail "no JSON file in the chosen folder"
[ "$(stat -c %a "$exported")" = 600 ] || fail "the exported file is not owner-only"
grep -q "user999" "$exported" || fail "the exported file lacks the last login"
click "Done" "closing the export page"
expect_not "Export Items" "closing the export page"

# Back up: no automatic backups, a folder, then Perform Backup.
menu "Backup..." "File > Backup..."
expect "to save encrypted" "the backup page"
focus_choice "Weekly" "the backup intervals"
pick_choice "Never" "no automatic backups"
click "Choose Folder…" "the backup folder picker"
expect "Choose a folder" "the backup folder picker"
# The picker starts in the documents folder: that path goes first.
for _ in $(seq 80); do keys BSpace; done
type_ "$backups"
keys Enter
expect "Clear Choose Folder…" "the chosen backup folder"
reveal "Perform Backup" "the backup button"
click "Perform Backup" "backing up"
for _ in $(seq $steps); do ls "$backups"/*.corvendalebackup >/dev/null 2>&1 && break; sleep 0.05; done
ls "$backups"/*.corvendalebackup >/dev/null 2>&1 || fail "no backup in the chosen folder"
expect "Last backed up:" "the backup's status"
click "Done" "closing the backup page"
expect_not "Backup & Restore" "closing the backup page"

# The vault changes after the backup: a login more.
focus "+" "the new item button"
keys Enter
expect "Secure Note" "the new item menu"
choose "Login" "the new item menu"
expect "Untitled" "a new login"
focus "Title" "the title field"
type_ "Scratch"
keys C-s
expect_not "Untitled" "saving the login"

# Restore on the lock screen, from the backup page's Restore From Backup.
menu "Backup..." "File > Backup..."
reveal "Restore From Backup" "the restore button"
click "Restore From Backup" "restoring"
expect "Restoring a backup replaces every item" "the restore's introduction"
click "Continue" "the restore's introduction"
expect "Enter your current master password" "the current master password"
type_ "$master"
keys Enter
expect "Choose the backup file to restore." "the backup file"
click "Choose File…" "the backup file picker"
pick "$backups/Corv" "choosing the backup"
expect "Clear Choose File…" "the chosen backup"
click "Continue" "the chosen backup"
expect "Backup Password" "the backup's password"
type_ "$master"
keys Enter
expect "Replace Data?" "the confirmation"
focus "Replace Data" "the confirmation"
keys Enter
expect "Backup Restored" "the restored vault"
type_ "$master"
keys Enter
expect "All Items" "unlocking the restored vault"

# The backed-up items are back, the later login is gone.
focus "+" "the new item button"
keys C-f
expect_focused "Search" "Find's key"
type_ "Scratch"
expect "No Results" "the login added after the backup"
for _ in $(seq 7); do keys BSpace; done
type_ "Site 999"
expect "user999" "the restored logins"

keys C-q
ended 0 "quitting"
echo "import, export, backup and restore end to end: passed"
