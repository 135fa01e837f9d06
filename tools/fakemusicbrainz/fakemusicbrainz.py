#!/usr/bin/env python3
"""A fake MusicBrainz web service (ws/2 disc id lookups) over HTTPS on loopback.

It answers as the service does (its documentation and its server's own rules):
  GET /ws/2/discid/<id>?toc=<first+last+leadout+offsets>&inc=...&fmt=json[&cdstubs=yes|no]
  - a disc id filed on releases: the disc with its releases;
  - else a CD stub filed with the id (unless cdstubs=no);
  - else, with a table of contents, the releases with a CD of as many tracks whose
    lengths each lie within ten seconds of the table's (the service's "fuzzy" lookup);
  - else 404 Not Found.
It refuses what the service refuses: no User-Agent 403, more than one request a second
503 (its rate limit), a malformed disc id, an unknown inc or a bad cdstubs value 400, a
malformed table of contents 400 ("Invalid TOC") when it comes to be used. Without
fmt=json (or an Accept of application/json) it answers in XML, as the service does.

The replies are the JSON files of a directory (tests/data/musicbrainz): a disc reply or
a CD stub is found by its top-level "id", and every release in any file takes part in
the table-of-contents search.

    fakemusicbrainz.py --data DIR --cert CERT --key KEY [--port 0] [--log FILE]
                       [--misbehave busy|stall|huge|trickle]

It prints "port N" once it listens. Each request is appended to the log file as one line:
"GET <path and query> <User-Agent or ->". Python 3 standard library only.
"""

import argparse
import json
import os
import re
import ssl
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

HELP = "For usage, please see: https://musicbrainz.org/development/mmd"
RATE_LIMITED = ("Your requests are exceeding the allowable rate limit. Please see "
                "https://wiki.musicbrainz.org/XMLWebService for more information.")
DISCID = re.compile(r"^[A-Za-z0-9._]{27}-$")
# The includes the service accepts on a disc id lookup.
INCLUDES = {"artists", "labels", "recordings", "release-groups", "artist-credits", "aliases", "isrcs",
            "url-rels", "recording-level-rels", "work-level-rels", "annotation", "tags", "genres"}
FUZZY_MS = 10000


def parse_toc(text):
    """(track count, lengths in ms) of a table "first last leadout offsets...", or None,
    by the service's own rules: first track 1, 1 to 99 tracks, rising offsets, lead-out
    past the last one."""
    words = text.replace("+", " ").split()
    if not words or not all(w.isdigit() for w in words):
        return None
    numbers = [int(w) for w in words]
    if len(numbers) < 3:
        return None
    first, last, leadout, offsets = numbers[0], numbers[1], numbers[2], numbers[3:]
    if first != 1 or not 1 <= last <= 99 or len(offsets) != last:
        return None
    if any(b <= a for a, b in zip(offsets, offsets[1:])) or leadout <= offsets[-1]:
        return None
    ends = offsets[1:] + [leadout]
    return last, [(end - start) * 1000 // 75 for start, end in zip(offsets, ends)]


class Catalogue:
    def __init__(self, directory):
        self.discs = {}
        self.stubs = {}
        self.releases = []
        for name in sorted(os.listdir(directory)):
            if not name.endswith(".json"):
                continue
            with open(os.path.join(directory, name), encoding="utf-8") as f:
                reply = json.load(f)
            if "releases" in reply:
                if "id" in reply:
                    self.discs[reply["id"]] = reply
                for release in reply["releases"]:
                    if release["id"] not in (r["id"] for r in self.releases):
                        self.releases.append(release)
            elif "tracks" in reply:
                self.stubs[reply["id"]] = reply

    def close_to(self, count, lengths):
        """Releases with a medium that may hold a disc id, of count tracks, each within
        the fuzzy distance of the table's."""
        found = []
        for release in self.releases:
            for medium in release.get("media", []):
                fmt = medium.get("format")
                if fmt is not None and "CD" not in fmt:
                    continue
                tracks = medium.get("tracks", [])
                if medium.get("track-count") != count or len(tracks) != count:
                    continue
                if all(t.get("length") is not None and abs(t["length"] - l) <= FUZZY_MS
                       for t, l in zip(tracks, lengths)):
                    found.append(release)
                    break
        return found


class Service:
    def __init__(self, catalogue, log_path, misbehave):
        self.catalogue = catalogue
        self.log_path = log_path
        self.misbehave = misbehave
        self.lock = threading.Lock()
        self.last_request = None

    def log(self, path, agent):
        if not self.log_path:
            return
        with self.lock, open(self.log_path, "a", encoding="utf-8") as f:
            f.write(f"GET {path} {agent or '-'}\n")

    def too_soon(self):
        """The rate limit: one request a second from this client."""
        with self.lock:
            now = time.monotonic()
            soon = self.last_request is not None and now - self.last_request < 1.0
            self.last_request = now
            return soon


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    server_version = "nginx"

    def log_message(self, *args):
        pass

    def send(self, status, body, content_type="application/json; charset=utf-8"):
        data = body if isinstance(body, bytes) else body.encode("utf-8")
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    def error(self, status, text, as_json=True):
        if as_json:
            self.send(status, json.dumps({"error": text, "help": HELP}))
        else:
            self.send(status, f'<?xml version="1.0" encoding="UTF-8"?>\n<error><text>{text}</text>'
                              f"<text>{HELP}</text></error>", "application/xml; charset=utf-8")

    def do_GET(self):
        service = self.server.service
        agent = self.headers.get("User-Agent")
        service.log(self.path, agent)
        if service.misbehave == "stall":
            time.sleep(3600)
            return
        if not agent:
            self.send(403, "<html><body><h1>403 Forbidden</h1></body></html>", "text/html")
            return
        if service.too_soon() or service.misbehave == "busy":
            self.send(503, json.dumps({"error": RATE_LIMITED}))
            return
        url = urllib.parse.urlsplit(self.path)
        query = urllib.parse.parse_qs(url.query, keep_blank_values=True)
        as_json = query.get("fmt", [""])[0] == "json" or "application/json" in self.headers.get("Accept", "")
        match = re.fullmatch(r"/ws/2/discid/([^/]*)", url.path)
        if not match:
            self.error(404, "Not Found", as_json)
            return
        discid = match.group(1)
        toc = query.get("toc", [None])[0]
        if not DISCID.match(discid) and not (discid == "-" and toc):
            self.error(400, "Invalid discid.", as_json)
            return
        for name in " ".join(query.get("inc", [])).split():
            if name not in INCLUDES:
                self.error(400, f"{name} is not a valid inc parameter for the discid resource.", as_json)
                return
        cdstubs = query.get("cdstubs", [None])[0]
        if cdstubs not in (None, "yes", "no"):
            self.error(400, 'Invalid argument "cdstubs": must be "yes" or "no"', as_json)
            return
        if not as_json:
            self.send(200, '<?xml version="1.0" encoding="UTF-8"?>\n'
                           '<metadata xmlns="http://musicbrainz.org/ns/mmd-2.0#"/>', "application/xml; charset=utf-8")
            return

        catalogue = service.catalogue
        if discid in catalogue.discs:
            self.reply(catalogue.discs[discid])
        elif discid in catalogue.stubs and cdstubs != "no":
            self.reply(catalogue.stubs[discid])
        elif toc:
            parsed = parse_toc(toc)
            if parsed is None:
                self.error(400, "Invalid TOC")
                return
            releases = catalogue.close_to(*parsed)
            self.reply({"release-count": len(releases), "release-offset": 0, "releases": releases})
        else:
            self.error(404, "Not Found")

    def reply(self, document):
        body = json.dumps(document, ensure_ascii=False).encode("utf-8")
        misbehave = self.server.service.misbehave
        if misbehave == "huge":
            # Valid JSON all the same: the size alone is wrong.
            body = body[:-1] + b"," + json.dumps({"padding": "x" * (3 * 1024 * 1024)}).encode()[1:]
        if misbehave == "trickle":
            self.send_response(200)
            self.send_header("Content-Type", "application/json; charset=utf-8")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            for i in range(len(body)):
                self.wfile.write(body[i:i + 1])
                self.wfile.flush()
                time.sleep(0.5)
            return
        self.send(200, body)


class TlsServer(ThreadingHTTPServer):
    """The TLS handshake runs on each connection's own thread: a client that stalls in
    it, or refuses the certificate, holds up no one else."""

    daemon_threads = True

    def __init__(self, address, context, service):
        super().__init__(address, Handler)
        self.context = context
        self.service = service

    def finish_request(self, request, client_address):
        try:
            tls = self.context.wrap_socket(request, server_side=True)
        except OSError:
            return
        try:
            self.RequestHandlerClass(tls, client_address, self)
        finally:
            tls.close()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--data", required=True)
    parser.add_argument("--cert", required=True)
    parser.add_argument("--key", required=True)
    parser.add_argument("--host", default="127.0.0.1")
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--log")
    parser.add_argument("--misbehave", choices=["busy", "stall", "huge", "trickle"])
    args = parser.parse_args()

    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(args.cert, args.key)
    server = TlsServer((args.host, args.port), context, Service(Catalogue(args.data), args.log, args.misbehave))
    print(f"port {server.server_address[1]}", flush=True)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
