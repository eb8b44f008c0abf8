#!/usr/bin/env python3
"""An independent reading of PROSITE patterns: each pattern becomes a Python
regular expression, and for every start the ends are tried from the shortest
up, so that each start gets its shortest match. Slow, and plain to check."""
import re

ELEMENT = re.compile(r"(x|X|[A-Za-z]|\[[A-Z]*>?\]|\{[A-Z]*\})(?:\((\d+)(?:,(\d+))?\))?$")


def parse(pattern):
    """(regex, anchored at start, anchored at end, regex without a final
    '[..>]' element or None), or None for a pattern that is malformed or
    matches nothing or only the empty stretch."""
    p = "".join(pattern.split())
    if p.endswith("."):
        p = p[:-1]
    start = p.startswith("<")
    if start:
        p = p[1:]
    end = p.endswith(">") and not p.endswith(">]")
    if end:
        p = p[:-1]
    parts, end_alt, least, most = [], None, 0, 0
    elements = p.split("-")
    for k, element in enumerate(elements):
        m = ELEMENT.match(element)
        if not m:
            return None
        core, lo, hi = m.group(1), m.group(2), m.group(3)
        lo = 1 if lo is None else int(lo)
        hi = lo if hi is None else int(hi)
        if lo > hi or hi == 0:
            return None
        end_ok = core.startswith("[") and core.endswith(">]")
        if end_ok and k != len(elements) - 1:
            return None
        if core in "xX":
            letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
        elif core.startswith("["):
            letters = core[1:-2] if end_ok else core[1:-1]
        elif core.startswith("{"):
            letters = "".join(c for c in "ABCDEFGHIJKLMNOPQRSTUVWXYZ" if c not in core)
        else:
            letters = core.upper()
        if not letters and not end_ok:
            return None
        least += lo if letters else 0
        most += hi
        parts.append(("[%s]" % letters if letters else "(?!)") + "{%d,%d}" % (lo, hi))
        if end_ok:
            end_alt = "".join(parts[:-1])
    if least == 0 or most > 4096:
        return None
    return (re.compile("".join(parts)), start, end,
            re.compile(end_alt) if end_alt is not None else None, most)


def matches(pattern, seq):
    """[(start, end, match)], 1-based inclusive, one per start."""
    rx, start, end, end_alt, most = parse(pattern)
    out = []
    for i in range(len(seq)):
        if start and i:
            break
        for j in range(i + 1, min(len(seq), i + most) + 1):
            if ((not end or j == len(seq)) and rx.fullmatch(seq, i, j)) or \
                    (end_alt is not None and j == len(seq) and end_alt.fullmatch(seq, i, j)):
                out.append((i + 1, j, seq[i:j]))
                break
    return out


def tsv(pattern, seq):
    return "start\tend\tmatch\n" + "".join("%d\t%d\t%s\n" % m for m in matches(pattern, seq))
