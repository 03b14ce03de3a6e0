#!/usr/bin/env bash
# The item list, item details and AutoFill pages end to end, as a person uses them on a terminal: each is
# reached from the settings, and what is chosen there shows at once on the screens behind them.
set -uo pipefail
program=${1:?usage: settings-pages.sh <Corvendale executable>}

source "$(dirname "${BASH_SOURCE[0]}")/tmux-driver.sh"
master="opensesame-4812"
secret="p4ss-Forum-1"
mkdir -p "$work/home"
start pages env -i HOME="$work/home" PATH="$PATH" TERM=screen-256color ESCDELAY=1000 "$program"
tmux_ resize-window -t pages -x 100 -y 40
first_launch "$master"

# A login with a user name (the list's subtitle) and a password (concealed in the details).
new_login "Forum"
focus "Username" "the username field"
type_ "alice@example.com"
focus "Password" "the password field"
type_ "$secret"
keys C-s
autofill_offer "saving the login"
expect_not "Cancel" "saving the login"
expect "Forum" "the saved login"
never "$secret" "the concealed password"
# The user name shows twice: under the title in the list, and in the details.
[ "$(screen | grep -cF "alice@example.com")" = 2 ] || fail "the list shows no subtitle"

# Item List & Search by the keyboard alone: Tab enters the list styles at the one chosen, Down goes to
# rows without subtitles and Return takes it.
open_page "Item List & Search" "Standard without Subtitle"
never "Ask before moving items to trash?" "the page's first screen"
focus_choice "Standard" "the list styles"
pick_choice "Standard without Subtitle" "the list styles"
steady
# The last list lies below the first screen: Tab goes on to it and brings it into sight.
for _ in $(seq 8); do
  screen | grep -qF "Ask before moving items to trash?" && focused_choice "Enabled" && break
  press Tab
done
focused_choice "Enabled" || fail "Tab never reached the trash confirmations"
pick_choice "Disabled" "the trash confirmations"
steady
close_settings
expect "Forum" "the list after the settings"
[ "$(screen | grep -cF "alice@example.com")" = 1 ] || fail "the list still shows the subtitle"

# Item Details: passwords shown in the clear, past the default user name's field.
open_page "Item Details" "Under passwords only"
focus_choice "Enabled" "the concealing choices"
pick_choice "Disabled" "the concealing choices"
steady
close_settings
expect "$secret" "the details after concealing was switched off"

# AutoFill: off on this machine, so the page shows how to switch it on.
open_page "AutoFill" "Enable AutoFill in System Settings:"
expect "Enable password AutoFill in Safari:" "the steps that switch AutoFill on in the browser"
never "For future reference" "the steps that switch AutoFill off"
close_settings

# The trash confirmation, switched off below the item list page's first screen: Command-Delete moves the
# login to the trash at once, without a question.
keys M-BSpace
expect "No Items" "moving the login to the trash"
never "Move to Trash?" "moving the login to the trash"

keys C-q
ended 0 "quitting the program"
echo "settings pages end to end: passed"
