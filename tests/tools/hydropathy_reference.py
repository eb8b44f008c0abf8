#!/usr/bin/env python3
"""A second, independent reading of the hydropathy export text, the helix
prediction and the checks of the hydropathy dialog, used to cross-check
quorin-cli hydropathy and helices.

usage: hydropathy_reference.py FASTA [FROM TO WINDOW THRESHOLD]
       -> prints the export text (Kyte and Doolittle, TAB) on stdout
"""
import re
import sys

from physchem_reference import significant

LETTERS = "ACDEFGHIKLMNPQRSTVWY"
INT_MAX = 2**31 - 1

KYTE_DOOLITTLE = ("Kyte and Doolittle (1982)",
                  [-4.5, 1.8, 2.5, -3.5, -3.5, 2.8, -0.4, -3.2, 4.5, -3.9, 3.8, 1.9, -3.5,
                   -1.6, -3.5, -4.5, -0.8, -0.7, 4.2, -0.9, -1.3, -4.5])
EISENBERG = ("Eisenberg Consensus Scale (1983)",
             [-2.53, 0.62, 0.29, -0.90, -0.74, 1.19, 0.48, -0.40, 1.38, -1.50, 1.06, 0.64,
              -0.78, 0.12, -0.85, -2.53, -0.18, -0.05, 1.08, 0.81, 0.26, -2.53])


class Refused(Exception):
    """The input was refused with the program's message."""


def first_record(data):
    """Name and sequence text of the first FASTA record."""
    for i in range(1, len(data)):
        if data[i] == ">" and data[i - 1] in "\r\n":
            data = data[:i]
            break
    breaks = [p for p in (data.find("\r"), data.find("\n")) if p >= 0]
    brk = min(breaks)
    return data[1:brk].lstrip(">"), data[brk:]


def positions(text):
    """Every ASCII letter but B, J, U and Z, upper-cased; X and O stay."""
    out = []
    for ch in text:
        if ("A" <= ch <= "Z" or "a" <= ch <= "z") and ch.upper() not in "BJUZ":
            out.append(ch.upper())
    return "".join(out)


def value_of(letter, table):
    # Everything that is not one of the twenty takes the C-terminus value.
    return table[LETTERS.index(letter) + 1] if letter in LETTERS else table[21]


def average(seq, table, centre, window):
    total = 0.0
    for p in range(centre - window // 2, centre + window // 2 + 1):
        total += value_of(seq[p - 1], table)
    return total / window


def leading_int(text):
    return min(int(text), INT_MAX) if text else 0


def leading_float(text):
    match = re.match(r"\d+\.?\d*|\.\d+", text)
    return float(match.group(0)) if match else 0.0


def check_threshold(text):
    text = text[:9]
    if any(c not in "0123456789." for c in text):
        raise Refused("Enter a valid hydropathy threshold!")
    return leading_float(text)


def check_dialog(from_text, to_text, window_text, threshold_text, length):
    digits = set("0123456789")
    from_text = from_text[:9]
    if any(c not in digits for c in from_text):
        raise Refused("Enter a valid start value!")
    to_text = to_text[:28]
    if any(c not in digits for c in to_text):
        raise Refused("Enter a valid end value!")
    first, last = leading_int(from_text), leading_int(to_text)
    if not (first >= 1 and last <= length and last > first):
        raise Refused("Entered value is outside the limits.")
    window_text = window_text[:28]
    if any(c not in digits for c in window_text):
        raise Refused("Enter a valid value for sliding window!")
    window = leading_int(window_text)
    if window % 2 != 1:
        raise Refused("Entered value for sliding window is outside the limits!")
    return first, last, window, check_threshold(threshold_text)


def export_text(name, seq, scale, first, last, window, delimiter):
    scale_name, table = scale
    lines = ["Hydropathyplot of " + name, "",
             "Scale:  " + scale_name + ";    W = " + str(window), "",
             "Residue / Hydropathyvalue", ""]
    half = window // 2
    for centre in range(max(first, half + 1), min(last, len(seq) - half) + 1):
        lines.append(str(centre) + delimiter + significant(average(seq, table, centre, window), 3))
    return "".join(line + "\r\n" for line in lines)


def helices(seq, table, threshold):
    found = []
    last_end = 0
    j = 1
    while j <= len(seq) - 20:
        if j > last_end:
            total = sum_in_order(seq, table, j, j + 18)
            if total > 19 * threshold:
                n, nxt = 19, j + 19
                while total > n * threshold and nxt <= len(seq):
                    total += value_of(seq[nxt - 1], table)
                    nxt += 1
                    n += 1
                found.append((j, nxt))
                last_end = nxt
        j += 1
    return found


def sum_in_order(seq, table, first, last):
    total = 0.0
    for p in range(first, last + 1):
        total += value_of(seq[p - 1], table)
    return total


def main():
    data = open(sys.argv[1], "rb").read().decode("latin-1")
    name, text = first_record(data)
    seq = positions(text)
    args = sys.argv[2:] or ["1", str(len(seq)), "11", "1.6"]
    try:
        first, last, window, _ = check_dialog(*args, len(seq))
    except Refused as refused:
        sys.stderr.write(str(refused) + "\n")
        return 1
    sys.stdout.buffer.write(
        export_text(name, seq, KYTE_DOOLITTLE, first, last, window, "\t").encode("latin-1"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
