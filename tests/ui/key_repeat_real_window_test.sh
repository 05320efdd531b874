#!/bin/sh
# A mark hotkey held down on a large file, in a real X window with the server's own key repeat:
# the long open shows its progress window, marks follow the key while it is held, and stop
# when it is let go — no backlog of repeats goes on marking. Run under xvfb-run; exit 77
# (skipped) when a tool is missing.
#
#   key_repeat_real_window_test.sh LUMA LUMA_CLI GENERATOR RECORDS SCREENSHOT_PREFIX
set -u
luma=$1 cli=$2 generate=$3 records=$4 shots=$5

for tool in xdotool import; do
    command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
pid=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/config/LUMA" "$work/tmp" "$work/runtime" "$work/results"
chmod 700 "$work/runtime"
export XDG_CONFIG_HOME="$work/config" TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/runtime"
unset QT_QPA_PLATFORM
"$generate" "$records" "$work/big.iso" >/dev/null || exit 1
# F2 marks; the label's tag is one the generated records never carry, so every press marks.
label='##$aТест'
printf '[HOTDLG]\nHOTSET=113\nFIELDNAME=999\nFIELDTEXT=%s\nSETNEXT=1\n[SFILEDLG]\nRESULTDIR=%s/results/\n' \
    "$label" "$work" >"$work/config/LUMA/luma.ini"

fail() {
    echo "FAIL: $*"
    import -window root "${shots}-failed.png" 2>/dev/null
    exit 1
}

marks() {
    copy=$(ls "$work/tmp"/NEW* 2>/dev/null | grep -v -e '\.luma$' -e '\.iso$' | head -n 1)
    [ -n "$copy" ] || fail "no working copy"
    "$cli" count "$copy" --label 999 "$label" | sed -n 's/^marked: //p'
}

"$luma" "$work/big.iso" &
pid=$!

# The progress window appears while the file opens.
tries=0 progress=0
while [ $tries -lt 300 ]; do
    if xdotool search --onlyvisible --name '^luma$' >/dev/null 2>&1 &&
        [ "$(xdotool search --onlyvisible --name '^luma$' | wc -l)" -ge 2 ]; then
        progress=1
        import -window root "${shots}-progress.png"
        break
    fi
    ls "$work/tmp"/NEW* >/dev/null 2>&1 && break
    tries=$((tries + 1))
    sleep 0.05
done
[ $progress -eq 1 ] || fail "no progress window while $records records opened"

. "$(dirname "$0")/../wait_for.sh"
# Open once the working copy has its note.
wait_for '[ -n "$(ls "$work/tmp" | grep "^NEW.*\.luma$")" ]' 60 || fail "the file did not open"
focus_window '^LUMA$'

# What is measured here is time itself: the key is held two seconds, then released, and the
# marks must stop with it. Repeats queued behind a slow mark are dropped; after the release at
# most the mark under way and one repeat sent just before the release may still land, however
# slow the machine.
xdotool keydown F2
sleep 2
xdotool keyup F2
held=$(marks)
sleep 2
after=$(marks)
import -window root "${shots}-after.png"
echo "marks while held: $held; two seconds after release: $after"
[ "$held" -gt 1 ] || fail "holding the hotkey marked $held records"
[ "$after" -le $((held + 2)) ] || fail "marking went on after the key was released ($held, then $after)"
echo "PASS"
