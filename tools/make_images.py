#!/usr/bin/env python3
"""Draws the program icon and the hand cursor and writes them as .ico and .cur.

    make_images.py ICON_OUT CURSOR_OUT [PREVIEW_DIR]

The small images are pixel art, kept as text grids below so they stay crisp at
16 and 32 pixels; the large icon sizes are drawn from the same motif with
anti-aliased shapes. PREVIEW_DIR, when given, receives every image as a PNG.
Standard library only, so the build needs nothing but a Python interpreter.
"""

import math
import os
import struct
import sys
import zlib

# ---------------------------------------------------------------------------
# Colours

# The standard 16-colour VGA palette, in palette-index order.
VGA = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, NAVY, SILVER, GREY, YELLOW, BLUE, WHITE = 0, 4, 7, 8, 11, 12, 15

RIM = (0x16, 0x3B, 0x78)
BODY_TOP = (0x4C, 0x8E, 0xE8)
BODY_BOTTOM = (0x1E, 0x58, 0xB4)
SYMBOL = (0xFF, 0xFF, 0xFF)
BADGE = (0xFF, 0xCE, 0x1E)
BADGE_RIM = (0x4A, 0x36, 0x00)


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def body_colour(y):
    """The tile's vertical gradient; y runs from 0 (top) to 1 (bottom)."""
    return mix(BODY_TOP, BODY_BOTTOM, (y - 0.05) / 0.9)


# ---------------------------------------------------------------------------
# Pixel art. Each grid character names a colour: full colour as (r, g, b, a)
# or a function of the row's height for the tile's gradient, and the palette
# index that stands in for it in 16-colour images (None: transparent there).

ICON_KEY = {
    ".": (lambda y: (0, 0, 0, 0), None),
    "k": (lambda y: RIM + (0x70,), None),  # softened corner of the rim
    "K": (lambda y: RIM + (0xFF,), NAVY),
    "B": (lambda y: body_colour(y) + (0xFF,), BLUE),
    "W": (lambda y: SYMBOL + (0xFF,), WHITE),
    "Y": (lambda y: BADGE + (0xFF,), YELLOW),
    "O": (lambda y: BADGE_RIM + (0xFF,), BLACK),
}

ICON_32 = [
    "................................",
    "....kKKKKKKKKKKKKKKKKKKKKKKk....",
    "...KKBBBBBBBBBBBBBBBBBBBBBBKK...",
    "..KBBBBBBBBBBBBBBBBBBBBBBBBBBK..",
    ".kKBBBBBBBBBWWWBBBBBBBBBBBBBBKk.",
    ".KBBBBBBBBBBWWWBBBBBBBBBBBBBBBK.",
    ".KBBBBBBBBBBWWWBBBBBBBBBBBBBBBK.",
    ".KBBBBBBWWBBWWWBBWWBBBBBBBBBBBK.",
    ".KBBBBBWWWBBWWWBBWWWBBBBBBBBBBK.",
    ".KBBBBWWWWBBWWWBBWWWWBBBBBBBBBK.",
    ".KBBBBWWWBBBWWWBBBWWWBBBBBBBBBK.",
    ".KBBBWWWBBBBWWWBBBBWWWBBBBBBBBK.",
    ".KBBBWWWBBBBWWWBBBBWWWBBBBBBBBK.",
    ".KBBBWWWBBBBWWWBBBBWWWBBBBBBBBK.",
    ".KBBBWWWBBBBWWWBBBBWWWBBBBBBBBK.",
    ".KBBBWWWBBBBBBBBBBBWWWBBBBBBBBK.",
    ".KBBBBWWWBBBBBBBBBWWWBBBBBBBBBK.",
    ".KBBBBWWWWBBBBBBBWWWWBBBBBBBBBK.",
    ".KBBBBBWWWWBBBBBWWWBBBOOOOBBBBK.",
    ".KBBBBBWWWWWWWWWWWWBOOYYYYOOBBK.",
    ".KBBBBBBBWWWWWWWWWBOYYYOOYYYOBK.",
    ".KBBBBBBBBBWWWWWBBBOYYOOOYYYOBK.",
    ".KBBBBBBBBBBBBBBBBOYYYYOOYYYYOK.",
    ".KBBBBBBBBBBBBBBBBOYYYYOOYYYYOK.",
    ".KBBBBBBBBBBBBBBBBOYYYYOOYYYYOK.",
    ".KBBBBBBBBBBBBBBBBOYYYYOOYYYYOK.",
    ".KBBBBBBBBBBBBBBBBBOYYYOOYYYOBK.",
    ".kKBBBBBBBBBBBBBBBBOYYOOOOYYOKk.",
    "..KBBBBBBBBBBBBBBBBBOOYYYYOOBK..",
    "...KKBBBBBBBBBBBBBBBBBOOOOBKK...",
    "....kKKKKKKKKKKKKKKKKKKKKKKk....",
    "................................",
]

# At 16 pixels the badge has no room for its digit.
ICON_16 = [
    ".kKKKKKKKKKKKKk.",
    "kKBBBBBBBBBBBBKk",
    "KBBBBBWWBBBBBBBK",
    "KBBBWBWWBWBBBBBK",
    "KBBWWBWWBWWBBBBK",
    "KBWWBBWWBBWWBBBK",
    "KBWWBBWWBBWWBBBK",
    "KBWWBBWWBBWWBBBK",
    "KBWWBBBBBBWWBBBK",
    "KBBWWBBBBWWBBBBK",
    "KBBBWWWWWWBOOOOK",
    "KBBBBBBBBBOYYYYO",
    "KBBBBBBBBBOYYYYO",
    "KBBBBBBBBBOYYYYO",
    "kKBBBBBBBBOYYYYO",
    ".kKKKKKKKKKOOOO.",
]

CURSOR_KEY = {
    ".": (lambda y: (0, 0, 0, 0), None),
    "X": (lambda y: (0x00, 0x00, 0x00, 0xFF), BLACK),
    "W": (lambda y: (0xFF, 0xFF, 0xFF, 0xFF), WHITE),
    "G": (lambda y: (0xC0, 0xC0, 0xC0, 0xFF), SILVER),
}

# A hand with the index finger pointing up; the hotspot is its tip.
HAND_32 = [
    ".....XX.........................",
    "....XWWX........................",
    "...XWWWGX.......................",
    "...XWWWGX.......................",
    "...XWWWGX.......................",
    "...XWWWGX.......................",
    "...XWWWGX.......................",
    "...XWWWGX.......................",
    "...XWWWGXXXX....................",
    "...XWWWGXWWGXXX.................",
    "...XWWWGXWWGXWGXXX..............",
    "...XWWWGXWWGXWWGXWGX............",
    ".XXXWWWGXWWGXWWGXWWGX...........",
    "XWWXWWWGXWWGXWWGXWWGX...........",
    "XWWGXWWWWWWWWWWWWWWGX...........",
    "XWWWWWWWWWWWWWWWWWWGX...........",
    ".XWWWWWWWWWWWWWWWWWGX...........",
    ".XWWWWWWWWWWWWWWWWWGX...........",
    "..XWWWWWWWWWWWWWWWWGX...........",
    "..XWWWWWWWWWWWWWWWGX............",
    "...XWWWWWWWWWWWWWWGX............",
    "...XWWWWWWWWWWWWWGX.............",
    "....XWWWWWWWWWWWWGX.............",
    ".....XXXXXXXXXXXXX..............",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
]
HAND_32_HOTSPOT = (5, 0)

HAND_16 = [
    "...XX...........",
    "..XWWX..........",
    "..XWWX..........",
    "..XWWX..........",
    "..XWWXXX........",
    "..XWWXWWXXX.....",
    "XXXWWXWWXWWX....",
    "XWXWWWWWWWWX....",
    "XWWWWWWWWWWX....",
    "XWWWWWWWWWWX....",
    ".XWWWWWWWWWX....",
    ".XWWWWWWWWX.....",
    "..XWWWWWWWX.....",
    "..XWWWWWWX......",
    "...XXXXXX.......",
    "................",
]
HAND_16_HOTSPOT = (3, 0)


class Image:
    """A square image: full-colour pixels, and palette indices when it has a
    16-colour form (None marks a transparent pixel there)."""

    def __init__(self, rgba, indices=None):
        self.size = len(rgba)
        self.rgba = rgba
        self.indices = indices


def from_grid(grid, key):
    size = len(grid)
    for row in grid:
        if len(row) != size:
            raise ValueError("grid row %r is not %d wide" % (row, size))
    rgba, indices = [], []
    for j, row in enumerate(grid):
        y = (j + 0.5) / size
        rgba.append([key[c][0](y) for c in row])
        indices.append([key[c][1] for c in row])
    return Image(rgba, indices)


# ---------------------------------------------------------------------------
# Anti-aliased drawing for the large icon sizes. Shapes are signed distance
# functions over the unit square (negative inside); a pixel's coverage follows
# from its distance to the edge, which gives clean edges at any size.


def sd_round_rect(x, y, x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    qx = abs(x - cx) - ((x1 - x0) / 2 - r)
    qy = abs(y - cy) - ((y1 - y0) / 2 - r)
    return math.hypot(max(qx, 0.0), max(qy, 0.0)) + min(max(qx, qy), 0.0) - r


def sd_circle(x, y, cx, cy, r):
    return math.hypot(x - cx, y - cy) - r


def sd_segment(x, y, ax, ay, bx, by, width):
    px, py, dx, dy = x - ax, y - ay, bx - ax, by - ay
    t = max(0.0, min(1.0, (px * dx + py * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - dx * t, py - dy * t) - width / 2


def sd_open_ring(x, y, cx, cy, r, width, gap):
    """A ring with an opening of half-angle `gap` at the top and round ends."""
    a = math.atan2(x - cx, cy - y)
    if abs(a) >= gap:
        return abs(math.hypot(x - cx, y - cy) - r) - width / 2
    side = 1.0 if a >= 0 else -1.0
    ex, ey = cx + side * r * math.sin(gap), cy - r * math.cos(gap)
    return math.hypot(x - ex, y - ey) - width / 2


# The motif in unit-square coordinates, matching the pixel art: a rounded blue
# tile with a power symbol, and a yellow badge with a "1" for the count.
TILE = (0.03, 0.03, 0.97, 0.97, 0.17)
RIM_WIDTH = 0.03
POWER = dict(cx=0.42, cy=0.435, r=0.215, width=0.095, gap=math.radians(38))
POWER_BAR = (0.42, 0.15, 0.42, 0.43)
BADGE_AT = (0.755, 0.755, 0.19)
BADGE_GAP = 0.04
BADGE_RIM_WIDTH = 0.032
DIGIT_WIDTH = 0.055
DIGIT_STROKES = [
    (0.763, 0.655, 0.763, 0.85),  # stem
    (0.763, 0.655, 0.713, 0.695),  # flag
    (0.718, 0.85, 0.808, 0.85),  # foot
]


def over(dst, rgb, alpha):
    """Composites colour `rgb` with coverage `alpha` (0..1) over pixel `dst`."""
    if alpha <= 0.0:
        return dst
    da = dst[3] / 255.0
    oa = alpha + da * (1.0 - alpha)
    out = tuple(int(round((rgb[i] * alpha + dst[i] * da * (1.0 - alpha)) / oa)) for i in range(3))
    return out + (int(round(oa * 255.0)),)


def draw_motif(size):
    px = 1.0 / size

    def cover(d):
        return max(0.0, min(1.0, 0.5 - d / px))

    bx, by, br = BADGE_AT
    rgba = []
    for j in range(size):
        y = (j + 0.5) * px
        body = body_colour(y)
        row = []
        for i in range(size):
            x = (i + 0.5) * px
            p = (0, 0, 0, 0)
            d_tile = sd_round_rect(x, y, *TILE)
            p = over(p, RIM, cover(d_tile))
            p = over(p, body, cover(d_tile + RIM_WIDTH))
            d_badge = sd_circle(x, y, bx, by, br)
            symbol = min(sd_open_ring(x, y, **POWER), sd_segment(x, y, *POWER_BAR, POWER["width"]))
            # Keep a strip of the tile between the symbol and the badge.
            symbol = max(symbol, BADGE_GAP - d_badge)
            p = over(p, SYMBOL, cover(symbol))
            p = over(p, BADGE_RIM, cover(d_badge))
            p = over(p, BADGE, cover(d_badge + BADGE_RIM_WIDTH))
            digit = min(sd_segment(x, y, *s, DIGIT_WIDTH) for s in DIGIT_STROKES)
            p = over(p, BADGE_RIM, cover(digit))
            row.append(p)
        rgba.append(row)
    return Image(rgba)


# ---------------------------------------------------------------------------
# File formats


def png(image):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    raw = b"".join(b"\x00" + bytes(c for p in row for c in p) for row in image.rgba)
    header = struct.pack(">IIBBBBB", image.size, image.size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def pad4(data):
    return data + b"\x00" * (-len(data) % 4)


def and_mask(transparent_rows):
    """The 1-bit mask that keeps the screen where a pixel is transparent;
    rows bottom-up, each padded to 32 bits."""
    out = b""
    for row in reversed(transparent_rows):
        bits = bytearray((len(row) + 7) // 8)
        for i, clear in enumerate(row):
            if clear:
                bits[i // 8] |= 0x80 >> (i % 8)
        out += pad4(bytes(bits))
    return out


def dib(image, bpp):
    """An icon or cursor image as a DIB: header, palette, colour bits and mask."""
    size = image.size
    if bpp == 32:
        palette = b""
        xor = b"".join(bytes(c for r, g, b, a in row for c in (b, g, r, a)) for row in reversed(image.rgba))
        mask = and_mask([[p[3] == 0 for p in row] for row in image.rgba])
    elif bpp == 4:
        palette = b"".join(struct.pack("BBBB", b, g, r, 0) for r, g, b in VGA)
        xor = b""
        for row in reversed(image.indices):
            nibbles = [BLACK if i is None else i for i in row]
            xor += pad4(bytes((nibbles[k] << 4) | nibbles[k + 1] for k in range(0, size, 2)))
        mask = and_mask([[i is None for i in row] for row in image.indices])
    else:
        raise ValueError("unsupported depth %d" % bpp)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, bpp, 0, len(xor) + len(mask), 0, 0,
                         16 if bpp == 4 else 0, 0)
    return header + palette + xor + mask


def icon_file(kind, entries):
    """An .ico (kind 1) or .cur (kind 2) file. Each entry is (size, colours,
    planes_or_hotspot_x, bits_or_hotspot_y, data)."""
    head = struct.pack("<HHH", 0, kind, len(entries))
    offset = len(head) + 16 * len(entries)
    directory, blobs = b"", b""
    for size, colours, word1, word2, data in entries:
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, colours, 0, word1, word2, len(data),
                                 offset + len(blobs))
        blobs += data
    return head + directory + blobs


def main(argv):
    if len(argv) not in (3, 4):
        sys.stderr.write(__doc__)
        return 2
    icon_out, cursor_out = argv[1], argv[2]
    preview = argv[3] if len(argv) == 4 else None

    icon16 = from_grid(ICON_16, ICON_KEY)
    icon32 = from_grid(ICON_32, ICON_KEY)
    icon48 = draw_motif(48)
    icon256 = draw_motif(256)
    hand32 = from_grid(HAND_32, CURSOR_KEY)
    hand16 = from_grid(HAND_16, CURSOR_KEY)

    icon = icon_file(1, [
        (16, 0, 1, 32, dib(icon16, 32)),
        (32, 0, 1, 32, dib(icon32, 32)),
        (48, 0, 1, 32, dib(icon48, 32)),
        (256, 0, 1, 32, png(icon256)),
        # The window's own 16-colour icon.
        (32, 16, 1, 4, dib(icon32, 4)),
    ])
    cursor = icon_file(2, [
        (32, 16) + HAND_32_HOTSPOT + (dib(hand32, 4),),
        (16, 16) + HAND_16_HOTSPOT + (dib(hand16, 4),),
    ])
    with open(icon_out, "wb") as f:
        f.write(icon)
    with open(cursor_out, "wb") as f:
        f.write(cursor)

    if preview:
        os.makedirs(preview, exist_ok=True)
        vga = [c + (0xFF,) for c in VGA]
        for name, image in [("icon16", icon16), ("icon32", icon32), ("icon48", icon48),
                            ("icon256", icon256), ("hand32", hand32), ("hand16", hand16)]:
            with open(os.path.join(preview, name + ".png"), "wb") as f:
                f.write(png(image))
            if image.indices:
                flat = Image([[(0, 0, 0, 0) if i is None else vga[i] for i in row] for row in image.indices])
                with open(os.path.join(preview, name + "-16colours.png"), "wb") as f:
                    f.write(png(flat))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
