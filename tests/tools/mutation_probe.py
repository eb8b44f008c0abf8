#!/usr/bin/env python3
"""Runs the newer commands of quorin-cli on mutated inputs and reports what broke.

Each run gets a mutated input (FASTA for batch, a .pep sketch for render
domains, a settings file for modfinder, a search string for motifs, a
.gz for batch) and must end as the command line promises: exit status 0,
1 or 2, no sanitizer report, no core, nothing left in its folder but what
it was asked to write. Inputs are made from a fixed seed, so a failure is
reproduced by its run number.

usage: mutation_probe.py QUORIN_CLI DATA_DIR RUNS [--seed N] [--keep DIR]
DATA_DIR is the repository's tests/data; runs are spread over the commands.
"""
import argparse
import gzip
import os
import random
import shlex
import shutil
import subprocess
import sys
import tempfile

TIMEOUT_S = 20
MEMORY_KB = 3_000_000


def mutate(data: bytes, rng: random.Random) -> bytes:
    data = bytearray(data)
    for _ in range(rng.randint(1, 8)):
        choice = rng.random()
        position = rng.randrange(len(data) + 1)
        if choice < 0.3 and data:
            data[min(position, len(data) - 1)] = rng.randrange(256)
        elif choice < 0.5:
            data[position:position] = bytes(rng.choice([b">", b"\r\n", b"\0", b"X", b"-1",
                                                          b"99999999999", b"nan", b"=", b"["]))
        elif choice < 0.7 and data:
            end = min(len(data), position + rng.randint(1, 64))
            del data[position:end]
        elif choice < 0.85 and data:
            start = rng.randrange(len(data))
            piece = data[start:start + rng.randint(1, 256)]
            data[position:position] = piece * rng.randint(1, 20)
        else:
            data = data[:position]
    return bytes(data)


def read(path):
    with open(path, "rb") as f:
        return f.read()


class Probe:
    def __init__(self, cli, data, keep):
        self.cli = cli
        self.keep = keep
        proteins = os.path.join(data, "proteins")
        self.fasta = [read(os.path.join(proteins, name)) for name in sorted(os.listdir(proteins))
                      if name.endswith(".fasta") and not name.startswith("Q8WZ42")]
        corpus = os.path.join(data, "..", "fuzz", "corpus", "pep")
        self.peps = [read(os.path.join(corpus, name)) for name in sorted(os.listdir(corpus))]
        self.settings = read(os.path.join(data, "..", "..", "src", "res", "quorin.ini"))
        self.failures = []
        self.runs = {}

    def run(self, number, kind, folder, arguments, expected_outputs):
        env = dict(os.environ, HOME=folder, XDG_DATA_HOME=os.path.join(folder, "data"),
                   QUORIN_REGISTRY=os.path.join(folder, "registry.ini"),
                   ASAN_OPTIONS="detect_leaks=0:hard_rss_limit_mb=3000",
                   UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1")
        limit = "" if "ASAN" in os.environ.get("PROBE_SANITIZED", "") else \
            f"ulimit -v {MEMORY_KB}; "
        command = limit + "exec " + " ".join(shlex.quote(a) for a in [self.cli] + arguments)
        try:
            done = subprocess.run(["bash", "-c", command], cwd=folder, env=env,
                                  capture_output=True, timeout=TIMEOUT_S)
            status, err = done.returncode, done.stderr.decode("utf-8", "replace")
        except subprocess.TimeoutExpired:
            status, err = "timeout", ""
        self.runs[kind] = self.runs.get(kind, 0) + 1
        left = sorted(set(os.listdir(folder)) - expected_outputs)
        fault = None
        if status not in (0, 1, 2):
            fault = f"status {status}"
        elif "Sanitizer" in err or "runtime error" in err:
            fault = "sanitizer report"
        elif left:
            fault = f"left behind: {left}"
        if fault:
            self.failures.append((number, kind, fault, err[-400:]))
            if self.keep:
                shutil.copytree(folder, os.path.join(self.keep, f"{number}-{kind}"))

    def one(self, number, rng):
        kind = ["batch", "batch-gz", "render-domains", "modfinder", "motifs", "digest"][number % 6]
        with tempfile.TemporaryDirectory(prefix="quorin-probe-") as folder:
            settings = os.path.join(folder, "s.ini")
            with open(settings, "wb") as f:
                f.write(mutate(self.settings, rng) if kind == "modfinder" else self.settings)
            base = {"s.ini", "data", "registry.ini"}
            if kind in ("batch", "batch-gz"):
                records = b"".join(rng.choice(self.fasta) for _ in range(rng.randint(1, 6)))
                text = mutate(records, rng)
                name = "in.fa"
                if kind == "batch-gz":
                    packed = gzip.compress(text, mtime=0)
                    text = mutate(packed, rng) if rng.random() < 0.5 else packed
                    name = "in.fa.gz"
                with open(os.path.join(folder, name), "wb") as f:
                    f.write(text)
                arguments = ["batch", name, "--settings", settings, "--jobs",
                             str(rng.choice([1, 2, 3]))]
                if rng.random() < 0.3:
                    arguments += ["--digest", "--agent", "Trypsin"]
                self.run(number, kind, folder, arguments,
                         base | {name, "in_results.txt", "in_results_log.txt", "in_digest.txt"})
            elif kind == "render-domains":
                with open(os.path.join(folder, "in.pep"), "wb") as f:
                    f.write(mutate(rng.choice(self.peps), rng))
                out = rng.choice(["out.svg", "out.png", "out.emf", "out.pdf"])
                self.run(number, kind, folder,
                         ["render", "domains", "in.pep", "--settings", settings, "-o", out],
                         base | {"in.pep", out})
            else:
                with open(os.path.join(folder, "in.fa"), "wb") as f:
                    f.write(mutate(rng.choice(self.fasta), rng) if rng.random() < 0.5
                            else rng.choice(self.fasta))
                if kind == "modfinder":
                    arguments = ["modfinder", "in.fa", "--settings", settings, "--agent", "Trypsin",
                                 "--mod", "Phosphorylation", "--weight",
                                 rng.choice(["1000", "nan", "1e308", "-5", "2500.5", "inf"])]
                elif kind == "motifs":
                    letters = "ACDEFGHIKLMNPQRSTVWYX;x[]{}()<>,.-0123456789 "
                    search = "".join(rng.choice(letters) for _ in range(rng.randint(0, 40)))
                    arguments = ["motifs", "in.fa", search, "--settings", settings]
                else:
                    arguments = ["digest", "in.fa", "--settings", settings, "--agent", "Trypsin",
                                 "--csv", "--charges",
                                 ",".join(str(rng.randint(-2, 40)) for _ in range(rng.randint(1, 5))),
                                 "--min-length", str(rng.randint(-1, 30)),
                                 "--max-length", str(rng.randint(-1, 30))]
                self.run(number, kind, folder, arguments, base | {"in.fa"})


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("cli")
    parser.add_argument("data")
    parser.add_argument("runs", type=int)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--keep")
    args = parser.parse_args()
    probe = Probe(os.path.abspath(args.cli), os.path.abspath(args.data), args.keep)
    for number in range(args.runs):
        probe.one(number, random.Random(args.seed * 1_000_003 + number))
    print(" ".join(f"{kind}={count}" for kind, count in sorted(probe.runs.items())),
          f"failures={len(probe.failures)}")
    for number, kind, fault, err in probe.failures[:20]:
        print(f"run {number} ({kind}): {fault}\n{err}", file=sys.stderr)
    return 1 if probe.failures else 0


if __name__ == "__main__":
    sys.exit(main())
