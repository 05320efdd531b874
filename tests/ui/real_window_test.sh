#!/bin/sh
# The program in a real X window: started on the bundled sample with a profile of its own, it
# shows the first record; Esc ends it with status 0, leaving a 44-byte placement in the profile
# and no working copy. Run under xvfb-run; exit 77 (skipped) when a tool is missing.
#
#   real_window_test.sh LUMA SAMPLE PROFILE_PROBE SCREENSHOT
set -u
luma=$1 sample=$2 probe=$3 screenshot=$4

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
mkdir -p "$work/config" "$work/tmp" "$work/runtime"
chmod 700 "$work/runtime"
export XDG_CONFIG_HOME="$work/config" TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/runtime"
unset QT_QPA_PLATFORM

fail() { echo "FAIL: $*"; exit 1; }

# The command line is answered before any window.
"$luma" --version | grep -q '^luma [0-9]' || fail "--version"
"$luma" --help | grep -q '^Usage: luma \[FILE\]' || fail "--help"
"$luma" one.iso two.iso 2>/dev/null
[ $? -eq 64 ] || fail "two files are not a usage error"

"$luma" "$sample" >"$work/luma.log" 2>&1 &
pid=$!

. "$(dirname "$0")/../wait_for.sh"
focus_window '^LUMA$' 60
window=$(xdotool getwindowfocus)
# The sample is open once its working copy has its note.
wait_for '[ -n "$(ls "$work/tmp" | grep "^NEW.*\.luma$")" ]' 30 || fail "no working copy in $TMPDIR"
import -window root "$screenshot" || fail "no screenshot"

xdotool windowfocus --sync "$window"
xdotool key Escape
wait_for "! kill -0 $pid 2>/dev/null" 30 || fail "Esc did not end luma"
wait "$pid"
status=$?
pid=""
[ "$status" -eq 0 ] || { cat "$work/luma.log"; fail "luma ended with status $status"; }

placement=$("$probe" "$work/config/LUMA/luma.ini")
[ "$placement" = "POS 44" ] || fail "profile holds: $placement"
[ -z "$(ls "$work/tmp" | grep '^NEW')" ] || fail "the working copy was left in $TMPDIR"
echo "ok: screenshot in $screenshot"
