#!/bin/sh
# Marking with the keyboard alone, in a real X window with real key events. With a profile that
# names only the results folder, the operator sets the hotkeys, the label and the filter in the
# settings dialog; steps to record 5 with the next hotkey, presses the mark hotkey twice (records
# 5 and 6; the sample already carries the label on records 1 and 4), and saves on the way out:
# the results file holds 4 labels. After a restart the settings are as they were set, and the
# hotkeys mark on the resumed results file. Run under xvfb-run; exit 77 (skipped) when a tool
# is missing.
#
#   hotkeys_real_window_test.sh LUMA LUMA_CLI SAMPLE PROFILE_PROBE SCREENSHOT_PREFIX
set -u
luma=$1 cli=$2 sample=$3 probe=$4 shots=$5

for tool in xdotool xclip import; do
    command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
pid=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/config/LUMA" "$work/tmp" "$work/runtime" "$work/source" "$work/results"
chmod 700 "$work/runtime"
export XDG_CONFIG_HOME="$work/config" TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/runtime"
unset QT_QPA_PLATFORM
cp "$sample" "$work/source/sample.iso"
profile="$work/config/LUMA/luma.ini"
printf '[SFILEDLG]\nRESULTDIR=%s/results/\n' "$work" >"$profile"
label='##$aОтобрано'

fail() {
    echo "FAIL: $*"
    import -window root "${shots}-failed.png" 2>/dev/null
    exit 1
}

. "$(dirname "$0")/../wait_for.sh"

# Mapped keys reach the focused window in the order pressed, however busy the program is: no
# pause is needed between them, only waits for the windows they go to.
keys() {
    xdotool key --delay 60 "$@"
}

# A message box opened over the main window: xdotool matches names ignoring case, so the box
# ("luma", the program's name) shows as a second window named like the main one ("LUMA").
box_shown() {
    [ "$(xdotool search --onlyvisible --name '^luma$' 2>/dev/null | wc -l)" -ge 2 ]
}
message_box() {
    wait_for box_shown 30 || fail "no message box"
    focus_window '^luma$'
}

copy_open() {
    [ -n "$(ls "$work/tmp" | grep '^NEW.*\.luma$')" ]
}

# The file given is open once its working copy has its note.
start() {
    "$luma" "$work/source/sample.iso" >>"$work/luma.log" 2>&1 &
    pid=$!
    focus_window '^LUMA$' 60
}
# Ends the program the way the operator does: Esc, Yes to "Сохранить?", Enter in the save
# dialog, which suggests the results folder and the file's name.
save_and_exit() {
    keys Escape
    message_box
    keys Return
    focus_window '^(Сохранить как|Save As)$'
    keys Return
    wait_for "! kill -0 $pid 2>/dev/null" 60 || fail "luma did not end after the save"
    wait "$pid"
    status=$?
    pid=""
    [ "$status" -eq 0 ] || { cat "$work/luma.log"; fail "luma ended with status $status"; }
}

labels_in() {
    "$cli" count "$1" --label 901 "$label" 2>/dev/null | sed -n 's/^marked: //p'
}
marked() {
    labels_in "$work/results/sample.iso"
}
working_marked() {
    labels_in "$work/tmp/$(ls "$work/tmp" | grep '^NEW' | grep -v -e '\.luma$' -e '\.iso$')"
}

start
wait_for copy_open 60 || fail "the file did not open"
# Exit, Open, Settings: the third button opens the settings dialog.
keys Tab Tab space
focus_window '^Настройка$'
# OK, Cancel, the tabs, then the page: mark, unmark, next, previous, label tag and text.
keys Tab Tab Tab ctrl+alt+n Tab Tab ctrl+Right Tab ctrl+Left Tab
paste_text 901
keys Tab
paste_text "$label"
# On past the switch and the two review hotkeys to the tabs, the filter page; its list, Add,
# Delete, the switch, the tag box.
keys Tab Tab Tab Tab Tab Tab Right Tab Tab Tab Tab Tab
paste_text 200
keys shift+Tab shift+Tab shift+Tab space Tab Tab space
# Back to the first page for a look, then OK, two steps back from the tabs.
keys Tab Tab Tab Tab Left
import -window root "${shots}-settings.png"
keys shift+Tab shift+Tab space
wait_for "[ -z \"\$(xdotool search --onlyvisible --name '^Настройка\$')\" ]" 30 ||
    fail "the settings dialog is still open"
settings=$("$probe" "$profile" --settings)
expected="hotkeys 1614 0 2599 2597 2600 2598
label 901 $label
setnext 1
filter 1 200"
[ "$settings" = "$expected" ] || fail "the profile holds:
$settings"

# The keyboard alone: four times next, twice mark.
keys ctrl+Right ctrl+Right ctrl+Right ctrl+Right ctrl+alt+n ctrl+alt+n
wait_for '[ "$(working_marked)" = 4 ]' 30 || fail "the working copy holds $(working_marked) labels, not 2 + 2"
import -window root "${shots}-marked.png"
save_and_exit
[ "$(marked)" = 4 ] || fail "the results file holds $(marked) labels, not 2 + 2"

# After a restart: the same settings, and Yes to resuming on the results file.
start
message_box
keys Return
wait_for "! box_shown && copy_open" 30 || fail "the results file was not resumed"
focus_window '^LUMA$'
[ "$("$probe" "$profile" --settings)" = "$expected" ] || fail "the settings changed at the restart"
keys ctrl+Right ctrl+alt+n
wait_for '[ "$(working_marked)" = 5 ]' 30 || fail "after the restart the working copy holds $(working_marked) labels"
import -window root "${shots}-restarted.png"
save_and_exit
[ "$(marked)" = 5 ] || fail "after the restart the results file holds $(marked) labels, not 5"
echo "ok: screenshots ${shots}-*.png"
