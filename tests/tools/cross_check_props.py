#!/usr/bin/env python3
"""Runs quorin-cli props and the reference reading on generated sequences
(long and short, lower case, X B Z U O J, digits, blanks and line breaks in the
sequence lines) and fails on the first report that differs by a byte.

usage: cross_check_props.py QUORIN_CLI [COUNT]
"""
import os
import random
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import physchem_reference  # noqa: E402

ALPHABET = "ACDEFGHIKLMNPQRSTVWY"


def generate(rng):
    kind = rng.random()
    if kind < 0.3:
        length = rng.randint(0, 12)
    elif kind < 0.9:
        length = rng.randint(13, 900)
    else:
        length = rng.randint(900, 6000)
    weights = [rng.random() for _ in ALPHABET]
    residues = rng.choices(ALPHABET, weights=weights, k=length)
    text = []
    for r in residues:
        roll = rng.random()
        if roll < 0.05:
            text.append(r.lower())
        elif roll < 0.07:
            text.append(rng.choice("XBZUOJxbzuoj"))
        elif roll < 0.08:
            text.append(rng.choice("0123456789 -*\t"))
        else:
            text.append(r)
    line = rng.choice([60, 70, 80, 10_000])
    eol = rng.choice(["\n", "\r\n"])
    body = eol.join("".join(text[i:i + line]) for i in range(0, len(text), line))
    return ">seq%d test protein%s%s%s" % (rng.randint(1, 10**6), eol, body, eol)


def main():
    cli = sys.argv[1]
    count = int(sys.argv[2]) if len(sys.argv) > 2 else 400
    rng = random.Random(20261207)
    with tempfile.TemporaryDirectory() as tmp:
        settings = os.path.join(tmp, "quorin.ini")
        path = os.path.join(tmp, "in.fasta")
        for n in range(count):
            fasta = generate(rng)
            with open(path, "w", newline="") as f:
                f.write(fasta)
            ours = subprocess.run([cli, "props", "--settings", settings, path],
                                  capture_output=True, check=True).stdout
            brk = min(i for i in (fasta.find("\r"), fasta.find("\n")) if i >= 0)
            theirs = physchem_reference.report(fasta[1:brk], fasta[brk:]).encode("latin-1")
            if ours != theirs:
                sys.stderr.write("report %d differs for:\n%s\n--- quorin-cli\n%s\n--- reference\n%s\n"
                                 % (n, fasta[:300], ours.decode(), theirs.decode()))
                return 1
    print("%d reports identical" % count)
    return 0


if __name__ == "__main__":
    sys.exit(main())
