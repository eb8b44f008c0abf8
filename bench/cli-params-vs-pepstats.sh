#!/usr/bin/env bash
# The parameter sheet of titin (34,350 residues), side by side: quorin-cli
# params (text and --json) against EMBOSS pepstats on the same FASTA file,
# REPS runs each, interleaved so that a busy machine slows both alike. Prints
# the median and the best wall-clock time of each; fails when the median of
# params exceeds pepstats'.
#
# usage: bench/cli-params-vs-pepstats.sh [BUILD_DIR] [REPS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
reps=${2:-15}
cli="$(cd "$build" && pwd)/src/cli/quorin-cli"
[ -x "$cli" ] || { echo "no $cli; build first" >&2; exit 2; }
if ! command -v pepstats >/dev/null; then
    sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        emboss >/dev/null
fi
titin="$root/../shared/data/proteins/Q8WZ42.fasta"
[ -r "$titin" ] || titin=/work/shared/data/proteins/Q8WZ42.fasta
[ -r "$titin" ] || titin="$root/tests/data/proteins/Q8WZ42.fasta"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
settings="$work/quorin.ini"
ulimit -v 4000000

seconds() { # command... -> wall-clock seconds of one run
    local start end
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    awk -v s="$start" -v e="$end" 'BEGIN { printf "%.4f\n", (e - s) / 1e9 }'
}

: >"$work/params.txt"
: >"$work/json.txt"
: >"$work/pepstats.txt"
"$cli" params --settings "$settings" "$titin" >/dev/null # creates the settings file
for ((i = 0; i < reps; i++)); do
    seconds pepstats -sequence "$titin" -outfile "$work/out.pepstats" -auto >>"$work/pepstats.txt"
    seconds "$cli" params --settings "$settings" "$titin" >>"$work/params.txt"
    seconds "$cli" params --json --settings "$settings" "$titin" >>"$work/json.txt"
done

stats() { # file -> "median best"
    sort -n "$1" | awk '{ v[NR] = $1 } END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2; printf "%.4f %.4f\n", m, v[1] }'
}
read -r pep_med pep_best < <(stats "$work/pepstats.txt")
read -r par_med par_best < <(stats "$work/params.txt")
read -r json_med json_best < <(stats "$work/json.txt")
echo "titin, 34,350 residues; $reps runs each; $(nproc) processors, load $(cut -d' ' -f1 /proc/loadavg)"
printf '%-32s %10s %10s\n' "" "median s" "best s"
printf '%-32s %10s %10s\n' "EMBOSS pepstats" "$pep_med" "$pep_best"
printf '%-32s %10s %10s\n' "quorin-cli params" "$par_med" "$par_best"
printf '%-32s %10s %10s\n' "quorin-cli params --json" "$json_med" "$json_best"
awk -v p="$pep_med" -v q="$par_med" 'BEGIN { exit !(q <= p) }' ||
    { echo "FAIL: params is slower than pepstats" >&2; exit 1; }
