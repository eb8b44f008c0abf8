#!/bin/sh
# Renders the plot pages of bacteriorhodopsin and reads the results back
# with programs that are not ours: the metafile through emf2svg-conv (and the
# SVG it gives through rsvg-convert), the PDFs through pdftotext.
#
# usage: check_render.sh QUORIN_CLI P02945.fasta
set -eu
cli=$1
protein=$2
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp"

fail() {
    echo "check_render: $*" >&2
    exit 1
}

"$cli" render hydropathy --settings s.ini --mark 82 --text '300,20,A note' -o page.emf "$protein"
emf2svg-conv -i page.emf -o page.svg || fail "emf2svg-conv cannot read the metafile"
for text in "Residue Number" "Mean Hydropathy (GRAVY) = 0.723" "Scale: Kyte and Doolittle (1982)" \
    "W = 11" "Hydropathy threshold for helices =  1.6" "V82" "A note" "3.0" "-1.0" "250"; do
    grep -qF -- "$text" page.svg || fail "the metafile lacks \"$text\""
done
grep -q 'stroke="#FF0000"' page.svg || fail "the metafile has no red helix bars"
rsvg-convert page.svg -o page.png || fail "the converted metafile does not draw"
[ -s page.png ] || fail "the converted metafile drew nothing"

"$cli" render hydropathy --settings s.ini --print-layout -o printed.pdf "$protein"
pdftotext printed.pdf printed.txt
grep -q "Hydropathy Plot of Residues 1-262 of P02945" printed.txt || fail "no printed title"
grep -q '^\*\*\*\*\*\*\*\*\*\*' printed.txt || fail "no row of stars under the printed title"
grep -q "Residue Number" printed.txt || fail "no axis title on the printed page"

"$cli" render hydropathy --settings s.ini -o screen.pdf "$protein"
pdftotext screen.pdf screen.txt
grep -q "Residue Number" screen.txt || fail "no axis title on the screen page"
if grep -q "Hydropathy Plot of Residues" screen.txt; then
    fail "the screen page shows the printed title"
fi
"$cli" render amphipathy --settings s.ini -o moment.emf "$protein"
grep -qa "A.m.p.h.y.p.a.t.h.y. .P.l.o.t" moment.emf || fail "the amphipathy metafile lacks its title"
emf2svg-conv -i moment.emf -o moment.svg || fail "emf2svg-conv cannot read the amphipathy metafile"
for text in "Mean Amphipathy Moment = 0.0573" "W = 19" "0.15" "0.00" "Residue Number" "260"; do
    grep -qF -- "$text" moment.svg || fail "the amphipathy metafile lacks \"$text\""
done
"$cli" render amphipathy --settings s.ini --print-layout -o moment.pdf "$protein"
pdftotext moment.pdf moment.txt
grep -q "Plot of Amphipathy Moment of Residues 1-262 of P02945" moment.txt ||
    fail "no printed amphipathy title"
grep -q "Scale: Kyte and Doolittle (1982)" moment.txt || fail "no printed scale line"
"$cli" render wheel --settings s.ini --from 22 --to 42 -o wheel.emf "$protein"
emf2svg-conv -i wheel.emf -o wheel.svg || fail "emf2svg-conv cannot read the wheel"
for text in E22 W23 T30 V42; do
    grep -qF -- "$text" wheel.svg || fail "the wheel's metafile lacks \"$text\""
done
"$cli" render wheel --settings s.ini --from 22 --to 42 --print-layout -o wheel.pdf "$protein"
pdftotext wheel.pdf wheel.txt
grep -q "Helical Wheel Display of Residues 22-42 of P02945" wheel.txt || fail "no printed wheel title"
"$cli" render titration --settings s.ini --pka-set EMBOSS -o charge.emf "$protein"
emf2svg-conv -i charge.emf -o charge.svg || fail "emf2svg-conv cannot read the titration curve"
for text in "Isoelectric Point = 4.3246" "Net Charge" "-40" "14"; do
    grep -qF -- "$text" charge.svg || fail "the titration metafile lacks \"$text\""
done
"$cli" render titration --settings s.ini --print-layout -o charge.pdf "$protein"
pdftotext charge.pdf charge.txt
grep -q "Titration Curve (pK set: settings) of P02945" charge.txt || fail "no printed titration title"
echo "metafile and PDFs read back"
