#!/usr/bin/env python3
"""Compares quorin-cli titration with two tools people trust: the "EMBOSS" set
with the pI of EMBOSS iep (within 0.005), the "Bjellqvist" set with Biopython's
IsoelectricPoint pi() (within 0.01) and charge_at_pH (the curve, within its
rounding to 2 decimals). Every named set is also compared with the reference
below (within 0.0002), its pK values written out here from the sets' sources
and, for the fitted sets, read from the table the program compiles in. The
proteins are the real ones of PROTEIN_DIR, COUNT records of the bench's
Swiss-Prot sample when it is there, and generated sequences; sequences with X,
B, Z, U, O or J are left out (the tools read them differently). Exits 77
(skipped) when iep or Biopython is missing, after the reference's check.

usage: cross_check_titration.py QUORIN_CLI PROTEIN_DIR [COUNT]
       cross_check_titration.py --table SEQUENCE...   (the reference's pIs)
"""
import glob
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile

ALPHABET = "ACDEFGHIKLMNPQRSTVWY"
SPROT = os.path.expanduser("~/.cache/quorin-bench/swissprot/sprot1k.fasta")
SKIP = 77

# Biopython runs in Debian's own interpreter: the one running this script may
# be another without it.
BIOPYTHON = r"""
import sys
from Bio.SeqUtils.IsoelectricPoint import IsoelectricPoint
for line in sys.stdin:
    ip = IsoelectricPoint(line.strip())
    print(ip.pi(), *(ip.charge_at_pH(k * 0.5) for k in range(29)))
"""


# pK values in the order N-terminus, C-terminus, D, E, C, Y, H, K, R.
NAMED_SETS = {
    "EMBOSS": [7.5, 3.6, 3.9, 4.1, 8.5, 10.1, 6.5, 10.8, 12.5],
    "Bjellqvist": [7.5, 3.55, 4.05, 4.45, 9.0, 10.0, 5.98, 10.0, 12.0],
    "Lehninger": [9.69, 2.34, 3.86, 4.25, 8.33, 10.0, 6.0, 10.5, 12.4],
    # Grimsley, Scholtz and Pace, Protein Sci 18:247 (2009); Arg as compiled
    # by Kozlowski, Biology Direct 11:55 (2016), as are the four below.
    "Grimsley": [7.7, 3.3, 3.5, 4.2, 6.8, 10.3, 6.6, 10.5, 12.04],
    "Rodwell": [8.0, 3.1, 3.68, 4.25, 8.33, 10.07, 6.0, 11.5, 11.5],
    "Solomon": [9.6, 2.4, 3.9, 4.3, 8.3, 10.1, 6.0, 10.5, 12.5],
    "Sillero": [8.2, 3.2, 4.0, 4.5, 9.0, 10.0, 6.4, 10.4, 12.0],
    "Dawson": [8.2, 3.2, 3.9, 4.3, 8.3, 10.1, 6.0, 10.5, 12.0],
}
BJELLQVIST_N = {"A": 7.59, "M": 7.0, "S": 6.93, "P": 8.36, "T": 6.82, "V": 7.44, "E": 7.7}
BJELLQVIST_C = {"D": 4.55, "E": 4.75}
FITTED_TABLE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "src",
                            "analysis", "FittedPKaSets.inc")


def fitted_sets():
    """The fitted sets of the compiled table, reordered from its group order
    (N-terminus, H, K, R, C, D, E, Y, C-terminus)."""
    found = {}
    with open(FITTED_TABLE) as f:
        for line in f:
            m = re.match(r"constexpr GroupPKs kFitted(Peptide|Protein)PKs = \{(.*)\};", line)
            if m:
                n, h, k, r, c, d, e, y, ct = (float(v) for v in m.group(2).split(","))
                found["fitted-" + m.group(1).lower()] = [n, ct, d, e, c, y, h, k, r]
    return found


def reference_pi(seq, name, pks):
    n, ct, d, e, c, y, h, k, r = pks
    if name == "Bjellqvist":
        n, ct = BJELLQVIST_N.get(seq[0], n), BJELLQVIST_C.get(seq[-1], ct)
    positive = [(n, 1), (h, seq.count("H")), (k, seq.count("K")), (r, seq.count("R"))]
    negative = [(ct, 1), (d, seq.count("D")), (e, seq.count("E")), (c, seq.count("C")),
                (y, seq.count("Y"))]

    def charge(ph):
        return (sum(m / (1 + 10 ** (ph - pk)) for pk, m in positive) -
                sum(m / (1 + 10 ** (pk - ph)) for pk, m in negative))

    low, high = 0.0, 14.0
    while high - low > 1e-9:
        middle = (low + high) / 2
        low, high = (middle, high) if charge(middle) > 0 else (low, middle)
    return (low + high) / 2


def every_set():
    sets = dict(NAMED_SETS)
    sets.update(fitted_sets())
    return sets


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


def proteins(protein_dir, count):
    found = []
    for path in sorted(glob.glob(os.path.join(protein_dir, "*.fasta"))):
        found += read_fasta(path)
    if os.path.exists(SPROT):
        found += read_fasta(SPROT)[:count]
    rng = random.Random(20261207)
    for n in range(count // 4):
        weights = [rng.random() ** 3 for _ in ALPHABET]
        length = rng.choice([rng.randint(1, 12), rng.randint(13, 400)])
        found.append(("gen%d" % n, "".join(rng.choices(ALPHABET, weights=weights, k=length))))
    # Far ends of the pH range, where a clamped search would show.
    found += [("polyD", "D" * 30), ("polyR", "R" * 30), ("polyK", "K" * 12), ("G", "G")]
    return [(name, seq.upper()) for name, seq in found
            if seq and all(c in ALPHABET for c in seq.upper())]


def emboss_pis(records, tmp):
    path = os.path.join(tmp, "all.fasta")
    with open(path, "w") as f:
        for n, (_, seq) in enumerate(records):
            f.write(">r%d\n%s\n" % (n, seq))
    out = subprocess.run(["iep", "-sequence", path, "-outfile", "stdout", "-auto"],
                         capture_output=True, text=True, check=True).stdout
    return [float(v) for v in re.findall(r"Isoelectric Point = ([-0-9.]+)", out)]


def biopython_rows(python, records):
    text = "".join(seq + "\n" for _, seq in records)
    out = subprocess.run([python, "-c", BIOPYTHON], input=text, capture_output=True, text=True,
                         check=True).stdout
    return [[float(v) for v in line.split()] for line in out.splitlines()]


def titration(cli, settings, path, seq, pka_set):
    with open(path, "w") as f:
        f.write(">p\n%s\n" % seq)
    out = subprocess.run([cli, "titration", "--settings", settings, "--pka-set", pka_set, path],
                         capture_output=True, check=True).stdout.decode()
    lines = out.split("\r\n")
    charges = [float(line.split("\t")[1]) for line in lines[1:30]]
    return float(lines[30][len("Isoelectric Point = "):]), charges


def biopython_interpreter():
    for python in (sys.executable, "/usr/bin/python3"):
        if shutil.which(python) and subprocess.run(
                [python, "-c", "import Bio.SeqUtils.IsoelectricPoint"],
                capture_output=True).returncode == 0:
            return python
    return None


def check_named_sets(cli, records, tmp):
    """Every named set's pI against the reference; the number of failures."""
    failures, worst = 0, 0.0
    settings = os.path.join(tmp, "quorin.ini")
    path = os.path.join(tmp, "in.fasta")
    sets = every_set()
    assert len(sets) == 10, sorted(sets)
    for name, seq in records[::4]:
        for set_name, pks in sets.items():
            ours, _ = titration(cli, settings, path, seq, set_name)
            theirs = reference_pi(seq, set_name, pks)
            worst = max(worst, abs(ours - theirs))
            if abs(ours - theirs) > 0.0002:
                failures += 1
                print("%s: %s pI %.4f, reference %.4f" % (name, set_name, ours, theirs))
    print("%d proteins under %d named sets; largest deviation from the reference %.5f"
          % (len(records[::4]), len(sets), worst))
    return failures


def main():
    if sys.argv[1] == "--table":
        for seq in sys.argv[2:]:
            print(seq, " ".join("%s=%.4f" % (name, reference_pi(seq, name, pks))
                                for name, pks in every_set().items()))
        return 0
    cli, protein_dir = sys.argv[1], sys.argv[2]
    count = int(sys.argv[3]) if len(sys.argv) > 3 else 300
    records = proteins(protein_dir, count)
    with tempfile.TemporaryDirectory() as tmp:
        if check_named_sets(cli, records, tmp):
            return 1
    python = biopython_interpreter()
    if not shutil.which("iep") or python is None:
        print("iep (emboss) or Biopython missing: scripts/install-deps installs them")
        return SKIP
    failures = 0
    worst_emboss = worst_bjellqvist = worst_curve = 0.0
    with tempfile.TemporaryDirectory() as tmp:
        settings = os.path.join(tmp, "quorin.ini")
        path = os.path.join(tmp, "in.fasta")
        iep = emboss_pis(records, tmp)
        bio = biopython_rows(python, records)
        assert len(iep) == len(records) and len(bio) == len(records)
        for (name, seq), emboss_pi, row in zip(records, iep, bio):
            ours, _ = titration(cli, settings, path, seq, "EMBOSS")
            worst_emboss = max(worst_emboss, abs(ours - emboss_pi))
            if abs(ours - emboss_pi) > 0.005:
                failures += 1
                print("%s: EMBOSS pI %.4f, iep %.4f" % (name, ours, emboss_pi))
            ours, charges = titration(cli, settings, path, seq, "Bjellqvist")
            # Biopython searches 4.05..12 only; beyond, it answers its bound.
            if 4.06 < row[0] < 11.99:
                worst_bjellqvist = max(worst_bjellqvist, abs(ours - row[0]))
                if abs(ours - row[0]) > 0.01:
                    failures += 1
                    print("%s: Bjellqvist pI %.4f, Biopython %.4f" % (name, ours, row[0]))
            for k, (mine, theirs) in enumerate(zip(charges, row[1:])):
                worst_curve = max(worst_curve, abs(mine - theirs))
                if abs(mine - theirs) > 0.005 + 1e-9:
                    failures += 1
                    print("%s: charge at pH %.1f %.2f, Biopython %.6f" % (name, k * 0.5, mine,
                                                                         theirs))
    print("%d proteins; largest deviation: EMBOSS pI %.5f, Bjellqvist pI %.5f, curve %.5f"
          % (len(records), worst_emboss, worst_bjellqvist, worst_curve))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
