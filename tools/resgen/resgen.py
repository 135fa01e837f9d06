#!/usr/bin/env python3
"""Draws the program's icons and bitmaps from readable pixel art.

Each file in resources/art/ is text:

    # any comment
    kind icon            icon (16-colour .ico with a transparency mask) or bitmap (.bmp)
    id 108               the resource id; the output is resources/generated/<id>.<ext>
    pixels
    ......kkkk......     one character a pixel, one line a row, top row first

An icon drawn 16 pixels wide also carries 32 and 48 pixel images, so that Explorer,
Alt+Tab and high-DPI screens find a size of their own. Each is the drawing scaled by
a whole factor, so it stays as sharp as the drawing, and scaling it back down gives
the drawing itself. A further "pixels" block drawn at 32 or 48 pixels takes the place
of the scaled image of its size.

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


def read_art(path):
    """kind, id and the drawings (lists of rows), the first one first."""
    kind, ident, drawings = None, None, []
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
        else:
            raise SystemExit(f"{path}: unknown line {line!r}")
    if kind not in ("icon", "bitmap") or ident is None or not drawings or not all(drawings):
        raise SystemExit(f"{path}: needs kind, id and pixels")
    for rows in drawings:
        check_rows(path, rows)
    if kind == "bitmap" and len(drawings) > 1:
        raise SystemExit(f"{path}: a bitmap has one drawing")
    return kind, ident, drawings


def scaled(rows, factor):
    return ["".join(ch * factor for ch in row) for row in rows for _ in range(factor)]


ICON_SIZES = (16, 32, 48)


def icon_images(path, drawings):
    """The images of an icon, smallest first: the drawings, and for a 16-pixel drawing
    the other sizes scaled from it."""
    by_size = {}
    for rows in drawings:
        size = len(rows[0])
        if size != len(rows) or size in by_size:
            raise SystemExit(f"{path}: each drawing is square and of its own size")
        by_size[size] = rows
    base = drawings[0]
    if len(base[0]) == ICON_SIZES[0]:
        for size in ICON_SIZES[1:]:
            by_size.setdefault(size, scaled(base, size // ICON_SIZES[0]))
    return [by_size[size] for size in sorted(by_size)]


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
    for art in sorted((root / "art").glob("*.txt")):
        kind, ident, drawings = read_art(art)
        if kind == "icon":
            data, ext = make_icon(icon_images(art, drawings)), "ico"
        else:
            data, ext = make_bitmap(drawings[0]), "bmp"
        target = out_dir / f"{ident}.{ext}"
        if not target.exists() or target.read_bytes() != data:
            target.write_bytes(data)
            print(f"wrote {target.relative_to(root.parent)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
