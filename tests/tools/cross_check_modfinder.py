#!/usr/bin/env python3
"""Runs quorin-cli modfinder and the reference reading on the real proteins of
tests/data/proteins (titin excepted) and on generated sequences, with weights
drawn near real fragment weights (exact hits at uncertainty 0, both bounds of
quarter-dalton tables, weights beyond every fragment), attachment patterns
with X, empty entries and tails past the end, --complete, and refused number
texts; fails on the first report that differs by a byte.

usage: cross_check_modfinder.py QUORIN_CLI PROTEIN_DIR [COUNT]
"""
import os
import random
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import digest_reference  # noqa: E402
import modfinder_reference  # noqa: E402
from cross_check_digest import generate_sequence, quarter_masses  # noqa: E402

AGENTS = [("Trypsin", "K!;R!"), ("Lys-C", "K!"), ("Glu-C (V8)", "E!"), ("CNBr", "M!"),
          ("Chymotrypsin", "F!;W!;Y!"), ("Asp-N", "X!D"), ("None", "")]
# Real ones, and ones that probe the attachment rules: X, empty entries, a
# long pattern, a name of twenty characters and more, a mass of 0, a second
# modification of an existing name (never taken).
MODS = [("Phosphorylation", "S,T,Y", 79.97), ("Acetylation", "K", 42.01),
        ("Methylation", "K,R", 14.02), ("Oxidation", "M", 16.0), ("Deamidation", "N,Q", 0.98),
        ("Glyco", "NXS,NXT", 203.19), ("Empties", ",K,,R,", 28.25), ("Pair end", "KX", 0.5),
        ("Long", "GGGGGGGGGGGG", 100.75), ("Zero", "C", 0.0),
        ("A name of twenty ch", "W", 4.25), ("A longer modification nam", "XX", 12.5),
        ("Phosphorylation", "H", 1.0), ("Tiny", "A", 0.25), ("Big", "XXX", 1234.56)]
BAD_NUMBERS = ["", "-5", "1e3", "12,5", " 12", "abc"]


def settings_text(masses):
    lines = ["[Cleaving Agents]"]
    lines += ["%d=%s:%s" % (i, name, specificity) for i, (name, specificity) in enumerate(AGENTS)]
    lines += ["", "[Modifications]"]
    lines += ["%d=%s:%s;%r" % (i, name, specificity, mw) for i, (name, specificity, mw)
              in enumerate(MODS)]
    if masses is not None:
        lines += ["", "[AA-Properties]", "Molecular weights=" + ";".join(repr(m) for m in masses)]
    return "\n".join(lines) + "\n"


def number_text(value):
    text = repr(value)
    return text if all(c in "0123456789." for c in text) else "%.6f" % value


def main():
    cli, protein_dir = sys.argv[1], sys.argv[2]
    count = int(sys.argv[3]) if len(sys.argv) > 3 else 300
    rng = random.Random(20261212)
    proteins = []
    for entry in sorted(os.listdir(protein_dir)):
        if entry.endswith(".fasta") and not entry.startswith("Q8WZ42"):
            with open(os.path.join(protein_dir, entry), "rb") as f:
                proteins.append(f.read().decode("latin-1"))
    compared = refused = matched = 0
    shm = "/dev/shm" if os.path.isdir("/dev/shm") and os.access("/dev/shm", os.W_OK) else None
    with tempfile.TemporaryDirectory(dir=shm) as tmp:
        settings = os.path.join(tmp, "quorin.ini")
        path = os.path.join(tmp, "in.fasta")
        while compared < count:
            fasta = rng.choice(proteins) if rng.random() < 0.5 else generate_sequence(rng)
            name, seq = digest_reference.read_fasta(fasta)
            agents = rng.sample(AGENTS[:-1], rng.choice([1, 1, 2])) if rng.random() < 0.95 \
                else [AGENTS[-1]]
            n = len(digest_reference.sites(seq, ";".join(s for _, s in agents)))
            if (n + 1) * (n + 2) // 2 * max(len(seq), 1) > 3_000_000:
                continue
            masses = quarter_masses(rng) if rng.random() < 0.3 else None
            mass = masses or digest_reference.DEFAULT_MASS
            names = rng.sample(sorted({m[0] for m in MODS}), rng.choice([1, 1, 2, 3]))
            if rng.random() < 0.1:
                names.append(names[0])  # given twice: stands once
            mods = []
            for mod_name in names:
                if mod_name not in [m[0] for m in mods]:
                    mods.append(next(m for m in MODS if m[0] == mod_name))
            cuts = [0] + sorted(digest_reference.sites(seq, ";".join(s for _, s in agents)))
            cuts.append(len(seq))
            frags = digest_reference.fragments(seq, cuts, mass, False)
            anchor = rng.choice(frags)[2] + rng.choice(mods)[2]
            roll = rng.random()
            if roll < 0.25:
                weight, uncertainty = anchor, 0.0
            elif roll < 0.35:
                weight, uncertainty = max(f[2] for f in frags) + 2000.0, 1.0
            elif roll < 0.4:
                weight, uncertainty = 1.0, 0.5
            else:
                weight = round(anchor + rng.uniform(-3, 3), rng.choice([0, 1, 2, 3]))
                uncertainty = rng.choice([0.25, 0.5, 1.0, 1.0, 2.0, 2.5, 10.0])
            weight = abs(weight)
            weight_text, uncertainty_text = number_text(weight), number_text(uncertainty)
            if rng.random() < 0.05:
                weight_text = weight_text + ".7.1"  # read up to the second point
            bad = rng.random() < 0.05
            if bad:
                if rng.random() < 0.5:
                    weight_text = rng.choice(BAD_NUMBERS)
                else:
                    uncertainty_text = rng.choice(BAD_NUMBERS)
            complete = rng.random() < 0.3
            with open(settings, "w") as f:
                f.write(settings_text(masses))
            with open(path, "w", newline="") as f:
                f.write(fasta)
            command = [cli, "modfinder", "--settings", settings, path,
                       "--weight", weight_text, "--uncertainty", uncertainty_text]
            for agent, _ in agents:
                command += ["--agent", agent]
            for mod_name in names:
                command += ["--mod", mod_name]
            if complete:
                command.append("--complete")
            run = subprocess.run(command, capture_output=True)
            if bad:
                if run.returncode != 1 or run.stderr.strip() != b"Enter a valid number as weight !":
                    sys.stderr.write("number texts %r %r: exit %d, %r\n" % (
                        weight_text, uncertainty_text, run.returncode, run.stderr))
                    return 1
                refused += 1
                compared += 1
                continue
            if run.returncode != 0:
                sys.stderr.write("exit %d: %s\n%s\n" % (run.returncode, run.stderr, command))
                return 1
            theirs = modfinder_reference.report(
                name, seq, agents, mods, modfinder_reference.leading_number(weight_text),
                modfinder_reference.leading_number(uncertainty_text), complete, mass)
            theirs = theirs.encode("latin-1")
            if run.stdout != theirs:
                ours_lines = run.stdout.decode("latin-1").split("\r\n")
                theirs_lines = theirs.decode("latin-1").split("\r\n")
                first = next((i for i, (a, b) in enumerate(zip(ours_lines, theirs_lines))
                              if a != b), min(len(ours_lines), len(theirs_lines)))
                sys.stderr.write(
                    "report %d differs at line %d for %s\nagents %s, mods %s, weight %s, "
                    "uncertainty %s, complete %s, masses %s\n--- quorin-cli\n%s\n"
                    "--- reference\n%s\n"
                    % (compared, first, fasta[:200], agents, mods, weight_text,
                       uncertainty_text, complete, masses,
                       "\n".join(ours_lines[max(0, first - 3):first + 3]),
                       "\n".join(theirs_lines[max(0, first - 3):first + 3])))
                return 1
            matched += theirs.count(b"\r\n") - 18 - len(mods) > 0
            compared += 1
    print("%d runs identical (%d with matches, %d refused number texts)"
          % (compared, matched, refused))
    return 0


if __name__ == "__main__":
    sys.exit(main())
