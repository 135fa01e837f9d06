#!/usr/bin/env python3
"""Prints the include graph between the product's folders and every include that
points up the layers (file:line), and exits with status 1 when there is one.

A folder may include from its own folder and from folders below it. The order, lowest
first, is the one the build's libraries are declared in (CMakeLists.txt):

    resources   ids shared by the resource scripts and the code; includes nothing
    platform    the seams to the OS and their adapters
    log         the diagnostics log
    digital     the digital player: a drive's sectors read ahead and played as sound
    cdaudio     the CD audio device and its table of contents
    discinfo    the disc record, its stores and the workers' status texts
    musicbrainz the MusicBrainz client: disc id lookup over HTTPS, its reply
    cddb        the cddb client: local copy, server, submission
    ui          property sheet and About box
    app         the shell: main window, commands, panel, tray, menus

Usage: check_layers.py [source root]   (default: the repository holding this script)
"""
import os
import re
import sys

LAYERS = ["resources", "platform", "log", "digital", "cdaudio", "discinfo", "musicbrainz", "cddb", "ui", "app"]
SOURCE_SUFFIXES = (".h", ".cpp", ".rc")
INCLUDE = re.compile(r'^\s*#\s*include\s*"([^"]+)"')


def folder_of(relative_path):
    return relative_path.split("/", 1)[0]


def included_file(root, including, target):
    """The included file's path relative to root, as the compiler finds it: next to the
    including file first, then from the root."""
    beside = os.path.normpath(os.path.join(os.path.dirname(including), target))
    if os.path.exists(os.path.join(root, beside)):
        return beside
    return os.path.normpath(target)


def scan(root):
    """Yields (file, line number, included path) for every quoted include."""
    for layer in LAYERS:
        for directory, _, names in os.walk(os.path.join(root, layer)):
            for name in sorted(names):
                if not name.endswith(SOURCE_SUFFIXES):
                    continue
                path = os.path.relpath(os.path.join(directory, name), root)
                with open(os.path.join(root, path), encoding="utf-8", errors="replace") as f:
                    for number, line in enumerate(f, 1):
                        m = INCLUDE.match(line)
                        if m:
                            yield path, number, included_file(root, path, m.group(1))


def check(root):
    rank = {layer: i for i, layer in enumerate(LAYERS)}
    edges = {}
    upward = []
    for path, number, target in scan(root):
        source, destination = folder_of(path), folder_of(target)
        if destination not in rank:
            # Not a product folder: a system header or a generated file beside the source.
            if target.startswith(".."):
                upward.append(f"{path}:{number}: includes {target}, outside the product's folders")
            continue
        if destination != source:
            edges.setdefault(source, {}).setdefault(destination, 0)
            edges[source][destination] += 1
        if rank[destination] > rank[source]:
            upward.append(f"{path}:{number}: {source} includes {target} from {destination}, a higher layer")
    return edges, upward


def main(argv):
    root = argv[1] if len(argv) > 1 else os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    edges, upward = check(root)
    print("layers, lowest first: " + " < ".join(LAYERS))
    for source in LAYERS:
        targets = edges.get(source, {})
        listed = " ".join(f"{t}({targets[t]})" for t in LAYERS if t in targets)
        print(f"  {source} -> {listed if listed else '(nothing)'}")
    for line in upward:
        print(line)
    print(f"upward includes: {len(upward)}")
    return 1 if upward else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
