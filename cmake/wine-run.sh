#!/bin/sh
# Runs a Windows program under Wine for ctest and the tests. Now and then, with several programs
# starting at once, Wine itself ends before the program starts: nothing printed, a failing
# status. Such a start is made once more; a program that printed anything is never run again,
# so a failing test fails as it is.
#
#   wine-run.sh PROGRAM [ARGUMENTS...]
set -u
wine=${LUMA_WINE_BINARY:-wine}
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
for attempt in 1 2; do
    "$wine" "$@" >"$out" 2>"$err"
    status=$?
    if [ "$status" -eq 0 ] || [ -s "$out" ] || [ -s "$err" ] || [ "$attempt" -eq 2 ]; then
        break
    fi
    echo "wine-run.sh: Wine ended before $1 started (status $status); starting it once more" >&2
done
cat "$out"
cat "$err" >&2
exit "$status"
