#!/bin/sh
# The encoding menu from the keyboard, in a real X window with real keys, and the set it picks
# surviving kill -9. LUMA opens a MARC-8 file (read as MARC-8); Shift+F10, then "Кодировка"
# and "Windows-1252", rereads it in Windows-1252; a mark is made and the process is killed.
# Started again, LUMA offers the work back; restored, it reads the records in Windows-1252, as
# the view copied to the clipboard shows, with the mark there. Every step waits for the state it
# needs: the working copy's note tells the record shown and the set. Run under xvfb-run; exit 77
# (skipped) when a tool is missing.
#
#   encoding_real_window_test.sh LUMA LUMA_CLI SCREENSHOT_PREFIX
set -u
luma=$1 cli=$2 shots=$3
here=$(cd "$(dirname "$0")" && pwd)

for tool in xdotool xclip import python3; do
    command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
pid=""
cleanup() {
    [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/config/LUMA" "$work/tmp" "$work/runtime" "$work/source" "$work/results"
chmod 700 "$work/runtime"
export XDG_CONFIG_HOME="$work/config" TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/runtime"
unset QT_QPA_PLATFORM
label='##$aSelected'
# Mark Ctrl+Alt+N; label 901; no step after a mark.
printf '[HOTDLG]\nHOTSET=1614\nFIELDNAME=901\nFIELDTEXT=%s\nSETNEXT=0\n[SFILEDLG]\nRESULTDIR=%s/results/\n' \
    "$label" "$work" >"$work/config/LUMA/luma.ini"

fail() {
    echo "FAIL: $*"
    import -window root "${shots}-failed.png" 2>/dev/null
    [ -f "$work/luma.log" ] && cat "$work/luma.log"
    exit 1
}

. "$here/../wait_for.sh"

python3 "$here/make_marc8_file.py" "$work/source/marc8.iso" || fail "cannot write the test file"

copy() {
    ls "$work/tmp" | grep '^NEW' | grep -v -e '\.luma$' -e '\.iso$'
}
note() {
    cat "$work/tmp/$(copy).luma" 2>/dev/null
}
shown() {
    note | sed -n 's/^record: 0*//p'
}
charset() {
    note | sed -n 's/^charset: //p'
}
working_labels() {
    "$cli" count "$work/tmp/$(copy)" --label 901 "$label" 2>/dev/null | sed -n 's/^marked: //p'
}
box_shown() {
    [ "$(xdotool search --onlyvisible --name '^luma$' 2>/dev/null | wc -l)" -ge 2 ]
}
box_gone() {
    [ "$(xdotool search --onlyvisible --name '^luma$' 2>/dev/null | wc -l)" -lt 2 ]
}
# The record view's text, through the clipboard: a click in the view, select all, copy.
view_text() {
    focus_window '^LUMA$'
    window=$(xdotool search --onlyvisible --name '^LUMA$' | sort -n | tail -n 1)
    : | xclip -selection clipboard -i
    xdotool mousemove --window "$window" 80 80 click 1
    xdotool key --delay 60 ctrl+a ctrl+c
    wait_for '[ -n "$(xclip -selection clipboard -o 2>/dev/null)" ]' 10 || fail "nothing was copied from the view"
    xclip -selection clipboard -o
}

"$luma" "$work/source/marc8.iso" >>"$work/luma.log" 2>&1 &
pid=$!
focus_window '^LUMA$' 60
wait_for '[ -n "$(copy)" ] && [ -n "$(shown)" ]' 60 || fail "the file did not open"
[ "$(charset)" = MARC-8 ] || fail "read as $(charset), not MARC-8"
first=$(copy)
import -window root "${shots}-marc8.png"

# The window's menu from the keyboard (Shift+F10): Up from no item goes to the last, About, and
# on to "Кодировка"; Right opens it on its first set, and Up wraps to the last, ASCII, and on
# to Windows-1252.
focus_window '^LUMA$'
xdotool key shift+F10
xdotool key Up Up Right Up Up Return
wait_for '[ "$(charset)" = Windows-1252 ]' 15 || fail "the note says $(charset), not Windows-1252"
import -window root "${shots}-windows-1252.png"
focus_window '^LUMA$'
xdotool key ctrl+alt+n
wait_for '[ "$(working_labels)" = 1 ]' 15 || fail "the record was not marked"

kill -9 "$pid"
wait "$pid" 2>/dev/null
pid=""

"$luma" "$work/source/marc8.iso" >>"$work/luma.log" 2>&1 &
pid=$!
wait_for box_shown 60 || fail "no question at the start"
focus_window '^luma$'
press_until Return box_gone 10 || fail "the question stays"
wait_for "[ -n \"\$(copy)\" ] && [ \"\$(copy)\" != '$first' ] && [ \"\$(shown)\" = 1 ]" 30 ||
    fail "the work did not come back: copy $(copy), record $(shown)"
[ "$(charset)" = Windows-1252 ] || fail "restored work reads in $(charset)"
[ "$(working_labels)" = 1 ] || fail "the restored working copy holds $(working_labels) labels"
expected=$(python3 "$here/make_marc8_file.py" --title 1 cp1252)
view=$(view_text)
printf '%s\n' "$view" | grep -qF "$expected" || fail "the restored view is not read in Windows-1252: $view"
printf '%s\n' "$view" | grep -qF "$label" || fail "the restored view has no mark: $view"
import -window root "${shots}-restored.png"
echo "ok: screenshots ${shots}-*.png"
