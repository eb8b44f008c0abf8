#!/usr/bin/env python3
"""Checks quorin-cli digest --csv with missed-cleavage and length bounds,
monoisotopic masses and charge states against an independent enumeration:
every pair of cut positions is formed, its missed cleavages counted one by
one, and kept or dropped by the bounds; average masses are summed naively,
monoisotopic ones come from Biopython's ProteinAnalysis (within 0.001 Da).
Titin with Trypsin and --max-missed 2 is checked the same way, its count
printed. With REAL_FASTA, each of its records made only of the 20 standard
residues is digested once more with Trypsin, monoisotopic masses and charges
1 to 3 under a random missed-cleavage limit (the benchmark's thousand).

usage: cross_check_ms_digest.py QUORIN_CLI PROTEIN_DIR [COUNT [REAL_FASTA]]
"""
import os
import random
import subprocess
import sys
import tempfile

from Bio.SeqUtils.ProtParam import ProteinAnalysis

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import digest_reference  # noqa: E402

ALPHABET = "ACDEFGHIKLMNPQRSTVWY"
PROTON = 1.007276
# Lys-C beside Trypsin and the overlapping pair give repeated cut positions,
# whose duplicates count as missed cleavages only strictly inside a fragment.
AGENTS = [("Trypsin", "K!;R!"), ("Lys-C", "K!"), ("Glu-C", "E!"), ("Asp-N", "X!D"),
          ("Chymotrypsin", "F!;W!;Y!"), ("Overlap", "KK;K!K"), ("Any", "X!")]
MONO_TOLERANCE = 0.001


def settings_text():
    lines = ["[Cleaving Agents]"]
    lines += ["%d=%s:%s" % (i, name, spec) for i, (name, spec) in enumerate(AGENTS)]
    return "\n".join(lines) + "\n"


def expected_rows(seq, specificity, max_missed, min_length, max_length, complete, titin):
    """(start, end, length, missed, average mass) of every fragment kept."""
    cuts = [0] + sorted(digest_reference.sites(seq, specificity)) + [len(seq)]
    rows = []
    for g in range(len(cuts) - 1):
        for h in range(g + 1, len(cuts)):
            if complete and h != g + 1:
                break
            missed = sum(1 for k in range(g + 1, h) if cuts[g] < cuts[k] < cuts[h])
            if max_missed is not None and missed > max_missed:
                if titin:
                    break  # only titin's 4,500 sites need the shortcut
                continue
            length = cuts[h] - cuts[g]
            if length < min_length or (max_length is not None and length > max_length):
                continue
            mass = digest_reference.stretch_weight(seq, cuts[g], cuts[h] - 1,
                                                   digest_reference.DEFAULT_MASS)
            rows.append((cuts[g] + 1, cuts[h], length, missed, mass))
    return rows


def check_case(cli, settings, path, name, seq, agents, max_missed, min_length, max_length,
               complete, mono, charges, titin=False):
    command = [cli, "digest", "--settings", settings, path, "--csv",
               "--sort", random.choice(["start", "length", "weight"])]
    for agent in agents:
        command += ["--agent", agent]
    if max_missed is not None:
        command += ["--max-missed", str(max_missed)]
    if min_length:
        command += ["--min-length", str(min_length)]
    if max_length is not None:
        command += ["--max-length", str(max_length)]
    if complete:
        command.append("--complete")
    if mono:
        command.append("--mono")
    if charges:
        command += ["--charges", ",".join(map(str, charges))]
    if max_length is not None and min_length > max_length:
        # No fragment can be kept: the options are refused, nothing is written.
        refused = subprocess.run(command, capture_output=True)
        assert refused.returncode == 2 and refused.stdout == b"", (command, refused)
        return 0, 0.0
    lines = subprocess.run(command, capture_output=True, check=True).stdout.decode().split("\r\n")
    header = "start,end,length,missed,mass" + "".join(",mz_%d" % z for z in charges)
    assert lines[0] == header and lines[-1] == "", (command, lines[:2], lines[-1:])
    specificity = ";".join(spec for agent, spec in AGENTS if agent in agents)
    expected = expected_rows(seq, specificity, max_missed, min_length, max_length, complete, titin)
    ours = [line.split(",") for line in lines[1:-1]]
    ours_keys = sorted(tuple(map(int, row[:4])) for row in ours)
    expected_keys = sorted(row[:4] for row in expected)
    if ours_keys != expected_keys:
        sys.stderr.write("fragments differ for %s %s\n%s\nours %d, expected %d; first extra %s, "
                         "first missing %s\n" % (
                             name, agents, command, len(ours_keys), len(expected_keys),
                             sorted(set(ours_keys) - set(expected_keys))[:3],
                             sorted(set(expected_keys) - set(ours_keys))[:3]))
        return None
    deviation = 0.0
    average = {row[:2]: "%.4f" % row[4] for row in expected}
    for row in ours:
        start, end = int(row[0]), int(row[1])
        fragment = seq[start - 1:end]
        if mono:
            if not fragment or "X" in fragment or "O" in fragment:
                continue
            reference = ProteinAnalysis(fragment, monoisotopic=True).molecular_weight()
        else:
            if row[4] != average[(start, end)]:
                sys.stderr.write("average mass of %d..%d: %s, expected %s\n"
                                 % (start, end, row[4], average[(start, end)]))
                return None
            reference = float(row[4])
        deviation = max(deviation, abs(float(row[4]) - reference))
        for z, text in zip(charges, row[5:]):
            deviation = max(deviation, abs(float(text) - (reference + z * PROTON) / z))
        if len(row) != 5 + len(charges) or deviation > MONO_TOLERANCE:
            sys.stderr.write("row %s deviates by %.6f Da\n" % (row, deviation))
            return None
    return len(ours), deviation


def main():
    cli, protein_dir = sys.argv[1], sys.argv[2]
    count = int(sys.argv[3]) if len(sys.argv) > 3 else 200
    rng = random.Random(20261207)
    random.seed(20261207)
    proteins = {}
    for entry in sorted(os.listdir(protein_dir)):
        if entry.endswith(".fasta"):
            with open(os.path.join(protein_dir, entry), "rb") as f:
                proteins[entry] = f.read().decode("latin-1")
    titin = proteins.pop("Q8WZ42.fasta")
    names = [name for name, _ in AGENTS]
    worst = 0.0
    total = 0
    with tempfile.TemporaryDirectory() as tmp:
        settings = os.path.join(tmp, "quorin.ini")
        with open(settings, "w") as f:
            f.write(settings_text())
        path = os.path.join(tmp, "in.fasta")

        def run(fasta, **case):
            nonlocal worst
            with open(path, "w", newline="") as f:
                f.write(fasta)
            name, seq = digest_reference.read_fasta(fasta)
            result = check_case(cli, settings, path, name, seq, **case)
            if result is None:
                sys.exit(1)
            worst = max(worst, result[1])
            return result[0]

        kept = run(titin, agents=["Trypsin"], max_missed=2, min_length=0, max_length=None,
                   complete=False, mono=True, charges=[1, 2, 3], titin=True)
        print("titin, Trypsin, --max-missed 2: %d fragments" % kept)
        # The longest fragment, where per-residue differences of the mass
        # tables would add up.
        whole = subprocess.run([cli, "digest", "--settings", settings, path, "--agent", "Trypsin",
                                "--min-length", "34350", "--mono", "--csv"],
                               capture_output=True, check=True).stdout.decode().split("\r\n")
        _, seq = digest_reference.read_fasta(titin)
        deviation = abs(float(whole[1].split(",")[4])
                        - ProteinAnalysis(seq, monoisotopic=True).molecular_weight())
        if len(whole) != 3 or deviation > MONO_TOLERANCE:
            sys.stderr.write("whole titin: %s deviates by %.6f Da\n" % (whole, deviation))
            return 1
        worst = max(worst, deviation)
        for case in range(count):
            if rng.random() < 0.6:
                fasta = rng.choice(sorted(proteins.values()))
            else:
                seq = "".join(rng.choices(ALPHABET, k=rng.randint(0, 120)))
                fasta = ">gen%d\n%s\n" % (case, seq)
            agents = rng.sample(names, rng.choice([1, 1, 2]))
            if "Any" in agents and len(fasta) > 400:
                agents = ["Trypsin", "Lys-C"]
            run(fasta, agents=agents,
                max_missed=rng.choice([None, 0, 1, 2, 3]),
                min_length=rng.choice([0, 0, 1, 5]),
                max_length=rng.choice([None, None, 3, 25, 60]),
                complete=rng.random() < 0.1,
                mono=rng.random() < 0.6,
                charges=rng.sample([1, 2, 3, 4], rng.randint(0, 3)))
        real = 0
        if len(sys.argv) > 4:
            with open(sys.argv[4], "rb") as f:
                records = f.read().decode("latin-1").split(">")[1:]
            for record in records:
                _, seq = digest_reference.read_fasta(">" + record)
                if not seq or set(seq) - set(ALPHABET):
                    continue
                fragments = run(">" + record, agents=["Trypsin"],
                                max_missed=rng.choice([0, 1, 2, 3]), min_length=0,
                                max_length=None, complete=False, mono=True, charges=[1, 2, 3])
                real += 1
                total += fragments
    print("%d cases agree (%d real proteins, %d of their fragments); largest mass deviation "
          "%.6f Da" % (count + 1 + real, real, total, worst))
    return 0


if __name__ == "__main__":
    sys.exit(main())
