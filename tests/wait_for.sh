# Sourced by the real-window test scripts: every step waits, within a bound, for the state it
# needs. The sourcing script defines fail().

# Polls a shell condition for up to $2 seconds; fails when it never holds. The count is local
# (dash and bash have `local`): a condition may wait for something itself.
wait_for() {
    local tries
    tries=$(($2 * 10))
    while ! eval "$1"; do
        tries=$((tries - 1))
        [ $tries -gt 0 ] || return 1
        sleep 0.1
    done
}

# Gives the keyboard to the newest visible window whose name matches $1, waiting up to $2
# seconds (30 by default) for one. xdotool matches names ignoring case.
focus_window() {
    wait_for "[ -n \"\$(xdotool search --onlyvisible --name '$1' 2>/dev/null)\" ]" "${2:-30}" ||
        fail "no window named $1"
    xdotool windowfocus --sync "$(xdotool search --onlyvisible --name "$1" | sort -n | tail -n 1)"
}

# Presses the key $1 until the condition $2 holds, waiting up to $3 seconds after each press:
# a window can take the focus before it takes keys. Only for keys that a second press after a
# first that worked late cannot harm.
press_until() {
    for try in 1 2 3; do
        xdotool key "$1"
        wait_for "$2" "$3" && return 0
    done
    return 1
}

# Replaces the text of the focused field through the clipboard, then copies it back and checks
# it: typed letters that need a key remapped for them can be lost on a busy machine. xclip
# serves the clipboard until the program has taken it.
paste_text() {
    printf '%s' "$1" | xclip -selection clipboard -i
    xdotool key --delay 60 ctrl+a ctrl+v ctrl+a ctrl+c
    wait_for "[ \"\$(xclip -selection clipboard -o 2>/dev/null)\" = '$1' ]" 10 ||
        fail "the field holds '$(xclip -selection clipboard -o 2>/dev/null)', not '$1'"
}
