#!/bin/sh
# The update check of the real program in real X windows: the question, the progress window
# and the wait message, each followed by the main window; and the warning about an installer
# without a valid signature. Run under xvfb-run; exit 77 (skipped) when a tool is missing.
# Screenshots of every window go to SCREENSHOTS.
#
#   update_real_window_test.sh LUMA TEST_SERVER SCREENSHOTS BUILT_IN_SERVER SIGN_UPDATE KEY
#
# LUMA is built with the update key whose private half is KEY; TEST_SERVER is
# luma-test-update-server; BUILT_IN_SERVER the server luma was built with; SIGN_UPDATE
# tools/sign-update.
set -u
luma=$1 test_server=$2 shots=$3 built_in=${4:-} sign_update=$5 key=$6

for tool in xdotool import openssl; do
    command -v "$tool" >/dev/null 2>&1 || { echo "skipped: $tool is not installed"; exit 77; }
done

work=$(mktemp -d)
pids=""
cleanup() {
    for pid in $pids; do kill "$pid" 2>/dev/null; done
    rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/config" "$work/tmp" "$work/runtime" "$shots"
chmod 700 "$work/runtime"
export XDG_CONFIG_HOME="$work/config" TMPDIR="$work/tmp" XDG_RUNTIME_DIR="$work/runtime"
export no_proxy=127.0.0.1 NO_PROXY=127.0.0.1
unset QT_QPA_PLATFORM

fail() {
    echo "FAIL: $*"
    [ -f "$work/luma.log" ] && cat "$work/luma.log"
    exit 1
}
now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
# The first visible window whose name matches; empty after 20 s. Searched again and again:
# xdotool gives up on a window that goes away while it looks at it.
find_window() {
    tries=0
    while [ $tries -lt 100 ]; do
        found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
        [ -n "$found" ] && { echo "$found"; return; }
        tries=$((tries + 1))
        sleep 0.2
    done
}
shot() { import -window root "$shots/$1.png" || fail "no screenshot $1"; }

# The stand-in installer: notes the path it ran as, then takes a while. The comment after it
# makes the slow server take about five seconds.
installer="$work/installer.sh"
{
    echo '#!/bin/sh'
    echo "printf '%s\\n' \"\$0\" > '$work/marker'"
    echo 'sleep 1.5'
    echo 'exit 0'
    printf '#'
    head -c 100000 /dev/zero | tr '\0' x
    echo
} > "$installer"
"$sign_update" "$key" "$installer" >/dev/null || fail "tools/sign-update failed"

lpid=""
start_luma() {  # SERVER
    rm -f "$work/marker"
    LUMA_UPDATE_SERVER=$1 "$luma" >"$work/luma.log" 2>&1 &
    lpid=$!
}
end_luma() {  # MAIN_WINDOW
    xdotool windowfocus --sync "$1"
    xdotool key Escape
    wait "$lpid"
    status=$?
    lpid=""
    [ "$status" -eq 0 ] || fail "luma ended with status $status"
}
no_trace() {
    [ -z "$(ls "$work/tmp" | grep '^luma-update-')" ] || fail "a download folder is left in $TMPDIR"
}

server_pid=""
start_test_server() {  # whole | slow | silent
    [ -n "$server_pid" ] && kill "$server_pid"
    rm -f "$work/port"
    "$test_server" luma-99.0.0.0.exe "$installer" "$1" >"$work/port" 2>"$work/server.log" &
    server_pid=$!
    pids="$pids $server_pid"
    tries=0
    while [ ! -s "$work/port" ]; do
        tries=$((tries + 1))
        [ $tries -lt 100 ] || fail "the test server did not start"
        sleep 0.1
    done
    port=$(head -n 1 "$work/port")
}

# 1. An ordinary HTTP server offers a newer installer: Yes downloads and runs it under the wait
#    message, it is deleted, and the main window follows.
if command -v python3 >/dev/null 2>&1; then
    mkdir -p "$work/www/update"
    cp "$installer" "$work/www/update/luma-99.0.0.0.exe"
    cp "$installer.sig" "$work/www/update/luma-99.0.0.0.exe.sig"
    echo old >"$work/www/update/luma-0.0.0.1.exe"
    python3 -u -m http.server --bind 127.0.0.1 0 --directory "$work/www" >"$work/python.log" 2>&1 &
    server_pid=$!
    pids="$pids $server_pid"
    tries=0
    until port=$(sed -n 's/.* port \([0-9][0-9]*\) .*/\1/p' "$work/python.log") && [ -n "$port" ]; do
        tries=$((tries + 1))
        [ $tries -lt 100 ] || fail "python3 -m http.server did not start"
        sleep 0.1
    done
else
    echo "note: no python3, the test server stands in for an ordinary one"
    start_test_server whole
fi
start_luma "http://127.0.0.1:$port"
prompt=$(find_window '^Новая версия LUMA$')
[ -n "$prompt" ] || fail "no update question"
shot prompt
xdotool key Return
wait_window=$(find_window 'ЖДИТЕ')
[ -n "$wait_window" ] || fail "no wait message"
shot wait
[ -s "$work/marker" ] || fail "the wait message is up but the installer has not run"
main=$(find_window '^LUMA$')
[ -n "$main" ] || fail "no main window after the update"
ran=$(cat "$work/marker")
case "$ran" in "$work/tmp/luma-update-"*/update.exe) ;; *) fail "the installer ran as $ran" ;; esac
[ ! -e "$ran" ] || fail "the installer was not deleted"
no_trace
shot main-after-update
end_luma "$main"

# 2. A slow download, cancelled in the progress window: nothing runs, the main window follows.
start_test_server slow
start_luma "http://127.0.0.1:$port"
prompt=$(find_window '^Новая версия LUMA$')
[ -n "$prompt" ] || fail "no update question (slow server)"
xdotool key Return
progress=$(find_window '^Копирование обновления$')
[ -n "$progress" ] || fail "no progress window"
shot progress
xdotool windowfocus --sync "$progress"
cancelled=$(now_ms)
xdotool key Escape
main=$(find_window '^LUMA$')
[ -n "$main" ] || fail "no main window after cancel"
# Bounds that tell a prompt cancel and the five-second limit from waiting out the download's
# 30-second stall, with room for a sanitized build on a busy machine.
[ $(( $(now_ms) - cancelled )) -lt 10000 ] || fail "cancel took too long"
[ ! -e "$work/marker" ] || fail "a cancelled download was run"
no_trace
end_luma "$main"

# 3. A server that never answers: no question, the main window within the five seconds.
start_test_server silent
started=$(now_ms)
start_luma "http://127.0.0.1:$port"
main=$(find_window '^LUMA$')
[ -n "$main" ] || fail "no main window with a silent server"
waited=$(( $(now_ms) - started ))
[ "$waited" -lt 15000 ] || fail "start-up waited $waited ms for a silent server"
[ -z "$(xdotool search --name 'Новая версия LUMA' 2>/dev/null)" ] || fail "a question without an answer"
[ ! -e "$work/marker" ] || fail "something ran"
no_trace
end_luma "$main"

# 4. The signature is of another file: the warning, nothing runs, the main window follows.
cp "$installer.sig" "$work/good.sig"
printf '# changed after signing\n' >>"$installer"
start_test_server whole
start_luma "http://127.0.0.1:$port"
prompt=$(find_window '^Новая версия LUMA$')
[ -n "$prompt" ] || fail "no update question (bad signature)"
xdotool key Return
warning=$(find_window '^Обновление не установлено$')
[ -n "$warning" ] || fail "no warning about the signature"
shot bad-signature
[ ! -e "$work/marker" ] || fail "an installer with a wrong signature was run"
[ -z "$(ls "$work/tmp"/luma-update-*/update.exe 2>/dev/null)" ] || fail "the refused installer was kept"
xdotool windowfocus --sync "$warning"
xdotool key Return
main=$(find_window '^LUMA$')
[ -n "$main" ] || fail "no main window after the warning"
[ ! -e "$work/marker" ] || fail "something ran"
no_trace
end_luma "$main"

# 5. No server configured: the main window, and not one network socket on the way.
if [ -n "$built_in" ]; then
    set -- env LUMA_UPDATE_SERVER=
else
    set -- env -u LUMA_UPDATE_SERVER
fi
if command -v strace >/dev/null 2>&1; then
    # LeakSanitizer cannot run under ptrace; the other runs of this test check for leaks.
    set -- "$@" ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0" \
        strace -f -qq -e trace=socket -o "$work/strace.log"
else
    echo "note: no strace, network use without a server is not checked"
fi
"$@" "$luma" >"$work/luma.log" 2>&1 &
lpid=$!
main=$(find_window '^LUMA$')
[ -n "$main" ] || fail "no main window without a server"
end_luma "$main"
if [ -f "$work/strace.log" ]; then
    ! grep -E 'AF_INET6?[,)]' "$work/strace.log" || fail "network sockets without an update server"
fi
no_trace

echo "ok: screenshots in $shots"
