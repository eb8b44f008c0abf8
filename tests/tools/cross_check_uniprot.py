#!/usr/bin/env python3
"""Compares quorin-cli's reading of UniProt/Swiss-Prot flat-file entries with
Biopython's Bio.SwissProt, entry for entry: the entry name, the sequence (the
letters the program keeps: B, J, U and Z are dropped, as from any sequence)
and every feature's key, start and end (unknown ends in the entry's own
notation). COUNT entries are generated, half in the old column layout of the
FT lines and half in the current one, with unknown ends, wrapped descriptions
and qualifiers; each entry of the ENTRY_FILEs (Swiss-Prot data files) is read
in both layouts too, the current one rewritten from the old. A converted .pep
must carry a domain sketch (rendered to SVG when rendering is built in).

usage: cross_check_uniprot.py QUORIN_CLI COUNT [ENTRY_FILE...]
"""
import json
import os
import random
import subprocess
import sys
import tempfile

# Biopython runs in Debian's own interpreter: the one running this script may
# be another without it.
BIOPYTHON = r"""
import json, sys
from Bio import SwissProt
from Bio.SeqFeature import (AfterPosition, BeforePosition, UncertainPosition,
                            UnknownPosition)

def text(position, offset):
    if isinstance(position, UnknownPosition):
        return "?"
    number = str(int(position) + offset)
    if isinstance(position, UncertainPosition):
        return "?" + number
    if isinstance(position, BeforePosition):
        return "<" + number
    if isinstance(position, AfterPosition):
        return ">" + number
    return number

out = []
for path in sys.argv[1:]:
    with open(path) as handle:
        record = SwissProt.read(handle)
    out.append({
        "name": record.entry_name,
        "sequence": record.sequence,
        "features": [[f.type, text(f.location.start, 1), text(f.location.end, 0)]
                     for f in record.features],
    })
json.dump(out, sys.stdout)
"""

ALPHABET = "ACDEFGHIKLMNPQRSTVWY"
KEYS = ["TRANSMEM", "TOPO_DOM", "DOMAIN", "REGION", "SIGNAL", "HELIX", "CHAIN",
        "MOD_RES", "BINDING", "STRAND", "DISULFID", "CARBOHYD"]
WORDS = "helical cytoplasmic extracellular by similarity potential kinase binding loop".split()


def sq_block(sequence):
    lines = ["SQ   SEQUENCE %6d AA;  %5d MW;  0123456789ABCDEF CRC64;"
             % (len(sequence), 110 * len(sequence))]
    for at in range(0, len(sequence), 60):
        chunk = sequence[at:at + 60]
        lines.append("     " + " ".join(chunk[i:i + 10] for i in range(0, len(chunk), 10)))
    return lines


def old_ft(key, start, end, description):
    lines = ["FT   %-8s %6s %6s       %s" % (key, start, end, description[:41].rstrip())]
    rest = description[41:].strip()
    while rest:
        lines.append("FT" + " " * 32 + rest[:41].rstrip())
        rest = rest[41:].strip()
    return lines


def new_ft(key, start, end, description, evidence=True):
    location = start if start == end else start + ".." + end
    lines = ["FT   %-15s %s" % (key, location)]
    if description:
        note = '/note="%s"' % description
        first, rest = note[:58], note[58:]
        lines.append("FT" + " " * 19 + first)
        while rest:
            lines.append("FT" + " " * 19 + rest[:58])
            rest = rest[58:]
    if evidence:
        lines.append('FT                   /evidence="ECO:0000255|PROSITE-ProRule:PRU00114"')
    return lines


def generated_entry(rng, index, layout):
    length = rng.randint(20, 900)
    sequence = "".join(rng.choice(ALPHABET) for _ in range(length))
    name = "Q%05d_TEST" % index
    lines = ["ID   %-24sReviewed;%14d AA." % (name, length),
             "AC   Q%05d; A%05d;" % (index, index + 1),
             "DT   01-JAN-2020, integrated into UniProtKB/Swiss-Prot.",
             "DE   RecName: Full=Generated protein %d;" % index,
             "DE   AltName: Full=Test entry;",
             "OS   Homo sapiens (Human).",
             "CC   -!- FUNCTION: None."]
    for _ in range(rng.randint(0, 14)):
        key = rng.choice(KEYS)
        start = rng.randint(1, length)
        end = rng.randint(start, length)
        start_text, end_text = str(start), str(end)
        odd = rng.random()
        if odd < 0.08:
            start_text = "<" + start_text
        elif odd < 0.14:
            end_text = ">" + end_text
        elif odd < 0.18:
            end_text = "?"
        elif odd < 0.21:
            start_text = "?"
        elif odd < 0.24:
            end_text = "?" + end_text
        description = " ".join(rng.choice(WORDS) for _ in range(rng.randint(0, 16)))
        if layout == "old":
            lines += old_ft(key, start_text, end_text, description or "Note.")
        else:
            lines += new_ft(key, start_text, end_text, description, rng.random() < 0.5)
    lines += sq_block(sequence)
    lines.append("//")
    return "\n".join(lines) + "\n"


def rewritten_current(entry):
    """The entry with its old-layout FT lines in the current layout."""
    out = []
    feature = None

    def flush():
        if feature:
            out.extend(new_ft(feature[0], feature[1], feature[2] or feature[1],
                              " ".join(feature[3]), False))

    for line in entry.splitlines():
        if not line.startswith("FT"):
            flush()
            feature = None
            out.append(line)
            continue
        if line[5:13].strip():
            flush()
            feature = [line[5:13].strip(), line[14:20].strip(), line[21:27].strip(),
                       [line[34:].strip()]]
        elif not line[34:].startswith("/FTId="):
            feature[3].append(line[34:].strip())
    return "\n".join(out) + "\n"


def split_entries(path):
    with open(path) as f:
        text = f.read()
    entries = []
    current = []
    for line in text.splitlines(keepends=True):
        current.append(line)
        if line.startswith("//"):
            entries.append("".join(current))
            current = []
    return entries


def quorin(cli, settings, *args):
    run = subprocess.run([cli, *args, "--settings", settings], capture_output=True)
    if run.returncode != 0:
        raise AssertionError("quorin-cli %s: %s" % (" ".join(args), run.stderr.decode()))
    return run.stdout.decode()


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    cli, count = sys.argv[1], int(sys.argv[2])
    rng = random.Random(29)
    entries = [generated_entry(rng, i, "old" if i % 2 else "new") for i in range(count)]
    for path in sys.argv[3:]:
        for entry in split_entries(path):
            entries.append(entry)
            if any(line.startswith("FT") and line[5:13].strip() and line[13:21].strip()
                   for line in entry.splitlines()):
                entries.append(rewritten_current(entry))
    renders = "render" in subprocess.run([cli, "--help"], capture_output=True,
                                         text=True).stdout
    failures = 0
    with tempfile.TemporaryDirectory() as folder:
        settings = os.path.join(folder, "quorin.ini")
        paths = []
        for i, entry in enumerate(entries):
            paths.append(os.path.join(folder, "entry%04d.dat" % i))
            with open(paths[-1], "w") as f:
                f.write(entry)
        expected = subprocess.run(["/usr/bin/python3", "-c", BIOPYTHON, *paths],
                                  capture_output=True, text=True)
        if expected.returncode != 0:
            sys.exit("Biopython: " + expected.stderr)
        for path, want in zip(paths, json.loads(expected.stdout)):
            fasta = quorin(cli, settings, "convert", path, "-")
            name, _, sequence = fasta.partition("\r\n")
            table = quorin(cli, settings, "features", path).splitlines()
            got = [row.split("\t")[:3] for row in table[1:]]
            kept = "".join(c for c in want["sequence"] if c not in "BJUZ")
            problems = []
            if table[0] != "key\tstart\tend\tdescription":
                problems.append("header %r" % table[0])
            if name != ">" + want["name"]:
                problems.append("name %r, Biopython %r" % (name, want["name"]))
            if sequence != kept:
                problems.append("sequence differs")
            if got != want["features"]:
                problems.append("features %r, Biopython %r" % (got, want["features"]))
            if problems:
                failures += 1
                print("%s (%s): %s" % (os.path.basename(path), want["name"], "; ".join(problems)))
        # A malformed entry: one line naming the problem, exit status 1.
        cut = os.path.join(folder, "cut.dat")
        with open(cut, "w") as f:
            f.write(entries[0][: len(entries[0]) // 2])
        run = subprocess.run([cli, "props", cut, "--settings", settings], capture_output=True,
                             text=True)
        if run.returncode != 1 or run.stdout or "Not a readable UniProt entry: line " \
                not in run.stderr or run.stderr.count("\n") != 1:
            failures += 1
            print("a cut entry: exit %d, %r" % (run.returncode, run.stderr))
        pep = os.path.join(folder, "first.pep")
        quorin(cli, settings, "convert", paths[0], pep)
        if renders:
            svg = os.path.join(folder, "first.svg")
            quorin(cli, settings, "render", "domains", pep, "-o", svg)
            if os.path.getsize(svg) == 0:
                failures += 1
                print("the converted entry renders no domains")
    print("%d entries: %d passed, %d failed" % (len(entries), len(entries) - failures, failures))
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
