#!/usr/bin/env python3
"""A fake cddbp server on loopback for tests of the player's cddb lookup.

It speaks like the reference cddb server (cddbd 1.5.1): CRLF line ends, a sign-on
banner, "cddb hello" before anything else, "cddb query" and "cddb read" answered from a
local copy in the category/range-file layout (samples/cddb), a 60-second idle close.
On demand it misbehaves, and it can play a scripted case file instead (the format of
tests/data/cddb/protocol/*.case: send, line, expect, pause, close).

    fakecddb.py --db samples/cddb [--port 0] [--once] [--misbehave split] ...

It prints "port N" on its first line of output once it listens, so that a test that
asked for port 0 learns the port. Python 3 standard library only.
"""

import argparse
import os
import random
import socket
import sys
import threading
import time

VERSION = "v1.5.1PL0"

MISBEHAVIOURS = ("split", "stall", "close-mid-entry", "garbage", "overlong", "no-crlf")


class Database:
    """A local copy: category directories of files named by disc-id ranges."""

    def __init__(self, root):
        self.root = root

    def categories(self):
        if not self.root or not os.path.isdir(self.root):
            return []
        return sorted(d for d in os.listdir(self.root) if os.path.isdir(os.path.join(self.root, d)))

    def _covering_files(self, category, disc_id):
        key = int(disc_id[:2], 16)
        directory = os.path.join(self.root, category)
        for name in sorted(os.listdir(directory)):
            path = os.path.join(directory, name)
            if len(name) < 6 or not os.path.isfile(path):
                continue
            try:
                low, high = int(name[0:2], 16), int(name[4:6], 16)
            except ValueError:
                continue
            if low <= key <= high:
                yield path

    def entry(self, category, disc_id):
        """The entry's lines without its #FILENAME line, or None."""
        if category not in self.categories():
            return None
        wanted = "#FILENAME=" + disc_id
        for path in self._covering_files(category, disc_id):
            lines, found = [], False
            with open(path, encoding="latin-1") as f:
                for raw in f:
                    line = raw.rstrip("\r\n")
                    if line.startswith("#FILENAME="):
                        if found:
                            break
                        found = line.startswith(wanted)
                        continue
                    if found:
                        lines.append(line)
            if found:
                return lines
        return None

    def matches(self, disc_id):
        """(category, disc id, title) of every entry with that id."""
        found = []
        for category in self.categories():
            lines = self.entry(category, disc_id)
            if lines is not None:
                title = "".join(l[7:] for l in lines if l.startswith("DTITLE="))
                found.append((category, disc_id, title))
        return found


class Session:
    def __init__(self, conn, options, database, transcript):
        self.conn = conn
        self.options = options
        self.db = database
        self.transcript = transcript
        self.shook_hands = False
        self.queried = None
        self.buffer = b""
        self.eol = b"\n" if options.misbehave == "no-crlf" else b"\r\n"

    # Output --------------------------------------------------------------------------

    def raw(self, data):
        self.conn.sendall(data)

    def line(self, text):
        data = text.encode("latin-1") + self.eol
        if self.options.misbehave == "split" and len(data) > 10:
            # Every line in two segments, cut after 10 bytes.
            self.raw(data[:10])
            time.sleep(self.options.split_pause)
            self.raw(data[10:])
        else:
            self.raw(data)

    # Input ---------------------------------------------------------------------------

    def read_line(self):
        """One client line without its line end; None when the client has gone or
        stayed silent for the idle time."""
        self.conn.settimeout(self.options.idle)
        while b"\n" not in self.buffer:
            try:
                chunk = self.conn.recv(4096)
            except (socket.timeout, OSError):
                return None
            if not chunk:
                return None
            self.buffer += chunk
        line, _, self.buffer = self.buffer.partition(b"\n")
        text = line.rstrip(b"\r").decode("latin-1")
        if self.transcript:
            with self.transcript[1]:
                with open(self.transcript[0], "a", encoding="latin-1") as f:
                    f.write(text + "\n")
        return text

    # The conversation ----------------------------------------------------------------

    def run(self):
        date = time.strftime("%a %b %d %H:%M:%S %Y")
        code = self.options.banner
        if code in (432, 433, 434):
            reason = {432: "permission denied", 433: "too many users", 434: "system load too high"}[code]
            self.line("%d No connections allowed: %s" % (code, reason))
            return
        if self.stalls_at("banner"):
            return
        self.line("%d %s CDDBP server %s ready at %s" % (code, self.options.name, VERSION, date))
        while True:
            text = self.read_line()
            if text is None:
                return
            if not self.command(text):
                return

    def stalls_at(self, step):
        """With --misbehave stall at this step: say nothing until the client gives up
        or the idle time ends, then report True so the conversation ends."""
        if self.options.misbehave != "stall" or self.options.stall_at != step:
            return False
        while self.read_line() is not None:
            pass
        return True

    def command(self, text):
        words = text.split()
        if not words:
            self.line("500 Unrecognized command.")
            return True
        verb = words[0].lower()
        if verb == "quit":
            self.line("230 %s Closing connection.  Goodbye." % self.options.name)
            return False
        if verb != "cddb" or len(words) < 2:
            if not self.shook_hands and verb not in ("help", "proto"):
                self.line("409 No handshake.")
            else:
                self.line("500 Unrecognized command.")
            return True
        sub = words[1].lower()
        if sub == "hello":
            if self.stalls_at("hello"):
                return False
            return self.hello(words[2:])
        if not self.shook_hands:
            self.line("409 No handshake.")
            return True
        if sub == "query":
            return self.query(words[2:])
        if sub == "read":
            return self.read(words[2:])
        self.line("500 Unrecognized command.")
        return True

    def hello(self, args):
        if self.shook_hands:
            self.line("402 Already shook hands.")
        elif len(args) != 4:
            self.line("500 Command syntax error: incorrect arg count for handshake.")
        else:
            user, host, client, version = args
            self.shook_hands = True
            self.line("200 Hello and welcome %s@%s running %s %s." % (user, host, client, version))
        return True

    def query(self, args):
        try:
            disc_id = args[0].lower()
            count = int(args[1])
            int(disc_id, 16)
            if len(disc_id) != 8 or len(args) != count + 3:
                raise ValueError
            [int(a) for a in args[2:]]
        except (IndexError, ValueError):
            self.line("500 Command syntax error: incorrect arg count for query.")
            return True
        if self.queried is not None:
            self.line("502 Already performed a query for disc ID: %s" % self.queried)
            return False
        self.queried = disc_id
        if self.stalls_at("query"):
            return False
        if self.options.misbehave == "garbage":
            self.raw(bytes(random.Random(disc_id).randrange(256) for _ in range(200)) + b"\r\n")
            return True
        matches = self.db.matches(disc_id)
        for alias in self.options.alias:
            asked, _, offered = alias.partition("=")
            if asked.lower() == disc_id:
                matches = [m for o in offered.split(",") for m in self.db.matches(o.lower())]
                if len(matches) == 1:
                    matches = matches * 2  # an alias always offers a choice
        if not matches:
            self.line("202 No match for disc ID %s." % disc_id)
        elif len(matches) == 1:
            self.line("200 %s %s %s" % matches[0])
        else:
            self.line("211 Found inexact matches, list follows (until terminating `.')")
            for m in matches:
                self.line("%s %s %s" % m)
            self.line(".")
        return True

    def read(self, args):
        if len(args) != 2:
            self.line("500 Command syntax error: incorrect arg count for read.")
            return True
        category, disc_id = args[0].lower(), args[1].lower()
        if category not in self.db.categories():
            self.line("501 Invalid category: %s" % category)
            return True
        lines = self.db.entry(category, disc_id)
        if lines is None:
            self.line("401 %s %s No such CD entry in database." % (category, disc_id))
            return True
        if self.stalls_at("read"):
            return False
        self.line("210 %s %s CD database entry follows (until terminating `.')" % (category, disc_id))
        if self.options.misbehave == "overlong":
            lines = lines[:1] + ["# " + "x" * 3000] + lines[1:]
        if self.options.misbehave == "close-mid-entry":
            for l in lines[: len(lines) // 2]:
                self.line(l)
            return False
        for l in lines:
            self.line(l)
        self.line(".")
        return True


class Script:
    """Plays a case file's server steps on one connection and records the client's lines."""

    def __init__(self, path):
        self.steps = []
        with open(path, encoding="latin-1") as f:
            for raw in f:
                raw = raw.rstrip("\r\n")
                if not raw or raw.startswith("#"):
                    continue
                word, _, rest = raw.partition(" ")
                if word in ("send", "line", "expect", "pause", "close"):
                    self.steps.append((word, unescape(rest)))

    def play(self, conn, transcript):
        buffer = b""
        for word, text in self.steps:
            if word == "send":
                conn.sendall(text.encode("latin-1"))
            elif word == "line":
                conn.sendall(text.encode("latin-1") + b"\r\n")
            elif word == "pause":
                time.sleep(int(text) / 1000.0)
            elif word == "close":
                return
            elif word == "expect":
                conn.settimeout(60)
                while b"\n" not in buffer:
                    try:
                        chunk = conn.recv(4096)
                    except OSError:
                        chunk = b""
                    if not chunk:
                        break
                    buffer += chunk
                line, _, buffer = buffer.partition(b"\n")
                if transcript:
                    with transcript[1]:
                        with open(transcript[0], "a", encoding="latin-1") as f:
                            f.write(line.rstrip(b"\r").decode("latin-1") + "\n")
        # Wait for the client to hang up.
        conn.settimeout(60)
        try:
            while conn.recv(4096):
                pass
        except OSError:
            pass


def unescape(text):
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text):
            n = text[i + 1]
            i += 2
            if n == "x":
                out.append(chr(int(text[i : i + 2], 16)))
                i += 2
            else:
                out.append({"r": "\r", "n": "\n", "t": "\t"}.get(n, n))
            continue
        out.append(c)
        i += 1
    return "".join(out)


def serve(conn, options, database, script, transcript):
    with conn:
        conn.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        try:
            if script:
                script.play(conn, transcript)
            else:
                Session(conn, options, database, transcript).run()
        except OSError:
            pass


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=0, help="0: any free port (printed)")
    parser.add_argument("--db", help="local copy to answer from (category/xxtoyy files)")
    parser.add_argument("--name", default="localhost", help="host name in the banner")
    parser.add_argument("--banner", type=int, default=201, choices=(200, 201, 432, 433, 434))
    parser.add_argument("--idle", type=float, default=60.0, help="seconds of client silence before closing")
    parser.add_argument("--alias", action="append", default=[],
                        help="ASKED=ID[,ID...]: a query for ASKED offers those entries as close matches")
    parser.add_argument("--misbehave", choices=MISBEHAVIOURS)
    parser.add_argument("--stall-at", choices=("banner", "hello", "query", "read"), default="banner",
                        help="where --misbehave stall falls silent: before the banner, or instead of a reply")
    parser.add_argument("--split-pause", type=float, default=0.05, help="seconds between the parts of a split line")
    parser.add_argument("--script", help="play this case file instead of the protocol")
    parser.add_argument("--transcript", help="append every line the client sends to this file")
    parser.add_argument("--once", action="store_true", help="serve one connection, then exit")
    options = parser.parse_args(argv)

    database = Database(options.db)
    script = Script(options.script) if options.script else None
    transcript = (options.transcript, threading.Lock()) if options.transcript else None

    listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
    listener.bind((options.host, options.port))
    listener.listen(8)
    print("port %d" % listener.getsockname()[1], flush=True)

    try:
        while True:
            conn, _ = listener.accept()
            if options.once:
                serve(conn, options, database, script, transcript)
                return 0
            threading.Thread(target=serve, args=(conn, options, database, script, transcript), daemon=True).start()
    except KeyboardInterrupt:
        return 0
    finally:
        listener.close()


if __name__ == "__main__":
    sys.exit(main())
