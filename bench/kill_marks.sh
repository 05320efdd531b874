#!/bin/sh
# Kills the window with -9 at random moments while an operator marks a large file, ten times,
# and checks that each restart restores every mark the window had made: the working copy left by
# the kill holds at least the marks seen on disk before it (a mark reaches the disk before the
# status line shows it), the restored work holds exactly what that working copy held, and the
# results saved at the end hold the last count. Each round: restart, restore (Enter on the
# question), a random number of mark presses each followed by a step to the next record, a kill
# at a random moment, some while a mark is in flight.
#
#   bench/kill_marks.sh BUILD FILE [ROUNDS]
#
# BUILD is a build folder with src/app/luma and src/cli/luma-cli; FILE a record file, with the
# label on some records or none (luma-bench-generate writes one). Runs itself under xvfb-run when there is no display.
set -u
build=$1 file=$2 rounds=${3:-10}
[ -n "${DISPLAY:-}" ] || exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
luma=$build/src/app/luma cli=$build/src/cli/luma-cli
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../tests/wait_for.sh"

work=$(mktemp -d)
pid=""
cleanup() {
    [ -n "$pid" ] && kill -9 "$pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/config/LUMA" "$work/tmp" "$work/runtime" "$work/results"
chmod 700 "$work/runtime"
export XDG_CONFIG_HOME="$work/config" TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/runtime"
unset QT_QPA_PLATFORM
label='##$aОтобрано'
# Mark Ctrl+Alt+N, next Ctrl+Right; label 901; no step after a mark (a record that carries the
# label already takes no mark, and would take no step either).
printf '[HOTDLG]\nHOTSET=1614\nHOTNEXT=2599\nFIELDNAME=901\nFIELDTEXT=%s\nSETNEXT=0\n[SFILEDLG]\nRESULTDIR=%s/results/\n' \
    "$label" "$work" >"$work/config/LUMA/luma.ini"

fail() {
    echo "FAIL: $*"
    import -window root "$work/../kill-marks-failed.png" 2>/dev/null
    exit 1
}
copy() {
    ls "$work/tmp" | grep '^NEW' | grep -v -e '\.luma$' -e '\.iso$' | head -n 1
}
labels_in() {
    "$cli" count "$1" --label 901 "$label" 2>/dev/null | sed -n 's/^marked: //p'
}
box_shown() {
    [ "$(xdotool search --onlyvisible --name '^luma$' 2>/dev/null | wc -l)" -ge 2 ]
}
box_gone() {
    [ "$(xdotool search --onlyvisible --name '^luma$' 2>/dev/null | wc -l)" -lt 2 ]
}
random_below() {
    od -An -N2 -tu2 /dev/urandom | awk -v n="$1" '{print $1 % n}'
}

expected=$(labels_in "$file")  # the file may carry the label already
for round in $(seq 1 "$rounds"); do
    started=$(date +%s.%N)
    "$luma" "$file" >>"$work/luma.log" 2>&1 &
    pid=$!
    if [ "$round" -gt 1 ]; then
        wait_for box_shown 120 || fail "round $round: no recovery question"
        focus_window '^luma$'
        press_until Return box_gone 10 || fail "round $round: the question stays"
    fi
    focus_window '^LUMA$' 120
    wait_for "[ -n \"\$(copy)\" ] && [ \"\$(copy)\" != '${left:-}' ] && [ -e \"$work/tmp/\$(copy).luma\" ]" 120 ||
        fail "round $round: no new working copy"
    ready=$(date +%s.%N)
    restored=$(labels_in "$work/tmp/$(copy)")
    [ "$restored" = "$expected" ] || fail "round $round: restored $restored marks, the killed run had $expected"
    presses=$(( $(random_below 12) + 3 ))
    seen=$restored
    for press in $(seq 1 "$presses"); do
        xdotool key ctrl+alt+n ctrl+Right
        # Every third mark is looked for on disk, the others follow at typing speed.
        if [ $((press % 3)) -eq 0 ]; then
            seen=$(labels_in "$work/tmp/$(copy)")
        fi
    done
    sleep "0.$(random_below 1000)"
    left=$(copy)
    kill -9 "$pid"
    wait "$pid" 2>/dev/null
    pid=""
    expected=$(labels_in "$work/tmp/$left")
    [ "$expected" -ge "$seen" ] || fail "round $round: the killed run's working copy holds $expected marks, $seen were on disk before"
    echo "round $round: restored $restored marks, open and restore $(echo "$ready - $started" | bc) s," \
        "$presses presses, $seen seen on disk, $expected left by the kill"
done

# The last restore, then Esc, Yes, Enter: the results hold every mark.
"$luma" "$file" >>"$work/luma.log" 2>&1 &
pid=$!
wait_for box_shown 120 || fail "no recovery question at the end"
focus_window '^luma$'
press_until Return box_gone 10 || fail "the question stays"
focus_window '^LUMA$' 120
wait_for "[ -n \"\$(copy)\" ] && [ \"\$(copy)\" != '$left' ]" 120 || fail "the work did not come back"
press_until Escape box_shown 10 || fail "Esc asked nothing"
focus_window '^luma$'
press_until Return "[ -n \"\$(xdotool search --onlyvisible --name '^(Сохранить как|Save As)\$' 2>/dev/null)\" ]" 10 ||
    fail "no save dialog"
focus_window '^(Сохранить как|Save As)$'
press_until Return "! kill -0 $pid 2>/dev/null" 300 || fail "luma did not end after the save"
pid=""
saved=$(labels_in "$work/results/$(basename "$file")")
[ "$saved" = "$expected" ] || fail "the results hold $saved marks, the work $expected"
echo "saved results: $saved marks, as the work held after $rounds kills"
