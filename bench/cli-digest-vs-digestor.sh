#!/usr/bin/env bash
# The tryptic digest of a whole proteome, side by side: quorin-cli batch
# --digest --enzyme Trypsin against OpenMS Digestor (Debian topp), both with 2
# missed cleavages and 7-30 residues, both writing a FASTA-like file. Then the
# semi-specific digest of the same file (Digestor has none), its output
# counted through a pipe: it is tens of gigabytes. /usr/bin/time gives each
# run's wall-clock and processor time and its peak memory. Fails when
# quorin-cli is not 5 times faster than Digestor, takes 1 GB or more, or the
# semi-specific digest takes 60 s or more.
#
# usage: bench/cli-digest-vs-digestor.sh [BUILD_DIR] [FASTA] [JOBS]
#        FASTA defaults to the Swiss-Prot file of the benchmark cache.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
fasta=${2:-$HOME/.cache/quorin-bench/swissprot/sprot486k.fasta}
jobs=${3:-$(nproc)}
cli="$build/src/cli/quorin-cli"
[ -x "$cli" ] || { echo "no $cli; build first" >&2; exit 2; }
[ -r "$fasta" ] || { echo "no $fasta" >&2; exit 2; }

# The peer is needed here only, never by the tests.
missing=()
command -v Digestor >/dev/null || missing+=(topp)
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
# A runaway digest stops at 16 GB instead of filling the disk.
ulimit -f 16000000
: >"$work/none.ini"

# Wall-clock s, processor s (user + system), peak kB of the last timed run.
timed() {
    /usr/bin/time -f '%e %U %S %M' -o "$work/time" "$@" >>"$work/log"
    awk '{ printf "%s %.2f %s\n", $1, $2 + $3, $4 }' "$work/time"
}

read -r ours_s ours_cpu ours_kb < <(timed "$cli" batch --settings "$work/none.ini" "$fasta" \
    --digest --enzyme Trypsin --max-missed 2 --min-length 7 --max-length 30 --jobs "$jobs" \
    --results "$work/quorin.txt")
ours_peptides=$(grep -c '^>' "$work/quorin.txt")
rm -f "$work/quorin.txt"

read -r peer_s peer_cpu peer_kb < <(timed Digestor -in "$fasta" -out "$work/digestor.fasta" \
    -out_type fasta -enzyme Trypsin -missed_cleavages 2 -min_length 7 -max_length 30 \
    -threads "$jobs")
peer_peptides=$(grep -c '^>' "$work/digestor.fasta")
rm -f "$work/digestor.fasta"

/usr/bin/time -f '%e %U %S %M' -o "$work/time" sh -c \
    "'$cli' batch --settings '$work/none.ini' '$fasta' --digest --enzyme Trypsin \
    --specificity semi --max-missed 2 --min-length 7 --max-length 30 --jobs $jobs \
    --results - | wc -c >'$work/semi-bytes'"
read -r semi_s semi_cpu semi_kb < <(awk '{ printf "%s %.2f %s\n", $1, $2 + $3, $4 }' "$work/time")

printf '%-28s %10s %10s %10s %12s\n' "run" "wall s" "cpu s" "peak MB" "peptides"
printf '%-28s %10s %10s %10d %12s\n' "quorin-cli trypsin" "$ours_s" "$ours_cpu" \
    $((ours_kb / 1024)) "$ours_peptides"
printf '%-28s %10s %10s %10d %12s\n' "Digestor trypsin" "$peer_s" "$peer_cpu" \
    $((peer_kb / 1024)) "$peer_peptides"
printf '%-28s %10s %10s %10d %12s\n' "quorin-cli trypsin, semi" "$semi_s" "$semi_cpu" \
    $((semi_kb / 1024)) "$(cat "$work/semi-bytes") B"
awk -v a="$peer_s" -v b="$ours_s" -v c="$peer_cpu" -v d="$ours_cpu" \
    'BEGIN { printf "speed-up: %.1fx wall-clock, %.1fx processor time\n", a / b, c / d }'

status=0
awk -v a="$peer_s" -v b="$ours_s" 'BEGIN { exit !(a >= 5 * b) }' ||
    { echo "FAIL: less than 5 times faster than Digestor" >&2; status=1; }
[ "$ours_kb" -lt 1048576 ] || { echo "FAIL: 1 GB or more" >&2; status=1; }
[ "$semi_kb" -lt 1048576 ] || { echo "FAIL: semi-specific digest took 1 GB or more" >&2; status=1; }
awk -v s="$semi_s" 'BEGIN { exit !(s < 60) }' ||
    { echo "FAIL: semi-specific digest took 60 s or more" >&2; status=1; }
exit "$status"
