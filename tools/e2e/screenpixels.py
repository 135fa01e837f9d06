"""What is drawn on the X display, read through ImageMagick: for tests and pictures that
measure the program's windows."""
import re
import subprocess

PIXEL = re.compile(r"^(\d+),(\d+): \((\d+),(\d+),(\d+)")


def grab(path):
    """A picture of the whole screen."""
    subprocess.run(["import", "-window", "root", str(path)], check=True, timeout=60)


def region(path, left, top, right, bottom):
    """The pixels of a rectangle of a picture, as rows of (r, g, b)."""
    width, height = right - left, bottom - top
    text = subprocess.run(["convert", str(path), "-crop", f"{width}x{height}+{left}+{top}", "+repage",
                           "-depth", "8", "txt:-"], capture_output=True, text=True, check=True, timeout=60).stdout
    rows = [[None] * width for _ in range(height)]
    for line in text.splitlines():
        found = PIXEL.match(line)
        if found:
            x, y, r, g, b = map(int, found.groups())
            rows[y][x] = (r, g, b)
    return rows


def drawn_extent(rows, ground=()):
    """(width, height) of what is drawn on a plain ground: the box around every pixel not
    of the colour at the top-left corner nor of the other ground colours given. (0, 0)
    when nothing is."""
    grounds = {rows[0][0], *ground}
    xs = [x for row in rows for x, pixel in enumerate(row) if pixel not in grounds]
    ys = [y for y, row in enumerate(rows) for pixel in row if pixel not in grounds]
    if not xs:
        return 0, 0
    return max(xs) - min(xs) + 1, max(ys) - min(ys) + 1
