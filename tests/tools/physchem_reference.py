#!/usr/bin/env python3
"""A second, independent reading of the physico-chemical report, used to
cross-check quorin-cli props on many generated sequences.

usage: physchem_reference.py FASTA  -> prints the report bytes on stdout
"""
import math
import sys

LETTERS = "ACDEFGHIKLMNPQRSTVWY"
PKA = [7.4, 7.0, 9.25, 4.0, 4.4, 7.0, 7.0, 6.5, 7.0, 10.8, 7.0, 7.0, 7.0, 7.0, 7.0, 12.0,
       7.0, 7.0, 7.0, 7.0, 10.2, 3.9]
MASS = [0, 71.09, 103.15, 115.09, 129.12, 147.18, 57.05, 137.14, 113.16, 128.17, 113.16,
        131.19, 114.11, 97.12, 128.14, 156.19, 87.08, 101.11, 99.14, 186.21, 163.18, 0]
DEN = [0.0] * 22
NAT = [0.0] * 22
DEN[2], DEN[19], DEN[20] = 0.12, 5.69, 1.28
NAT[2], NAT[19], NAT[20] = 0.125, 5.5, 1.49


def significant(value, n):
    if value == 0:
        return "0"
    e = math.trunc(math.log10(abs(value)))
    if e < -4 or e >= n:
        text = "%.*E" % (max(n - 1, 0), value)
        mantissa, exponent = text.split("E")
        if "." in mantissa:
            mantissa = mantissa.rstrip("0").rstrip(".")
        sign, digits = exponent[0], exponent[1:]
        return mantissa + "E" + sign + digits.rjust(3, "0")
    decimals = n - (e + 1) if abs(value) >= 1 else n - e
    text = "%.*f" % (max(decimals, 0), value)
    if "." in text:
        text = text.rstrip("0").rstrip(".")
    return "0" if text == "-0" else text


def report(name, sequence_text):
    counts = [0] * 22
    counts[0] = counts[21] = 1
    for ch in sequence_text:
        if not ("A" <= ch <= "Z" or "a" <= ch <= "z"):
            continue
        up = ch.upper()
        if up in "BJUZ":
            continue
        if up in LETTERS:
            counts[LETTERS.index(up) + 1] += 1
        else:
            counts[21] += 1
    length = sum(counts[1:21])

    best, best_ph, low, low_ph = 100.0, None, float("inf"), None
    for k in range(100, 1300):
        ph = k * 0.01
        z = 0.0
        for i in (0, 7, 9, 15):
            z += counts[i] / (1 + 10 ** (ph - PKA[i]))
        for i in (2, 3, 4, 20, 21):
            z -= counts[i] / (1 + 10 ** (PKA[i] - ph))
        if abs(z) < best:
            best, best_ph = abs(z), ph
        if abs(z) < low:
            low, low_ph = abs(z), ph
    pi = best_ph if best_ph is not None else low_ph

    mw = 18.02
    for i in range(1, 21):
        mw += counts[i] * MASS[i]
    den = sum(counts[i] * DEN[i] for i in range(1, 21))
    nat = sum(counts[i] * NAT[i] for i in range(1, 21))

    out = []
    title = "Physico-chemical Properties of " + name
    out += [title, "*" * len(title), "", "Isoelectric Point: " + significant(pi, 3), ""]
    out += ["Molecular Weight: " + significant(mw, math.trunc(math.log10(mw) + 1)) + " Da", ""]
    out += ["Molar absorption coefficient (280 nm):"]
    out += ["denatured (6M GdnHCl): " + significant(den, 3) + " /(mM*cm)" + " " * 13 +
            "nativ: " + significant(nat, 3) + " /(mM*cm)", "", "AA Composition: "]
    for row in range(5):
        entries = []
        for col in range(4):
            i = row * 4 + col + 1
            p = counts[i] * 100 / length if length else 0.0
            ptext = "0" if p == 0 else significant(p, math.trunc(math.log10(p) + 2))
            entries.append(LETTERS[i - 1] + ": " + str(counts[i]).ljust(4) + "(" + ptext + "%)" +
                           " " * max(0, 4 - len(ptext)))
        out.append("  ".join(entries))
    return "".join(line + "\r\n" for line in out)


def main():
    data = open(sys.argv[1], "rb").read().decode("latin-1")
    # first record only; the header is the first line without its first character
    for i in range(1, len(data)):
        if data[i] == ">" and data[i - 1] in "\r\n":
            data = data[:i]
            break
    brk = min([p for p in (data.find("\r"), data.find("\n")) if p >= 0])
    name = data[1:brk].lstrip(">")
    sys.stdout.buffer.write(report(name, data[brk:]).encode("latin-1"))


if __name__ == "__main__":
    main()
