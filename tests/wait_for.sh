# Sourced by the real-window test scripts.

# Polls a shell condition for up to $2 seconds; fails when it never holds.
wait_for() {
    tries=$(($2 * 10))
    while ! eval "$1"; do
        tries=$((tries - 1))
        [ $tries -gt 0 ] || return 1
        sleep 0.1
    done
}
