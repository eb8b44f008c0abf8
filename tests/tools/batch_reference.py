#!/usr/bin/env python3
"""A second, independent reading of the batch analysis: the results file, the
log (but for its date line) and the batch digest file, from the input text and
the options, written straight from the rules without the program's code.

usage: batch_reference.py FASTA [KEY=VALUE ...]  -> prints the results file on stdout
"""
import math
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import digest_reference  # noqa: E402

LETTERS = "ACDEFGHIKLMNPQRSTVWY"
PKA = [7.4, 7.0, 9.25, 4.0, 4.4, 7.0, 7.0, 6.5, 7.0, 10.8, 7.0, 7.0, 7.0, 7.0, 7.0, 12.0,
       7.0, 7.0, 7.0, 7.0, 10.2, 3.9]
MASS = digest_reference.DEFAULT_MASS
DEN = [0.0] * 22
NAT = [0.0] * 22
DEN[2], DEN[19], DEN[20] = 0.12, 5.69, 1.28
NAT[2], NAT[19], NAT[20] = 0.125, 5.5, 1.49
SCALES = [
    ("Kyte and Doolittle (1982)",
     [-4.5, 1.8, 2.5, -3.5, -3.5, 2.8, -0.4, -3.2, 4.5, -3.9, 3.8, 1.9, -3.5, -1.6, -3.5, -4.5,
      -0.8, -0.7, 4.2, -0.9, -1.3, -4.5]),
    ("Eisenberg Consensus Scale (1983)",
     [-2.53, 0.62, 0.29, -0.90, -0.74, 1.19, 0.48, -0.40, 1.38, -1.50, 1.06, 0.64, -0.78, 0.12,
      -0.85, -2.53, -0.18, -0.05, 1.08, 0.81, 0.26, -2.53]),
]

# key, default; the threshold text is read apart.
FLAGS = [("Length", 1), ("Rel. Composition", 1), ("Abs. Composition", 1), ("MW", 1), ("IEP", 1),
         ("GRAVY", 1), ("Helices", 1), ("Eps (urea)", 0), ("Eps (native)", 0), ("Mean", 1),
         ("Standard Deviation", 1), ("Standard Error", 0), ("Minimum", 1), ("Maximum", 1),
         ("Median", 1), ("Default Log Name", 1), ("NoLog", 0), ("Default Results Name", 1)]

# 1 + 10^(pH - pK) or 1 + 10^(pK - pH) per grid point and charged group, made once.
POSITIVE = (0, 7, 9, 15)
NEGATIVE = (2, 3, 4, 20, 21)
GRID = [(k * 0.01,
         [1 + 10 ** (k * 0.01 - PKA[i]) for i in POSITIVE],
         [1 + 10 ** (PKA[i] - k * 0.01) for i in NEGATIVE]) for k in range(100, 1300)]


def leading_int(text):
    m = re.match(r"\s*([+-]?\d+)", text)
    return int(m.group(1)) if m else 0


def leading_float(text):
    m = re.match(r"\s*([+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?)", text)
    return float(m.group(1)) if m else 0.0


def options_of(keys):
    """keys: the values of "Batch Execution Options" present (missing ones default)."""
    lower = {k.lower(): v for k, v in keys.items()}
    opts = {}
    for key, default in FLAGS:
        opts[key] = leading_int(lower[key.lower()]) != 0 if key.lower() in lower else bool(default)
    opts["scale"] = max(leading_int(lower.get("hydropathy scale", "0")), 0)
    text = lower.get("threshold for helices", "?")
    opts["threshold"] = 1.6 if text == "?" else leading_float(text)
    return opts


def records(text):
    """(name, sequence letters) per record: from ">" to the next ">"."""
    if text.startswith("\xef\xbb\xbf"):
        text = text[3:]
    out = []
    if len(text) < 2 or text[0] != ">":
        return out
    i = 0
    while i < len(text) and text[i] == ">":
        i += 1
        j = i
        while j < len(text) and text[j] not in "\r\n":
            j += 1
        name = text[i:j]
        while j < len(text) and text[j] in "\r\n":
            j += 1
        k = text.find(">", j)
        k = len(text) if k < 0 else k
        out.append((name, digest_reference.clean(text[j:k])))
        i = k
    return out


def isoelectric_point(counts):
    best, best_ph, low, low_ph = 100.0, None, float("inf"), None
    for ph, pos, neg in GRID:
        z = 0.0
        for i, d in zip(POSITIVE, pos):
            z += counts[i] / d
        for i, d in zip(NEGATIVE, neg):
            z -= counts[i] / d
        if abs(z) < best:
            best, best_ph = abs(z), ph
        if abs(z) < low:
            low, low_ph = abs(z), ph
    return best_ph if best_ph is not None else low_ph


def row_of(seq, opts):
    counts = [0] * 22
    counts[0] = counts[21] = 1
    for ch in seq:
        counts[LETTERS.index(ch) + 1 if ch in LETTERS else 21] += 1
    length = sum(counts[1:21])
    row = {"length": length, "mw": 0.0, "urea": 0.0, "native": 0.0, "iep": 7.0, "gravy": 0.0,
           "helices": 0}
    if opts["MW"]:
        mw = 18.02
        for i in range(1, 21):
            mw += counts[i] * MASS[i]
        row["mw"] = mw
    den = nat = 0.0
    for i in range(1, 21):
        den += counts[i] * DEN[i]
        nat += counts[i] * NAT[i]
    row["urea"] = den if opts["Eps (urea)"] else 0.0
    row["native"] = nat if opts["Eps (native)"] else 0.0
    if opts["IEP"]:
        row["iep"] = isoelectric_point(counts)
    table = SCALES[opts["scale"]][1]
    values = [table[LETTERS.index(ch) + 1 if ch in LETTERS else 21] for ch in seq]
    if opts["GRAVY"] and values:
        total = 0.0
        for v in values:
            total += v
        row["gravy"] = total / len(values)
    if opts["Helices"]:
        row["helices"] = helix_count(values, opts["threshold"])
    for i in range(1, 21):
        row["rel%d" % i] = counts[i] / length if length else 0.0
        row["abs%d" % i] = counts[i]
    return row


def helix_count(values, threshold):
    count, last_end, start = 0, 0, 1
    while start <= len(values) - 20:
        if start > last_end:
            total = 0.0
            for p in range(start, start + 19):
                total += values[p - 1]
            if total > 19 * threshold:
                n, nxt = 19, start + 19
                while total > n * threshold and nxt <= len(values):
                    total += values[nxt - 1]
                    nxt += 1
                    n += 1
                last_end = nxt
                count += 1
        start += 1
    return count


def columns(opts):
    """(key, format, integer) of the selected columns in file order."""
    cols = []
    for flag, key, fmt in (("Length", "length", None), ("MW", "mw", 0), ("IEP", "iep", 1),
                           ("Eps (urea)", "urea", 0), ("Eps (native)", "native", 0),
                           ("GRAVY", "gravy", 2), ("Helices", "helices", None)):
        if opts[flag]:
            cols.append((key, fmt))
    if opts["Rel. Composition"]:
        cols += [("rel%d" % i, 2) for i in range(1, 21)]
    if opts["Abs. Composition"]:
        cols += [("abs%d" % i, None) for i in range(1, 21)]
    return cols


def header(opts):
    parts = []
    for flag, caption in (("Length", "Length"), ("MW", "MW"), ("IEP", "IEP"),
                          ("Eps (urea)", "eps(urea)"), ("Eps (native)", "eps(native)"),
                          ("GRAVY", "GRAVY"), ("Helices", "Transmembrane helices")):
        if opts[flag]:
            parts.append(caption + "\t")
    for flag, suffix in (("Rel. Composition", "(rel.)"), ("Abs. Composition", "(abs.)")):
        if opts[flag]:
            parts.append("Composition " + "".join(ch + suffix + "\t" for ch in LETTERS))
    return "".join(parts) + "Name\r\n"


def line(row, name, opts):
    out = []
    for key, fmt in columns(opts):
        value = row[key]
        out.append(str(int(value)) if fmt is None else "%.*f" % (fmt, value))
    return "".join(v + "\t" for v in out) + name + "\r\n"


def statistics(rows, opts):
    n = len(rows)
    wanted = [(s, name) for s, name in (("Mean", "Mean"), ("Standard Deviation", "SD"),
                                        ("Standard Error", "SE"), ("Minimum", "Minimum"),
                                        ("Maximum", "Maximum"), ("Median", "Median")) if opts[s]]
    out = {name: {} for _, name in wanted}
    for key, fmt in columns(opts):
        values = [float(r[key]) for r in rows]
        total = 0.0
        for v in values:
            total += v
        mean = total / n
        sd = 0.0
        if n > 1:
            sq = 0.0
            for v in values:
                sq += (mean - v) * (mean - v)
            sd = math.sqrt(sq / (n - 1))
        ordered = sorted(values)
        median = ordered[n // 2] if n % 2 else (ordered[n // 2 - 1] + ordered[n // 2]) / 2
        stat = {"Mean": mean, "SD": sd, "SE": sd / math.sqrt(n), "Minimum": ordered[0],
                "Maximum": ordered[-1], "Median": median}
        for _, name in wanted:
            out[name][key] = math.trunc(stat[name]) if fmt is None else stat[name]
    return [(out[name], name) for _, name in wanted]


def results(text, opts, rows_only=False):
    recs = records(text)
    rows = [(row_of(seq, opts), name) for name, seq in recs]
    body = "".join(line(r, name, opts) for r, name in rows)
    if rows_only:
        return body, len(recs)
    stats = statistics([r for r, _ in rows], opts) if rows else []
    return header(opts) + body + "".join(line(r, name, opts) for r, name in stats), len(recs)


def log_lines(data_path, results_path, n, opts):
    """The log without its date line (the third line)."""
    lines = ["Log of Batch Analysis", "", "Data file: " + data_path, "Output: " + results_path,
             "# of Sequences: %d" % n, "Options"]
    if opts["GRAVY"] or opts["Helices"]:
        lines.append("Hydropathy Scale: " + SCALES[opts["scale"]][0])
    if opts["Helices"]:
        lines.append("Threshold for putative transmembrane helices: %.2f" % opts["threshold"])
    return [line + "\r\n" for line in lines]


def digest_file(text, specificity):
    out = []
    for name, seq in records(text):
        cut_sites = sorted(digest_reference.sites(seq, specificity))
        cuts = [0] + cut_sites + [len(seq)]
        frags = digest_reference.fragments(seq, cuts, MASS, True)
        frags = sorted(frags, key=lambda f: f[2])
        one_line = name.replace("\0", " ")
        for k, (start, end, _, _) in enumerate(frags):
            if end >= start:
                out.append(">%s_%d\r\n%s\r\n" % (one_line, k, seq[start:end + 1]))
    return "".join(out)


def main():
    text = open(sys.argv[1], "rb").read().decode("latin-1")
    keys = dict(arg.split("=", 1) for arg in sys.argv[2:])
    sys.stdout.buffer.write(results(text, options_of(keys))[0].encode("latin-1"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
