#!/usr/bin/env python3
"""Checks quorin-cli fetch --source uniprot against the stand-in UniProt
service of genpept_server.py on 127.0.0.1: an entry comes out as ">" + its
entry name + CR LF + the residues of its SQ block, and as a .pep file with
its features as domains; 429 and 503 are asked again after what Retry-After
says (seconds or an HTTP date), else after 1, 2, 4 s, at most 3 times, and a
service busy for ever fails within 60 s; redirects are followed up to 5 on
the same scheme; 404 says "Accession X was not found."; a cut entry, a
closed connection and a silent server fail with exit status 1 and no file.
The settings' "UniProt Server" is asked when --server is not given, and with
QUORIN_TEST_LOOPBACK_ONLY set the public service is never contacted.

usage: cross_check_fetch_uniprot.py QUORIN_CLI DATA_DIR
"""
import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import genpept_server  # noqa: E402

FAILED = "Could not retrieve sequence data!"


def entry_fasta(path):
    """">" name CR LF residues, read by the flat file's line codes."""
    name, residues, in_sequence = "", [], False
    with open(path) as f:
        for line in f:
            if line.startswith("ID   "):
                name = line.split()[1]
            elif line.startswith("SQ   "):
                in_sequence = True
            elif line.startswith("//"):
                break
            elif in_sequence:
                residues.append("".join(c for c in line if c.isalpha()))
    return (">" + name + "\r\n" + "".join(residues)).encode()


def main():
    cli, data_dir = sys.argv[1], sys.argv[2]
    env = dict(os.environ, QUORIN_TEST_LOOPBACK_ONLY="1")
    stand_in = genpept_server.StandIn(data_dir).start()
    uniprot_dir = os.path.join(data_dir, os.pardir, "uniprot")
    failures = []

    def check(condition, what):
        if not condition:
            failures.append(what)

    with tempfile.TemporaryDirectory() as tmp:
        settings = os.path.join(tmp, "none.ini")

        def fetch(accession, *extra, timeout=10, server=True):
            command = [cli, "fetch", "--source", "uniprot", accession, "--settings", settings,
                       "--timeout", str(timeout)]
            if server:
                command += ["--server", stand_in.url()]
            started = time.monotonic()
            result = subprocess.run(command + list(extra), capture_output=True, env=env,
                                    timeout=90)
            return result, time.monotonic() - started

        expected = entry_fasta(os.path.join(uniprot_dir, "current-layout.dat"))
        # accession -> (the shortest and the longest time it may take)
        arriving = {"Q9ZZZ1": (0, 5), "BUSY429": (0.9, 6), "BUSYDATE": (0.9, 8),
                    "BUSYTWICE": (2.9, 8), "MOVED": (0, 5), "MOVEDFAR": (0, 5)}
        for accession, (shortest, longest) in arriving.items():
            result, seconds = fetch(accession)
            check(result.returncode == 0 and result.stdout == expected and not result.stderr,
                  "%s: status %d, %r, %r" % (accession, result.returncode, result.stdout[:60],
                                             result.stderr))
            check(shortest <= seconds <= longest,
                  "%s took %.1f s, not %g to %g" % (accession, seconds, shortest, longest))
        result, _ = fetch("Q9ZZZ0")
        check(result.stdout == entry_fasta(os.path.join(uniprot_dir, "old-layout.dat")),
              "the old layout's entry: %r" % result.stdout[:60])
        check(stand_in.asked.get("BUSYTWICE") == 3 and stand_in.asked.get("BUSY429") == 2,
              "retries asked %r" % stand_in.asked)

        pep = os.path.join(tmp, "entry.pep")
        result, _ = fetch("Q9ZZZ1", "-o", pep)
        with open(pep, "rb") as f:
            stored = f.read()
        back = subprocess.run([cli, "convert", "--settings", settings, pep, "-"],
                              capture_output=True, env=env)
        check(result.returncode == 0 and back.stdout == expected and b"TRANSMEM 2" in stored
              and b"TOPO_DOM 3" in stored, "the .pep of an entry lacks its domains")

        # accession -> what standard error must hold, the longest it may take
        failing = {
            "NOSUCH": ("Accession NOSUCH was not found.\n", 5),
            "BUSY": ("answered 503 Service Unavailable.", 60),
            "LOOP": ("more than 5 redirects", 5),
            "TOHTTPS": ("a redirect to https from http", 5),
            "CUT": ("closed the connection", 5),
            "NOEND": ("cut short", 5),
            "CLOSE": ("closed the connection", 5),
            "ERROR500": ("answered 500 Internal Server Error.", 5),
            "SILENT": ("did not answer in time", 2 + 5),
        }
        for accession, (message, longest) in failing.items():
            out = os.path.join(tmp, "out.fasta")
            asked = stand_in.asked.get(accession, 0)
            result, seconds = fetch(accession, "-o", out, timeout=2)
            stderr = result.stderr.decode()
            check(result.returncode == 1 and message in stderr and not os.path.exists(out),
                  "%s: status %d, %r" % (accession, result.returncode, stderr))
            check(accession == "NOSUCH" or stderr.rstrip("\n").endswith(FAILED),
                  "%s: %r" % (accession, stderr))
            check(seconds < longest, "%s took %.1f s" % (accession, seconds))
            # Only a busy service is asked again (a loop is followed 5 times);
            # Qt itself sends a request once more when the connection closed
            # before any byte of a reply.
            times = stand_in.asked.get(accession, 0) - asked
            allowed = {"BUSY": (4,), "LOOP": (6,), "CLOSE": (1, 2)}.get(accession, (1,))
            check(times in allowed, "%s asked %d times" % (accession, times))
        result, _ = fetch("NOSUCH")
        check(result.stderr == b"Accession NOSUCH was not found.\n", "404: %r" % result.stderr)

        # The percent-encoded accession, and the settings' server.
        fetch("A B/C")
        check("/uniprotkb/A%20B%2FC.txt" in stand_in.paths, "not encoded: %r" %
              stand_in.paths[-1:])
        with open(os.path.join(tmp, "server.ini"), "w") as f:
            f.write("[Download]\r\nUniProt Server=%s\r\n" % stand_in.url())
        result = subprocess.run([cli, "fetch", "--source", "uniprot", "Q9ZZZ1", "--settings",
                                 os.path.join(tmp, "server.ini")], capture_output=True, env=env)
        check(result.stdout == expected, "the UniProt Server setting: %r" % result.stderr)
        result = subprocess.run([cli, "fetch", "--source", "swissprot", "Q9ZZZ1", "--settings",
                                 settings], capture_output=True, env=env)
        check(result.returncode == 2, "an unknown source: status %d" % result.returncode)

        # Without a server the public service would be asked: the guard stops it.
        refused, _ = fetch("Q9ZZZ1", server=False)
        check(refused.returncode not in (0, 1) and b"refusing to contact https://rest.uniprot.org/"
              in refused.stderr, "the public service was not guarded: %r" % refused.stderr)
    stand_in.stop()

    for failure in failures:
        print("FAIL", failure)
    print("%d arrivals and %d failures checked: %d passed, %d failed" %
          (len(arriving), len(failing), len(arriving) + len(failing) - len(failures),
           len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
