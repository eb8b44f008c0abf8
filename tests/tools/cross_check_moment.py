#!/usr/bin/env python3
"""Runs quorin-cli moment and a second, independent evaluation of the helical
amphipathy moment (least-squares fit of a 100-degree sine to the scale values
of a stretch) on the real proteins, with every scale of the starter settings,
short, long and random stretches and the refused ones, and fails on the first
output, exit status or message that differs.

usage: cross_check_moment.py QUORIN_CLI PROTEIN_DIR STARTER_INI [COUNT]
"""
import glob
import math
import os
import random
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from hydropathy_reference import INT_MAX, Refused, first_record, positions, value_of  # noqa: E402
from physchem_reference import significant  # noqa: E402

# Radians from one residue of the helix to the next, as the program stores it.
DELTA = -1.745293222222222
INVALID = -100.0


def read_scales(ini_path):
    """The [Hydropathy Index] entries of a settings file: (name, 22 values)."""
    scales = {}
    section = None
    with open(ini_path, encoding="latin-1") as f:
        for line in f:
            line = line.strip()
            if line.startswith("["):
                section = line[1:line.index("]")].lower()
            elif section == "hydropathy index" and "=" in line:
                key, value = line.split("=", 1)
                fields = value.split(";")
                scales[int(key)] = (fields[0], [float(v) for v in fields[1:23]])
    return [scales[k] for k in sorted(scales)]


def moment(seq, table, first, last):
    """The moment of positions first..last (1-based), cut to two decimals."""
    if first < 1 or last <= first or last > len(seq):
        return INVALID
    n = last - first + 1
    if n < 3:
        # Two points fit any sine: the determinant vanishes.
        return INVALID
    s = [math.sin(k * DELTA) for k in range(n)]
    c = [math.cos(k * DELTA) for k in range(n)]
    h = [value_of(seq[first - 1 + k], table) for k in range(n)]
    sum_s = sum_c = sum_h = 0.0
    sum_ss = sum_cc = sum_sc = sum_hs = sum_hc = 0.0
    for k in range(n):
        sum_s += s[k]
        sum_c += c[k]
        sum_ss += s[k] * s[k]
        sum_cc += c[k] * c[k]
        sum_sc += s[k] * c[k]
    for k in range(n):
        sum_h += h[k]
        sum_hs += h[k] * s[k]
        sum_hc += h[k] * c[k]
    sss = sum_ss - sum_s * sum_s / n
    scc = sum_cc - sum_c * sum_c / n
    ssc = sum_sc - sum_s * sum_c / n
    shs = sum_hs - sum_s * sum_h / n
    shc = sum_hc - sum_h * sum_c / n
    det = sss * scc - ssc * ssc
    a = (scc * shs - ssc * shc) / det
    b = (sss * shc - ssc * shs) / det
    m = math.sqrt(a * a + b * b) / n
    if not math.isfinite(m):
        return INVALID
    m -= math.fmod(1000.0 * m, 10.0) / 1000.0
    # Zero up to rounding is zero, not 6E-33.
    return 0.0 if m < 1e-9 else m


def check_wheel(from_text, to_text, length):
    digits = set("0123456789")
    from_text = from_text[:9]
    if any(ch not in digits for ch in from_text):
        raise Refused("Enter a valid start value!")
    to_text = to_text[:28]
    if any(ch not in digits for ch in to_text):
        raise Refused("Enter a valid end value!")
    first = min(int(from_text), INT_MAX) if from_text else 0
    last = min(int(to_text), INT_MAX) if to_text else 0
    if first < 1 or last > length or last <= first:
        raise Refused("Entered value is outside the limits!")
    return first, last


def expected(seq, table, from_text, to_text):
    try:
        first, last = check_wheel(from_text, to_text, len(seq))
    except Refused as refused:
        return 1, str(refused)
    return 0, "Amphipathy Moment = " + significant(moment(seq, table, first, last), 3) + "\r\n"


def stretches(rng, length):
    """Short, long, edge and refused stretches as typed."""
    typed = [("1", "3"), ("1", "2"), (str(length - 1), str(length)), ("1", str(length)),
             (str(length - 2), str(length)), ("1", "1"), ("0", "5"), ("5", "4"),
             ("1", str(length + 1)), ("1a", "5"), ("1", "x"), ("", "5"),
             ("1", "99999999999999999999")]
    for _ in range(12):
        first = rng.randint(1, max(1, length - 2))
        size = rng.choice([3, 4, 5, 11, 18, 19, 25, 60, 300, length])
        typed.append((str(first), str(min(length, first + size - 1))))
    return typed


def main():
    cli, protein_dir, starter = sys.argv[1], sys.argv[2], sys.argv[3]
    rounds = int(sys.argv[4]) if len(sys.argv) > 4 else 1
    rng = random.Random(20261209)
    scales = read_scales(starter)
    if len(scales) < 2:
        sys.stderr.write("the starter settings hold %d scales\n" % len(scales))
        return 1
    proteins = sorted(glob.glob(os.path.join(protein_dir, "*.fasta")))
    if not proteins:
        sys.stderr.write("no proteins in %s\n" % protein_dir)
        return 1
    runs = 0
    with tempfile.TemporaryDirectory() as tmp:
        # A copy: the command line reads the settings and must not touch the
        # starter file.
        settings = os.path.join(tmp, "quorin.ini")
        shutil.copyfile(starter, settings)
        for path in proteins:
            data = open(path, "rb").read().decode("latin-1")
            seq = positions(first_record(data)[1])
            for index, (name, table) in enumerate(scales):
                for _ in range(rounds):
                    for from_text, to_text in stretches(rng, len(seq)):
                        argv = [cli, "moment", "--settings", settings, "--scale", str(index),
                                "--from", from_text, "--to", to_text, path]
                        status, text = expected(seq, table, from_text, to_text)
                        run = subprocess.run(argv, capture_output=True)
                        if status == 0:
                            ok = (run.returncode == 0 and run.stderr == b""
                                  and run.stdout == text.encode("latin-1"))
                        else:
                            ok = (run.returncode == 1 and run.stdout == b""
                                  and run.stderr.decode("latin-1") == text + "\n")
                        if not ok:
                            sys.stderr.write(
                                "moment differs for %s, scale %r, %r..%r:\n--- quorin-cli (%d)\n"
                                "%r %r\n--- reference (%d)\n%r\n"
                                % (os.path.basename(path), name, from_text, to_text,
                                   run.returncode, run.stdout, run.stderr, status, text))
                            return 1
                        runs += 1
    print("%d outputs identical" % runs)
    return 0


if __name__ == "__main__":
    sys.exit(main())
