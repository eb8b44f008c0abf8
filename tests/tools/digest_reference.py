#!/usr/bin/env python3
"""A second, independent reading of the digest report, used to cross-check
quorin-cli digest. Deliberately naive: every fragment's weight is summed
residue by residue, sorting is Python's stable sort, and the weight column is
rounded with decimal arithmetic on the exact binary value.

usage: digest_reference.py FASTA WIDTH SORT COMPLETE NAME:SPECIFICITY...
  SORT is start, length or weight; COMPLETE is 0 or 1. Prints the report bytes.
  --running-sums (first argument) sums each start's weights cumulatively, in
  the same order of addition, for proteins too long for the naive sums.
"""
import sys
from decimal import ROUND_HALF_UP, Decimal

LETTERS = "ACDEFGHIKLMNPQRSTVWY"
DEFAULT_MASS = [0, 71.09, 103.15, 115.09, 129.12, 147.18, 57.05, 137.14, 113.16, 128.17, 113.16,
                131.19, 114.11, 97.12, 128.14, 156.19, 87.08, 101.11, 99.14, 186.21, 163.18, 0]
WATER = 18.02


def clean(text):
    """Residue letters of a sequence text: ASCII letters but B, J, U, Z, upper-cased."""
    out = []
    for ch in text:
        if ("A" <= ch <= "Z" or "a" <= ch <= "z") and ch.upper() not in "BJUZ":
            out.append(ch.upper())
    return "".join(out)


def slot(ch):
    return LETTERS.index(ch) + 1 if ch in LETTERS else 21


def stretch_weight(seq, first, last, mass):
    total = WATER
    for p in range(first, last + 1):
        total += mass[slot(seq[p])]
    return total


def sites(seq, specificity):
    """Cut positions of every match, in order of discovery."""
    found = []
    for pattern in specificity.split(";"):
        if pattern == "":
            continue
        k = pattern.find("!", 1)
        if k >= 1:
            pattern = pattern[:k] + pattern[k + 1:]
        else:
            k = len(pattern)
        m = len(pattern)
        for d in range(0, len(seq) - 1):
            if d + m > len(seq):
                break
            if all(pattern[j] == "X" or pattern[j] == seq[d + j] for j in range(m)):
                found.append(d + k)
    return found


def fragments(seq, cuts, mass, running_sums):
    frags = []
    n = len(cuts) - 2
    for g in range(0, n + 1):
        total = WATER
        p = cuts[g]
        for h in range(g + 1, n + 2):
            if running_sums:
                while p < cuts[h]:
                    total += mass[slot(seq[p])]
                    p += 1
                mw = total
            else:
                mw = stretch_weight(seq, cuts[g], cuts[h] - 1, mass)
            frags.append((cuts[g], cuts[h] - 1, mw, 1 if h == g + 1 else 0))
    return frags


def one_decimal(value):
    text = str(Decimal(value).quantize(Decimal("0.1"), rounding=ROUND_HALF_UP))
    if text.startswith("0."):
        text = text[1:]
    elif text.startswith("-0."):
        text = "-" + text[2:]
    return ".0" if text == "-.0" else text


def site_lines(items, width):
    lines = []
    line = ""
    for i, s in enumerate(items):
        if i < len(items) - 1:
            if len(line) + len(s) + 1 <= width:
                line += s + ", "
            else:
                lines.append(line)
                line = s + ", "
        else:
            if len(line) + len(s) <= width:
                line += s
            else:
                lines.append(line)
                line = s
    lines.append(line)
    lines.append("")
    return lines


def row(frag):
    start, end, mw, _ = frag
    text = " " + one_decimal(mw)
    text = text.ljust(11) + "|  " + str(start + 1)
    text = text.ljust(21) + "|  " + str(end + 1)
    text = text.ljust(31) + "|  " + str(end - start + 1)
    return text


def report(name, seq, agents, width, sort, complete, mass=DEFAULT_MASS, running_sums=False):
    """agents: (name, specificity) pairs in selection order."""
    combined = ";".join(specificity for _, specificity in agents)
    cut_sites = sorted(sites(seq, combined))
    cuts = [0] + cut_sites + [len(seq)]
    frags = fragments(seq, cuts, mass, running_sums)
    frags = sorted(frags, key=lambda f: f[2])
    key = {"start": lambda f: f[0], "length": lambda f: f[1] - f[0], "weight": lambda f: f[2]}
    frags = sorted(frags, key=key[sort])

    title = "Pattern of proteolytic digest of " + name
    out = [title, "*" * len(title), "", "Selected proteases (specificity)", "-" * 32, ""]
    for agent, specificity in agents:
        out.append(agent.ljust(20) + "(" + specificity + ")")
    out += ["", "List of cleavable sites", "-" * 23, ""]
    out += site_lines([str(c) for c in cut_sites], width)
    out += ["List of proteolytic fragments", "-" * 29, ""]
    out += ["   MW      |  start  |   end   |  # of AA", "-" * 46, ""]
    out += [row(f) for f in frags if f[3] == 1 or not complete]
    return "".join(line + "\r\n" for line in out)


def read_fasta(data):
    """Name and cleaned sequence of the first record of a FASTA text."""
    for i in range(1, len(data)):
        if data[i] == ">" and data[i - 1] in "\r\n":
            data = data[:i]
            break
    brk = min([p for p in (data.find("\r"), data.find("\n")) if p >= 0])
    return data[1:brk].lstrip(">"), clean(data[brk:])


def main():
    args = sys.argv[1:]
    running_sums = bool(args) and args[0] == "--running-sums"
    if running_sums:
        args = args[1:]
    path, width, sort, complete = args[0], int(args[1]), args[2], args[3] == "1"
    agents = [tuple(a.split(":", 1)) for a in args[4:]]
    name, seq = read_fasta(open(path, "rb").read().decode("latin-1"))
    text = report(name, seq, agents, width, sort, complete, running_sums=running_sums)
    sys.stdout.buffer.write(text.encode("latin-1"))


if __name__ == "__main__":
    main()
