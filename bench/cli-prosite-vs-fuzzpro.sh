#!/usr/bin/env bash
# PROSITE patterns, side by side with EMBOSS fuzzpro in one run:
#  1. quorin-cli scan of a 1,000-pattern library over titin against fuzzpro
#     with the same 1,000 patterns (one pattern file) over titin;
#  2. quorin-cli batch --prosite of one pattern over the 486,000 Swiss-Prot
#     proteins against fuzzpro over the same file, and the start positions of
#     both compared record for record.
# The library is generated here (no PROSITE data ships with Quorin): patterns
# of the shapes a library holds, classes, exclusions, repeats and ranges. The
# protein set is made once by /work/shared/data/make-swissprot.sh (or
# $QUORIN_SWISSPROT_SCRIPT) into a cache outside the source tree. Fails when
# Quorin is slower than fuzzpro or the starts differ.
#
# usage: bench/cli-prosite-vs-fuzzpro.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
cli="$(cd "$build" && pwd)/src/cli/quorin-cli"
[ -x "$cli" ] || { echo "no $cli; build first" >&2; exit 2; }
cache=${QUORIN_BENCH_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quorin-bench}
script=${QUORIN_SWISSPROT_SCRIPT:-/work/shared/data/make-swissprot.sh}
if ! command -v fuzzpro >/dev/null || [ ! -x /usr/bin/time ]; then
    sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends emboss time >/dev/null
fi
if [ ! -s "$cache/swissprot/sprot486k.fasta" ]; then
    [ -r "$script" ] || { echo "no $script to make the protein set" >&2; exit 2; }
    OUT="$cache/swissprot" bash "$script" >&2
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
ulimit -v 8000000

python3 - "$work" <<'PY'
import random, sys
rng = random.Random(1000)
letters = "ACDEFGHIKLMNPQRSTVWY"
with open(sys.argv[1] + "/library.dat", "w") as dat, open(sys.argv[1] + "/patterns.txt", "w") as pat:
    for n in range(1000):
        elements = []
        for _ in range(rng.randint(4, 12)):
            r = rng.random()
            e = ("x" if r < 0.3 else rng.choice(letters) if r < 0.55 else
                 "[" + "".join(rng.sample(letters, rng.randint(2, 6))) + "]" if r < 0.85 else
                 "{" + "".join(rng.sample(letters, rng.randint(1, 4))) + "}")
            r = rng.random()
            if e == "x" and r < 0.5:
                lo = rng.randint(1, 4)
                e += "(%d,%d)" % (lo, lo + rng.randint(0, 3))
            elif r < 0.1:
                e += "(2)"
            elements.append(e)
        pattern = "-".join(elements)
        dat.write("ID   GEN_%04d; PATTERN.\nAC   PS9%04d;\nDE   Generated pattern %d.\n"
                  "PA   %s.\n//\n" % (n, n, n, pattern))
        pat.write(">PS9%04d\n%s\n" % (n, pattern))
PY
titin="$root/tests/data/proteins/Q8WZ42.fasta"
measure() { # label command... -> "seconds"
    /usr/bin/time -f "%e" -o "$work/time.txt" "$@" >/dev/null 2>&1
    cat "$work/time.txt"
}
s_scan=$(measure "$cli" scan --prosite-dat library.dat --tsv "$titin")
s_fuzz=$(measure fuzzpro -sequence "$titin" -pattern @patterns.txt -outfile fuzz-titin.txt -auto)
"$cli" scan --prosite-dat library.dat --tsv "$titin" | tail -n +2 | cut -f1,3 | sort -u >ours-titin.txt
awk '/^#/ || NF < 4 || $1 !~ /^[0-9]+$/ { next } { split($3, name, ":"); print name[1] "\t" $1 }' \
    fuzz-titin.txt | sort -u >fuzz-titin-starts.txt

pattern='N-{P}-[ST]-{P}'
sprot="$cache/swissprot/sprot486k.fasta"
s_batch=$(measure "$cli" batch "$sprot" --prosite "$pattern" --results batch.tsv)
s_fuzz_all=$(measure fuzzpro -sequence "$sprot" -pattern "$pattern" -rformat excel -outfile fuzz-all.txt -auto)
# Quorin counts positions over the residues it reads; B, J, U and Z are no
# residue of it and are dropped, so records holding one are compared apart.
awk '/^>/ { name = substr($1, 2); next } /[BJUZbjuz]/ { print name }' "$sprot" | sort -u >odd.txt
tail -n +2 batch.tsv | cut -f1,2 | sort -u | awk -F'\t' 'NR == FNR { odd[$1]; next } !($1 in odd)' \
    odd.txt - >ours-all.txt
awk -F'\t' '$2 ~ /^[0-9]+$/ { print $1 "\t" $2 }' fuzz-all.txt | sort -u |
    awk -F'\t' 'NR == FNR { odd[$1]; next } !($1 in odd)' odd.txt - >fuzz-all-starts.txt

echo "$(nproc) processors"
printf '%-58s %8s s\n' "quorin-cli scan, 1,000 patterns, titin" "$s_scan"
printf '%-58s %8s s\n' "fuzzpro, the same 1,000 patterns, titin" "$s_fuzz"
printf '%-58s %8s s\n' "quorin-cli batch --prosite $pattern, 486,000 proteins" "$s_batch"
printf '%-58s %8s s\n' "fuzzpro $pattern, 486,000 proteins" "$s_fuzz_all"
echo "titin: $(wc -l <ours-titin.txt) starts (Quorin), $(wc -l <fuzz-titin-starts.txt) (fuzzpro)"
cmp -s ours-titin.txt fuzz-titin-starts.txt || { echo "FAIL: the titin starts differ" >&2; exit 1; }
echo "matches: $(wc -l <ours-all.txt) starts (Quorin), $(wc -l <fuzz-all-starts.txt) (fuzzpro)," \
    "records with B, J, U or Z ($(wc -l <odd.txt)) left out"
cmp -s ours-all.txt fuzz-all-starts.txt || { echo "FAIL: the starts differ" >&2; exit 1; }
awk -v a="$s_scan" -v b="$s_fuzz" -v c="$s_batch" -v d="$s_fuzz_all" \
    'BEGIN { exit !(a <= b && c <= d) }' || { echo "FAIL: slower than fuzzpro" >&2; exit 1; }
