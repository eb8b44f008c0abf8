#!/bin/sh
# Renders the bundled sketch of bacteriorhodopsin's domains to every format
# and reads the metafile back with a program that is not ours (emf2svg-conv):
# the same boxes in their colours, the same names. The printed PDF is read
# through pdftotext.
#
# usage: check_render_domains.sh QUORIN_CLI bacteriorhodopsin-domains.pep
set -eu
cli=$1
sketch=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp"

fail() {
    echo "check_render_domains: $*" >&2
    exit 1
}

for format in svg pdf png emf; do
    "$cli" render domains --settings s.ini -o "page.$format" "$sketch"
    [ -s "page.$format" ] || fail "no $format written"
done
emf2svg-conv -i page.emf -o page.svg || fail "emf2svg-conv cannot read the metafile"
for text in "Helix A" "Helix B" "A-B" "K229" "Bacteriorhodopsin" "retinal on K229"; do
    grep -qF -- "$text" page.svg || fail "the metafile lacks \"$text\""
done
# The grey domain of the whole sequence and the three coloured ones, as boxes.
for fill in C0C0C0 FF8080 80FF80 80C0FF; do
    grep -q "<path [^>]*fill=\"#$fill\"" page.svg || fail "the metafile has no box filled #$fill"
done

"$cli" render domains --settings s.ini --print-layout -o printed.pdf "$sketch"
pdftotext printed.pdf printed.txt
grep -q "Sketch of domains of P02945" printed.txt || fail "no printed title"
grep -q '^\*\*\*\*\*\*\*\*\*\*' printed.txt || fail "no row of stars under the printed title"
grep -q "Helix B" printed.txt || fail "no domain name on the printed page"

if "$cli" render domains --settings s.ini -o none.svg "$(dirname "$sketch")/bacteriorhodopsin.pep" 2>err.txt; then
    fail "a file without a sketch was drawn"
fi
grep -q "holds no sketch of domains" err.txt || fail "no reason given for a file without a sketch"
echo "sketch rendered and read back"
