#!/bin/sh
# Installs the build for one user (prefix ~/.local, a made-up home) twice and
# checks that the first install gives the user the starter settings file and
# the second leaves the user's own settings alone: with that prefix the
# user-data directory lies inside the installed tree.
#
# usage: check_install.sh BUILD_DIR
set -eu
build=$1
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

fail() {
    echo "check_install: $*" >&2
    exit 1
}

install() {
    env -u QUORIN_REGISTRY -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u DESTDIR HOME="$tmp" \
        cmake --install "$build" --prefix "$tmp/.local" >"$tmp/install.log" 2>&1 ||
        fail "cmake --install failed: $(cat "$tmp/install.log")"
}

settings="$tmp/.local/share/quorin/quorin.ini"
install
grep -q '^0=Trypsin' "$settings" || fail "no starter settings in $settings"
[ -x "$tmp/.local/bin/quorin-cli" ] || fail "quorin-cli not installed"
page="$tmp/.local/share/man/man1/quorin-cli.1"
MANWIDTH=80 man -P cat -l "$page" 2>/dev/null | grep -q 'quorin-cli COMMAND \[OPTIONS\] FILE' ||
    fail "no readable manual page at $page"
printf '[Cleaving Agents]\r\n0=Mine:K!\r\n' >"$settings"
install
grep -q '^0=Mine' "$settings" || fail "a second install replaced the user's settings"
grep -q '^0=Trypsin' "$tmp/.local/share/quorin/starter/quorin.ini" ||
    fail "no starter copy in the installed tree"
