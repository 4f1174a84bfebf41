#!/usr/bin/env python3
"""Draws Kairon's own artwork and writes it into src/kairon/res/:

    kairon.ico        the program icon (resource 128): 16, 32, 48, 64 and 256 pixels, 32-bit
    picture-wide.jpg  the wide picture (resource "IDR_JPG" 131), 700 x 230
    picture-tall.jpg  the tall picture (resource "IDR_JPG" 132), 230 x 700

and, with --tests, the test icon with odd sizes into tests/s/app/odd-sizes.ico and three
unreadable pictures into tests/s/image/ (truncated.jpg: the first third of the wide picture;
damaged.jpg: its frame header overwritten; not-a-picture.jpg: text).

The drawing is plain geometry (a clock over a blue tile; three time bars for the three
times a file keeps), rendered with supersampling, so the output is the same on every run.
Needs only Python 3; the JPEGs are encoded by cjpeg (Debian: libjpeg-turbo-progs) at
quality 92 without chroma subsampling. The committed files are the output: run this only
to change the artwork.

Flat areas of the pictures (their colours and places are below in PICTURE_PROBES) are
what the decoding tests check.
"""
import math
import os
import struct
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RES = os.path.join(ROOT, "src", "kairon", "res")

NAVY = (20, 33, 61)
FACE = (248, 250, 252)
INK = (15, 23, 42)
ORANGE = (249, 115, 22)
TILE_TOP = (59, 130, 246)
TILE_BOTTOM = (30, 64, 175)
CREATED = (34, 197, 94)
MODIFIED = (249, 115, 22)
ACCESSED = (139, 92, 246)
RAIL = (51, 65, 85)

# Places (x, y) in the flat areas of each picture and the colour drawn there.
PICTURE_PROBES = {
    "wide": [((10, 10), NAVY), ((385, 62), CREATED), ((505, 116), MODIFIED), ((445, 170), ACCESSED)],
    "tall": [((10, 10), NAVY), ((60, 385), CREATED), ((100, 485), MODIFIED), ((80, 585), ACCESSED)],
}


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)
    t = max(0.0, min(1.0, t))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def in_round_rect(x, y, left, top, right, bottom, radius):
    if x < left or x > right or y < top or y > bottom:
        return False
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius


def clock(x, y, cx, cy, r):
    """Colour of the clock at (x, y) (centre cx, cy, face radius r), or None outside it."""
    d = math.hypot(x - cx, y - cy)
    if d > r * 1.12:
        return None
    if d > r:
        return INK  # rim
    for hour in range(12):  # ticks
        a = hour * math.pi / 6
        ox, oy = math.sin(a), -math.cos(a)
        inner = 0.78 if hour % 3 == 0 else 0.86
        if segment_distance(x, y, cx + ox * r * inner, cy + oy * r * inner, cx + ox * r * 0.93,
                            cy + oy * r * 0.93) < r * (0.055 if hour % 3 == 0 else 0.035):
            return INK
    if d < r * 0.09:
        return ORANGE
    for angle, length, width in ((-60, 0.5, 0.075), (60, 0.74, 0.055)):  # 10:10
        a = math.radians(angle)
        if segment_distance(x, y, cx, cy, cx + math.sin(a) * r * length,
                            cy - math.cos(a) * r * length) < r * width:
            return INK
    if segment_distance(x, y, cx, cy, cx + math.sin(math.radians(150)) * r * 0.8,
                        cy - math.cos(math.radians(150)) * r * 0.8) < r * 0.022:
        return ORANGE
    return FACE


def icon_sample(u, v):
    """Colour and alpha of the icon at (u, v) in 0..1."""
    if not in_round_rect(u, v, 0.02, 0.02, 0.98, 0.98, 0.2):
        return None
    c = clock(u, v, 0.5, 0.5, 0.36)
    return c if c else mix(TILE_TOP, TILE_BOTTOM, v)


def render(width, height, sample, grid):
    """Rows of (r, g, b, a) with a grid x grid supersampling; sample(x, y) answers a colour or None."""
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            r = g = b = covered = 0.0
            for j in range(grid):
                for i in range(grid):
                    c = sample(x + (i + 0.5) / grid, y + (j + 0.5) / grid)
                    if c is not None:
                        r += c[0]
                        g += c[1]
                        b += c[2]
                        covered += 1
            if covered:
                row.append((round(r / covered), round(g / covered), round(b / covered),
                            round(255 * covered / (grid * grid))))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def icon_image(size, bits=32, tint=None):
    grid = 8 if size <= 64 else 3
    rows = render(size, size, lambda x, y: icon_sample(x / size, y / size), grid)
    if tint:
        rows = [[(tint[0], tint[1], tint[2], p[3]) if p[3] else p for p in row] for row in rows]
    return dib(rows, bits)


def dib(rows, bits):
    """An icon image: BITMAPINFOHEADER, colour rows bottom-up, AND mask bottom-up."""
    h, w = len(rows), len(rows[0])
    colour = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b, a in row:
            line += bytes((b, g, r, a)) if bits == 32 else bytes((b, g, r))
        while len(line) % 4:
            line.append(0)
        colour += line
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray((w + 31) // 32 * 4)
        for x, p in enumerate(row):
            if p[3] < 128:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, bits, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return w, h, bits, header + bytes(colour) + bytes(mask)


def write_ico(path, images):
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for w, h, bits, data in images:
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, bits, len(data), offset)
        offset += len(data)
    for _, _, _, data in images:
        out += data
    with open(path, "wb") as f:
        f.write(out)


def picture(width, height, tall):
    """The wide or tall picture: a clock beside (above) three time bars on a timeline."""
    if tall:
        cx, cy, r = 115, 150, 85
        bars = [(40, 370, 190, 400, CREATED), (40, 470, 170, 500, MODIFIED), (40, 570, 120, 600, ACCESSED)]
        rails = [(30, 340, 34, 630)]
    else:
        cx, cy, r = 125, 115, 85
        bars = [(270, 47, 520, 77, CREATED), (350, 101, 660, 131, MODIFIED), (300, 155, 590, 185, ACCESSED)]
        rails = [(260, 30, 264, 200)]

    def sample(x, y):
        c = clock(x, y, cx, cy, r)
        if c:
            return c
        for left, top, right, bottom, colour in bars:
            if in_round_rect(x, y, left, top, right, bottom, 6):
                return colour
        for left, top, right, bottom in rails:
            if left <= x <= right and top <= y <= bottom:
                return RAIL
        return NAVY

    rows = render(width, height, sample, 2)
    return b"P6\n%d %d\n255\n" % (width, height) + bytes(v for row in rows for p in row for v in p[:3])


def write_jpeg(path, ppm):
    with tempfile.NamedTemporaryFile(suffix=".ppm", delete=False) as f:
        f.write(ppm)
        name = f.name
    try:
        subprocess.run(["cjpeg", "-quality", "92", "-sample", "1x1", "-optimize", "-outfile", path, name],
                       check=True)
    finally:
        os.unlink(name)


def main():
    write_ico(os.path.join(RES, "kairon.ico"), [icon_image(s) for s in (16, 32, 48, 64, 256)])
    write_jpeg(os.path.join(RES, "picture-wide.jpg"), picture(700, 230, False))
    write_jpeg(os.path.join(RES, "picture-tall.jpg"), picture(230, 700, True))
    if "--tests" in sys.argv:
        # Odd sizes and depths: 16 in 24-bit before 16 in 32-bit, 20, 32 in 24-bit only, 44, 80.
        images = [icon_image(16, 24, (200, 0, 0)), icon_image(20), icon_image(32, 24), icon_image(44),
                  icon_image(80), icon_image(16, 32, (0, 0, 200))]
        write_ico(os.path.join(ROOT, "tests", "s", "app", "odd-sizes.ico"), images)
        with open(os.path.join(RES, "picture-wide.jpg"), "rb") as f:
            wide = f.read()
        images_dir = os.path.join(ROOT, "tests", "s", "image")
        with open(os.path.join(images_dir, "truncated.jpg"), "wb") as f:
            f.write(wide[:len(wide) // 3])
        damaged = bytearray(wide)
        frame = damaged.find(b"\xff\xc0")
        if frame < 0:
            frame = damaged.find(b"\xff\xc2")
        damaged[frame:frame + 12] = b"\x5a" * 12
        with open(os.path.join(images_dir, "damaged.jpg"), "wb") as f:
            f.write(bytes(damaged))
        with open(os.path.join(images_dir, "not-a-picture.jpg"), "wb") as f:
            f.write(b"This is text, not a JPEG picture.\n")


if __name__ == "__main__":
    main()
