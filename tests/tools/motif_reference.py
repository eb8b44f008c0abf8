#!/usr/bin/env python3
"""A second, independent reading of the motif search, used to cross-check
quorin-cli motifs. Occurrences are found with regular expressions (a
look-ahead per motif finds overlapping ones), and the sites are sorted with
Python's sort on (position, motif) or (motif, position).

usage: motif_reference.py FASTA SEARCH [--by-motif]
  Prints the report bytes, or the refusal on standard error (exit 1).
"""
import re
import sys

VALID = set("ACDEFGHIKLMNOPQRSTVWXY;")


def check(text):
    """The cleaned search string and None, or None and the refusal."""
    search = "".join(ch.upper() if "a" <= ch <= "z" else ch for ch in text if ch != " ")
    if not search:
        return None, "Enter a sequence motif!"
    bad = [ch for ch in search if ch not in VALID]
    if bad:
        return None, bad[-1] + " is not a valid amino acid !"
    return search, None


def search_motifs(seq, search):
    motifs = [m for m in search.split(";") if m]
    hits = []
    for number, motif in enumerate(motifs, 1):
        pattern = "(?=" + "".join("." if ch == "X" else re.escape(ch) for ch in motif) + ")"
        hits += [(number, m.start() + 1) for m in re.finditer(pattern, seq)]
    return motifs, hits


def report(name, seq, search, by_motif):
    motifs, hits = search_motifs(seq, search)
    title = "Search for Sequence Motifs in " + name
    lines = [title, "*" * len(title), "", "Selected Motifs:", "-" * 16, ""]
    lines += ["%d   %s" % (k, m) for k, m in enumerate(motifs, 1)]
    lines += ["", "List of occuring sites", "-" * 22, "", " # of Motif | Position", "-" * 22]
    key = (lambda h: (h[0], h[1])) if by_motif else (lambda h: (h[1], h[0]))
    lines += ["      %-6d|  %d" % hit for hit in sorted(hits, key=key)]
    return "".join(line + "\r\n" for line in lines)


def main():
    sys.path.insert(0, __import__("os").path.dirname(__import__("os").path.abspath(__file__)))
    import digest_reference
    name, seq = digest_reference.read_fasta(open(sys.argv[1], "rb").read().decode("latin-1"))
    search, refusal = check(sys.argv[2])
    if refusal:
        sys.stderr.write(refusal + "\n")
        return 1
    sys.stdout.buffer.write(report(name, seq, search, "--by-motif" in sys.argv[3:]).encode("latin-1"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
