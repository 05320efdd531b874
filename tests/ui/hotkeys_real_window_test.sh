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

# Waits for a visible window whose name matches, and gives it the keyboard.
window() {
    w=$(xdotool search --sync --onlyvisible --name "$1" | head -n 1)
    [ -n "$w" ] || fail "no window named $1"
    xdotool windowfocus --sync "$w"
    sleep 0.3
}

# A message box opened over the main window: xdotool matches names ignoring case, so the box
# ("luma", the program's name) shows as a second window named like the main one ("LUMA"),
# and the newer of the two.
message_box() {
    tries=0
    while [ "$(xdotool search --onlyvisible --name '^luma$' | wc -l)" -lt 2 ]; do
        tries=$((tries + 1))
        [ $tries -lt 100 ] || fail "no message box"
        sleep 0.1
    done
    xdotool windowfocus --sync "$(xdotool search --onlyvisible --name '^luma$' | sort -n | tail -n 1)"
    sleep 0.3
}

start() {
    "$luma" "$work/source/sample.iso" >>"$work/luma.log" 2>&1 &
    pid=$!
    window '^LUMA$'
}

keys() {
    xdotool key --delay 60 "$@"
    sleep 0.3
}

. "$(dirname "$0")/../wait_for.sh"

# Pastes text into the focused field: a paste cannot lose characters the way typed Cyrillic
# does on a busy machine (each letter needs a key remapped for it). xclip serves the clipboard
# until the program has taken it.
paste_text() {
    printf '%s' "$1" | xclip -selection clipboard -i
    keys ctrl+v
}

# Ends the program the way the operator does: Esc, Yes to "Сохранить?", Enter in the save
# dialog, which suggests the results folder and the file's name.
save_and_exit() {
    keys Escape
    message_box
    keys Return
    window '^(Сохранить как|Save As)$'
    keys Return
    wait_for "! kill -0 $pid 2>/dev/null" 60 || fail "luma did not end after the save"
    wait "$pid"
    status=$?
    pid=""
    [ "$status" -eq 0 ] || { cat "$work/luma.log"; fail "luma ended with status $status"; }
}

marked() {
    "$cli" count "$work/results/sample.iso" --label 901 "$label" | sed -n 's/^marked: //p'
}

start
# Exit, Open, Settings: the third button opens the settings dialog.
keys Tab Tab space
window '^Настройка$'
# OK, Cancel, the tabs, then the page: mark, unmark, next, previous, label tag and text.
keys Tab Tab Tab ctrl+alt+n Tab Tab ctrl+Right Tab ctrl+Left Tab
xdotool type --delay 60 901
keys Tab
paste_text "$label"
# On to the tabs, the filter page; its list, Add, Delete, the switch, the tag box.
keys Tab Tab Tab Tab Right Tab Tab Tab Tab Tab
xdotool type --delay 60 200
keys shift+Tab shift+Tab shift+Tab space Tab Tab space
# Back to the first page for a look, then OK, two steps back from the tabs.
keys Tab Tab Tab Tab Left
import -window root "${shots}-settings.png"
keys shift+Tab shift+Tab space
wait_for "[ -z \"\$(xdotool search --onlyvisible --name '^Настройка\$')\" ]" 30 ||
    fail "the settings dialog is still open"
settings=$("$probe" "$profile" --settings)
expected="hotkeys 1614 0 2599 2597
label 901 $label
setnext 1
filter 1 200"
[ "$settings" = "$expected" ] || fail "the profile holds:
$settings"

# The keyboard alone: four times next, twice mark.
keys ctrl+Right ctrl+Right ctrl+Right ctrl+Right ctrl+alt+n ctrl+alt+n
import -window root "${shots}-marked.png"
save_and_exit
[ "$(marked)" = 4 ] || fail "the results file holds $(marked) labels, not 2 + 2"

# After a restart: the same settings, and Yes to resuming on the results file.
start
message_box
keys Return
window '^LUMA$'
[ "$("$probe" "$profile" --settings)" = "$expected" ] || fail "the settings changed at the restart"
keys ctrl+Right ctrl+alt+n
import -window root "${shots}-restarted.png"
save_and_exit
[ "$(marked)" = 5 ] || fail "after the restart the results file holds $(marked) labels, not 5"
echo "ok: screenshots ${shots}-*.png"
