#!/usr/bin/env python3
"""Checks the sequence-file reader and writer against pep_reference.py on
generated documents: files of every generation with random sketch blocks are
read and saved again by pep_resave and must come back byte for byte (or, from
older generations, as the same document in the current one); quorin-cli
convert must turn FASTA and .pep files into what the reference reads and
exports; cut files must be refused.

usage: cross_check_pep.py QUORIN_CLI PEP_RESAVE [COUNT]
"""
import os
import random
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pep_reference as pep  # noqa: E402

RESIDUES = b"ACDEFGHIKLMNPQRSTVWYXO"


def some_bytes(rng, low, high, alphabet=None):
    n = rng.randint(low, high)
    if alphabet is None:
        return bytes(rng.randrange(256) for _ in range(n))
    return bytes(rng.choice(alphabet) for _ in range(n))


def font(rng):
    f = {k: rng.randint(-2**31, 2**31 - 1) for k in pep.FONT_INTS}
    f.update({k: rng.randrange(256) for k in pep.FONT_BYTES})
    f["face"] = some_bytes(rng, 0, 31, b"ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz")
    return f


def label(rng):
    return {"flag": rng.randrange(256), "colour": rng.randrange(2**32),
            "text": some_bytes(rng, 0, 40), "font": font(rng)}


def sketch(rng):
    return {
        "setting": rng.randrange(2**16),
        "scale_bits": struct.unpack("<I", struct.pack("<f", rng.uniform(-500, 500)))[0],
        "flag": rng.randrange(256),
        "domains": [{"start": rng.randrange(2**16), "end": rng.randrange(2**16),
                     "style": rng.randrange(256), "fill": rng.randrange(2**32),
                     "label": label(rng)} for _ in range(rng.randint(0, 4))],
        "marks": [{"position": rng.randrange(2**16), "flag": rng.randrange(256),
                   "line": rng.randrange(2**32), "text": rng.randrange(2**32), "font": font(rng)}
                  for _ in range(rng.randint(0, 4))],
        "texts": [{"width": rng.randrange(2**16), "height": rng.randrange(2**16),
                   "selected": rng.randrange(256), "x": rng.randrange(2**16),
                   "y": rng.randrange(2**16), "label": label(rng)}
                  for _ in range(rng.randint(0, 4))],
    }


def name(rng, high):
    # Neither a leading ">" (the program strips it) nor a 0 byte (it ends a
    # generation-1 name) nor the generation marker.
    while True:
        text = some_bytes(rng, 1, high, bytes(range(1, 256)))
        if not text.startswith(b">") and not text.startswith(b"Quorin "):
            return text


def document(rng):
    return {"name": name(rng, 60), "sequence": some_bytes(rng, 0, 3000, RESIDUES),
            "remarks": some_bytes(rng, 0, 200), "sketch": sketch(rng)}


def fasta(rng):
    header = some_bytes(rng, 0, 50, b"abcXYZ019 |>._-")
    body = some_bytes(rng, 0, 2000, b"ACDEFGHIKLMNPQRSTVWYXOBJUZacdefwy 0123\r\n*-")
    eol = rng.choice([b"\n", b"\r\n"])
    text = b">" + header + eol + body
    if rng.random() < 0.3:
        text += eol + b">second" + eol + b"WWWW"
    return text, header.lstrip(b">"), pep.cleaned(body.split(b"\n>")[0].split(b"\r>")[0])


class Checker:
    def __init__(self, cli, resave, tmp):
        self.cli, self.resave, self.tmp = cli, resave, tmp
        self.settings = os.path.join(tmp, "quorin.ini")

    def path(self, name):
        return os.path.join(self.tmp, name)

    def put(self, name, data):
        with open(self.path(name), "wb") as f:
            f.write(data)
        return self.path(name)

    def get(self, name):
        with open(self.path(name), "rb") as f:
            return f.read()

    def run(self, *args):
        return subprocess.run(list(args), capture_output=True).returncode

    def convert(self, src, dst):
        return self.run(self.cli, "convert", "--settings", self.settings, self.path(src),
                        self.path(dst))


def check(n, rng, c):
    doc = document(rng)

    # The current generation is read and written back byte for byte.
    original = pep.write(doc, 3)
    c.put("in.pep", original)
    assert c.run(c.resave, c.path("in.pep"), c.path("out.pep")) == 0, "resave refused"
    assert c.get("out.pep") == original, "resaved generation 3 differs"

    # Older generations come back as the same document in the current one.
    for generation in (1, 2):
        older = dict(doc, remarks=b"")
        if generation == 1:
            older.update(name=name(rng, 20).replace(b"\0", b"a"), sketch=None)
        c.put("old.pep", pep.write(older, generation))
        assert c.run(c.resave, c.path("old.pep"), c.path("out.pep")) == 0, "old refused"
        got_generation, got = pep.read(c.get("out.pep"))
        assert got_generation == 3
        for key in ("name", "sequence", "remarks", "sketch"):
            assert got[key] == older[key], "generation %d: %s differs" % (generation, key)
        assert got["rest"] == b""

    # convert keeps name, sequence and remarks and drops the sketch.
    assert c.convert("in.pep", "conv.pep") == 0
    got_generation, got = pep.read(c.get("conv.pep"))
    assert got_generation == 3 and got["sketch"] is None and got["rest"] == b""
    assert (got["name"], got["sequence"], got["remarks"]) == \
        (doc["name"], doc["sequence"], doc["remarks"]), "convert to .pep differs"
    assert c.convert("in.pep", "conv.txt") == 0
    assert c.get("conv.txt") == pep.fasta_export(doc["name"], doc["sequence"])

    # FASTA to .pep and back.
    text, header, sequence = fasta(rng)
    c.put("in.fasta", text)
    assert c.convert("in.fasta", "f.pep") == 0
    _, got = pep.read(c.get("f.pep"))
    assert (got["name"], got["sequence"]) == (header, sequence), "FASTA import differs"
    assert c.convert("f.pep", "f.txt") == 0
    assert c.get("f.txt") == pep.fasta_export(header, sequence)

    # A cut file is refused and leaves no output.
    cut = original[:rng.randrange(11, len(original))]
    c.put("cut.pep", cut)
    if os.path.exists(c.path("cutout.txt")):
        os.remove(c.path("cutout.txt"))
    assert c.convert("cut.pep", "cutout.txt") == 1, "cut file at %d accepted" % len(cut)
    assert not os.path.exists(c.path("cutout.txt"))


def main():
    cli, resave = sys.argv[1], sys.argv[2]
    count = int(sys.argv[3]) if len(sys.argv) > 3 else 100
    rng = random.Random(20240611)
    with tempfile.TemporaryDirectory() as tmp:
        checker = Checker(cli, resave, tmp)
        for n in range(count):
            try:
                check(n, rng, checker)
            except (AssertionError, pep.Truncated, ValueError) as error:
                sys.stderr.write("case %d: %s\n" % (n, error))
                return 1
    print("%d documents checked" % count)
    return 0


if __name__ == "__main__":
    sys.exit(main())
