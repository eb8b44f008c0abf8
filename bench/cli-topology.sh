#!/usr/bin/env bash
# The membrane topology of 486,000 Swiss-Prot proteins with quorin-cli
# topology (both processors), --jobs 1 against --jobs 2 (identical output),
# then the first 1,000 proteins side by side with toppred (Debian package
# toppred, installed when missing; run as its manual shows, without
# pictures). The protein set is made once by /work/shared/data/make-swissprot.sh
# (or $QUORIN_SWISSPROT_SCRIPT) into a cache outside the source tree. Fails
# when the whole set takes 60 s or more, or the 1,000 proteins are not
# decoded 10 times faster than toppred, or two thread counts differ.
#
# usage: bench/cli-topology.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build}
cli="$(cd "$build" && pwd)/src/cli/quorin-cli"
[ -x "$cli" ] || { echo "no $cli; build first" >&2; exit 2; }
cache=${QUORIN_BENCH_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quorin-bench}
script=${QUORIN_SWISSPROT_SCRIPT:-/work/shared/data/make-swissprot.sh}

missing=()
command -v toppred >/dev/null || missing+=(toppred)
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
cd "$work"
# Memory use stays far below this; it keeps a runaway from taking the machine.
ulimit -v 8000000

measure() { # label command... -> "label seconds kilobytes cpu-seconds"; output to $work/out
    local label=$1
    shift
    /usr/bin/time -f "%e %M %U %S" -o "$work/time.txt" "$@" >"$work/out"
    read -r elapsed kb user sys <"$work/time.txt"
    echo "$label $elapsed $kb $(awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }')"
}

echo "486,000 proteins, $(stat -c %s "$set_dir/sprot486k.fasta") bytes; $(nproc) processors"
read -r _ q2_s q2_kb q2_cpu < <(measure topology2 "$cli" topology --jobs 2 "$set_dir/sprot486k.fasta")
mv out topology_jobs2.txt
read -r _ q1_s q1_kb q1_cpu < <(measure topology1 "$cli" topology --jobs 1 "$set_dir/sprot486k.fasta")
cmp out topology_jobs2.txt
helices=$(awk 'NR % 3 == 0 && /H/ { n++ } END { print n + 0 }' topology_jobs2.txt)
signals=$(awk 'NR % 3 == 0 && /^S/ { n++ } END { print n + 0 }' topology_jobs2.txt)
rm -f out

# toppred writes a profile file per protein into the current folder; it runs
# in a folder of its own, and quorin-cli on the same file with both
# processors.
mkdir toppred && cd toppred
read -r _ t_s t_kb t_cpu < <(measure toppred toppred -g none -t none "$set_dir/sprot1k.fasta")
cd "$work"
read -r _ k_s k_kb k_cpu < <(measure topology1k "$cli" topology --jobs 2 "$set_dir/sprot1k.fasta")

echo "                                     elapsed     peak   CPU time"
printf '%-36s %8s s %5s MB %8s s\n' "topology, 486,000, --jobs 2" "$q2_s" "$((q2_kb / 1024))" "$q2_cpu"
printf '%-36s %8s s %5s MB %8s s\n' "topology, 486,000, --jobs 1" "$q1_s" "$((q1_kb / 1024))" "$q1_cpu"
echo "--jobs 1 and --jobs 2: identical output ($(stat -c %s topology_jobs2.txt) bytes);" \
    "$helices proteins with a helix, $signals with a signal peptide"
printf '%-36s %8s s %5s MB %8s s\n' "toppred, 1,000 proteins" "$t_s" "$((t_kb / 1024))" "$t_cpu"
printf '%-36s %8s s %5s MB %8s s\n' "topology, 1,000 proteins, --jobs 2" "$k_s" "$((k_kb / 1024))" "$k_cpu"

ratio=$(awk -v t="$t_s" -v q="$k_s" 'BEGIN { printf "%.1f", t / (q > 0.01 ? q : 0.01) }')
echo "toppred / topology: ${ratio}x elapsed (load average $(cut -d' ' -f1 /proc/loadavg))"
awk -v s="$q2_s" 'BEGIN { exit !(s < 60) }' || { echo "FAIL: 60 s or more" >&2; exit 1; }
awk -v r="$ratio" 'BEGIN { exit !(r >= 10) }' || { echo "FAIL: not 10 times faster" >&2; exit 1; }
