#!/bin/sh
# Unsaved work comes back after kill -9, in a real X window with real key events. LUMA is started
# on a copy of the sample with the mark and next hotkeys set; the operator steps to record 2 and
# marks it (the sample carries the label on records 1 and 4), and the process is killed. Started
# again on the same file, LUMA first asks whether to restore the work; Enter (Yes, the default)
# restores it with the marks unsaved, so that Esc asks "Сохранить?", and Enter twice saves the
# results file, named after the source, with the 3 labels. Run under xvfb-run; exit 77 (skipped)
# when a tool is missing.
#
#   recovery_real_window_test.sh LUMA LUMA_CLI SAMPLE SCREENSHOT_PREFIX
set -u
luma=$1 cli=$2 sample=$3 shots=$4

for tool in xdotool import; do
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
cp "$sample" "$work/source/sample.iso"
label='##$aОтобрано'
# Mark Ctrl+Alt+N, next Ctrl+Right; label 901; no step after a mark.
printf '[HOTDLG]\nHOTSET=1614\nHOTNEXT=2599\nFIELDNAME=901\nFIELDTEXT=%s\nSETNEXT=0\n[SFILEDLG]\nRESULTDIR=%s/results/\n' \
    "$label" "$work" >"$work/config/LUMA/luma.ini"

fail() {
    echo "FAIL: $*"
    import -window root "${shots}-failed.png" 2>/dev/null
    [ -f "$work/luma.log" ] && cat "$work/luma.log"
    exit 1
}

window() {
    w=$(xdotool search --sync --onlyvisible --name "$1" | head -n 1)
    [ -n "$w" ] || fail "no window named $1"
    xdotool windowfocus --sync "$w"
    sleep 0.3
}

# A message box over the main window: xdotool matches names ignoring case, so the box ("luma")
# shows as a second window named like the main one ("LUMA"), and the newer of the two.
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

keys() {
    xdotool key --delay 60 "$@"
    sleep 0.3
}

copies() {
    ls "$work/tmp" | grep '^NEW' | grep -v '\.luma$'
}

labels_in() {
    "$cli" count "$1" --label 901 "$label" | sed -n 's/^marked: //p'
}

"$luma" "$work/source/sample.iso" >>"$work/luma.log" 2>&1 &
pid=$!
window '^LUMA$'
tries=0
while [ -z "$(copies)" ] || [ ! -f "$work/tmp/$(copies).luma" ]; do
    tries=$((tries + 1))
    [ $tries -lt 100 ] || fail "no working copy with its note in $TMPDIR"
    sleep 0.1
done
first=$(copies)
keys ctrl+Right ctrl+alt+n
# The mark is in the working copy once the hotkey has run.
tries=0
while [ "$(labels_in "$work/tmp/$first")" != 3 ]; do
    tries=$((tries + 1))
    [ $tries -lt 50 ] || fail "the mark never reached the working copy"
    sleep 0.1
done
import -window root "${shots}-marked.png"
kill -9 "$pid"
wait "$pid" 2>/dev/null
pid=""
[ "$(copies)" = "$first" ] || fail "the killed run left: $(copies)"

"$luma" "$work/source/sample.iso" >>"$work/luma.log" 2>&1 &
pid=$!
message_box
import -window root "${shots}-question.png"
keys Return
window '^LUMA$'
sleep 0.5
import -window root "${shots}-restored.png"
now=$(copies)
[ -n "$now" ] && [ "$now" != "$first" ] || fail "no fresh working copy in place of $first: $now"
[ ! -e "$work/tmp/$first" ] && [ ! -e "$work/tmp/$first.luma" ] || fail "the old working copy is still there"
[ "$(labels_in "$work/tmp/$now")" = 3 ] || fail "the restored working copy holds $(labels_in "$work/tmp/$now") labels"

# Unsaved: Esc asks; Yes, then Enter in the save dialog that suggests results/sample.iso.
keys Escape
message_box
keys Return
sleep 1
keys Return
wait "$pid"
status=$?
pid=""
[ "$status" -eq 0 ] || fail "luma ended with status $status"
[ "$(labels_in "$work/results/sample.iso")" = 3 ] || fail "the results file holds $(labels_in "$work/results/sample.iso") labels, not 3"
[ -z "$(ls "$work/tmp")" ] || fail "left in $TMPDIR: $(ls "$work/tmp")"
echo "ok: screenshots ${shots}-*.png"
