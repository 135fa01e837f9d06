#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpora from the project's own test data and samples.

Run from the repository root: python3 fuzz/make_seeds.py. The seeds are committed; the
fuzzers add what they find to a working copy of each corpus under build/fuzz."""
import glob
import os
import re
import struct

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CORPUS = os.path.join(ROOT, "fuzz", "corpus")


def write(target, name, data):
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode("latin-1"))


def read(path):
    with open(path, "rb") as f:
        return f.read()


def case_replies(path):
    """The server's side of a protocol case: its "line" steps, CR LF ended."""
    out = b""
    for raw in read(path).splitlines():
        if raw.startswith(b"line "):
            out += raw[5:] + b"\r\n"
        elif raw == b"line":
            out += b"\r\n"
    return out


for path in sorted(glob.glob(os.path.join(ROOT, "samples", "discs", "*.disc"))):
    write("discdescription", os.path.basename(path), read(path))

for i, text in enumerate(["", "-d", "E:\\", "-d E:\\", "  -d   Z:\\ extra", "-x", "C:"]):
    write("commandline", "seed%d" % i, text)

for i, (count, text) in enumerate([(12, "1 2 3 4"), (3, "3 2 1"), (10, " 1 2"), (99, "1  2"),
                                   (5, "-1 7 2147483648 2"), (2, "12\t\x85 1")]):
    write("tracklist", "seed%d" % i, bytes([count]) + text.encode("latin-1"))

xmcd = sorted(glob.glob(os.path.join(ROOT, "tests", "data", "cddb", "xmcd", "*.xmcd")))
xmcd += sorted(glob.glob(os.path.join(ROOT, "samples", "cddb", "*", "*")))
for path in xmcd:
    if os.path.basename(path).startswith("README"):
        continue
    name = os.path.basename(os.path.dirname(path)) + "-" + os.path.basename(path)
    write("xmcd", name, bytes([12]) + read(path))

for path in sorted(glob.glob(os.path.join(ROOT, "tests", "data", "cddb", "protocol", "*.case"))):
    write("responseline", os.path.basename(path), case_replies(path))

for path in sorted(glob.glob(os.path.join(ROOT, "tests", "data", "cddb", "protocol", "*.case"))):
    # The first byte: a disc of 3 tracks; its top bit set for the HTTP cases.
    http = os.path.basename(path).startswith("http-")
    write("cddbconversation", os.path.basename(path), bytes([0x83 if http else 3]) + case_replies(path))

for i, text in enumerate(["rock 0200b201 Some Artist / Some Title\nfolk 9c0b330c \xc9dith / Best\n",
                          "misc zz nothing\n.\n", "jazz 9d0ef00b " + "x" * 300 + "\n"]):
    write("matchlist", "seed%d" % i, text)

for i, text in enumerate(["gnudb.gnudb.org:8880 gnudb, worldwide", "127.0.0.1 local",
                          "http://gnudb.gnudb.org/~cddb/cddb.cgi http", "http://[::1]:99999/x",
                          "host:0", "listener@home.example", "a@b@c"]):
    write("serverentry", "seed%d" % i, text)

for i, text in enumerate([b"Beyonc\xc3\xa9 / 4", b"Beyonc\xe9 / 4", b"\xe2\x82\xac \xf0\x9f\x8e\xb5",
                          b"\xc3\x28 broken", b"plain"]):
    write("textencoding", "seed%d" % i, text)

for i, text in enumerate(["220 mail ready\r\n250 ok\r\n",
                          "220-first\r\n220-second\r\n220 last\r\n",
                          "250-a\r\n250-b\n250 c\r\n354 go ahead\r\n",
                          "421 closing\r\n", "220 no line end"]):
    write("smtpreply", "seed%d" % i, text)


# MusicBrainz replies, each after a byte for its disc's track count.
for path in sorted(glob.glob(os.path.join(ROOT, "tests", "data", "musicbrainz", "*.json"))):
    reply = read(path)
    count = {"album": 12, "eleven": 11, "enhanced": 9, "onetrack": 1, "datafirst": 7}[os.path.basename(path).split("-")[0]]
    write("musicbrainzreply", os.path.basename(path), bytes([count]) + reply)
write("musicbrainzreply", "not-found", bytes([1]) + b'{"error":"Not Found","help":"For usage, please see: '
      b'https://musicbrainz.org/development/mmd"}')


def value(index, kind, data):
    return bytes([index, kind, len(data)]) + data


names = {"Artist": 0, "Title": 1, "Program": 2, "ProgramCount": 3, "cddbID": 4, "Track #1": 5, "Track #2": 6}
record = (value(names["Artist"], 0, b"Some Artist\0") + value(names["Title"], 0, b"Some Title\0")
          + value(names["Track #1"], 0, b"First\0") + value(names["Program"], 0, b"2 1 3\0")
          + value(names["ProgramCount"], 2, struct.pack("<I", 3)))
write("registryrecord", "current", bytes([3, 0]) + record)
write("registryrecord", "older", bytes([3, 1]) + record)
write("registryrecord", "binary-artist", bytes([3, 2]) + value(0, 1, b"A" * 255))

write("cdplayerini", "section", bytes([4]) + b"[3A5B1C02]\r\nEntryType=1\r\nartist=Some Artist\r\n"
      b"title=Some Title\r\nnumtracks=4\r\n0=One\r\n1=Two\r\nnumplay=3\r\norder=2 1 3\r\n")
write("cdplayerini", "placeholders", bytes([4]) + b"[3A5B1C02]\r\nartist=New Artist\r\ntitle=New Title\r\n")


def wav_bytes(pcm):
    """A RIFF WAVE of 44.1 kHz 16-bit stereo around the samples."""
    fmt = struct.pack("<HHIIHH", 1, 2, 44100, 176400, 4, 16)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt + b"data" + struct.pack("<I", len(pcm)) + pcm
    return b"RIFF" + struct.pack("<I", len(body)) + body


# CUE sheets: the sheet, a NUL, then the bytes of every file it names (a few frames).
frames = bytes(range(256)) * 46  # 5 frames and a little
cue_seeds = {
    "single-bin": ('FILE "d.bin" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n'
                   '  TRACK 02 AUDIO\n    INDEX 00 00:00:01\n    INDEX 01 00:00:02\n'
                   '  TRACK 03 MODE1/2352\n    INDEX 01 00:00:03\n', frames),
    "wav-per-track": ('FILE "1.wav" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n  TRACK 02 AUDIO\n'
                      '    INDEX 00 00:00:02\nFILE "2.wav" WAVE\n    INDEX 01 00:00:00\n', wav_bytes(frames)),
    "gaps": ('REM x\nFILE "d.bin" MOTOROLA\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n    POSTGAP 00:00:01\n'
             '  TRACK 02 AUDIO\n    PREGAP 00:00:02\n    INDEX 01 00:00:02\n', frames),
    "mixed-sectors": ('FILE "m.bin" BINARY\n  TRACK 01 MODE1/2048\n    INDEX 01 00:00:00\n'
                      '  TRACK 02 AUDIO\n    INDEX 01 00:00:01\n', frames),
}
for name, (sheet, image) in cue_seeds.items():
    write("cuesheet", name, sheet.encode("latin-1") + b"\0" + image)

