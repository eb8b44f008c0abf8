#!/usr/bin/env bash
# quorin-cli digest of titin with an agent "K!;R!": every fragment, sorted by
# weight, the report written to a file. Prints wall time and peak memory and
# fails when they pass the bars (5 s, 2 GB).
#
# usage: bench/cli-digest-titin.sh [BUILD_DIR] [RUNS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
runs=${2:-3}
cli="$build/src/cli/quorin-cli"
[ -x "$cli" ] || { echo "no $cli; build first" >&2; exit 2; }
[ -x /usr/bin/time ] || { echo "/usr/bin/time missing; run scripts/install-deps" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '[Cleaving Agents]\n0=Trypsin:K!;R!\n' >"$work/quorin.ini"

status=0
for run in $(seq "$runs"); do
    /usr/bin/time -f '%e %M' -o "$work/time" \
        "$cli" digest --settings "$work/quorin.ini" "$root/tests/data/proteins/Q8WZ42.fasta" \
        --agent Trypsin -o "$work/report.txt"
    read -r wall kilobytes <"$work/time"
    lines=$(wc -l <"$work/report.txt")
    bytes=$(stat -c %s "$work/report.txt")
    printf 'run %d: %s s wall, %d MB peak, %d lines, %d bytes\n' \
        "$run" "$wall" $((kilobytes / 1024)) "$lines" "$bytes"
    if awk -v w="$wall" -v k="$kilobytes" 'BEGIN { exit !(w >= 5 || k >= 2 * 1024 * 1024) }'; then
        echo "over the bar (5 s, 2 GB)" >&2
        status=1
    fi
done
exit $status
