#!/usr/bin/env bash
# The batch analysis of 486,000 Swiss-Prot proteins, side by side in one run:
# quorin-cli batch (default columns and statistics) against EMBOSS pepstats on
# the same file, then --jobs 1 against --jobs 2 (identical files), then the
# batch digest with Trypsin. The protein set is made once by
# /work/shared/data/make-swissprot.sh (or $QUORIN_SWISSPROT_SCRIPT) into a
# cache outside the source tree. Fails when the batch is not 20 times faster
# than pepstats, peaks at 1 GB or more, or two thread counts differ.
#
# usage: bench/cli-batch-vs-pepstats.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
cli="$(cd "$build" && pwd)/src/cli/quorin-cli"
[ -x "$cli" ] || { echo "no $cli; build first" >&2; exit 2; }
cache=${QUORIN_BENCH_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quorin-bench}
script=${QUORIN_SWISSPROT_SCRIPT:-/work/shared/data/make-swissprot.sh}

missing=()
command -v pepstats >/dev/null || missing+=(emboss)
[ -x /usr/bin/time ] || missing+=(time)
if [ ${#missing[@]} -gt 0 ]; then
    sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
if [ ! -s "$cache/swissprot/sprot486k.fasta" ]; then
    [ -r "$script" ] || { echo "no $script to make the protein set" >&2; exit 2; }
    OUT="$cache/swissprot" bash "$script" >&2
fi
set_dir="$cache/swissprot"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
settings="$work/quorin.ini"
printf '[Cleaving Agents]\r\n0=Trypsin:K!;R!\r\n' >"$settings"
ln -s "$set_dir/sprot486k.fasta" "$work/sprot.fasta"
ln -s "$set_dir/sprot1k.fasta" "$work/sprot1k.fasta"
cd "$work"

# Memory use stays far below this; it keeps a runaway from taking the machine.
ulimit -v 8000000

measure() { # label command... -> "label seconds kilobytes cpu-seconds"
    local label=$1
    shift
    /usr/bin/time -f "%e %M %U %S" -o "$work/time.txt" "$@" >/dev/null
    read -r elapsed kb user sys <"$work/time.txt"
    echo "$label $elapsed $kb $(awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }')"
}

echo "486,000 proteins, $(stat -c %s "$set_dir/sprot486k.fasta") bytes; $(nproc) processors"
read -r _ pep_s pep_kb pep_cpu < <(measure pepstats pepstats -sequence sprot.fasta -outfile "$work/pepstats.txt" -auto)
read -r _ q2_s q2_kb q2_cpu < <(measure batch2 "$cli" batch sprot.fasta --settings "$settings" --jobs 2)
cp sprot_results.txt results_jobs2.txt
read -r _ q1_s q1_kb q1_cpu < <(measure batch1 "$cli" batch sprot.fasta --settings "$settings" --jobs 1)
echo "                                     elapsed     peak   CPU time"
printf '%-36s %8s s %5s MB %8s s\n' "EMBOSS pepstats" "$pep_s" "$((pep_kb / 1024))" "$pep_cpu"
printf '%-36s %8s s %5s MB %8s s\n' "quorin-cli batch --jobs 2" "$q2_s" "$((q2_kb / 1024))" "$q2_cpu"
printf '%-36s %8s s %5s MB %8s s\n' "quorin-cli batch --jobs 1" "$q1_s" "$((q1_kb / 1024))" "$q1_cpu"
cmp results_jobs2.txt sprot_results.txt
echo "--jobs 1 and --jobs 2: identical results ($(stat -c %s sprot_results.txt) bytes)"

# Every fragment of every tryptic digest with its residues: about 580 kB per
# protein, far beyond any disk for the whole set, so the digest runs on the
# first 1,000 proteins and its rate is given.
read -r _ d_s d_kb d_cpu < <(measure digest "$cli" batch sprot1k.fasta --settings "$settings" \
    --digest --agent Trypsin --results "$work/digest.txt")
printf '%-36s %8s s %5s MB %8s s  (%s bytes written)\n' \
    "batch digest, Trypsin, 1,000 proteins" "$d_s" "$((d_kb / 1024))" "$d_cpu" \
    "$(stat -c %s "$work/digest.txt")"

ratio=$(awk -v p="$pep_s" -v q="$q2_s" 'BEGIN { printf "%.1f", p / (q > 0.01 ? q : 0.01) }')
echo "pepstats / batch: ${ratio}x elapsed (load average $(cut -d' ' -f1 /proc/loadavg))"
awk -v r="$ratio" 'BEGIN { exit !(r >= 20) }' || { echo "FAIL: not 20 times faster" >&2; exit 1; }
[ "$q2_kb" -lt 1048576 ] || { echo "FAIL: 1 GB or more" >&2; exit 1; }
