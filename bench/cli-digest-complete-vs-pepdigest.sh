#!/usr/bin/env bash
# The complete tryptic digest of titin, side by side in one run: quorin-cli
# digest --complete against EMBOSS pepdigest (Trypsin), both writing their
# report to a file. hyperfine times both; /usr/bin/time measures the peak
# memory of each. Fails when quorin-cli is slower than pepdigest or uses
# 50 MB or more.
#
# usage: bench/cli-digest-complete-vs-pepdigest.sh [BUILD_DIR] [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
runs=${2:-30}
cli="$build/src/cli/quorin-cli"
titin="$root/tests/data/proteins/Q8WZ42.fasta"
[ -x "$cli" ] || { echo "no $cli; build first" >&2; exit 2; }

# The peer and the timer are needed here only, never by the tests.
missing=()
command -v pepdigest >/dev/null || missing+=(emboss)
command -v hyperfine >/dev/null || missing+=(hyperfine)
[ -x /usr/bin/time ] || missing+=(time)
if [ ${#missing[@]} -gt 0 ]; then
    sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    echo "installing ${missing[*]}" >&2
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '[Cleaving Agents]\n0=Trypsin:K!;R!\n' >"$work/quorin.ini"
ours=("$cli" digest --settings "$work/quorin.ini" "$titin" --agent Trypsin --complete
    -o "$work/quorin.txt")
peer=(pepdigest -seqall "$titin" -menu 1 -outfile "$work/pepdigest.txt" -auto)
# The first run completes the settings file; neither program is timed doing it.
"${ours[@]}"

hyperfine -N --style basic --warmup 3 --runs "$runs" --export-csv "$work/times.csv" \
    -n quorin-cli "${ours[*]}" -n pepdigest "${peer[*]}" >&2

# Peak resident memory in kB: the largest of five runs.
peak() {
    local most=0 kilobytes
    for _ in 1 2 3 4 5; do
        /usr/bin/time -f '%M' -o "$work/rss" "$@"
        kilobytes=$(tail -n 1 "$work/rss")
        [ "$kilobytes" -gt "$most" ] && most=$kilobytes
    done
    echo "$most"
}
ours_kb=$(peak "${ours[@]}")
peer_kb=$(peak "${peer[@]}")

# Columns of the CSV: command, mean, stddev, median, user, system, min, max (s).
mean() { awk -F, -v name="$1" '$1 == name { printf "%.1f", $2 * 1000 }' "$work/times.csv"; }
cpu() { awk -F, -v name="$1" '$1 == name { printf "%.1f", ($5 + $6) * 1000 }' "$work/times.csv"; }
ours_ms=$(mean quorin-cli)
peer_ms=$(mean pepdigest)
report() {
    awk -v name="$1" -v ms="$2" -v cpu="$3" -v kb="$4" -v n="$5" 'BEGIN {
        printf "%-11s %7.1f ms wall (mean)  %6.1f ms user+sys  %5.1f MB peak  %d fragments\n",
            name, ms, cpu, kb / 1024, n }'
}
report quorin-cli "$ours_ms" "$(cpu quorin-cli)" "$ours_kb" \
    "$(grep -c '^ [0-9].*|' "$work/quorin.txt")"
report pepdigest "$peer_ms" "$(cpu pepdigest)" "$peer_kb" \
    "$(grep -c '^ *[0-9]' "$work/pepdigest.txt")"

status=0
if awk -v a="$ours_ms" -v b="$peer_ms" 'BEGIN { exit !(a > b) }'; then
    echo "over the bar: quorin-cli is slower than pepdigest" >&2
    status=1
fi
if [ "$ours_kb" -ge $((50 * 1024)) ]; then
    echo "over the bar: quorin-cli uses 50 MB or more" >&2
    status=1
fi
exit $status
