# Sourced by the Wine real-window test scripts, after ../wait_for.sh: steps they share.

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

# Waits up to $2 seconds for the status line to match the extended expression $1.
wait_for_status_line() {
    wait_for "status_line_text | grep -Eq '$1'" "$2" ||
        fail "the status line reads '$(status_line_text)', not /$1/"
}
