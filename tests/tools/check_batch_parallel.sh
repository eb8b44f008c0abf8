#!/bin/sh
# The batch split over machines as the README shows it, on this machine: GNU
# parallel cuts the input at record starts into four shards, each analysed by
# its own quorin-cli batch --rows-only; the rows, kept in order, must be the
# rows of one run over the whole input.
#
# usage: check_batch_parallel.sh QUORIN_CLI PROTEIN_DIR
set -eu
cli=$1
proteins=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
: >quorin.ini
# Many records: the real proteins (titin left out) under numbered names.
for round in 1 2 3 4 5 6 7 8 9 10 11 12; do
    for file in "$proteins"/P*.fasta; do
        sed "s/^>/>r$round /" "$file"
    done
done >many.fa
"$cli" batch many.fa --settings quorin.ini --results one.txt --rows-only
records=$(grep -c '^>' many.fa)
parallel --will-cite --pipe --recstart '>' -N $((records / 4)) -k -j 4 \
    --joblog jobs.txt "$cli" batch - --settings quorin.ini --results - --rows-only \
    <many.fa >sharded.txt
shards=$(($(wc -l <jobs.txt) - 1))
[ "$shards" -eq 4 ] || { echo "expected 4 shards, parallel ran $shards" >&2; exit 1; }
[ "$(wc -l <one.txt)" -eq 72 ] || { echo "one run wrote $(wc -l <one.txt) rows" >&2; exit 1; }
cmp one.txt sharded.txt
echo "4 shards: the rows of one run"
