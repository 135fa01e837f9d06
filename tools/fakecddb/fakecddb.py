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
import codecs
import os
import random
import socket
import sys
import threading
import time
import urllib.parse

VERSION = "v1.5.1PL0"

MISBEHAVIOURS = ("split", "stall", "close-mid-entry", "garbage", "overlong", "no-crlf", "trickle", "flood")


def parse_entry_facts(lines):
    """(track frame offsets, disc length in seconds, DTITLE) of an entry's lines (bytes)."""
    offsets, length, title, in_offsets = [], None, b"", False
    for line in lines:
        if line.startswith(b"#"):
            text = line[1:].strip()
            if text.startswith(b"Track frame offsets:"):
                in_offsets = True
                continue
            if in_offsets and text.isdigit():
                offsets.append(int(text))
                continue
            in_offsets = False
            if text.startswith(b"Disc length:"):
                words = text.split()
                if len(words) >= 3 and words[2].isdigit():
                    length = int(words[2])
        elif line.startswith(b"DTITLE="):
            title += line[7:]
    return offsets, length, title


class Database:
    """The entries to serve, from either layout (both may mix in one tree):
    - as the reference server stores them: category/<8-hex-digit disc id>, one entry a
      file, beginning with "# xmcd";
    - a local copy: category/<xx>to<yy> files holding several entries, each after its
      "#FILENAME=<disc id>" line.
    Entries are kept as bytes, UTF-8 or Latin-1 as stored; Commands.text() gives them
    the character set of the client's protocol level."""

    def __init__(self, root):
        self.root = root
        self.entries = {}  # (category, disc id) -> list of lines (bytes)
        for category in self.categories():
            directory = os.path.join(root, category)
            for name in sorted(os.listdir(directory)):
                path = os.path.join(directory, name)
                if not os.path.isfile(path):
                    continue
                with open(path, "rb") as f:
                    lines = [raw.rstrip(b"\r\n") for raw in f]
                if len(name) == 8 and all(c in "0123456789abcdef" for c in name):
                    self.entries.setdefault((category, name), lines)
                    continue
                current = None
                for line in lines:
                    if line.startswith(b"#FILENAME="):
                        current = line[10:18].decode("latin-1").lower()
                        self.entries.setdefault((category, current), [])
                        continue
                    if current is not None:
                        self.entries[(category, current)].append(line)

    def categories(self):
        if not self.root or not os.path.isdir(self.root):
            return []
        return sorted(d for d in os.listdir(self.root) if os.path.isdir(os.path.join(self.root, d)))

    def entry(self, category, disc_id):
        return self.entries.get((category, disc_id))

    def match(self, category, disc_id):
        """The (category, disc id, title) triple a query reply shows for an entry."""
        return (category.encode(), disc_id.encode(), parse_entry_facts(self.entry(category, disc_id))[2])

    def matches(self, disc_id):
        """Every entry filed under that id, one per category."""
        return [self.match(c, i) for (c, i) in sorted(self.entries) if i == disc_id]

    def close_matches(self, offsets, seconds, fuzz):
        """Entries of as many tracks whose every offset, and the disc length, lie within
        the fuzz window (frames) of the asked ones, as the reference server's fuzzy
        search finds them."""
        found = []
        for (category, disc_id) in sorted(self.entries):
            theirs, length, _ = parse_entry_facts(self.entries[(category, disc_id)])
            if len(theirs) != len(offsets) or length is None:
                continue
            if all(abs(a - b) <= fuzz for a, b in zip(theirs, offsets)) and abs(length - seconds) * 75 <= fuzz:
                found.append(self.match(category, disc_id))
        return found


class Commands:
    """The cddb commands as the reference server answers them; shared by the cddbp
    session and the HTTP script. Each call returns the reply lines (bytes); .closing is
    set when the server hangs up after them."""

    MAX_LEVEL = 6

    def __init__(self, options, database):
        self.options = options
        self.db = database
        self.level = 1
        self.shook_hands = False
        self.queried = None
        self.errors = 0
        self.closing = False

    def text(self, lines):
        """Entry or title lines (bytes) in the character set of the protocol level: from
        level 6 on UTF-8, a Latin-1 entry converted; below it Latin-1 when every letter
        has one there, else as stored."""
        letters = decode_utf8_entry(lines)
        if letters is None:
            return [line.decode("latin-1").encode("utf-8") for line in lines] if self.level >= 6 else lines
        if self.level >= 6:
            return lines
        try:
            return [line.encode("latin-1") for line in letters]
        except UnicodeEncodeError:
            return lines

    def error(self, text):
        # The reference server hangs up on a client that keeps sending bad commands.
        self.errors += 1
        if self.errors >= 3:
            self.closing = True
            return [text.encode(), b"530 Too many errors, closing connection."]
        return [text.encode()]

    def run(self, text):
        words = text.split()
        if not words:
            return self.error("500 Unrecognized command.")
        verb = words[0].lower()
        if verb == "quit":
            self.closing = True
            return [("230 %s Closing connection.  Goodbye." % self.options.name).encode()]
        if verb == "proto":
            return self.proto(words[1:])
        if verb != "cddb" or len(words) < 2:
            if not self.shook_hands and verb != "help":
                return self.error("409 No handshake.")
            return self.error("500 Unrecognized command.")
        sub = words[1].lower()
        if sub == "hello":
            return self.hello(words[2:])
        if not self.shook_hands:
            return self.error("409 No handshake.")
        if sub == "query":
            return self.query(words[2:])
        if sub == "read":
            return self.read(words[2:])
        return self.error("500 Unrecognized command.")

    def proto(self, args):
        if not args:
            return [("200 CDDB protocol level: current %d, supported %d" % (self.level, self.MAX_LEVEL)).encode()]
        if not args[0].isdigit() or not 1 <= int(args[0]) <= self.MAX_LEVEL:
            return self.error("501 Illegal protocol level.")
        if int(args[0]) == self.level:
            return [("502 Protocol level already %d." % self.level).encode()]
        self.level = int(args[0])
        return [("201 OK, CDDB protocol level now: %d" % self.level).encode()]

    def hello(self, args):
        if self.shook_hands:
            return [b"402 Already shook hands."]
        if len(args) != 4:
            return self.error("500 Command syntax error: incorrect arg count for handshake.")
        user, host, client, version = args
        if self.options.require_address and not looks_like_address(user, host):
            # Today's service turns away greetings that carry no real mail address.
            self.closing = True
            return [b"431 Handshake not successful, closing connection."]
        self.shook_hands = True
        return [("200 Hello and welcome %s@%s running %s %s." % (user, host, client, version)).encode()]

    def query(self, args):
        try:
            disc_id = args[0].lower()
            count = int(args[1])
            int(disc_id, 16)
            if len(disc_id) != 8 or len(args) != count + 3:
                raise ValueError
            offsets = [int(a) for a in args[2:-1]]
            seconds = int(args[-1])
        except (IndexError, ValueError):
            return self.error("500 Command syntax error: incorrect arg count for query.")
        if self.queried is not None:
            self.closing = True
            return [("502 Already performed a query for disc ID: %s" % self.queried).encode()]
        self.queried = disc_id
        if self.options.misbehave == "garbage":
            return [bytes(random.Random(disc_id).randrange(256) for _ in range(200))]
        exact = self.db.matches(disc_id)
        close = []
        for alias in self.options.alias:
            asked, _, offered = alias.partition("=")
            if asked.lower() == disc_id:
                exact = []
                close = [m for o in offered.split(",") for m in self.db.matches(o.lower())]
                if len(close) == 1:
                    close = close * 2  # an alias always offers a choice
        if not exact and not close:
            close = self.db.close_matches(offsets, seconds, self.options.fuzz)
        if len(exact) == 1:
            return [b"200 " + b" ".join(self.titled(exact[0]))]
        if exact:
            # Several categories hold the id: listed as exact matches from level 4 on.
            head = b"210 Found exact matches" if self.level >= 4 else b"211 Found inexact matches"
            return ([head + b", list follows (until terminating `.')"] +
                    [b" ".join(self.titled(m)) for m in exact] + [b"."])
        if close:
            return ([b"211 Found inexact matches, list follows (until terminating `.')"] +
                    [b" ".join(self.titled(m)) for m in close] + [b"."])
        return [("202 No match for disc ID %s." % disc_id).encode()]

    def titled(self, match):
        """A (category, disc id, title) match with its title in the level's character set."""
        category, disc_id, title = match
        return (category, disc_id, self.text([title])[0])

    def read(self, args):
        if len(args) != 2:
            return self.error("500 Command syntax error: incorrect arg count for read.")
        category, disc_id = args[0].lower(), args[1].lower()
        if category not in self.db.categories():
            return self.error("501 Invalid category: %s" % category)
        lines = self.db.entry(category, disc_id)
        if lines is None:
            return [("401 %s %s No such CD entry in database." % (category, disc_id)).encode()]
        head = ("210 %s %s CD database entry follows (until terminating `.')" % (category, disc_id)).encode()
        lines = self.text(lines)
        if self.options.misbehave == "overlong":
            lines = lines[:1] + [b"# " + b"x" * 3000] + lines[1:]
        if self.options.misbehave == "close-mid-entry":
            self.closing = True
            return [head] + lines[: len(lines) // 2]
        if self.options.misbehave == "trickle":
            self.closing = True
            return [head] + lines + [b"# " + b"x" * 100000]  # sent a byte at a time, without end
        if self.options.misbehave == "flood":
            return [head] + lines + [b"# " + b"y" * 70 for _ in range(4000)] + [b"."]
        return [head] + lines + [b"."]


def decode_utf8_entry(lines):
    """The lines (bytes) read as UTF-8, or None when the entry is not UTF-8 (Latin-1).
    A keyword's value may go on over several lines and a letter may be cut between
    them, as entries are stored: such a letter is decoded whole, on the first of its
    lines."""
    decoders, out = {}, []
    try:
        for line in lines:
            key, equals, value = line.partition(b"=")
            if equals and key and not line.startswith(b"#"):
                decoder = decoders.setdefault(key, codecs.getincrementaldecoder("utf-8")())
                out.append(key.decode("ascii") + "=" + decoder.decode(value))
            else:
                out.append(line.decode("utf-8"))
        for decoder in decoders.values():
            decoder.decode(b"", final=True)
    except UnicodeDecodeError:
        return None
    return out


def looks_like_address(user, host):
    return bool(user) and user != "Unknown" and "." in host.strip(".") and "@" not in user + host


class Session:
    def __init__(self, conn, options, database, transcript):
        self.conn = conn
        self.options = options
        self.commands = Commands(options, database)
        self.transcript = transcript
        self.buffer = b""
        self.eol = b"\n" if options.misbehave == "no-crlf" else b"\r\n"

    # Output --------------------------------------------------------------------------

    def raw(self, data):
        self.conn.sendall(data)

    def line(self, text):
        data = (text.encode("latin-1") if isinstance(text, str) else text) + self.eol
        if self.options.misbehave == "split" and len(data) > 10:
            # Every line in two segments, cut after 10 bytes.
            self.raw(data[:10])
            time.sleep(self.options.split_pause)
            self.raw(data[10:])
        elif self.options.misbehave == "trickle":
            for i in range(len(data)):
                self.raw(data[i:i + 1])
                time.sleep(self.options.split_pause)
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
        record(self.transcript, text)
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
            words = text.lower().split()
            step = words[1] if len(words) > 1 and words[0] == "cddb" else ""
            if step in ("hello", "query", "read") and self.stalls_at(step):
                return
            for reply in self.commands.run(text):
                self.line(reply)
            if self.commands.closing:
                return

    def stalls_at(self, step):
        """With --misbehave stall at this step: say nothing until the client gives up
        or the idle time ends, then report True so the conversation ends."""
        if self.options.misbehave != "stall" or self.options.stall_at != step:
            return False
        while self.read_line() is not None:
            pass
        return True


def record(transcript, text):
    if transcript:
        with transcript[1]:
            with open(transcript[0], "a", encoding="latin-1") as f:
                f.write(text + "\n")


def serve_http(conn, options, database, transcript):
    """One request to the cddb script: "GET <path>?cmd=...&hello=...&proto=N HTTP/1.0",
    answered with the command's reply lines as the body, then the connection closes.
    Nothing precedes the reply: no banner and no greeting reply."""
    conn.settimeout(options.idle)
    data = b""
    while b"\r\n\r\n" not in data and b"\n\n" not in data:
        chunk = conn.recv(4096)
        if not chunk:
            return
        data += chunk
    request_line = data.split(b"\n", 1)[0].rstrip(b"\r").decode("latin-1")
    record(transcript, request_line)
    parts = request_line.split()
    status, body = "200 OK", []
    if len(parts) != 3 or parts[0] != "GET" or not parts[2].startswith("HTTP/"):
        status = "400 Bad Request"
    else:
        path, _, query = parts[1].partition("?")
        fields = urllib.parse.parse_qs(query)
        if path != options.http_path:
            status = "404 Not Found"
        elif "cmd" not in fields or "hello" not in fields:
            body = [b"500 Command syntax error: missing cmd or hello."]
        else:
            commands = Commands(options, database)
            proto = fields.get("proto", ["1"])[0]
            if proto.isdigit() and 1 <= int(proto) <= Commands.MAX_LEVEL:
                commands.level = int(proto)
            hello = "cddb hello " + fields["hello"][0]
            record(transcript, hello)
            greeting = commands.run(hello)
            if not greeting[0].startswith(b"200"):
                body = greeting
            else:
                command = fields["cmd"][0]
                record(transcript, command)
                body = commands.run(command)
    head = "HTTP/1.0 %s\r\nContent-Type: text/plain; charset=UTF-8\r\nConnection: close\r\n\r\n" % status
    conn.sendall(head.encode("latin-1") + b"".join(line + b"\r\n" for line in body))


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
            elif options.http:
                serve_http(conn, options, database, transcript)
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
    parser.add_argument("--fuzz", type=int, default=750,
                        help="frames every offset of a close match may lie from the asked one (10 s)")
    parser.add_argument("--http", action="store_true", help="answer as the HTTP cddb script instead of cddbp")
    parser.add_argument("--http-path", default="/~cddb/cddb.cgi", help="the script's path")
    parser.add_argument("--require-address", action="store_true",
                        help="turn away greetings whose user and host make no mail address")
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
