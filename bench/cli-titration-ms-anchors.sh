#!/usr/bin/env bash
# The anchors of the named pKa sets and the monoisotopic digest on the first
# thousand proteins of the Swiss-Prot set (make test runs a sample): the
# "EMBOSS" pI against EMBOSS iep (within 0.005), the "Bjellqvist" pI and curve
# against Biopython's IsoelectricPoint (within 0.01), and every fragment of a
# tryptic digest with a missed-cleavage limit against an independent
# enumeration, its monoisotopic mass against Biopython's ProteinAnalysis
# (within 0.001 Da). The protein set is made as bench/cli-batch-vs-pepstats.sh
# makes it.
#
# usage: bench/cli-titration-ms-anchors.sh [BUILD_DIR]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
cli="$(cd "$build" && pwd)/src/cli/quorin-cli"
[ -x "$cli" ] || { echo "no $cli; build first" >&2; exit 2; }
cache=${QUORIN_BENCH_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quorin-bench}
script=${QUORIN_SWISSPROT_SCRIPT:-/work/shared/data/make-swissprot.sh}
if [ ! -s "$cache/swissprot/sprot1k.fasta" ]; then
    [ -r "$script" ] || { echo "no $script to make the protein set" >&2; exit 2; }
    OUT="$cache/swissprot" bash "$script" >&2
fi
proteins="$root/../shared/data/proteins"
[ -d "$proteins" ] || proteins=/work/shared/data/proteins

echo "pI anchors, 1,000 Swiss-Prot proteins without X, B, Z, U, O, J:"
/usr/bin/python3 "$root/tests/tools/cross_check_titration.py" "$cli" "$proteins" 1000
echo "digest anchors, Trypsin with a missed-cleavage limit, monoisotopic:"
/usr/bin/python3 "$root/tests/tools/cross_check_ms_digest.py" "$cli" "$proteins" 200 \
    "$cache/swissprot/sprot1k.fasta"
