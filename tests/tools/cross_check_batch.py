#!/usr/bin/env python3
"""Runs quorin-cli batch and the reference reading (batch_reference.py) on the
edge cases of the batch, on generated multi-record files, on the real proteins
of PROTEIN_DIR and, with --sample, on records drawn from a large FASTA file,
with many option sets, thread counts and agent sets; fails on the first
results file, log (but for its date line) or digest file that differs by a
byte.

usage: cross_check_batch.py QUORIN_CLI PROTEIN_DIR COUNT [--sample FASTA RECORDS]
"""
import os
import random
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import batch_reference as ref  # noqa: E402

ALPHABET = "ACDEFGHIKLMNPQRSTVWY"
AGENTS = [("Trypsin", "K!;R!"), ("Lys-C", "K!"), ("Asp-N", "X!D"), ("Chymotrypsin", "F!;W!;Y!"),
          ("CNBr", "M!"), ("Pair", "KR"), ("Empties", ";K!;;R!;"), ("Tail X", "KXXX")]

# The cases the batch is known to meet at its edges.
EDGE_CASES = [
    ">a\r\nMKV\r\n>b\r\nAC\r\n",
    ">digits and blanks\n12 MKV*LL 34\nx\nAC-GT *\n",
    ">no final break\nMKVLLW",
    ">x only\nXXXOOX\n>empty\n\n>header only",
    ">lower\nmkvllwyccdeh\n>inside>name\nMK>tail\nVV\n",
    ">one\nMKWVTFISLLLLFSSAYSRGVFRRDTHKSEIAHRFKDLGEEHFKGLVLIAFSQYLQQCPFDEHVKLVNELTEFAKT\n",
    ">k run\n" + "K" * 700 + "\n>d run\n" + "D" * 600 + "\n>e run\n" + "E" * 650 + "\n",
    "\xef\xbb\xbf>bom\nMKV\n",
    ">tm\n" + "LLLLIIIVVVFFFLLLLAAAVVV" * 5 + "KDE" * 10 + "LIVFLIVFAAILLVVLLIIFFW" * 3 + "\n",
]


def generate(rng, records):
    eol = rng.choice(["\n", "\r\n"])
    out = []
    for r in range(records):
        kind = rng.random()
        length = rng.randint(0, 12) if kind < 0.2 else rng.randint(13, 900)
        weights = [rng.random() for _ in ALPHABET]
        text = []
        for res in rng.choices(ALPHABET, weights=weights, k=length):
            roll = rng.random()
            if roll < 0.04:
                text.append(res.lower())
            elif roll < 0.06:
                text.append(rng.choice("XBZUOJxo"))
            elif roll < 0.07:
                text.append(rng.choice("0123456789 -*\t"))
            else:
                text.append(res)
        width = rng.choice([60, 80, 10_000])
        body = eol.join("".join(text[i:i + width]) for i in range(0, len(text), width))
        out.append(">gen%d protein %d%s%s%s" % (rng.randint(1, 10**6), r, eol, body, eol))
    return "".join(out)


def option_set(rng):
    keys = {}
    for key, _ in ref.FLAGS:
        if rng.random() < 0.35:
            keys[key] = rng.choice(["0", "1", "2", "-1", "x"])
    if rng.random() < 0.4:
        keys["Hydropathy scale"] = rng.choice(["0", "1", "-3"])
    if rng.random() < 0.5:
        keys["Threshold for Helices"] = rng.choice(["1.6", "1.2", "0.8", "2", "1.6.9", "-0.5",
                                                    "", "?", "1.55"])
    if rng.random() < 0.05:
        keys = {key: "0" for key, _ in ref.FLAGS}
    return keys


def sample_records(path, count, rng):
    data = open(path, "rb").read().decode("latin-1")
    starts = [i for i in range(len(data)) if data.startswith(">", i)] if len(data) < 10**6 else None
    if starts is None:
        starts = []
        i = data.find(">")
        while i >= 0:
            starts.append(i)
            i = data.find(">", i + 1)
    chosen = sorted(rng.sample(range(len(starts)), min(count, len(starts))))
    ends = starts[1:] + [len(data)]
    return "".join(data[starts[i]:ends[i]] for i in chosen)


class Checker:
    def __init__(self, cli, tmp):
        self.cli, self.tmp, self.runs = cli, tmp, 0
        self.settings = os.path.join(tmp, "quorin.ini")
        with open(self.settings, "w") as f:
            f.write("[Cleaving Agents]\n")
            f.write("".join("%d=%s:%s\n" % (i, n, s) for i, (n, s) in enumerate(AGENTS)))

    def fail(self, what, text, ours, theirs):
        sys.stderr.write("%s differs (run %d) for input starting:\n%r\n--- quorin-cli\n%r\n"
                         "--- reference\n%r\n" % (what, self.runs, text[:300], ours[:2000],
                                                  theirs[:2000]))
        raise SystemExit(1)

    def results(self, text, keys, jobs):
        self.runs += 1
        path = os.path.join(self.tmp, "in%d.fa" % (self.runs % 3))
        with open(path, "w", newline="", encoding="latin-1") as f:
            f.write(text)
        results = os.path.join(self.tmp, "in%d_results.txt" % (self.runs % 3))
        log = os.path.join(self.tmp, "in%d_results_log.txt" % (self.runs % 3))
        for stale in (results, log):
            if os.path.exists(stale):
                os.remove(stale)
        args = [self.cli, "batch", path, "--settings", self.settings, "--jobs", str(jobs)]
        for key, value in keys.items():
            args += ["--set", "%s=%s" % (key, value)]
        opts = ref.options_of(keys)
        run = subprocess.run(args, capture_output=True)
        expected, n = ref.results(text, opts)
        threshold = keys.get("Threshold for Helices", "?")
        valid = threshold == "?" or set(threshold) <= set("0123456789.-")
        if not valid or n == 0:
            message = b"Enter a valid number as threshold !" if not valid else b"File not found!"
            if run.returncode != 1 or run.stderr.strip() != message or os.path.exists(results):
                self.fail("refusal", text, run.stderr + run.stdout, message)
            return
        if run.returncode != 0:
            self.fail("exit status", text, run.stderr, b"")
        ours = open(results, "rb").read()
        if ours != expected.encode("latin-1"):
            self.fail("results file", text, ours, expected.encode("latin-1"))
        if opts["NoLog"]:
            if os.path.exists(log):
                self.fail("log", text, b"a log", b"no log")
            return
        lines = open(log, "rb").read().decode("latin-1").split("\r\n")
        ours_log = [line + "\r\n" for line in lines[:2] + lines[3:-1]]
        if len(lines[2]) != 24 or ours_log != ref.log_lines(path, results, n, opts):
            self.fail("log", text, "".join(lines), "".join(ref.log_lines(path, results, n, opts)))

    def rows_only(self, text, jobs):
        self.runs += 1
        run = subprocess.run([self.cli, "batch", "-", "--settings", self.settings, "--rows-only",
                              "--jobs", str(jobs)], input=text.encode("latin-1"),
                             capture_output=True)
        expected = ref.results(text, ref.options_of({}), rows_only=True)[0].encode("latin-1")
        if run.returncode != 0 or run.stdout != expected:
            self.fail("rows-only output", text, run.stdout + run.stderr, expected)

    def digest(self, text, agents, jobs):
        self.runs += 1
        args = [self.cli, "batch", "-", "--settings", self.settings, "--digest",
                "--jobs", str(jobs)]
        for name, _ in agents:
            args += ["--agent", name]
        run = subprocess.run(args, input=text.encode("latin-1"), capture_output=True)
        expected = ref.digest_file(text, ";".join(s for _, s in agents)).encode("latin-1")
        if run.returncode != 0 or run.stdout != expected:
            self.fail("digest file", text, run.stdout + run.stderr, expected)


def main():
    cli, protein_dir, count = sys.argv[1], sys.argv[2], int(sys.argv[3])
    rng = random.Random(20261207)
    real = "".join(open(os.path.join(protein_dir, name), "rb").read().decode("latin-1")
                   for name in sorted(os.listdir(protein_dir)) if name.endswith(".fasta"))
    sampled = ""
    if "--sample" in sys.argv:
        at = sys.argv.index("--sample")
        sampled = sample_records(sys.argv[at + 1], int(sys.argv[at + 2]), rng)
    with tempfile.TemporaryDirectory() as tmp:
        check = Checker(cli, tmp)
        check.results(EDGE_CASES[0], {}, 1)
        check.results(" \n" + EDGE_CASES[0], {}, 1)
        check.results(real, {}, 2)
        check.results(real, {"Eps (urea)": "1", "Eps (native)": "1", "Standard Error": "1"}, 3)
        for case in EDGE_CASES:
            check.results(case, option_set(rng), rng.randint(1, 3))
            check.rows_only(case, 2)
            check.digest(case, rng.sample(AGENTS, rng.randint(1, 3)), 2)
        # UTF-16 text is refused for what it is, not as a missing file.
        utf16 = os.path.join(tmp, "utf16.fa")
        with open(utf16, "wb") as f:
            f.write(">a\nMKV\n".encode("utf-16"))
        run = subprocess.run([cli, "batch", utf16, "--settings", check.settings],
                             capture_output=True)
        if run.returncode != 1 or b"UTF-16" not in run.stderr:
            sys.exit("UTF-16 input: exit %d, %r" % (run.returncode, run.stderr))
        for _ in range(count):
            text = generate(rng, rng.choice([1, 2, 5, 40, 300]))
            check.results(text, option_set(rng), rng.randint(1, 3))
            if rng.random() < 0.3:
                check.digest(text[:20000].rsplit(">", 1)[0] or text,
                             rng.sample(AGENTS, rng.randint(1, 3)), rng.randint(1, 3))
        if sampled:
            check.results(sampled, {}, 2)
            check.results(sampled, {"Eps (urea)": "1", "Eps (native)": "1",
                                    "Standard Error": "1", "Hydropathy scale": "1"}, 1)
            check.rows_only(sampled, 2)
            check.digest(sampled[:200000].rsplit(">", 1)[0], [AGENTS[0]], 2)
        # Titin's digest would take the naive reference hours; its rows are checked above.
        check.digest(real.split(">Q8WZ42")[0], [AGENTS[0], AGENTS[3]], 2)
        print("%d batch runs identical" % check.runs)
    return 0


if __name__ == "__main__":
    sys.exit(main())
