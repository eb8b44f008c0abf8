#!/usr/bin/env python3
"""Compares quorin-cli params --json with Biopython's ProteinAnalysis, used as a
black box, on the real proteins of PROTEIN_DIR, COUNT records of the bench's
Swiss-Prot sample when it is there, and generated sequences: instability index
within 0.01, aromaticity within 1e-4, GRAVY within 1e-3, both extinction
coefficients exactly, the monoisotopic mass within 0.01 Da and the average mass
within 1e-6 Da (both add the amino acids' masses rounded to four decimals).
The formula, the aliphatic index (Ikai 1980) and the E. coli half-life (Tobias
et al. 1991) are checked against their definitions, worked here from residue
formulas of this script's own; sequences with X, B, Z, U, O or J are checked
against those definitions alone (the unknown letters count nowhere).

usage: cross_check_params.py QUORIN_CLI PROTEIN_DIR [COUNT]
"""
import glob
import json
import os
import random
import subprocess
import sys
import tempfile

from Bio.SeqUtils.ProtParam import ProteinAnalysis

ALPHABET = "ACDEFGHIKLMNPQRSTVWY"
SPROT = os.path.expanduser("~/.cache/quorin-bench/swissprot/sprot1k.fasta")

# Each amino acid's formula (C, H, N, O, S); a residue in a chain is one
# water less.
AMINO_ACIDS = {
    "A": (3, 7, 1, 2, 0), "R": (6, 14, 4, 2, 0), "N": (4, 8, 2, 3, 0), "D": (4, 7, 1, 4, 0),
    "C": (3, 7, 1, 2, 1), "E": (5, 9, 1, 4, 0), "Q": (5, 10, 2, 3, 0), "G": (2, 5, 1, 2, 0),
    "H": (6, 9, 3, 2, 0), "I": (6, 13, 1, 2, 0), "L": (6, 13, 1, 2, 0), "K": (6, 14, 2, 2, 0),
    "M": (5, 11, 1, 2, 1), "F": (9, 11, 1, 2, 0), "P": (5, 9, 1, 2, 0), "S": (3, 7, 1, 3, 0),
    "T": (4, 9, 1, 3, 0), "W": (11, 12, 2, 2, 0), "Y": (9, 11, 1, 3, 0), "V": (5, 11, 1, 2, 0),
}
E_COLI_SHORT_LIVED = set("RKLFYW")


def read_fasta(path):
    records, name, lines = [], None, []
    with open(path) as f:
        for line in f:
            line = line.strip()
            if line.startswith(">"):
                if name is not None:
                    records.append((name, "".join(lines)))
                name, lines = line[1:].split()[0] if len(line) > 1 else "seq", []
            elif line:
                lines.append(line)
    if name is not None:
        records.append((name, "".join(lines)))
    return records


def sequences(protein_dir, count):
    found = []
    for path in sorted(glob.glob(os.path.join(protein_dir, "*.fasta"))):
        found += read_fasta(path)
    if os.path.exists(SPROT):
        found += read_fasta(SPROT)[:count]
    rng = random.Random(20261207)
    for n in range(count):
        weights = [rng.random() ** 2 for _ in ALPHABET]
        length = rng.choice([1, 2, 3, rng.randint(4, 40), rng.randint(41, 1500)])
        seq = "".join(rng.choices(ALPHABET, weights=weights, k=length))
        if n % 5 == 0:
            seq = "".join(c if rng.random() > 0.05 else rng.choice("XBZUOJ") for c in seq)
        found.append(("gen%d" % n, seq))
    return found


def formula(residues):
    atoms = [0, 2, 0, 1, 0]
    for r in residues:
        acid = AMINO_ACIDS[r]
        for i in range(5):
            atoms[i] += acid[i] - (2 if i == 1 else 1 if i == 3 else 0)
    return "".join(e + (str(n) if n != 1 else "") for e, n in zip("CHNOS", atoms) if n)


def check(name, seq, sheet):
    residues = "".join(c for c in seq.upper() if c in ALPHABET)
    cleaned = "".join(c for c in seq.upper() if c in ALPHABET + "XO")
    errors = []

    def expect(what, ours, theirs, tolerance=0.0):
        if theirs is None or abs(ours - theirs) > tolerance:
            errors.append("%s: quorin-cli %r, expected %r" % (what, ours, theirs))

    n = len(residues)
    expect("length", sheet["length"], n)
    if sheet["formula"] != formula(residues):
        errors.append("formula: quorin-cli %s, expected %s" % (sheet["formula"], formula(residues)))
    if n:
        aliphatic = 100.0 * (residues.count("A") + 2.9 * residues.count("V")
                             + 3.9 * (residues.count("I") + residues.count("L"))) / n
        expect("aliphatic_index", sheet["aliphatic_index"], aliphatic, 1e-9)
    first = cleaned[:1]
    e_coli = ("unknown" if first in ("", "X", "O", "P") else
              "2 minutes" if first in E_COLI_SHORT_LIVED else ">10 hours")
    if sheet["half_life"]["e_coli"] != e_coli:
        errors.append("half_life e_coli: %s, expected %s" % (sheet["half_life"]["e_coli"], e_coli))
    if sorted(sheet["composition"]) != sorted(ALPHABET) or any(
            sheet["composition"][c] != residues.count(c) for c in ALPHABET):
        errors.append("composition differs")

    if residues == seq and n > 0:
        analysis = ProteinAnalysis(seq)
        mono = ProteinAnalysis(seq, monoisotopic=True)
        reduced, cystines = analysis.molar_extinction_coefficient()
        expect("extinction_280_reduced", sheet["extinction_280_reduced"], reduced)
        expect("extinction_280_cystines", sheet["extinction_280_cystines"], cystines)
        expect("aromaticity", sheet["aromaticity"], analysis.aromaticity(), 1e-4)
        expect("gravy", sheet["gravy"], analysis.gravy(), 1e-3)
        expect("monoisotopic_mass", sheet["monoisotopic_mass"], mono.molecular_weight(), 0.01)
        expect("average_mass", sheet["average_mass"], analysis.molecular_weight(), 1e-6)
        expect("instability_index", sheet["instability_index"], analysis.instability_index(), 0.01)
    return ["%s (%d residues) %s" % (name, n, e) for e in errors]


def main():
    cli, protein_dir = sys.argv[1], sys.argv[2]
    count = int(sys.argv[3]) if len(sys.argv) > 3 else 200
    failures, checked = [], 0
    with tempfile.TemporaryDirectory() as tmp:
        settings = os.path.join(tmp, "quorin.ini")
        path = os.path.join(tmp, "in.fasta")
        for name, seq in sequences(protein_dir, count):
            with open(path, "w") as f:
                f.write(">%s\n%s\n" % (name, seq))
            out = subprocess.run([cli, "params", "--json", "--settings", settings, path],
                                 capture_output=True, check=True).stdout
            sheet = json.loads(out)
            if list(sheet) != KEYS:
                failures.append("%s: keys %s" % (name, list(sheet)))
            failures += check(name, seq, sheet)
            checked += 1
    for failure in failures[:20]:
        sys.stderr.write(failure + "\n")
    if failures:
        sys.stderr.write("%d differences in %d sequences\n" % (len(failures), checked))
        return 1
    print("%d sequences agree" % checked)
    return 0


KEYS = ["length", "average_mass", "monoisotopic_mass", "formula", "isoelectric_point",
        "isoelectric_point_spread", "net_charge_ph7", "extinction_280_cystines",
        "extinction_280_reduced", "absorbance_0_1_percent_cystines",
        "absorbance_0_1_percent_reduced", "instability_index", "aliphatic_index", "gravy",
        "aromaticity", "half_life", "composition"]

if __name__ == "__main__":
    sys.exit(main())
