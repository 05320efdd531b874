#!/bin/sh
# Unsaved work comes back after kill -9 where the operator was, in a real X window with real key
# events. LUMA is started on a 54-record copy of the sample without labels, with the mark and
# next hotkeys set; the operator steps to record 37 and marks it, and the process is killed.
# Started again on the same file, LUMA first asks whether to restore the work; Yes (the default)
# restores it at record 37 with the mark unsaved: the next record's mark lands on 38, Esc asks
# "Сохранить?", and Yes and Enter in the save dialog save the results file, named after the
# source, with labels on records 37 and 38 only. Every step waits for the state it needs; the
# record shown is read from the working copy's note, which follows it. Run under xvfb-run; exit
# 77 (skipped) when a tool is missing.
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
label='##$aОтобрано'
# Mark Ctrl+Alt+N, next Ctrl+Right, previous Ctrl+Left; label 901; no step after a mark.
printf '[HOTDLG]\nHOTSET=1614\nHOTNEXT=2599\nHOTPREV=2597\nFIELDNAME=901\nFIELDTEXT=%s\nSETNEXT=0\n[SFILEDLG]\nRESULTDIR=%s/results/\n' \
    "$label" "$work" >"$work/config/LUMA/luma.ini"

fail() {
    echo "FAIL: $*"
    import -window root "${shots}-failed.png" 2>/dev/null
    [ -f "$work/luma.log" ] && cat "$work/luma.log"
    exit 1
}

. "$(dirname "$0")/../wait_for.sh"

for copy in 1 2 3 4 5 6 7 8 9; do cat "$sample"; done >"$work/labelled.iso"
"$cli" unmark "$work/labelled.iso" --label 901 "$label" --records 1-54 \
    --output "$work/source/sample.iso" >/dev/null || fail "cannot make the file without labels"

copy() {
    ls "$work/tmp" | grep '^NEW' | grep -v -e '\.luma$' -e '\.iso$'
}
labels_in() {
    "$cli" count "$1" --label 901 "$label" 2>/dev/null | sed -n 's/^marked: //p'
}
# The record the window shows, as the working copy's note keeps it.
shown() {
    sed -n 's/^record: 0*//p' "$work/tmp/$(copy).luma" 2>/dev/null
}
working_labels() {
    labels_in "$work/tmp/$(copy)"
}
# A message box over the main window: xdotool matches names ignoring case, so the box ("luma")
# shows as a second window named like the main one ("LUMA").
box_shown() {
    [ "$(xdotool search --onlyvisible --name '^luma$' 2>/dev/null | wc -l)" -ge 2 ]
}
box_gone() {
    [ "$(xdotool search --onlyvisible --name '^luma$' 2>/dev/null | wc -l)" -lt 2 ]
}
# Steps to record $1 with the next and previous hotkeys, one press at a time, each waited for.
step_to() {
    wait_for '[ -n "$(shown)" ]' 30 || fail "no note beside the working copy"
    presses=0
    while [ "$(shown)" -ne "$1" ]; do
        presses=$((presses + 1))
        [ $presses -le $(($1 * 2 + 10)) ] || fail "the window stays on record $(shown), not $1"
        at=$(shown)
        if [ "$at" -lt "$1" ]; then xdotool key ctrl+Right; else xdotool key ctrl+Left; fi
        wait_for "[ \"\$(shown)\" != $at ]" 10
    done
}
# Marks the record shown; a second press on a marked record adds nothing.
mark() {
    press_until ctrl+alt+n "[ \"\$(working_labels)\" = $1 ]" 10 || fail "the working copy holds $(working_labels) labels, not $1"
}
ends() {
    wait_for "! kill -0 $pid 2>/dev/null" "$1" || fail "luma did not end"
    wait "$pid"
    status=$?
    pid=""
    [ "$status" -eq 0 ] || fail "luma ended with status $status"
}

"$luma" "$work/source/sample.iso" >>"$work/luma.log" 2>&1 &
pid=$!
focus_window '^LUMA$' 60
wait_for '[ -n "$(copy)" ] && [ -n "$(shown)" ]' 60 || fail "no working copy with its note in $TMPDIR"
first=$(copy)
step_to 37
mark 1
import -window root "${shots}-marked.png"
kill -9 "$pid"
wait "$pid" 2>/dev/null
pid=""
[ "$(copy)" = "$first" ] || fail "the killed run left: $(copy)"

"$luma" "$work/source/sample.iso" >>"$work/luma.log" 2>&1 &
pid=$!
wait_for box_shown 60 || fail "no question at the start"
focus_window '^luma$'
import -window root "${shots}-question.png"
press_until Return box_gone 10 || fail "the question stays"
wait_for "[ -n \"\$(copy)\" ] && [ \"\$(copy)\" != '$first' ] && [ \"\$(shown)\" = 37 ]" 30 ||
    fail "the work did not come back at record 37: copy $(copy), record $(shown)"
[ ! -e "$work/tmp/$first" ] && [ ! -e "$work/tmp/$first.luma" ] || fail "the old working copy is still there"
[ "$(working_labels)" = 1 ] || fail "the restored working copy holds $(working_labels) labels"
focus_window '^LUMA$'
import -window root "${shots}-restored.png"
step_to 38
mark 2

# Unsaved: Esc asks; Yes, then Enter in the save dialog that suggests results/sample.iso.
press_until Escape box_shown 10 || fail "Esc asked nothing"
focus_window '^luma$'
press_until Return "[ -n \"\$(xdotool search --onlyvisible --name '^(Сохранить как|Save As)\$' 2>/dev/null)\" ]" 10 ||
    fail "no save dialog"
focus_window '^(Сохранить как|Save As)$'
press_until Return "! kill -0 $pid 2>/dev/null" 20 || fail "luma did not end after the save"
ends 10
marked=$("$cli" dump "$work/results/sample.iso" | awk -v label="$label" '/^=== /{record=$2} $1 == "901" && $2 == label {print record}' | tr '\n' ' ')
[ "$marked" = "37 38 " ] || fail "the results file has labels on records: $marked"
[ -z "$(ls "$work/tmp")" ] || fail "left in $TMPDIR: $(ls "$work/tmp")"
echo "ok: screenshots ${shots}-*.png"
