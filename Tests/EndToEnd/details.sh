#!/usr/bin/env bash
# The item details end to end, as a person uses them on a terminal: the header's buttons duplicate an item
# and move the copy to the trash, a file typed into the document picker becomes a field's attachment and
# is previewed, and the decrypted copy a preview makes goes when it closes, or at the next launch after
# the program was killed with it open.
set -uo pipefail
program=${1:?usage: details.sh <Corvendale executable>}

source "$(dirname "${BASH_SOURCE[0]}")/tmux-driver.sh"
home=$work/home
temporary=$work/tmp
mkdir -p "$home" "$temporary"
master="opensesame-4812"
note="the note kept with the login 7c2e"
printf '%s\n' "$note" > "$work/note.txt"
# The program's temporary folder is the run's own, so that what it leaves there can be looked for.
launch() {
  start "$1" env -i HOME="$home" PATH="$PATH" TERM=screen-256color ESCDELAY=1000 TMPDIR="$temporary" "$program"
}
# plaintext: the files under the temporary folder that hold the note.
plaintext() { grep -rlF -- "$note" "$temporary" 2>/dev/null; }
# forum_rows <count> <step>: waits until the list shows that many rows of the login.
forum_rows() {
  for _ in $(seq $steps); do [ "$(screen | grep -c '^Forum')" -eq "$1" ] && return 0; sleep 0.05; done
  fail "$2: the list does not show $1 rows of the login"
}

launch first
first_launch "$master"
new_login "Forum"
keys C-s
# Share shows only in the header of an item being viewed.
expect "Share Archive" "saving the login"
forum_rows 1 "saving the login"

# The header's Duplicate asks first; its copy is selected, and the header's Move to Trash takes it.
click "Duplicate" "the header's Duplicate"
expect "Duplicate Item?" "the duplicate confirmation"
keys Enter
expect_not "Duplicate Item?" "confirming the duplicate"
forum_rows 2 "duplicating the login"
click "Move to Trash" "the header's Move to Trash"
forum_rows 1 "moving the copy to the trash"

# A file typed into the document picker becomes the attachment of a new field.
keys C-e
expect "Add Section" "editing the login"
focus "Add Section" "the add section row"
keys S-F10
expect "Blank Section" "the add section menu"
choose "Blank Section" "the add section menu"
expect "Add Field" "a new section"
focus "Add Field" "the add field row"
keys S-F10
expect "Multiline Text" "the add field menu"
choose "Attachment" "the add field menu"
expect "Choose File" "an attachment field"
focus "Choose File" "the attachment field's button"
keys Enter
expect "Choose a file" "the document picker"
type_ "$work/note.txt"
keys Enter
expect_not "Choose a file" "picking the file"
expect "≡ note.txt" "the attached file"
keys C-s
expect "Share Archive" "saving the attachment"
expect "Forum 📎" "the login holding a file"

# Quick Look shows the file from a decrypted copy, which goes when the preview closes.
click "note.txt" "the attachment's row"
keys S-F10
expect "Quick Look" "the attachment's menu"
choose "Quick Look" "the attachment's menu"
expect "$note" "the preview"
[ -n "$(plaintext)" ] || fail "the preview shows no decrypted copy"
keys Escape
expect_not "$note" "closing the preview"
[ -z "$(plaintext)" ] || fail "the closed preview left its copy: $(plaintext)"

# Killed with a preview open, the program leaves its copy; the next launch takes it away.
keys S-F10
expect "Quick Look" "the attachment's menu again"
choose "Quick Look" "the attachment's menu again"
expect "$note" "the preview again"
kill -KILL "$(cat "$work/first.pid")"
for _ in $(seq $steps); do [ -s "$work/first.status" ] && break; sleep 0.05; done
[ -n "$(plaintext)" ] || fail "the killed program left no copy to sweep"
launch second
expect "Is Locked" "launching after the kill"
[ -z "$(plaintext)" ] || fail "the launch after the kill left the copy: $(plaintext)"
type_ "$master"
keys Enter
expect "Forum 📎" "the login after the relaunch"
keys C-q
ended 0 "quitting"
echo "item details end to end: passed"
