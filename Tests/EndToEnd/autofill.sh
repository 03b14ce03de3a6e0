#!/usr/bin/env bash
# The AutoFill extension end to end, as a person meets it: the main program runs in one tmux pane on a
# vault of its own; the AutoFill service stand-in starts the extension in another pane, once per request,
# on the same home folder (the application group, the vault and the sync container are shared).
set -uo pipefail
program=${1:?usage: autofill.sh <Corvendale executable> <autofill-request executable> <extension bundle>}
service=${2:?usage: autofill.sh <Corvendale executable> <autofill-request executable> <extension bundle>}
extension=${3:?usage: autofill.sh <Corvendale executable> <autofill-request executable> <extension bundle>}

source "$(dirname "${BASH_SOURCE[0]}")/tmux-driver.sh"
home=$work/home
mkdir -p "$home"
master="opensesame-4812"
secret="p4ss-Forum-1"
run() {
  local name=$1
  shift
  start "$name" env -i HOME="$home" PATH="$PATH" TERM=screen-256color ESCDELAY=1000 "$@"
}
# request <pane> <arguments...>: one request to the extension, its outcome printed in the pane when it ends.
request() {
  local name=$1
  shift
  rm -f "$work/$name.status"
  tmux_ kill-session -t "$name" 2>/dev/null
  run "$name" "$service" --extension "$extension" "$@"
}
# outcome <pane> <status> <step>: waits until the request ended with the status; its JSON is on the pane.
outcome() {
  for _ in $(seq $steps); do [ -f "$work/$1.status" ] && break; sleep 0.05; done
  [ -f "$work/$1.status" ] || fail "$3: the request never ended"
  [ "$(cat "$work/$1.status")" = "$2" ] || fail "$3: the request ended with status $(cat "$work/$1.status"), not $2"
}

# printed <text> <step>: the pane shows the text, its wrapped lines joined (the outcome's JSON).
printed() {
  for _ in $(seq $steps); do tmux_ capture-pane -p -J -t "$session" | grep -qF -- "$1" && return 0; sleep 0.05; done
  fail "$2: the pane never printed \"$1\""
}

# The main program: a master password and a login for forum.example.
run main "$program"
expect "Create Master Password" "first launch"
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
expect "No Items" "the unlocked window"
focus "+" "the new item button"
keys Enter
expect "Secure Note" "the new item menu"
choose "Login" "the new item menu"
expect "Untitled" "a new login"
focus "Title" "the title field"
type_ "Forum"
focus "Username" "the username field"
type_ "alice"
focus "Password" "the password field"
type_ "$secret"
focus "Website" "the website field"
type_ "forum.example"
expect "forum.example" "typing the website"
keys C-s
autofill_offer "saving the login"
expect_not "Untitled" "saving the login"
expect "Forum" "saving the login"

# A request for the site: the unlock screen hides the list until the master password is right.
request fill --print-secret list "https://forum.example/login"
expect "Master Password" "the extension's unlock screen"
never "Forum" "the locked extension"
type_ "wrong-password"
keys Enter
expect "Master Password" "a wrong password"
never "Forum" "the extension after a wrong password"
type_ "$master"
keys Enter
expect "Forum" "the site's login after unlocking"
expect "alice" "the site's login after unlocking"
select_row "Forum" "choosing the login"
keys Enter
outcome fill 0 "choosing the login"
printed '"user":"alice"' "the credential handed over"
printed "\"password\":\"$secret\"" "the credential handed over"
# The main program, still running, learns of the use through the account's change.
session=main
expect "Last used" "the login's last use in the main program"

# The main program locks while the extension's list is open: the list goes, and Return hands nothing over.
request fill --print-secret list "forum.example"
expect "Master Password" "the extension's unlock screen"
type_ "$master"
keys Enter
expect "alice" "the site's login after unlocking"
session=main
keys C-l
expect "Is Locked" "locking the main program"
session=fill
expect_not "alice" "the extension after the main program locked"
keys Down Enter
sleep 1
[ -f "$work/fill.status" ] && fail "Return handed something over after the main program locked"
never "alice" "the extension after Return"
keys Escape
outcome fill 1 "cancelling the request"
printed '"errorDomain":"ASExtensionErrorDomain","errorCode":1' "the user's cancellation"

# A request without user interaction is always cancelled, and asks for that interaction.
env -i HOME="$home" PATH="$PATH" "$service" --extension "$extension" provide-without-user-interaction "any-record" > "$work/silent.json"
[ $? = 1 ] || fail "a request without user interaction did not end cancelled"
grep -qF '"errorCode":100' "$work/silent.json" || fail "a request without user interaction: $(cat "$work/silent.json")"

# A new login from the extension, for a site the vault knows nothing of, lands in the main program.
session=main
type_ "$master"
keys Enter
expect_not "Is Locked" "unlocking the main program again"
# The generator shows over the screen rather than under the field (View > Item Details > Show Password
# Generator): a preference the extension shares with the program.
keys F10 Right Right Right
expect "Item Details" "the View menu"
choose "Item Details" "the View menu"
choose "Show Password Generator" "the Item Details menu"
choose "As popover only" "the Show Password Generator menu"
expect_not "As popover only" "choosing how the generator shows"
request fill --print-secret list "https://shop.example/cart"
expect "Master Password" "the extension's unlock screen"
type_ "$master"
keys Enter
expect "No Items" "a site without items"
# A list without items gives the keyboard to its search field a moment after it shows.
expect_focused "Search" "the search field of a list without items"
focus "+" "the extension's new item button"
keys Enter
choose "Login" "the new item menu"
expect "shop.example" "the new login for the site"
# The password's menu (Shift-F10 in its field) opens the generator; the password it shows, copied, is the
# one its Done puts into the field and the one handed over.
focus "Password" "the new login's password field"
keys S-F10
expect "Generate Password" "the password's menu"
choose "Generate Password" "the password's menu"
expect "Regenerate" "the password generator"
focus "Copy" "the generator's Copy button"
keys Enter
generated=$(copied 20 "copying the generated password") || exit 1
focus "Done" "the generator's Done button"
keys Enter
expect_not "Regenerate" "taking the generated password"
expect "••••••••••••••••••••" "the generated password in its field"
focus "Done" "the new login's Done button"
keys Enter
outcome fill 0 "saving the new login"
printed "\"password\":\"$generated\"" "the new login handed over with the generated password"
session=main
expect "shop.example" "the extension's new login in the main program"

# Without --print-secret the password goes to the clipboard for a while, never to the pane.
request fill list "forum.example"
expect "Master Password" "the extension's unlock screen"
type_ "$master"
keys Enter
expect "alice" "the site's login after unlocking"
select_row "Forum" "choosing the login"
keys Enter
expect "Copied to the clipboard" "handing the password to the clipboard"
clipboard "$secret" "the handed-over password"
keys Enter
outcome fill 0 "clearing the clipboard"
printed '"user":"alice"' "the outcome without the password"
never "$secret" "the outcome without --print-secret"

echo "autofill end to end: passed"
