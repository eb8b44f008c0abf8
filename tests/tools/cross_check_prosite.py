#!/usr/bin/env python3
"""Runs quorin-cli motifs --prosite --tsv and the reference reading on the
real proteins of tests/data/proteins and on generated sequences, with
patterns that use every element of the syntax, malformed ones included, and
fails on the first output that differs by a byte.

usage: cross_check_prosite.py QUORIN_CLI PROTEIN_DIR [COUNT]
"""
import os
import random
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import digest_reference  # noqa: E402
import prosite_reference  # noqa: E402

# Real patterns of the kinds a library holds, anchors and the C-terminus in a
# class among them, and malformed ones.
FIXED = [
    "N-{P}-[ST]-{P}.", "[ST]-x-[RK].", "R-G-D.", "C-x(2,4)-C-x(3)-[LIVMFYWC]-x(8)-H-x(3,5)-H.",
    "<M-x(0,3)-[KR]", "[KR](2)-x-[ST]>", "G-x-G-x-x-G", "[LIVM]-x(2)-[DE]-x-{P}-[LIVM]",
    "[FYW]-x(2)-[LIVM]-[G>]", "x(2,3)-W-x(0,9)-W", "C-X-X-C", "[AX]-[O]", "{C}(3)-C",
    "A-[BC", "A-", "x(0,2)", "A(3,2)", "[]", "A>-C", "<", "A-<C", "A(x)", "*",
]


def generate_pattern(rng):
    elements = []
    for _ in range(rng.randint(1, 6)):
        r = rng.random()
        if r < 0.3:
            e = "x"
        elif r < 0.55:
            e = rng.choice("ACDEGKLNPSTWY")
        elif r < 0.8:
            e = "[" + "".join(rng.sample("ACDEGKLNPSTXO", rng.randint(1, 4))) + "]"
        else:
            e = "{" + "".join(rng.sample("ACDEGKLNPST", rng.randint(1, 4))) + "}"
        r = rng.random()
        if r < 0.2:
            lo = rng.randint(0, 3)
            e += "(%d,%d)" % (lo, lo + rng.randint(1, 4))
        elif r < 0.3:
            e += "(%d)" % rng.randint(1, 3)
        elements.append(e)
    if rng.random() < 0.1:
        elements[-1] = "[" + rng.choice("AGKW") + ">]"
    pattern = "-".join(elements)
    if rng.random() < 0.1:
        pattern = "<" + pattern
    if rng.random() < 0.1 and not pattern.endswith(">]"):
        pattern += ">"
    if rng.random() < 0.3:
        pattern += "."
    return pattern


def main():
    cli, protein_dir = sys.argv[1], sys.argv[2]
    count = int(sys.argv[3]) if len(sys.argv) > 3 else 300
    rng = random.Random(20261208)
    proteins = []
    for entry in sorted(os.listdir(protein_dir)):
        if entry.endswith(".fasta"):
            with open(os.path.join(protein_dir, entry), "rb") as f:
                proteins.append(f.read().decode("latin-1"))
    compared = refused = 0
    with tempfile.TemporaryDirectory() as tmp:
        settings = os.path.join(tmp, "quorin.ini")
        open(settings, "w").close()
        path = os.path.join(tmp, "in.fasta")
        cases = []
        for index in range(count):
            if index < len(FIXED):
                pattern = FIXED[index]
            else:
                pattern = generate_pattern(rng)
            if rng.random() < 0.5:
                fasta = rng.choice(proteins)
            else:
                letters = rng.choice(["ACDEGKLNPSTWY", "AGK", "ACDEGKLNPSTWYXO"])
                seq = "".join(rng.choice(letters) for _ in range(rng.randint(0, 300)))
                fasta = ">gen%d\n%s\n" % (index, seq)
            cases.append((fasta, pattern))
        for fasta, pattern in cases:
            with open(path, "w", newline="") as f:
                f.write(fasta)
            ours = subprocess.run([cli, "motifs", "--settings", settings, "--prosite", pattern,
                                   "--tsv", path], capture_output=True)
            seq = digest_reference.read_fasta(fasta)[1]
            if prosite_reference.parse(pattern) is None:
                ok = ours.returncode == 1 and ours.stdout == b"" and b"at character" in ours.stderr
                refused += 1
            else:
                expected = prosite_reference.tsv(pattern, seq).encode("latin-1")
                ok = ours.returncode == 0 and ours.stdout == expected
            if not ok:
                sys.stderr.write("pattern %r over %r differs:\n--- quorin-cli (exit %d)\n%s%s\n"
                                 % (pattern, fasta[:100], ours.returncode,
                                    ours.stdout[-600:].decode("latin-1"), ours.stderr.decode()))
                if prosite_reference.parse(pattern) is not None:
                    sys.stderr.write("--- reference\n%s\n" % prosite_reference.tsv(pattern, seq)[-600:])
                return 1
            compared += 1
        # The batch form: every record of one file, on one thread and on
        # several, equals each record's own reading.
        pattern = "[ST]-x(0,2)-[RK]"
        expected = "record\tstart\tend\tmatch\n"
        fastas = proteins * 3
        for index, fasta in enumerate(fastas):
            seq = digest_reference.read_fasta(fasta)[1]
            expected += "".join("r%d\t%d\t%d\t%s\n" % ((index,) + m)
                                for m in prosite_reference.matches(pattern, seq))
        with open(path, "w", newline="") as f:
            f.write("".join(">r%d %s" % (i, fasta.partition("\n")[0][1:]) + "\n" +
                            fasta.partition("\n")[2] for i, fasta in enumerate(fastas)))
        for jobs in ("1", "2", "3"):
            ours = subprocess.run([cli, "batch", path, "--prosite", pattern, "--jobs", jobs],
                                  capture_output=True)
            if ours.returncode != 0 or ours.stdout.decode("latin-1") != expected:
                sys.stderr.write("batch --prosite on %s threads differs\n%s" % (jobs, ours.stderr))
                return 1
    print("%d outputs identical (%d refusals), and the batch form" % (compared, refused))
    return 0


if __name__ == "__main__":
    sys.exit(main())
