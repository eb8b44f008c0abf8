#!/usr/bin/env python3
"""Runs quorin-cli hydropathy and helices and the reference reading on real
proteins and generated sequences, with many scales (built-in and custom),
windows, stretches, thresholds and delimiters, valid and invalid, and fails on
the first output, exit status or message that differs.

usage: cross_check_hydropathy.py QUORIN_CLI PROTEIN_DIR [COUNT]
"""
import glob
import os
import random
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import hydropathy_reference as ref  # noqa: E402

ALPHABET = "ACDEFGHIKLMNPQRSTVWY"
HYDROPHOBIC = "ILVFAMCW"


def custom_scale(rng, k):
    values = []
    for _ in range(22):
        roll = rng.random()
        if roll < 0.1:
            values.append("0")
        else:
            values.append("%.*g" % (rng.randint(1, 4), rng.uniform(-6, 6)))
    return "Custom scale %d" % k, values


def write_settings(path, scales):
    with open(path, "w", newline="") as f:
        f.write("[Hydropathy Index]\r\n")
        for k, (name, values) in enumerate(scales):
            f.write("%d=%s;%s\r\n" % (k, name, ";".join(values)))


def generate(rng):
    parts = []
    target = rng.choice([rng.randint(0, 30), rng.randint(30, 400), rng.randint(400, 2500)])
    while sum(len(p) for p in parts) < target:
        if rng.random() < 0.3:
            parts.append("".join(rng.choices(HYDROPHOBIC, k=rng.randint(15, 30))))
        else:
            parts.append("".join(rng.choices(ALPHABET, k=rng.randint(5, 60))))
    residues = list("".join(parts))
    for i, r in enumerate(residues):
        roll = rng.random()
        if roll < 0.04:
            residues[i] = r.lower()
        elif roll < 0.06:
            residues[i] = rng.choice("XOBZJUxo")
        elif roll < 0.07:
            residues[i] = rng.choice("0123456789 -*")
    line = rng.choice([60, 80, 10_000])
    body = "\n".join("".join(residues[i:i + line]) for i in range(0, len(residues), line))
    return ">gen%d generated\n%s\n" % (rng.randint(1, 10**6), body)


def typed_number(rng, good):
    """A field as a user might type it: mostly the good value, sometimes not."""
    roll = rng.random()
    if roll < 0.85:
        return str(good)
    return rng.choice(["", "-3", "1a", "12", "0", "007", " 5", "1.5", str(good) + "0000000000",
                       "99999999999999999999999"])


def typed_threshold(rng):
    roll = rng.random()
    if roll < 0.8:
        return rng.choice(["1.6", "0", "1", "2.25", "0.5", ".8", "1.", "3.1"] +
                          ["%.3g" % rng.uniform(0, 4)])
    return rng.choice(["", "1,6", "-1", "1.6.2", "1.6000000x", "abc", "1e1"])


def options(rng, length, scale_count):
    first = rng.randint(1, max(1, length))
    last = rng.randint(first, max(first, length))
    if rng.random() < 0.3:
        first, last = 1, length
    window = rng.choice([1, 3, 5, 7, 9, 11, 11, 11, 13, 15, 19, 21, 25, 51, 101])
    scale = rng.randrange(scale_count) if rng.random() < 0.95 else scale_count
    delimiter = rng.choice(["\t", " ", ";", ",", "-", "::", "other delimiter"])
    return {
        "from": typed_number(rng, first), "to": typed_number(rng, last),
        "window": typed_number(rng, window), "scale": scale,
        "threshold": typed_threshold(rng), "delimiter": delimiter,
    }


def expected_hydropathy(name, seq, scales, opt):
    if opt["scale"] >= len(scales):
        return 1, None
    try:
        first, last, window, _ = ref.check_dialog(opt["from"], opt["to"], opt["window"],
                                                  opt["threshold"], len(seq))
    except ref.Refused as refused:
        return 1, str(refused)
    delimiter = opt["delimiter"][:9]
    return 0, ref.export_text(name, seq, scales[opt["scale"]], first, last, window, delimiter)


def expected_helices(seq, scales, opt):
    if opt["scale"] >= len(scales):
        return 1, None
    try:
        threshold = ref.check_threshold(opt["threshold"])
    except ref.Refused as refused:
        return 1, str(refused)
    return 0, "".join("%d\t%d\r\n" % h for h in ref.helices(seq, scales[opt["scale"]][1], threshold))


def compare(what, argv, expected, fasta):
    run = subprocess.run(argv, capture_output=True)
    status, text = expected
    ok = run.returncode == status
    if ok and status == 0:
        ok = run.stdout == text.encode("latin-1") and run.stderr == b""
    elif ok and text is not None:
        ok = run.stdout == b"" and run.stderr.decode("latin-1") == text + "\n"
    if not ok:
        sys.stderr.write("%s differs for %r on:\n%s\n--- quorin-cli (%d)\n%s%s\n--- reference (%d)\n%s\n"
                         % (what, argv[2:], fasta[:200], run.returncode,
                            run.stdout.decode("latin-1")[:2000], run.stderr.decode("latin-1"),
                            status, (text or "")[:2000]))
    return ok


def main():
    cli, protein_dir = sys.argv[1], sys.argv[2]
    count = int(sys.argv[3]) if len(sys.argv) > 3 else 150
    rng = random.Random(20261208)
    inputs = [open(p, encoding="latin-1").read()
              for p in sorted(glob.glob(os.path.join(protein_dir, "*.fasta")))]
    inputs += [generate(rng) for _ in range(count)]
    runs = 0
    with tempfile.TemporaryDirectory() as tmp:
        settings = os.path.join(tmp, "quorin.ini")
        written = [(name, [ref.significant(v, 4) for v in values])
                   for name, values in (ref.KYTE_DOOLITTLE, ref.EISENBERG)]
        written += [custom_scale(rng, k) for k in range(2, 5)]
        write_settings(settings, written)
        scales = [(name, [float(v) for v in values]) for name, values in written]
        path = os.path.join(tmp, "in.fasta")
        for n, fasta in enumerate(inputs):
            with open(path, "w", newline="", encoding="latin-1") as f:
                f.write(fasta)
            name, text = ref.first_record(fasta)
            seq = ref.positions(text)
            real = n < len(inputs) - count
            for _ in range(8 if real else 3):
                opt = options(rng, len(seq), len(scales))
                argv = [cli, "hydropathy", "--settings", settings, "--from", opt["from"],
                        "--to", opt["to"], "--window", opt["window"], "--scale", str(opt["scale"]),
                        "--threshold", opt["threshold"], "--delimiter", opt["delimiter"], path]
                if not compare("hydropathy", argv, expected_hydropathy(name, seq, scales, opt),
                               fasta):
                    return 1
                argv = [cli, "helices", "--settings", settings, "--scale", str(opt["scale"]),
                        "--threshold", opt["threshold"], path]
                if not compare("helices", argv, expected_helices(seq, scales, opt), fasta):
                    return 1
                runs += 2
            # The defaults of both commands.
            argv = [cli, "hydropathy", "--settings", settings, path]
            default = {"from": "1", "to": str(len(seq)), "window": "11", "scale": 0,
                       "threshold": "1.6", "delimiter": "\t"}
            if not compare("hydropathy", argv, expected_hydropathy(name, seq, scales, default),
                           fasta):
                return 1
            argv = [cli, "helices", "--settings", settings, path]
            if not compare("helices", argv, expected_helices(seq, scales, default), fasta):
                return 1
            runs += 2
    print("%d outputs identical" % runs)
    return 0


if __name__ == "__main__":
    sys.exit(main())
