#!/usr/bin/env python3
"""A stand-in for NCBI's E-utilities and the UniProt REST service on
127.0.0.1, for the download's tests.

It answers esearch.fcgi?db=protein&term=ACCESSION and
efetch.fcgi?db=protein&id=ID&rettype=gp&retmode=text from the real records
and search replies in tests/data/genpept, and misbehaves for the terms of
MISBEHAVIOUR. It answers /uniprotkb/ACCESSION.txt from the entries in
../uniprot beside DATA_DIR (UNIPROT_ENTRIES), 404 for any other accession,
and misbehaves for the accessions of UNIPROT_MISBEHAVIOUR. Every request path is logged as it arrived (still
percent-encoded).

usage: genpept_server.py DATA_DIR [--log PATH]
Prints the port on the first line of standard output, then serves until
standard input closes or the process is killed.
"""
import email.utils
import http.server
import os
import re
import struct
import sys
import threading
import time
import urllib.parse
import zlib

# accession -> (the stand-in's id, record file). Ids are the records' GI
# numbers where they have one of their own.
RECORDS = {
    "1MRR_A": ("494379", "biopython180_1MRR_A.gp"),
    "NP_416719": ("16130152", "biopython180_NP_416719.gbwithparts"),
    "NP_034640": ("6754304", "biopython180_protein_refseq.gb"),
    "NP_034640.1": ("1000001", "biopython180_protein_refseq2.gb"),
    "NP_001832": ("4502929", "biopython180_blank_seq.gb"),
    "P01485": ("134354", "biopython180_dbsource_wrap.gb"),
    "AYW00820": ("1000002", "biopython180_invalid_structured_comment.gb"),
    "CAA35997": ("8", "bioruby_CAA35997.gp"),
}

# Terms that make the server misbehave, and what they do.
MISBEHAVIOUR = {
    "SILENT": "the search request is never answered",
    "SLOW": "the search reply trickles in, 40 bytes every half second, and never ends",
    "CLOSE": "the connection closes at once, without a reply",
    "NOID": "the search reply is an error reply without an id",
    "LONGID": "the search reply's first id has 15 digits",
    "ERROR500": "the search is answered with status 500 and an HTML page",
    "EMPTY": "the record is empty",
    "NOORIGIN": "the record lacks its ORIGIN section",
    "HTML": "the record is an HTML page (status 200) quoting a record",
    "CRLF": "the record of 1MRR_A with CR LF line ends",
    "ENDLESS": "the search reply comes in chunks, as fast as they go, and never ends",
    "OVERSIZE": "the search reply announces and sends 64 MB and one byte",
    "GZIPBOMB": "the search reply is gzip-encoded: 1 MB that unpacks to 1 GB of blanks",
    "BADGZIP": "the search reply is said to be gzip-encoded but is not",
    "COMMENTID": "the search reply for P01485 quotes another id in a comment before its own",
}
# accession -> entry file in the uniprot folder beside DATA_DIR.
UNIPROT_ENTRIES = {
    "Q9ZZZ1": "current-layout.dat",
    "Q9ZZZ0": "old-layout.dat",
}

# Accessions that make the UniProt stand-in misbehave, and what they do.
UNIPROT_MISBEHAVIOUR = {
    "BUSY429": "429 with Retry-After: 1 on the first request, then the entry of Q9ZZZ1",
    "BUSYDATE": "503 with Retry-After as an HTTP date 2 s ahead, then the entry of Q9ZZZ1",
    "BUSYTWICE": "503 without Retry-After twice, then the entry of Q9ZZZ1",
    "BUSY": "503 Service Unavailable for ever, without Retry-After",
    "MOVED": "301 to the entry of Q9ZZZ1 (a secondary accession)",
    "MOVEDFAR": "a chain of 5 redirects, then the entry of Q9ZZZ1",
    "LOOP": "redirects to itself for ever",
    "TOHTTPS": "a redirect to the same path over https",
    "CUT": "the entry of Q9ZZZ1 announced whole, half sent, the connection closed",
    "NOEND": "the entry of Q9ZZZ1 without its // line",
    "SILENT": "the request is never answered",
    "CLOSE": "the connection closes at once, without a reply",
    "ERROR500": "status 500 and an HTML page",
}

SPECIAL_IDS = {"EMPTY": "900001", "NOORIGIN": "900002", "HTML": "900003", "CRLF": "900004"}

NO_ID_REPLY = (b'<?xml version="1.0" encoding="UTF-8" ?>\n'
               b'<!DOCTYPE eSearchResult PUBLIC "-//NLM//DTD esearch 20060628//EN" '
               b'"https://eutils.ncbi.nlm.nih.gov/eutils/dtd/20060628/esearch.dtd">\n'
               b"<eSearchResult><ERROR>Invalid query</ERROR></eSearchResult>\n")
ERROR_PAGE = (b"<!DOCTYPE html><html><head><title>500 Internal Server Error</title></head>"
              b"<body><h1>Internal Server Error</h1><p>The server could not answer.</p>"
              b"</body></html>\n")


class StandIn:
    def __init__(self, data_dir, log_path=None):
        self.data_dir = data_dir
        self.log_path = log_path
        self.paths = []
        self.stopping = threading.Event()
        self.lock = threading.Lock()
        self.bomb_body = None
        self.uniprot_dir = os.path.join(data_dir, os.pardir, "uniprot")
        self.asked = {}
        with open(os.path.join(data_dir, "esearch", "esearch7.xml"), "rb") as f:
            self.search_template = f.read()
        with open(os.path.join(data_dir, "esearch", "esearch8.xml"), "rb") as f:
            self.search_none = f.read()
        stand_in = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                stand_in.log(self.path)
                stand_in.answer(self)

            def log_message(self, *args):
                pass

        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.server.daemon_threads = True
        self.port = self.server.server_address[1]
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)

    def start(self):
        self.thread.start()
        return self

    def stop(self):
        self.stopping.set()
        self.server.shutdown()
        self.server.server_close()

    def url(self):
        return "http://127.0.0.1:%d/" % self.port

    def log(self, path):
        with self.lock:
            self.paths.append(path)
            if self.log_path:
                with open(self.log_path, "a") as f:
                    f.write(path + "\n")

    def record(self, name):
        with open(os.path.join(self.data_dir, name), "rb") as f:
            return f.read()

    def search_reply(self, uid):
        # The first <Id> of a real reply becomes the record's; the rest stay,
        # so that the first id must decide.
        return re.sub(rb"<Id>\d+</Id>", b"<Id>" + uid.encode() + b"</Id>",
                      self.search_template, count=1)

    def answer(self, handler):
        parts = urllib.parse.urlsplit(handler.path)
        if parts.path.startswith("/uniprotkb/") and parts.path.endswith(".txt"):
            return self.uniprot(handler, urllib.parse.unquote(parts.path[11:-4]))
        query = urllib.parse.parse_qs(parts.query, keep_blank_values=True)
        endpoint = parts.path.rsplit("/", 1)[-1]
        one = lambda key: query.get(key, [None])[0]  # noqa: E731
        if one("db") != "protein":
            return self.send(handler, 400, b"db=protein expected\n")
        if endpoint == "esearch.fcgi" and "term" in query:
            return self.search(handler, one("term"))
        if (endpoint == "efetch.fcgi" and one("rettype") == "gp" and one("retmode") == "text"
                and "id" in query):
            return self.fetch(handler, one("id"))
        return self.send(handler, 400, b"unknown request\n")

    def search(self, handler, term):
        if term == "SILENT":
            self.stopping.wait(600)
            return
        if term == "CLOSE":
            handler.close_connection = True
            return
        if term == "ENDLESS":
            return self.endless(handler)
        if term == "OVERSIZE":
            padded = self.search_reply("494379")
            return self.send(handler, 200, padded + b" " * (64 * 1024 * 1024 + 1 - len(padded)))
        if term == "GZIPBOMB":
            return self.send(handler, 200, self.bomb(), "text/xml", encoding="gzip")
        if term == "BADGZIP":
            return self.send(handler, 200, self.search_reply("494379"), "text/xml",
                             encoding="gzip")
        if term == "COMMENTID":
            reply = self.search_reply(RECORDS["P01485"][0]).replace(
                b"<eSearchResult>", b"<!-- was: <Id>900001</Id> --><eSearchResult>", 1)
            return self.send(handler, 200, reply, "text/xml")
        if term == "SLOW":
            return self.trickle(handler, self.search_reply("494379"))
        if term == "NOID":
            return self.send(handler, 200, NO_ID_REPLY, "text/xml")
        if term == "LONGID":
            return self.send(handler, 200, self.search_reply("123456789012345"), "text/xml")
        if term == "ERROR500":
            return self.send(handler, 500, ERROR_PAGE, "text/html")
        if term in SPECIAL_IDS:
            return self.send(handler, 200, self.search_reply(SPECIAL_IDS[term]), "text/xml")
        if term in RECORDS:
            return self.send(handler, 200, self.search_reply(RECORDS[term][0]), "text/xml")
        return self.send(handler, 200, self.search_none, "text/xml")

    def fetch(self, handler, uid):
        by_id = {uid_: name for uid_, name in RECORDS.values()}
        special = {v: k for k, v in SPECIAL_IDS.items()}.get(uid)
        if uid in by_id:
            return self.send(handler, 200, self.record(by_id[uid]))
        if special == "EMPTY":
            return self.send(handler, 200, b"")
        if special == "NOORIGIN":
            text = self.record(RECORDS["1MRR_A"][1])
            return self.send(handler, 200, text[:text.index(b"\nORIGIN")] + b"\n//\n")
        if special == "HTML":
            text = self.record(RECORDS["P01485"][1])
            page = b"<html><body><h1>Record</h1><pre>\n" + text + b"</pre></body></html>\n"
            return self.send(handler, 200, page, "text/html")
        if special == "CRLF":
            text = self.record(RECORDS["1MRR_A"][1])
            return self.send(handler, 200, text.replace(b"\n", b"\r\n"))
        return self.send(handler, 400, b"Error: ID list is empty!\n")

    def entry(self, accession):
        with open(os.path.join(self.uniprot_dir, UNIPROT_ENTRIES[accession]), "rb") as f:
            return f.read()

    def uniprot(self, handler, accession):
        with self.lock:
            self.asked[accession] = self.asked.get(accession, 0) + 1
            count = self.asked[accession]
        if accession in UNIPROT_ENTRIES:
            return self.send(handler, 200, self.entry(accession))
        if accession == "BUSY429" and count == 1:
            return self.send(handler, 429, b"Too many requests\n", headers={"Retry-After": "1"})
        if accession == "BUSYDATE" and count == 1:
            later = email.utils.formatdate(time.time() + 2, usegmt=True)
            return self.send(handler, 503, b"busy\n", headers={"Retry-After": later})
        if accession == "BUSYTWICE" and count <= 2:
            return self.send(handler, 503, b"busy\n")
        if accession in ("BUSY429", "BUSYDATE", "BUSYTWICE"):
            return self.send(handler, 200, self.entry("Q9ZZZ1"))
        if accession == "BUSY":
            return self.send(handler, 503, b"busy\n")
        if accession == "MOVED":
            return self.send(handler, 301, b"", headers={"Location": "/uniprotkb/Q9ZZZ1.txt"})
        if accession.startswith("MOVEDFAR"):
            step = len(accession) - len("MOVEDFAR")
            target = "Q9ZZZ1" if step == 4 else accession + "X"
            return self.send(handler, 302, b"", headers={"Location": "/uniprotkb/%s.txt" % target})
        if accession == "LOOP":
            return self.send(handler, 307, b"", headers={"Location": "/uniprotkb/LOOP.txt"})
        if accession == "TOHTTPS":
            return self.send(handler, 301, b"", headers={
                "Location": "https://127.0.0.1:%d/uniprotkb/Q9ZZZ1.txt" % self.port})
        if accession == "CUT":
            body = self.entry("Q9ZZZ1")
            handler.send_response(200)
            handler.send_header("Content-Type", "text/plain")
            handler.send_header("Content-Length", str(len(body)))
            handler.end_headers()
            handler.wfile.write(body[:len(body) // 2])
            handler.wfile.flush()
            handler.close_connection = True
            return
        if accession == "NOEND":
            body = self.entry("Q9ZZZ1")
            return self.send(handler, 200, body[:body.rindex(b"//")])
        if accession == "SILENT":
            self.stopping.wait(600)
            return
        if accession == "CLOSE":
            handler.close_connection = True
            return
        if accession == "ERROR500":
            return self.send(handler, 500, ERROR_PAGE, "text/html")
        return self.send(handler, 404, b"Error messages\nResource not found\n")

    def bomb(self):
        """A valid gzip stream of 1 GB of blanks, made in a fraction of a
        second: a megabyte block flushed so that it stands alone, repeated,
        and a trailer with the CRC of the whole."""
        with self.lock:
            if self.bomb_body is None:
                megabyte = b" " * (1024 * 1024)
                packer = zlib.compressobj(9, zlib.DEFLATED, 31)  # 31: gzip framing
                head = packer.compress(megabyte) + packer.flush(zlib.Z_FULL_FLUSH)
                block = packer.compress(megabyte) + packer.flush(zlib.Z_FULL_FLUSH)
                end = packer.flush()[:-8]
                crc = 0
                for _ in range(1024):
                    crc = zlib.crc32(megabyte, crc)
                self.bomb_body = (head + block * 1023 + end +
                                  struct.pack("<II", crc, (1024 * len(megabyte)) & 0xFFFFFFFF))
            return self.bomb_body

    def send(self, handler, status, body, kind="text/plain", encoding=None, headers=None):
        handler.send_response(status)
        handler.send_header("Content-Type", kind)
        if encoding:
            handler.send_header("Content-Encoding", encoding)
        for key, value in (headers or {}).items():
            handler.send_header(key, value)
        handler.send_header("Content-Length", str(len(body)))
        handler.end_headers()
        handler.wfile.write(body)

    def endless(self, handler):
        # Chunked transfer is HTTP/1.1's; the reply announces no length.
        handler.protocol_version = "HTTP/1.1"
        handler.send_response(200)
        handler.send_header("Content-Type", "text/xml")
        handler.send_header("Transfer-Encoding", "chunked")
        handler.send_header("Connection", "close")
        handler.end_headers()
        chunk = b"%x\r\n%s\r\n" % (65536, b"<Id>494379</Id>".ljust(65536))
        while not self.stopping.is_set():
            try:
                handler.wfile.write(chunk)
            except OSError:
                return

    def trickle(self, handler, body):
        handler.send_response(200)
        handler.send_header("Content-Type", "text/xml")
        handler.send_header("Content-Length", str(len(body) + 1000000))
        handler.end_headers()
        handler.wfile.flush()
        while not self.stopping.is_set():
            try:
                handler.wfile.write(body[:40])
                handler.wfile.flush()
            except OSError:
                return
            body = body[40:] + body[:40]
            time.sleep(0.5)


def main():
    args = sys.argv[1:]
    log_path = None
    if "--log" in args:
        i = args.index("--log")
        log_path = args[i + 1]
        del args[i:i + 2]
    if len(args) != 1:
        sys.exit(__doc__)
    stand_in = StandIn(args[0], log_path).start()
    print(stand_in.port, flush=True)
    sys.stdin.read()
    stand_in.stop()


if __name__ == "__main__":
    main()
