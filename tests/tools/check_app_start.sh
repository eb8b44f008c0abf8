#!/bin/sh
# The desktop program as a Linux program: --help and --version answer without
# a display, and a start without one is one line on standard error and exit
# status 1, never Qt's abort.
#
# usage: check_app_start.sh QUORIN
set -u
app=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

fail() {
    echo "check_app_start: $*" >&2
    exit 1
}

[ "$("$app" --version)" = "quorin 3.01" ] || fail "--version: $("$app" --version 2>&1)"
"$app" --help >"$tmp/help" 2>&1 || fail "--help exits with $?"
grep -q '^Usage: quorin \[FILE\]$' "$tmp/help" || fail "--help has no usage line"

"$app" >"$tmp/out" 2>"$tmp/err"
status=$?
[ "$status" -eq 1 ] || fail "without a display: exit status $status"
[ "$(wc -l <"$tmp/err")" -eq 1 ] || fail "without a display: $(cat "$tmp/err")"
grep -q '^quorin: no display' "$tmp/err" || fail "without a display: $(cat "$tmp/err")"
[ ! -s "$tmp/out" ] || fail "without a display: output on standard output"

# A display that is named but not there: Qt's fatal end becomes exit status 1.
DISPLAY=:987 "$app" >/dev/null 2>"$tmp/err"
status=$?
[ "$status" -eq 1 ] || fail "with a display that is not there: exit status $status"
exit 0
