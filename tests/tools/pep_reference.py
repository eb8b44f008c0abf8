#!/usr/bin/env python3
"""An independent reading and writing of Quorin sequence files (.pep), written
from the file tables alone: generation 1, 2 and 3, the sketch block with its
domain, mark, text, label and font records. Used by cross_check_pep.py.

A document is a dict: name, sequence, remarks (bytes) and sketch (None or a
dict of scale_bits, setting, flag and the lists domains, marks, texts).
"""
import struct

SIGNATURE3 = b"Quorin 3.0\0"


class Truncated(Exception):
    pass


class Reader:
    def __init__(self, data, pos=0):
        self.data = data
        self.pos = pos

    def take(self, n):
        if self.pos + n > len(self.data):
            raise Truncated("need %d bytes at %d of %d" % (n, self.pos, len(self.data)))
        chunk = self.data[self.pos:self.pos + n]
        self.pos += n
        return chunk

    def u8(self):
        return self.take(1)[0]

    def u16(self):
        return struct.unpack("<H", self.take(2))[0]

    def u32(self):
        return struct.unpack("<I", self.take(4))[0]

    def i32(self):
        return struct.unpack("<i", self.take(4))[0]


FONT_INTS = ("height", "width", "escapement", "orientation", "weight")
FONT_BYTES = ("italic", "underline", "strikeout", "charset", "outprecision",
              "clipprecision", "quality", "pitchfamily")


def read_font(r):
    font = {k: r.i32() for k in FONT_INTS}
    font.update({k: r.u8() for k in FONT_BYTES})
    font["face"] = r.take(r.u16())[:31]
    return font


def write_font(font):
    out = b"".join(struct.pack("<i", font[k]) for k in FONT_INTS)
    out += bytes(font[k] for k in FONT_BYTES)
    return out + struct.pack("<H", len(font["face"])) + font["face"]


def read_label(r):
    label = {"flag": r.u8(), "colour": r.u32()}
    label["text"] = r.take(r.u16())
    label["font"] = read_font(r)
    return label


def write_label(label):
    return (struct.pack("<BIH", label["flag"], label["colour"], len(label["text"])) +
            label["text"] + write_font(label["font"]))


def read_sketch(r):
    domains, marks, texts, setting = r.u16(), r.u16(), r.u16(), r.u16()
    sketch = {"setting": setting, "scale_bits": r.u32()}
    sketch["domains"] = [{"start": r.u16(), "end": r.u16(), "style": r.u8(),
                          "fill": r.u32(), "label": read_label(r)} for _ in range(domains)]
    sketch["flag"] = r.u8()
    sketch["marks"] = [{"position": r.u16(), "flag": r.u8(), "line": r.u32(),
                        "text": r.u32(), "font": read_font(r)} for _ in range(marks)]
    sketch["texts"] = [{"width": r.u16(), "height": r.u16(), "selected": r.u8(),
                        "x": r.u16(), "y": r.u16(), "label": read_label(r)}
                       for _ in range(texts)]
    return sketch


def write_sketch(s):
    out = struct.pack("<HHHHI", len(s["domains"]), len(s["marks"]), len(s["texts"]),
                      s["setting"], s["scale_bits"])
    for d in s["domains"]:
        out += struct.pack("<HHBI", d["start"], d["end"], d["style"], d["fill"])
        out += write_label(d["label"])
    out += bytes([s["flag"]])
    for m in s["marks"]:
        out += struct.pack("<HBII", m["position"], m["flag"], m["line"], m["text"])
        out += write_font(m["font"])
    for t in s["texts"]:
        out += struct.pack("<HHBHH", t["width"], t["height"], t["selected"], t["x"], t["y"])
        out += write_label(t["label"])
    return out


def read(data):
    """The document a binary .pep file holds, and its generation."""
    zero = data.find(b"\0", 0, 21)
    if zero < 0:
        raise ValueError("no signature terminator")
    signature = data[:zero]
    r = Reader(data, zero + 1)
    if signature.startswith(b"Quorin "):
        generation = 3 if signature.startswith(b"Quorin 3") else 2
        n, s = r.u16(), r.u32()
        remarks_length = r.u16() if generation == 3 else 0
        flag = r.u8()
        doc = {"name": r.take(n), "sequence": r.take(s), "remarks": r.take(remarks_length)}
        doc["sketch"] = read_sketch(r) if flag else None
    else:
        generation = 1
        doc = {"name": signature, "sequence": r.take(r.u32()), "remarks": b"", "sketch": None}
    doc["rest"] = data[r.pos:]
    return generation, doc


def write(doc, generation=3):
    if generation == 1:
        return doc["name"] + b"\0" + struct.pack("<I", len(doc["sequence"])) + doc["sequence"]
    sketch = doc["sketch"]
    flag = 1 if sketch is not None else 0
    if generation == 3:
        head = SIGNATURE3 + struct.pack("<HIHB", len(doc["name"]), len(doc["sequence"]),
                                        len(doc["remarks"]), flag)
        body = doc["name"] + doc["sequence"] + doc["remarks"]
    else:
        head = b"Quorin 2.0\0" + struct.pack("<HIB", len(doc["name"]), len(doc["sequence"]),
                                             flag)
        body = doc["name"] + doc["sequence"]
    return head + body + (write_sketch(sketch) if sketch is not None else b"")


def cleaned(text):
    """The residue letters of a text as the program keeps them."""
    out = bytearray()
    for c in text:
        if (0x41 <= c <= 0x5A or 0x61 <= c <= 0x7A) and chr(c).upper() not in "BJUZ":
            out.append(ord(chr(c).upper()))
    return bytes(out)


def fasta_export(name, sequence):
    # Line breaks and NUL bytes in the name go out as blanks: the header stays
    # one line.
    header = bytes(b" "[0] if c in b"\r\n\0" else c for c in name)
    return b">" + header + b"\r\n" + sequence
