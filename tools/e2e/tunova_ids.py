"""The program's command, control and message ids by name, read from the headers that
the code and the resource scripts use, so that a test sends what the program expects.

    import tunova_ids as ids
    driver("command", MAIN_CAPTION, ids.IDM_EXIT)
"""
import pathlib
import re

ROOT = pathlib.Path(__file__).resolve().parents[2]
HEADERS = ("resources/commandids.h", "resources/controlids.h", "resources/messageids.h")

# "#define IDM_EXIT 40019" and "constexpr unsigned TrayCallbackMessage = 0xA710;"
_DEFINE = re.compile(r"^\s*#define\s+(\w+)\s+(0[xX][0-9A-Fa-f]+|\d+)\s*(?://.*)?$")
_CONSTANT = re.compile(r"^\s*constexpr\s+unsigned\s+(\w+)\s*=\s*(0[xX][0-9A-Fa-f]+|\d+)\s*;")


def read_ids(root=ROOT):
    ids = {}
    for header in HEADERS:
        for line in (root / header).read_text().splitlines():
            m = _DEFINE.match(line) or _CONSTANT.match(line)
            if m:
                if m.group(1) in ids:
                    raise ValueError(f"{header}: {m.group(1)} is defined twice")
                ids[m.group(1)] = int(m.group(2), 0)
    return ids


globals().update(read_ids())
