#!/usr/bin/env python3
"""Checks quorin-cli digest --enzyme --tsv against an independent reading:
each enzyme's cut sites are found with a regular expression of its rule
(look-behind for the residue before the bond, look-ahead for the one after),
and every start and end pair of the sequence is tested one by one for the
specificity, the cut sites strictly inside it and its length. Runs every
enzyme with every specificity over the real proteins of tests/data/proteins
(titin with Trypsin only) and over generated sequences with unknown residues,
lower case and letters that are no residue, under several bounds. The CSV
table of the same digest must list the same positions and missed cleavages,
and batch --digest --enzyme the same peptides of every record, in order.

usage: cross_check_enzymes.py QUORIN_CLI PROTEIN_DIR [COUNT]
"""
import os
import random
import re
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import digest_reference  # noqa: E402

# The rules, written as patterns that match at a cut position. An unknown
# residue X may be the residue an enzyme needs, but is never an exception.
RULES = {
    "Trypsin": r"(?<=[KRX])(?!P)",
    "Trypsin/P": r"(?<=[KRX])",
    "Lys-C": r"(?<=[KX])(?!P)",
    "Lys-C/P": r"(?<=[KX])",
    "Lys-N": r"(?=[KX])",
    "Arg-C": r"(?<=[RX])(?!P)",
    "Arg-C/P": r"(?<=[RX])",
    "Asp-N": r"(?=[DX])",
    "Glu-C": r"(?<=[EX])(?!P)",
    "Glu-C+D": r"(?<=[DEX])(?!P)",
    "Chymotrypsin": r"(?<=[FYWX])(?!P)",
    "Chymotrypsin/P": r"(?<=[FYWX])",
    "Chymotrypsin-low": r"(?<=[FYWLMX])(?!P)",
    "CNBr": r"(?<=[MX])",
    "Formic acid": r"(?<=[DX])",
    "Pepsin A": r"(?<=[FLX])",
    "Proteinase K": r"(?<=[AEFILTVWYX])",
    "Thermolysin": r"(?<![DE])(?=[AFILMVX])(?!.P)",
    "unspecific cleavage": r"",
}
SPECIFICITIES = ["full", "semi", "none"]
# (max missed, min length, max length); None: not given.
BOUNDS = [(None, None, None), (0, None, None), (2, 6, 30), (1, 4, 12), (None, 6, 30),
          (3, None, 20), (0, 7, None), (2, 0, 0), (5, 1, 1)]
ALPHABET = "ACDEFGHIKLMNPQRSTVWY"


def sites(seq, enzyme):
    found = {m.start() for m in re.finditer(RULES[enzyme], seq)}
    return sorted(p for p in found if 0 < p < len(seq))


def expected(seq, enzyme, specificity, max_missed, min_length, max_length):
    cut_sites = set(sites(seq, enzyme))
    ends = cut_sites | {0, len(seq)}
    unspecific = specificity == "none" or enzyme == "unspecific cleavage"
    lines = ["start\tend\tmissed\tsequence"]
    longest = len(seq) if max_length is None else max_length
    for s in range(len(seq)):
        for e in range(s, min(len(seq), s + longest)):
            length = e - s + 1
            if min_length is not None and length < min_length:
                continue
            at_start, at_end = s in ends, e + 1 in ends
            if specificity == "full" and not (at_start and at_end):
                continue
            if specificity == "semi" and not (at_start or at_end):
                continue
            missed = sum(1 for p in range(s + 1, e + 1) if p in cut_sites)
            if not unspecific and max_missed is not None and missed > max_missed:
                continue
            lines.append("%d\t%d\t%d\t%s" % (s + 1, e + 1, missed, seq[s:e + 1]))
    return "\n".join(lines) + "\n"


def generate_fasta(rng):
    length = rng.choice([0, 1, 2, rng.randint(3, 40), rng.randint(40, 260)])
    text = []
    for r in rng.choices(ALPHABET, k=length):
        roll = rng.random()
        if roll < 0.04:
            text.append(r.lower())
        elif roll < 0.08:
            text.append(rng.choice("XXXOBJUZx"))
        elif roll < 0.09:
            text.append(rng.choice("0123456789 -*"))
        else:
            text.append(r)
    return ">gen generated\n" + "".join(text) + "\n"


def options(bounds):
    max_missed, min_length, max_length = bounds
    args = []
    if max_missed is not None:
        args += ["--max-missed", str(max_missed)]
    if min_length is not None:
        args += ["--min-length", str(min_length)]
    if max_length is not None:
        args += ["--max-length", str(max_length)]
    return args


def run(command):
    return subprocess.run(command, capture_output=True, check=True).stdout.decode("latin-1")


def compare(cli, settings, path, seq, enzyme, specificity, bounds, with_csv):
    command = [cli, "digest", "--settings", settings, path, "--enzyme", enzyme,
               "--specificity", specificity] + options(bounds)
    ours = run(command + ["--tsv"])
    theirs = expected(seq, enzyme, specificity, *bounds)
    if ours != theirs:
        a, b = ours.split("\n"), theirs.split("\n")
        first = next((i for i, (x, y) in enumerate(zip(a, b)) if x != y), min(len(a), len(b)))
        sys.stderr.write("%s, %s, bounds %s differ at line %d for %s\n--- quorin-cli\n%s\n"
                         "--- reference\n%s\n" % (enzyme, specificity, bounds, first, seq[:80],
                                                  "\n".join(a[max(0, first - 2):first + 2]),
                                                  "\n".join(b[max(0, first - 2):first + 2])))
        return False
    if with_csv:
        rows = run(command + ["--csv", "--sort", "start"]).split("\r\n")[1:-1]
        csv = sorted(tuple(int(v) for v in row.split(",")[:4:]) for row in rows)
        tsv = sorted((int(s), int(e), int(e) - int(s) + 1, int(m))
                     for s, e, m, _ in (line.split("\t") for line in ours.split("\n")[1:-1]))
        if csv != tsv:
            sys.stderr.write("CSV and TSV differ: %s, %s, bounds %s, %s\n"
                             % (enzyme, specificity, bounds, seq[:80]))
            return False
    return True


def main():
    cli, protein_dir = sys.argv[1], sys.argv[2]
    count = int(sys.argv[3]) if len(sys.argv) > 3 else 300
    rng = random.Random(20261208)
    proteins = {}
    for entry in sorted(os.listdir(protein_dir)):
        if entry.endswith(".fasta"):
            with open(os.path.join(protein_dir, entry), "rb") as f:
                proteins[entry] = f.read().decode("latin-1")
    compared = 0
    shm = "/dev/shm" if os.path.isdir("/dev/shm") and os.access("/dev/shm", os.W_OK) else None
    with tempfile.TemporaryDirectory(dir=shm) as tmp:
        settings = os.path.join(tmp, "quorin.ini")
        with open(settings, "w") as f:
            f.write("[Setup Options]\nCharacters per line=80\n")
        path = os.path.join(tmp, "in.fasta")

        def check(fasta, enzyme, specificity, bounds, with_csv=False):
            nonlocal compared
            with open(path, "w", newline="") as f:
                f.write(fasta)
            _, seq = digest_reference.read_fasta(fasta)
            compared += 1
            return compare(cli, settings, path, seq, enzyme, specificity, bounds, with_csv)

        # The batch digest file of every protein, records in input order.
        batch = os.path.join(tmp, "all.fasta")
        with open(batch, "w", newline="") as f:
            f.write("".join(proteins[name] for name in sorted(proteins)))
        digest_file = os.path.join(tmp, "all_digest.txt")
        subprocess.run([cli, "batch", "--settings", settings, batch, "--digest", "--enzyme",
                        "Trypsin", "--specificity", "semi", "--max-missed", "2", "--min-length",
                        "7", "--max-length", "30", "--jobs", "2", "--results", digest_file],
                       check=True)
        with open(digest_file, "rb") as f:
            lines = f.read().decode("latin-1").split("\r\n")
        theirs = []
        for name in sorted(proteins):
            title, seq = digest_reference.read_fasta(proteins[name])
            rows = expected(seq, "Trypsin", "semi", 2, 7, 30).split("\n")[1:-1]
            for k, row in enumerate(rows):
                theirs += [">%s_%d" % (title, k), row.split("\t")[3]]
        if lines != theirs + [""]:
            sys.stderr.write("batch digest file differs\n")
            return 1
        compared += 1

        # Titin, once: the enzyme and bounds of a tryptic search.
        if not check(proteins.pop("Q8WZ42.fasta"), "Trypsin", "semi", (2, 7, 30)):
            return 1
        # Every enzyme and specificity over one real protein, bounded as the
        # search engines bound them.
        for enzyme in RULES:
            for specificity in SPECIFICITIES:
                fasta = proteins[rng.choice(sorted(proteins))]
                if not check(fasta, enzyme, specificity, (2, 6, 30), with_csv=True):
                    return 1
        while compared < count:
            fasta = (proteins[rng.choice(sorted(proteins))] if rng.random() < 0.3
                     else generate_fasta(rng))
            bounds = rng.choice(BOUNDS)
            _, seq = digest_reference.read_fasta(fasta)
            if bounds[2] is None and len(seq) > 300:
                bounds = (bounds[0], bounds[1], 40)
            if not check(fasta, rng.choice(sorted(RULES)), rng.choice(SPECIFICITIES), bounds,
                         with_csv=rng.random() < 0.1):
                return 1
    print("%d digests identical" % compared)
    return 0


if __name__ == "__main__":
    sys.exit(main())
