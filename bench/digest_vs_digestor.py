#!/usr/bin/env python3
"""Compares the peptide sets of quorin-cli digest --enzyme --tsv with OpenMS
Digestor (Debian topp) over the first COUNT proteins of a FASTA file, for six
enzymes x missed cleavages 0 and 2 x full and semi specificity x length 6-30.
Digestor digests with full specificity only: the semi-specific set is taken as
every prefix and suffix of its full-specificity peptides of any length (made
without a length bound), kept within 6-30. Prints one line per combination:
proteins whose sets are equal, and for the others the first difference.

usage: digest_vs_digestor.py QUORIN_CLI FASTA [COUNT]
"""
import collections
import os
import subprocess
import sys
import tempfile

# Ours, and the name of the same rule in OpenMS's enzyme table.
ENZYMES = [("Trypsin", "Trypsin"), ("Lys-C", "Lys-C"), ("Arg-C", "Arg-C"),
           ("Asp-N", "Asp-N"), ("Glu-C", "V8-E"), ("Chymotrypsin", "Chymotrypsin")]
MIN_LENGTH, MAX_LENGTH = 6, 30


def read_fasta(path, count):
    records = []
    header, lines = None, []
    with open(path) as f:
        for line in f:
            if line.startswith(">"):
                if header is not None:
                    records.append((header, "".join(lines)))
                    if len(records) == count:
                        return records
                header, lines = line[1:].strip(), []
            else:
                lines.append(line.strip())
    if header is not None and (count is None or len(records) < count):
        records.append((header, "".join(lines)))
    return records


def digestor(fasta, enzyme, missed, min_length, max_length, work):
    out = os.path.join(work, "digestor.fasta")
    subprocess.run(["Digestor", "-in", fasta, "-out", out, "-out_type", "fasta",
                    "-enzyme", enzyme, "-missed_cleavages", str(missed),
                    "-min_length", str(min_length), "-max_length", str(max_length),
                    "-FASTA:ID", "both"], check=True, capture_output=True)
    peptides = collections.defaultdict(set)
    for header, sequence in read_fasta(out, None):
        # "both": the parent's id, then "_" and a running number.
        peptides[header.split()[0].rsplit("_", 1)[0]].add(sequence)
    return peptides


def semi_of(full):
    semi = set()
    for peptide in full:
        for k in range(MIN_LENGTH, min(len(peptide), MAX_LENGTH) + 1):
            semi.add(peptide[:k])
            semi.add(peptide[-k:])
    return semi


def ours(cli, path, enzyme, specificity, missed):
    text = subprocess.run([cli, "digest", "--settings", "none.ini", path, "--enzyme", enzyme,
                           "--specificity", specificity, "--max-missed", str(missed),
                           "--min-length", str(MIN_LENGTH), "--max-length", str(MAX_LENGTH),
                           "--tsv"], check=True, capture_output=True).stdout.decode()
    return {line.split("\t")[3] for line in text.split("\n")[1:] if line}


def main():
    cli, fasta = os.path.abspath(sys.argv[1]), sys.argv[2]
    count = int(sys.argv[3]) if len(sys.argv) > 3 else 100
    records = read_fasta(fasta, count)
    with tempfile.TemporaryDirectory() as work:
        os.chdir(work)
        subset = os.path.join(work, "subset.fasta")
        with open(subset, "w") as f:
            for header, sequence in records:
                f.write(">%s\n%s\n" % (header, sequence))
        paths = []
        for i, (header, sequence) in enumerate(records):
            path = os.path.join(work, "p%d.fasta" % i)
            with open(path, "w") as f:
                f.write(">%s\n%s\n" % (header, sequence))
            paths.append(path)
        ambiguous = {header.split()[0] for header, sequence in records
                     if set(sequence) & set("BJUZX")}
        total_equal = total = 0
        for name, peer in ENZYMES:
            for missed in (0, 2):
                full = digestor(subset, peer, missed, MIN_LENGTH, MAX_LENGTH, work)
                unbounded = digestor(subset, peer, missed, 1, 100000, work)
                for specificity in ("full", "semi"):
                    equal, differ = 0, []
                    for (header, _), path in zip(records, paths):
                        key = header.split()[0]
                        theirs = (full[key] if specificity == "full"
                                  else semi_of(unbounded[key]))
                        mine = ours(cli, path, name, specificity, missed)
                        if mine == theirs:
                            equal += 1
                        else:
                            differ.append((key, sorted(mine - theirs)[:3],
                                           sorted(theirs - mine)[:3]))
                    total += len(records)
                    total_equal += equal
                    print("%-12s missed %d %-4s: %d/%d equal" % (name, missed, specificity,
                                                               equal, len(records)))
                    for key, extra, lacking in differ[:5]:
                        print("    %s%s: only ours %s, only Digestor's %s"
                              % (key, " (B/J/U/Z/X)" if key in ambiguous else "", extra,
                                 lacking))
        print("all: %d/%d protein sets equal" % (total_equal, total))


if __name__ == "__main__":
    main()
