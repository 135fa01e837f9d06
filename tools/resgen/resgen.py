#!/usr/bin/env python3
"""Draws the program's icons and bitmaps from readable pixel art.

Each file in resources/art/ is text:

    # any comment
    kind icon            icon (16-colour .ico with a transparency mask) or bitmap (.bmp)
    id 108               the resource id; the output is resources/generated/<id>.<ext>
    dark 1108 k=s b=C    an icon only: a variant for a dark taskbar, its own resource,
                         with these colours replaced (black by silver, navy by cyan)
    pixels
    ......kkkk......     one character a pixel, one line a row, top row first

Screens of more than 96 DPI show every picture larger, so each comes in more sizes,
all scaled from the drawing pixel by pixel (nearest neighbour), never smoothed:

- an icon carries images at 1, 1.25, 1.5, 2, 2.5 and 3 times its drawing (16 pixels
  gives 16, 20, 24, 32, 40 and 48), the sizes Windows asks for small and large icons
  at 96 to 288 DPI, so that it never has to stretch one itself;
- a bitmap (a panel button's face) is also written at twice and three times its size,
  as <id>-2x.bmp and <id>-3x.bmp.

A further "pixels" block drawn at one of those sizes takes the place of the scaled
image of its size, for art made for it.

The characters are the sixteen colours of the standard 16-colour palette; '.' is
transparent in an icon and the button face (silver) in a bitmap. The generated files
are committed with the art, so the pictures can be reviewed and changed as text:
run this script after editing an art file.
"""
import pathlib
import struct
import sys

PALETTE = [  # character, RGB; the order is the standard 16-colour palette
    ("k", 0x000000), ("r", 0x800000), ("g", 0x008000), ("y", 0x808000),
    ("b", 0x000080), ("m", 0x800080), ("c", 0x008080), ("s", 0xC0C0C0),
    ("d", 0x808080), ("R", 0xFF0000), ("G", 0x00FF00), ("Y", 0xFFFF00),
    ("B", 0x0000FF), ("M", 0xFF00FF), ("C", 0x00FFFF), ("w", 0xFFFFFF),
]
INDEX = {ch: i for i, (ch, _) in enumerate(PALETTE)}
SILVER = INDEX["s"]


def check_rows(path, rows):
    width = len(rows[0])
    for n, row in enumerate(rows):
        if len(row) != width:
            raise SystemExit(f"{path}: row {n + 1} is {len(row)} pixels, not {width}")
        for ch in row:
            if ch != "." and ch not in INDEX:
                raise SystemExit(f"{path}: row {n + 1} has unknown colour {ch!r}")


def read_colour_map(path, words):
    """The colour replacements of a "dark" line: {from: to}."""
    mapping = {}
    for word in words:
        source, _, target = word.partition("=")
        if len(source) != 1 or len(target) != 1 or source not in INDEX or target not in INDEX:
            raise SystemExit(f"{path}: a colour replacement is written like k=s, not {word!r}")
        mapping[source] = target
    return mapping


def read_art(path):
    """kind, id, the dark variant (id and colour map, or None) and the drawings (lists of
    rows), the first one first."""
    kind, ident, dark, drawings = None, None, None, []
    for raw in path.read_text().splitlines():
        line = raw.rstrip()
        if line == "pixels":
            drawings.append([])
            continue
        if drawings and line and not line.startswith("#"):
            drawings[-1].append(line)
            continue
        if not line or line.startswith("#"):
            continue
        word, _, rest = line.partition(" ")
        if word == "kind":
            kind = rest.strip()
        elif word == "id":
            ident = int(rest)
        elif word == "dark":
            dark_id, *replacements = rest.split()
            dark = (int(dark_id), read_colour_map(path, replacements))
        else:
            raise SystemExit(f"{path}: unknown line {line!r}")
    if kind not in ("icon", "bitmap") or ident is None or not drawings or not all(drawings):
        raise SystemExit(f"{path}: needs kind, id and pixels")
    for rows in drawings:
        check_rows(path, rows)
    if dark and kind != "icon":
        raise SystemExit(f"{path}: only an icon has a dark variant")
    return kind, ident, dark, drawings


def scaled(rows, size):
    """A square drawing scaled to size pixels a side: each pixel of the result takes the
    drawing's pixel under its top-left corner, so nothing is blended."""
    base = len(rows)
    return ["".join(rows[y * base // size][x * base // size] for x in range(size)) for y in range(size)]


# Icon images per drawing size, in quarters of it: 1, 1.25, 1.5, 2, 2.5 and 3 times.
ICON_QUARTERS = (4, 5, 6, 8, 10, 12)
# Bitmaps: 1, 2 and 3 times, the file name's suffix for each.
BITMAP_FACTORS = ((1, ""), (2, "-2x"), (3, "-3x"))


def sized_images(path, drawings, sizes):
    """An image per size, smallest first: a drawing made at that size, else the first
    drawing scaled to it."""
    by_size = {}
    for rows in drawings:
        size = len(rows[0])
        if size != len(rows) or size in by_size:
            raise SystemExit(f"{path}: each drawing is square and of its own size")
        if size not in sizes:
            raise SystemExit(f"{path}: a drawing of {size} pixels is none of the sizes {sorted(sizes)}")
        by_size[size] = rows
    for size in sizes:
        by_size.setdefault(size, scaled(drawings[0], size))
    return [by_size[size] for size in sorted(by_size)]


def icon_images(path, drawings):
    base = len(drawings[0])
    if base * ICON_QUARTERS[-1] // 4 > 255:
        raise SystemExit(f"{path}: an icon drawing is at most 84 pixels")
    return sized_images(path, drawings, [base * q // 4 for q in ICON_QUARTERS])


def recoloured(rows, mapping):
    return ["".join(mapping.get(ch, ch) for ch in row) for row in rows]


def palette_bytes():
    out = b""
    for _, rgb in PALETTE:
        out += bytes([rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF, 0])
    return out


def pad4(data):
    return data + b"\0" * (-len(data) % 4)


def four_bit_rows(rows, transparent_index):
    """Bottom-up 4-bit rows, each padded to a multiple of four bytes."""
    out = b""
    for row in reversed(rows):
        nibbles = [transparent_index if ch == "." else INDEX[ch] for ch in row]
        if len(nibbles) % 2:
            nibbles.append(0)
        out += pad4(bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, len(nibbles), 2)))
    return out


def mask_rows(rows):
    """Bottom-up 1-bit AND mask: 1 where the pixel is transparent."""
    out = b""
    for row in reversed(rows):
        bits = 0
        width = (len(row) + 7) // 8 * 8
        for x in range(width):
            bits = (bits << 1) | (1 if x >= len(row) or row[x] == "." else 0)
        out += pad4(bits.to_bytes(width // 8, "big"))
    return out


def info_header(width, height, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, image_size, 0, 0, 16, 0)


def make_icon(images):
    """A .ico file with one 16-colour image and mask per entry of images."""
    bodies = []
    for rows in images:
        width, height = len(rows[0]), len(rows)
        xor, mask = four_bit_rows(rows, 0), mask_rows(rows)
        bodies.append(info_header(width, height * 2, len(xor) + len(mask)) + palette_bytes() + xor + mask)
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for rows, body in zip(images, bodies):
        directory += struct.pack("<BBBBHHII", len(rows[0]), len(rows), 16, 0, 1, 4, len(body), offset)
        offset += len(body)
    return directory + b"".join(bodies)


def make_bitmap(rows):
    width, height = len(rows[0]), len(rows)
    pixels = four_bit_rows(rows, SILVER)
    header = info_header(width, height, len(pixels)) + palette_bytes()
    offset = 14 + len(header)
    return struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset) + header + pixels


def main():
    root = pathlib.Path(__file__).resolve().parents[2] / "resources"
    out_dir = root / "generated"
    out_dir.mkdir(exist_ok=True)
    outputs = {}
    for art in sorted((root / "art").glob("*.txt")):
        kind, ident, dark, drawings = read_art(art)
        if kind == "icon":
            images = icon_images(art, drawings)
            outputs[f"{ident}.ico"] = make_icon(images)
            if dark:
                dark_id, mapping = dark
                outputs[f"{dark_id}.ico"] = make_icon([recoloured(rows, mapping) for rows in images])
        else:
            base = len(drawings[0])
            images = sized_images(art, drawings, [base * factor for factor, _ in BITMAP_FACTORS])
            for rows, (_, suffix) in zip(images, BITMAP_FACTORS):
                outputs[f"{ident}{suffix}.bmp"] = make_bitmap(rows)
    for name, data in outputs.items():
        target = out_dir / name
        if not target.exists() or target.read_bytes() != data:
            target.write_bytes(data)
            print(f"wrote {target.relative_to(root.parent)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
