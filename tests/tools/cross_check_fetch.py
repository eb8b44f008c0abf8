#!/usr/bin/env python3
"""Checks quorin-cli fetch against the stand-in E-utilities server
(genpept_server.py) on 127.0.0.1: every record of the stand-in must come out
as ">" + name + CR LF + residues as an independent reading of the record
gives them (by the flat file's keyword columns, not by markers), also through
a .pep file, after one search and one record request; every misbehaviour must end with exit status 1, "Could not
retrieve sequence data!" last on standard error, no file written and, for a
silent server, within the time limit; the accession must reach the server
percent-encoded; and with QUORIN_TEST_LOOPBACK_ONLY set, a server other than
127.0.0.1 must stop the program before it sends anything. With
--address-space-mb, the misbehaving servers are met under that limit of
address space (not in a sanitizer build, which reserves terabytes), so that
a reply held whole instead of refused at its ceiling ends the program.

usage: cross_check_fetch.py QUORIN_CLI DATA_DIR [--address-space-mb=N]
"""
import os
import resource
import socket
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import genpept_server  # noqa: E402

FAILED = "Could not retrieve sequence data!"


def read_genpept(text):
    """(name, residues) by the GenBank layout: a keyword in columns 1-12, its
    continuation lines indented by twelve blanks, the sequence lines after
    ORIGIN up to "//"."""
    lines = text.decode("ascii").replace("\r\n", "\n").replace("\r", "\n").split("\n")
    name, residues, field = [], [], None
    for line in lines:
        keyword = line[:12].strip()
        if line.startswith("//"):
            break
        if keyword and not line.startswith(" "):
            field = keyword
            if field == "DEFINITION":
                name.append(line[12:].strip())
            continue
        if field == "DEFINITION" and line.startswith(" " * 12):
            name.append(line[12:].strip())
        elif field == "ORIGIN":
            residues.append(line)
    letters = "".join(c for c in "".join(residues).upper() if c.isalpha() and c not in "BJUZ")
    return " ".join(p for p in name if p)[:256], letters


def main():
    cli, data_dir = sys.argv[1], sys.argv[2]
    limit = None
    for arg in sys.argv[3:]:
        if arg.startswith("--address-space-mb="):
            limit = int(arg.split("=", 1)[1]) * 1024 * 1024
    env = dict(os.environ, QUORIN_TEST_LOOPBACK_ONLY="1")
    stand_in = genpept_server.StandIn(data_dir).start()
    failures = []

    def limited():
        if limit:
            resource.setrlimit(resource.RLIMIT_AS, (limit, limit))

    def fetch(accession, *extra, timeout=10):
        command = [cli, "fetch", accession, "--server", stand_in.url(),
                   "--settings", os.path.join(tmp, "none.ini"), "--timeout", str(timeout)]
        started = time.monotonic()
        result = subprocess.run(command + list(extra), capture_output=True, env=env, timeout=60,
                                preexec_fn=limited)
        return result, time.monotonic() - started

    def check(condition, what):
        if not condition:
            failures.append(what)

    with tempfile.TemporaryDirectory() as tmp:
        expected_records = dict(genpept_server.RECORDS)
        expected_records["CRLF"] = genpept_server.RECORDS["1MRR_A"]
        expected_records["COMMENTID"] = genpept_server.RECORDS["P01485"]
        for accession, (_, file_name) in expected_records.items():
            with open(os.path.join(data_dir, file_name), "rb") as f:
                name, residues = read_genpept(f.read())
            expected = b">" + name.encode() + b"\r\n" + residues.encode()
            asked = len(stand_in.paths)
            result, _ = fetch(accession)
            check(result.returncode == 0 and result.stdout == expected,
                  "%s: %r\n  expected %r" % (accession, result.stdout[:120], expected[:120]))
            # One search and one record per download.
            sent = [path.split("?")[0] for path in stand_in.paths[asked:]]
            check(sent == ["/esearch.fcgi", "/efetch.fcgi"], "%s asked %r" % (accession, sent))
            pep = os.path.join(tmp, "out.pep")
            fetch(accession, "-o", pep)
            back = subprocess.run([cli, "convert", "--settings", os.path.join(tmp, "none.ini"),
                                   pep, "-"], capture_output=True, env=env)
            check(back.stdout == expected, "%s through .pep: %r" % (accession, back.stdout[:80]))
            os.remove(pep)

        # term -> what standard error must hold besides the last line
        misbehaving = {
            "XP_UNKNOWN": "Accession XP_UNKNOWN was not found.\n", "NOID": "", "LONGID": "", "EMPTY": "", "NOORIGIN": "", "HTML": "",
            "CLOSE": "closed the connection", "ERROR500": "answered 500 Internal Server Error",
            "SILENT": "did not answer in time", "SLOW": "did not answer in time",
            "ENDLESS": "the reply is larger than 64 MB", "OVERSIZE": "the reply is larger than 64 MB",
            "GZIPBOMB": "the reply unpacks to more than 64 MB",
            "BADGZIP": "the reply's compressed data are corrupt (incorrect header check)",
        }
        for term, message in misbehaving.items():
            out = os.path.join(tmp, "out.fasta")
            result, seconds = fetch(term, "-o", out, timeout=2)
            stderr = result.stderr.decode()
            check(result.returncode == 1 and stderr.rstrip("\n").endswith(FAILED)
                  and message in stderr and not os.path.exists(out),
                  "%s: status %d, %r" % (term, result.returncode, stderr))
            check(seconds < 2 + 5, "%s took %.1f s with a 2 s limit" % (term, seconds))

        result, _ = fetch("NP 034640&db=x")
        check(result.returncode == 1, "an accession with a blank and & was found")
        check("/esearch.fcgi?db=protein&term=NP%20034640%26db%3Dx" in stand_in.paths,
              "the accession was not percent-encoded: %r" % stand_in.paths[-1:])

        def run(*args, settings="none.ini"):
            return subprocess.run([cli, "fetch", "--server", stand_in.url(), "--settings",
                                   os.path.join(tmp, settings), *args], capture_output=True,
                                  env=env, timeout=60)

        # Wrong usage ends with status 2 before anything is asked: time limits
        # that Qt's millisecond timer cannot hold, an empty accession.
        asked = len(stand_in.paths)
        for args in (["1MRR_A", "--timeout", "0"], ["1MRR_A", "--timeout", "86401"],
                     ["1MRR_A", "--timeout", "2147484"], ["1MRR_A", "--timeout", "4294968"],
                     [""], [" \t"], ["--", ""]):
            result = run(*args)
            check(result.returncode == 2, "%r: status %d" % (args, result.returncode))
        check(len(stand_in.paths) == asked,
              "wrong usage reached the server: %r" % stand_in.paths[asked:])

        # "--" ends the options, so that an accession may begin with "-".
        result = run("--timeout", "5", "--", "-o")
        check(result.returncode == 1 and stand_in.paths[-1] == "/esearch.fcgi?db=protein&term=-o",
              "-- -o: status %d, %r" % (result.returncode, stand_in.paths[-1:]))

        # The longest limit allowed does not overflow into a short one.
        waiting = subprocess.Popen([cli, "fetch", "SILENT", "--server", stand_in.url(),
                                    "--settings", os.path.join(tmp, "none.ini"),
                                    "--timeout", "86400"], stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL, env=env)
        try:
            waiting.wait(timeout=3)
            check(False, "--timeout 86400 gave up after less than 3 s")
        except subprocess.TimeoutExpired:
            waiting.kill()
            waiting.wait()

        # A time limit in the settings that cannot be used: the default, and
        # one line that says so; the output is unchanged.
        with open(os.path.join(tmp, "timeout.ini"), "wb") as f:
            f.write(b"[Download]\r\nTimeout=4294968\r\n")
        result = run("P01485", settings="timeout.ini")
        check(result.returncode == 0 and result.stdout.startswith(b">Neurotoxin III.\r\n") and
              result.stderr == b'The setting "Timeout" in [Download] holds 4294968, outside 1 to '
              b'86400 seconds; the default of 30 seconds is used instead.\n',
              "an unusable Timeout setting: %r" % result.stderr)

        closed = socket.socket()
        closed.bind(("127.0.0.1", 0))
        port = closed.getsockname()[1]
        closed.close()
        result = subprocess.run([cli, "fetch", "1MRR_A", "--server", "http://127.0.0.1:%d/" % port,
                                 "--settings", os.path.join(tmp, "none.ini")],
                                capture_output=True, env=env, timeout=60)
        check(result.returncode == 1 and result.stderr.decode() ==
              "Could not connect to server!\n127.0.0.1:%d: Connection refused.\n%s\n"
              % (port, FAILED), "no server: %r" % result.stderr)

        refused = subprocess.run([cli, "fetch", "1MRR_A", "--server", "http://localhost:1/",
                                  "--settings", os.path.join(tmp, "none.ini")],
                                 capture_output=True, env=env, timeout=60)
        check(refused.returncode not in (0, 1) and b"refusing" in refused.stderr,
              "the loopback guard let http://localhost:1/ through")
    stand_in.stop()

    for failure in failures:
        print("FAIL", failure)
    print("%d records and %d failures checked, %d problems" %
          (len(expected_records), len(misbehaving), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
