#!/usr/bin/env python3
"""Runs quorin-cli digest and the reference reading on the real proteins of
tests/data/proteins (titin excepted: the naive reference would take hours) and
on generated sequences, with many agent sets, line widths, mass tables, every
sort order and --complete, and fails on the first report that differs by a byte.

usage: cross_check_digest.py QUORIN_CLI PROTEIN_DIR [COUNT]
"""
import os
import random
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import digest_reference  # noqa: E402

ALPHABET = "ACDEFGHIKLMNPQRSTVWY"

# Common agents, and agents that probe the pattern rules: a mark in the first
# position, X tails that would run past the end, empty list entries, a second
# agent of an existing name (never taken), an empty specificity, lower case.
AGENTS = [
    ("Trypsin", "K!;R!"), ("Lys-C", "K!"), ("Arg-C", "R!"), ("Glu-C (V8)", "E!"),
    ("Asp-N", "X!D"), ("Chymotrypsin", "F!;W!;Y!"), ("Elastase", "A!;G!;S!;V!"),
    ("Formic acid", "D!P"), ("Hydroxylamine", "N!G"), ("CNBr", "M!"), ("Pepsin", "F!;L!"),
    ("Pair", "KR"), ("Overlap", "KK"), ("Tail X", "KXXX"), ("Mark first", "!K"),
    ("Mark twice", "!K!"), ("Double mark", "K!!"), ("Empties", ";K!;;R!;"), ("Empty", ""),
    ("Lower", "k!"), ("Any", "X!"), ("Wild pair", "XX!X"), ("Ends", "X!K;KX"),
    ("Trypsin", "W!"), ("A name of twenty ch", "G!"), ("A name of twenty chr", "P!"),
    ("A much longer agent name", "Q!;N!"), ("Unknown letters", "O!;X!O"),
]
WIDTHS = [80, 80, 80, 100, 70, 40, 10, 6, 3, 1, 0]


def quarter_masses(rng):
    """A mass table of quarter dalton steps: many weights end in .25 or .75 exactly."""
    masses = [0.0] + [rng.randint(200, 800) / 4 for _ in range(20)] + [rng.choice([0.0, 7.75])]
    return masses


def generate_sequence(rng):
    kind = rng.random()
    if kind < 0.2:
        length = rng.randint(0, 8)
    elif kind < 0.9:
        length = rng.randint(9, 250)
    else:
        length = rng.randint(250, 600)
    weights = [rng.random() for _ in ALPHABET]
    text = []
    for r in rng.choices(ALPHABET, weights=weights, k=length):
        roll = rng.random()
        if roll < 0.05:
            text.append(r.lower())
        elif roll < 0.08:
            text.append(rng.choice("XOxoBJUZ"))
        elif roll < 0.09:
            text.append(rng.choice("0123456789 -*"))
        else:
            text.append(r)
    body = "\n".join("".join(text[i:i + 60]) for i in range(0, len(text), 60))
    return ">gen%d generated" % rng.randint(1, 10**6) + "\n" + body + "\n"


def settings_text(width, masses):
    lines = ["[Setup Options]", "Characters per line=%d" % width, "", "[Cleaving Agents]"]
    lines += ["%d=%s:%s" % (i, name, specificity)
              for i, (name, specificity) in enumerate(AGENTS)]
    if masses is not None:
        lines += ["", "[AA-Properties]", "Molecular weights=" + ";".join(repr(m) for m in masses)]
    return "\n".join(lines) + "\n"


def fragment_count(seq, agents):
    n = len(digest_reference.sites(seq, ";".join(specificity for _, specificity in agents)))
    return (n + 1) * (n + 2) // 2


def main():
    cli, protein_dir = sys.argv[1], sys.argv[2]
    count = int(sys.argv[3]) if len(sys.argv) > 3 else 400
    rng = random.Random(20261208)
    proteins = []
    for entry in sorted(os.listdir(protein_dir)):
        if entry.endswith(".fasta") and not entry.startswith("Q8WZ42"):
            with open(os.path.join(protein_dir, entry), "rb") as f:
                proteins.append(f.read().decode("latin-1"))
    names = sorted({name for name, _ in AGENTS})
    compared = 0
    # Every run writes its settings file back with fsync; memory-backed files
    # keep that from dominating the check.
    shm = "/dev/shm" if os.path.isdir("/dev/shm") and os.access("/dev/shm", os.W_OK) else None
    with tempfile.TemporaryDirectory(dir=shm) as tmp:
        settings = os.path.join(tmp, "quorin.ini")
        path = os.path.join(tmp, "in.fasta")
        attempts = 0
        while compared < count:
            attempts += 1
            fasta = rng.choice(proteins) if rng.random() < 0.5 else generate_sequence(rng)
            name, seq = digest_reference.read_fasta(fasta)
            chosen = rng.sample(names, rng.choice([1, 1, 2, 2, 3, 4]))
            if rng.random() < 0.1:
                chosen.append(chosen[0])  # selected twice: stands once
            agents = []
            for agent in chosen:
                if agent not in [a for a, _ in agents]:
                    agents.append(next(a for a in AGENTS if a[0] == agent))
            # The naive weights cost F times the mean fragment length.
            if fragment_count(seq, agents) * max(len(seq), 1) > 4_000_000:
                continue
            width = rng.choice(WIDTHS)
            masses = quarter_masses(rng) if rng.random() < 0.3 else None
            sort = rng.choice(["start", "length", "weight"])
            complete = rng.random() < 0.3
            with open(settings, "w") as f:
                f.write(settings_text(width, masses))
            with open(path, "w", newline="") as f:
                f.write(fasta)
            command = [cli, "digest", "--settings", settings, path, "--sort", sort]
            for agent in chosen:
                command += ["--agent", agent]
            if complete:
                command.append("--complete")
            ours = subprocess.run(command, capture_output=True, check=True).stdout
            theirs = digest_reference.report(
                name, seq, agents, width, sort, complete,
                mass=masses or digest_reference.DEFAULT_MASS).encode("latin-1")
            if ours != theirs:
                ours_lines = ours.decode("latin-1").split("\r\n")
                theirs_lines = theirs.decode("latin-1").split("\r\n")
                first = next((i for i, (a, b) in enumerate(zip(ours_lines, theirs_lines))
                              if a != b), min(len(ours_lines), len(theirs_lines)))
                sys.stderr.write(
                    "report %d differs at line %d for %s\nagents %s, width %d, sort %s, "
                    "complete %s, masses %s\n--- quorin-cli\n%s\n--- reference\n%s\n"
                    % (compared, first, fasta[:200], agents, width, sort, complete, masses,
                       "\n".join(ours_lines[max(0, first - 3):first + 3]),
                       "\n".join(theirs_lines[max(0, first - 3):first + 3])))
                return 1
            compared += 1
    print("%d reports identical (%d cases drawn)" % (compared, attempts))
    return 0


if __name__ == "__main__":
    sys.exit(main())
