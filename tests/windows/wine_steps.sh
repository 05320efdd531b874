# Sourced by the Wine real-window test scripts, which set $here (their folder) and $shots (the
# folder for screenshots): a scratch folder $work with a Wine prefix of its own, whatever prefix
# the caller uses, removed at the end with whatever the test started ($luma_pid, $server_pid);
# fail(); and the steps the tests share.

work=$(mktemp -d "${TMPDIR:-/tmp}/luma-wine-test.XXXXXX")
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
luma_pid="" server_pid=""
cleanup() {
    [ -n "$luma_pid" ] && kill "$luma_pid" 2>/dev/null
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$shots"
rm -f "$shots"/*.png

fail() {
    echo "FAIL: $*"
    import -window root "$shots/failed.png" 2>/dev/null
    [ -f "$work/luma.log" ] && cat "$work/luma.log"
    exit 1
}

. "$here/../wait_for.sh"

reg_query() {
    wine reg query "$@" 2>/dev/null | tr -d '\r'
}

# The keys of Add/Remove Programs whose display name is LUMA, one a line.
uninstall_entries() {
    reg_query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s |
        awk '/^HKEY_/ { key = $0 } /^ +DisplayName +REG_SZ +LUMA$/ { print key }'
}

# The text of the main window's status line, read the way an operator can: a click into the
# read-only field near its left end, then Ctrl+A and Ctrl+C. The field's lower edge is the
# window's lowest edge but for the margin below it.
status_line_text() {
    window=$(xdotool search --onlyvisible --name '^LUMA$' | sort -n | tail -n 1)
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool windowfocus --sync "$window"
    xdotool mousemove --window "$window" 30 $((HEIGHT - 14)) click 1
    printf '' | xclip -selection clipboard -i
    xdotool key --delay 60 ctrl+a ctrl+c
    wait_for "[ -n \"\$(xclip -selection clipboard -o 2>/dev/null)\" ]" 5 &&
        xclip -selection clipboard -o 2>/dev/null
}

# How many pixels inside the status line's frame, as the screen shows it, are not its white
# background: the text's, and the selection's behind it once the text has been copied. A line
# whose text is there but drawn out of sight (the clipboard reads it all the same) has none.
status_line_ink() {
    window=$(xdotool search --onlyvisible --name '^LUMA$' | sort -n | tail -n 1)
    eval "$(xdotool getwindowgeometry --shell "$window")"
    import -window root -crop "$((WIDTH - 24))x16+$((X + 12))+$((Y + HEIGHT - 28))" +repage png:- |
        convert png:- -colorspace Gray -threshold 90% -negate -format '%[fx:int(mean*w*h+0.5)]' info:
}

# Waits up to $2 seconds for the status line to read as the extended expression $1 says, and to
# show it: a line of some sixty letters has hundreds of pixels of ink.
wait_for_status_line() {
    wait_for "status_line_text | grep -Eq '$1' && [ \$(status_line_ink) -gt 150 ]" "$2" ||
        fail "the status line reads '$(status_line_text)', not /$1/, or is not drawn ($(status_line_ink) pixels of ink)"
}
