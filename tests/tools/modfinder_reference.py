#!/usr/bin/env python3
"""A second, independent reading of the ModFinder report, used to cross-check
quorin-cli modfinder. The fragments come from the digest reference; the
search sorts them with Python's stable sort and tests every fragment, and an
attachment sequence counts when any occurrence of it anywhere in the
sequence shares a residue with the fragment.
"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import digest_reference  # noqa: E402
from digest_reference import one_decimal  # noqa: E402


def mass_text(mw):
    """The modification's mass with trunc(log10(mw) + 2) significant digits:
    one decimal for every mass from 0.1 on, a trailing zero dropped."""
    if mw == 0:
        return "0"
    assert mw >= 0.1
    text = "%.1f" % mw
    return text[:-2] if text.endswith(".0") else text


def has_site(seq, start, end, specificity):
    if end < start:
        return False
    for pattern in specificity.split(","):
        if not pattern:
            continue
        for d in range(0, len(seq) - len(pattern) + 1):
            if d > end or d + len(pattern) - 1 < start:
                continue
            if all(p == "X" or p == c for p, c in zip(pattern, seq[d:d + len(pattern)])):
                return True
    return False


def valid_number(text):
    text = text[:49]
    return text != "" and all(c in "0123456789." for c in text)


def leading_number(text):
    """The C library's reading of a digits-and-points text: up to the second point."""
    text = text[:49]
    head = text.split(".")
    number = head[0] + ("." + head[1] if len(head) > 1 else "")
    return float(number) if number not in ("", ".") else 0.0


def report(name, seq, agents, mods, weight, uncertainty, complete, mass):
    """agents: (name, specificity) pairs; mods: (name, specificity, mw) in selection order."""
    combined = ";".join(specificity for _, specificity in agents)
    cuts = [0] + sorted(digest_reference.sites(seq, combined)) + [len(seq)]
    frags = digest_reference.fragments(seq, cuts, mass, False)
    frags = sorted(frags, key=lambda f: f[2])
    matches = []
    for mod in mods:
        hits = [f for f in frags if -uncertainty <= f[2] + mod[2] - weight <= uncertainty]
        # Heaviest first; of equal weights the later one in the sorted list first.
        hits.reverse()
        matches += [(f, mod) for f in hits]

    title = "Search for modifications of " + name
    out = [title, "*" * len(title), "", "", "Selected modifications (specificity; MW)", "-" * 40]
    for mod_name, specificity, mw in mods:
        out.append(mod_name.ljust(20) + "(" + specificity + "; " + mass_text(mw) + ")")
    out += ["", "MW of unknown fragment (Uncertainty)", "-" * 36]
    out += [one_decimal(weight) + " (" + one_decimal(uncertainty) + ")", "", ""]
    out += ["List of potentially modified fragments", "-" * 38]
    out += ["(+/-: Fragment does/ does not contain potential attachment sequences)", ""]
    out += [" Start  |  End   | MW (theoret.)| +/- | Modification", "-" * 52]
    for (start, end, mw, whole), (mod_name, specificity, mod_mw) in matches:
        if complete and not whole:
            continue
        sign = "+" if has_site(seq, start, end, specificity) else "-"
        out.append(" " + str(start + 1).ljust(7) + "|  " + str(end + 1).ljust(6) + "|  " +
                   one_decimal(mw + mod_mw).ljust(12) + "|  " + sign + "  |  " + mod_name)
    return "".join(line + "\r\n" for line in out)
