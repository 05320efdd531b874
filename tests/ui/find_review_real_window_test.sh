#!/bin/sh
# Find, review and save only the marked records, in a real X window with real keys. On a
# Windows-1251 file of 50 records where only records 3 and 40 hold "Жар-птица", Ctrl+F finds
# "жар-птиц" (case folded) on record 3; F3 goes to 40, and on to 3 again past the end (the wrap
# note shows in the status line); both are marked. From record 1, Ctrl+Down goes to 3, then 40.
# "Сохранить помеченные…" from the context menu writes a file of exactly those two records,
# equal byte for byte to them in the results file saved on the way out. Then a damaged file:
# the status line tells of its problems and "Сведения о файле…" lists them. Screenshots of the
# find dialog, the marked list and the file information are kept. Every step waits for the
# state it needs: the record shown is read from the working copy's note, which follows it.
# Run under xvfb-run; exit 77 (skipped) when a tool is missing.
#
#   find_review_real_window_test.sh LUMA LUMA_CLI SCREENSHOT_PREFIX
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
label='##$aОтобрано'
# Mark Ctrl+Alt+N, previous Ctrl+Left; label 901; no step after a mark.
printf '[HOTDLG]\nHOTSET=1614\nHOTPREV=2597\nFIELDNAME=901\nFIELDTEXT=%s\nSETNEXT=0\n[SFILEDLG]\nRESULTDIR=%s/results/\n' \
    "$label" "$work" >"$work/config/LUMA/luma.ini"

fail() {
    echo "FAIL: $*"
    import -window root "${shots}-failed.png" 2>/dev/null
    [ -f "$work/luma.log" ] && cat "$work/luma.log"
    exit 1
}

. "$here/../wait_for.sh"

python3 "$here/make_find_file.py" "$work/source/tales.iso" || fail "cannot write the test file"
python3 "$here/../damage/make_damaged.py" "$work/catalogue" >/dev/null || fail "cannot write the damaged files"
cat "$work/catalogue"/01-* "$work/catalogue"/12-* "$work/catalogue"/23-* >"$work/source/damaged.iso"

copy() {
    ls "$work/tmp" | grep '^NEW' | grep -v -e '\.luma$' -e '\.iso$'
}
shown() {
    sed -n 's/^record: 0*//p' "$work/tmp/$(copy).luma" 2>/dev/null
}
working_labels() {
    "$cli" count "$work/tmp/$(copy)" --label 901 "$label" 2>/dev/null | sed -n 's/^marked: //p'
}
window_named() {
    [ -n "$(xdotool search --onlyvisible --name "$1" 2>/dev/null)" ]
}
# Presses a key and waits for the window to show record $2.
key_to() {
    xdotool key "$1"
    wait_for "[ \"\$(shown)\" = $2 ]" 15 || fail "$1 showed record $(shown), not $2"
}
# The context menu of the window, opened with the menu key on the focused button, and its
# item number $1 (1 Найти…, 2 Помеченные записи…, 3 Сохранить помеченные…, 4 Сведения о файле…).
menu_item() {
    focus_window '^LUMA$'
    xdotool key Menu
    i=0
    while [ $i -lt "$1" ]; do xdotool key Down; i=$((i + 1)); done
    xdotool key Return
}
start() {
    "$luma" "$1" >>"$work/luma.log" 2>&1 &
    pid=$!
    focus_window '^LUMA$' 60
    wait_for '[ -n "$(copy)" ] && [ -n "$(shown)" ]' 60 || fail "$1 did not open"
}
ends() {
    wait_for "! kill -0 $pid 2>/dev/null" 30 || fail "luma did not end"
    wait "$pid"
    status=$?
    pid=""
    [ "$status" -eq 0 ] || fail "luma ended with status $status"
}

start "$work/source/tales.iso"
xdotool key ctrl+f
focus_window '^Найти$'
paste_text 'жар-птиц'
import -window root "${shots}-find.png"
xdotool key Return
wait_for "! window_named '^Найти\$' && [ \"\$(shown)\" = 3 ]" 15 || fail "the find went to record $(shown), not 3"
focus_window '^LUMA$'
key_to F3 40
key_to F3 3
import -window root "${shots}-wrapped.png"
xdotool key ctrl+alt+n
wait_for '[ "$(working_labels)" = 1 ]' 15 || fail "record 3 was not marked"
key_to F3 40
xdotool key ctrl+alt+n
wait_for '[ "$(working_labels)" = 2 ]' 15 || fail "record 40 was not marked"

# The review, from record 1.
key_to ctrl+Up 3
key_to ctrl+Left 2
key_to ctrl+Left 1
key_to ctrl+Down 3
key_to ctrl+Down 40

menu_item 2
focus_window '^Помеченные записи$'
import -window root "${shots}-marked-list.png"
xdotool key Escape
wait_for "! window_named '^Помеченные записи\$'" 10 || fail "the marked list stays"

menu_item 3
focus_window '^(Сохранить как|Save As)$'
xdotool key Return
wait_for "[ -s '$work/results/tales-marked.iso' ]" 15 || fail "no file of the marked records"

# Save on the way out: Esc, Yes, Enter in the save dialog.
focus_window '^LUMA$'
xdotool key Escape
wait_for "[ \"\$(xdotool search --onlyvisible --name '^luma\$' 2>/dev/null | wc -l)\" -ge 2 ]" 15 || fail "Esc asked nothing"
focus_window '^luma$'
xdotool key Return
focus_window '^(Сохранить как|Save As)$'
xdotool key Return
ends

python3 - "$work/results/tales.iso" "$work/results/tales-marked.iso" <<'PY' || fail "the marked file is not records 3 and 40 of the results file"
import sys
def records(path):
    data, out = open(path, "rb").read(), []
    while data:
        length = int(data[:5])
        out.append(data[:length])
        data = data[length:]
    return out
results, marked = records(sys.argv[1]), open(sys.argv[2], "rb").read()
sys.exit(0 if marked == results[2] + results[39] else 1)
PY

# A damaged file: the status line tells of it; the file information lists its problems.
start "$work/source/damaged.iso"
menu_item 4
focus_window '^Сведения о файле$'
import -window root "${shots}-file-info.png"
xdotool key Escape
wait_for "! window_named '^Сведения о файле\$'" 10 || fail "the file information stays"
focus_window '^LUMA$'
import -window root "${shots}-damaged.png"
xdotool key Escape
ends
echo "ok: screenshots ${shots}-*.png"
