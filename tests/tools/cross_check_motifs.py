#!/usr/bin/env python3
"""Runs quorin-cli motifs and the reference reading on the real proteins of
tests/data/proteins (titin included) and on generated sequences and search
strings, both orders, the refusals too, and fails on the first output that
differs by a byte.

usage: cross_check_motifs.py QUORIN_CLI PROTEIN_DIR [COUNT]
"""
import os
import random
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import digest_reference  # noqa: E402
import motif_reference  # noqa: E402

ALPHABET = "ACDEFGHIKLMNPQRSTVWY"

# (sequence, search) pairs the search rules turn on: blanks and lower case, a
# G at the end, overlaps, a motif found nowhere, two motifs at one position, a
# refused B, empty motifs, X tails past the end, the last residue, X and O in
# the sequence, a motif longer than the sequence, an empty sequence.
EDGE_CASES = [
    ("ASATAY", "AS; at"), ("GAGKG", "GX"), ("AAAA", "AAA"), ("MKWV", "MKWV;CC"),
    ("GAGLLG", "GX;G;GA"), ("MKBA", "AB"), ("MKAA", ";;A;;K;"), ("MKCKC", "KXXX;CX;KX"),
    ("MKC", "C"), ("MKC", "MKC;MKCX;XMKC"), ("MXOAX", "X;O;XO;AX"), ("MK", "MKMK"),
    ("", "A"), ("MKC", " "), ("MKC", ""), ("MKC", "a1b"), ("MKC", "K;\u00e9"),
    ("MKC", "KJ;UZ"), ("MKC", "*"), ("MKC", ";"), ("MKC", "x"), ("AAAAAA", "A;AA;AAA"),
]


def generate_sequence(rng):
    length = rng.choice([0, 1, 2, 3, rng.randint(4, 40), rng.randint(40, 400)])
    letters = rng.choice([ALPHABET, "AG", "AGX", ALPHABET + "XO"])
    return "".join(rng.choice(letters) for _ in range(length))


def generate_search(rng, seq):
    motifs = []
    for _ in range(rng.choice([1, 1, 2, 3, 5, 10])):
        kind = rng.random()
        if kind < 0.5 and seq:
            start = rng.randrange(len(seq))
            motif = list(seq[start:start + rng.randint(1, 4)])
            for i in range(len(motif)):
                if rng.random() < 0.2:
                    motif[i] = "X"
            motif = "".join(motif)
        elif kind < 0.9:
            motif = "".join(rng.choice("AGKX") for _ in range(rng.randint(1, 3)))
        else:
            motif = ""
        if rng.random() < 0.2:
            motif = motif.lower()
        if rng.random() < 0.1:
            motif = " " + motif + " "
        motifs.append(motif)
    search = ";".join(motifs)
    if rng.random() < 0.03:
        search += rng.choice("B1-*")
    return search


def main():
    cli, protein_dir = sys.argv[1], sys.argv[2]
    count = int(sys.argv[3]) if len(sys.argv) > 3 else 300
    rng = random.Random(20261207)
    proteins = []
    for entry in sorted(os.listdir(protein_dir)):
        if entry.endswith(".fasta"):
            with open(os.path.join(protein_dir, entry), "rb") as f:
                proteins.append(f.read().decode("latin-1"))
    compared = refused = 0
    shm = "/dev/shm" if os.path.isdir("/dev/shm") and os.access("/dev/shm", os.W_OK) else None
    with tempfile.TemporaryDirectory(dir=shm) as tmp:
        settings = os.path.join(tmp, "quorin.ini")
        open(settings, "w").close()
        path = os.path.join(tmp, "in.fasta")
        cases = [(">edge case %d\n%s\n" % (i, seq), search)
                 for i, (seq, search) in enumerate(EDGE_CASES)]
        while len(cases) < count:
            if rng.random() < 0.4:
                fasta = rng.choice(proteins)
                seq = digest_reference.read_fasta(fasta)[1]
            else:
                seq = generate_sequence(rng)
                fasta = ">gen%d generated\n%s\n" % (len(cases), seq)
            cases.append((fasta, generate_search(rng, seq)))
        for index, (fasta, search) in enumerate(cases):
            by_motif = index % 2 == 1
            with open(path, "w", newline="") as f:
                f.write(fasta)
            command = [cli, "motifs", "--settings", settings, path, search]
            if by_motif:
                command.append("--by-motif")
            ours = subprocess.run(command, capture_output=True)
            name, seq = digest_reference.read_fasta(fasta)
            cleaned, refusal = motif_reference.check(search)
            if refusal:
                expected = (1, b"", (refusal + "\n").encode("utf-8"))
                refused += 1
            else:
                text = motif_reference.report(name, seq, cleaned, by_motif)
                expected = (0, text.encode("latin-1"), b"")
            if (ours.returncode, ours.stdout, ours.stderr) != expected:
                sys.stderr.write("case %d differs: %r, search %r, by motif %s\n"
                                 "--- quorin-cli (exit %d)\n%s%s\n--- reference (exit %d)\n%s%s\n"
                                 % (index, fasta[:120], search, by_motif, ours.returncode,
                                    ours.stdout[-600:].decode("latin-1"), ours.stderr.decode(),
                                    expected[0], expected[1][-600:].decode("latin-1"),
                                    expected[2].decode()))
                return 1
            compared += 1
    print("%d outputs identical (%d reports, %d refusals)" % (compared, compared - refused, refused))
    return 0


if __name__ == "__main__":
    sys.exit(main())
