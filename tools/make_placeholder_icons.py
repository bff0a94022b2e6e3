#!/usr/bin/env python3
"""Draws Saltor's placeholder icons and the knight cursor and writes them into resources/.

    tools/make_placeholder_icons.py [OUTPUT_DIR]

Plain Python, no imaging library: every picture is a few shapes in a unit square, rasterised with
4 x 4 supersampling into 32-bit images with alpha, and packed into .ico/.cur files (BITMAPINFO
images with an AND mask, which every Windows version and Wine read). The output is
byte-for-byte reproducible, so the committed files can be checked against the script.
"""

import math
import os
import struct
import sys

# ---------------------------------------------------------------------------------------------
# Shapes: functions (x, y) -> bool over the unit square, y pointing down.


def polygon(points):
    edges = list(zip(points, points[1:] + points[:1]))

    def inside(x, y):
        hit = False
        for (x1, y1), (x2, y2) in edges:
            if (y1 > y) != (y2 > y):
                if x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
                    hit = not hit
        return hit

    inside.edges = edges
    return inside


def circle(cx, cy, r):
    return lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def rect(left, top, right, bottom):
    return lambda x, y: left <= x <= right and top <= y <= bottom


def rounded_rect(left, top, right, bottom, r):
    def inside(x, y):
        if not (left <= x <= right and top <= y <= bottom):
            return False
        dx = max(left + r - x, 0, x - (right - r))
        dy = max(top + r - y, 0, y - (bottom - r))
        return dx * dx + dy * dy <= r * r

    return inside


def arc(cx, cy, r_in, r_out, start_deg, end_deg):
    """A ring segment from start to end, counter-clockwise on screen (angles with y up)."""

    def inside(x, y):
        d2 = (x - cx) ** 2 + (y - cy) ** 2
        if not (r_in * r_in <= d2 <= r_out * r_out):
            return False
        angle = math.degrees(math.atan2(cy - y, x - cx)) % 360
        span = (end_deg - start_deg) % 360
        return (angle - start_deg) % 360 <= span

    return inside


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def outline_of(poly, width):
    """The polygon grown by `width` (its edges thickened), for a contrasting rim."""
    edges = poly.edges

    def near_edge(x, y):
        for (x1, y1), (x2, y2) in edges:
            dx, dy = x2 - x1, y2 - y1
            t = ((x - x1) * dx + (y - y1) * dy) / (dx * dx + dy * dy)
            t = min(1.0, max(0.0, t))
            px, py = x1 + t * dx - x, y1 + t * dy - y
            if px * px + py * py <= width * width:
                return True
        return False

    return lambda x, y: poly(x, y) or near_edge(x, y)


# Our knight: a head facing left on a low pedestal, drawn for this program.
KNIGHT = polygon([
    (0.20, 0.93), (0.82, 0.93), (0.82, 0.85), (0.74, 0.80),  # pedestal
    (0.77, 0.62), (0.80, 0.46), (0.76, 0.31), (0.66, 0.19),  # back of the neck, the mane
    (0.62, 0.07), (0.55, 0.15), (0.49, 0.06), (0.44, 0.17),  # the ears
    (0.34, 0.24), (0.22, 0.39), (0.13, 0.50),                # forehead down to the nose
    (0.16, 0.58), (0.25, 0.62), (0.36, 0.56), (0.46, 0.53),  # muzzle and chin
    (0.41, 0.65), (0.32, 0.78), (0.28, 0.85),                # front of the neck
])
KNIGHT_EYE = circle(0.43, 0.31, 0.045)
KNIGHT_NOSE = (0.13, 0.50)  # the cursor's hot spot: the knight points at the square

# ---------------------------------------------------------------------------------------------
# Rasterising.

SUPERSAMPLE = 4


def render(size, layers):
    """layers: (shape, (r, g, b, a)) painted in order. Returns rows of (r, g, b, a), top first."""
    n = SUPERSAMPLE
    offsets = [(i + 0.5) / n for i in range(n)]
    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0.0  # premultiplied
            for shape, (cr, cg, cb, ca) in layers:
                hits = sum(1 for oy in offsets for ox in offsets
                           if shape((px + ox) / size, (py + oy) / size))
                if not hits:
                    continue
                alpha = ca / 255.0 * hits / (n * n)
                r = cr * alpha + r * (1 - alpha)
                g = cg * alpha + g * (1 - alpha)
                b = cb * alpha + b * (1 - alpha)
                a = alpha + a * (1 - alpha)
            if a > 0:
                row.append((round(r / a), round(g / a), round(b / a), round(a * 255)))
            else:
                row.append((0, 0, 0, 0))
        pixels.append(row)
    return pixels


def dib(size, pixels):
    """A BITMAPINFOHEADER image: colour rows then AND-mask rows, bottom row first."""
    mask_stride = ((size + 31) // 32) * 4
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                         size * size * 4 + mask_stride * size, 0, 0, 0, 0)
    colour = bytearray()
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(mask_stride)
        for x, (r, g, b, a) in enumerate(row):
            colour += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(colour) + bytes(mask)


def icon_file(images, hotspot=None):
    """images: (size, pixels) pairs. With a hot spot (fractions of the size) it is a cursor."""
    kind = 2 if hotspot else 1
    out = struct.pack("<HHH", 0, kind, len(images))
    offset = 6 + 16 * len(images)
    blobs = []
    for size, pixels in images:
        blob = dib(size, pixels)
        if hotspot:
            field1 = min(size - 1, round(hotspot[0] * size))
            field2 = min(size - 1, round(hotspot[1] * size))
        else:
            field1, field2 = 1, 32  # planes, bits per pixel
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, field1, field2,
                           len(blob), offset)
        offset += len(blob)
        blobs.append(blob)
    return out + b"".join(blobs)


# ---------------------------------------------------------------------------------------------
# The pictures.

NAVY = (0x1F, 0x3A, 0x68, 0xFF)
GREEN = (0x1C, 0x6B, 0x2E, 0xFF)
INK = (0x1A, 0x1A, 0x1A, 0xFF)
WHITE = (0xFF, 0xFF, 0xFF, 0xFF)
LIGHT_SQUARE = (0xEC, 0xD3, 0xA8, 0xFF)
DARK_SQUARE = (0x9A, 0x63, 0x34, 0xFF)

LEFT_ARROW = polygon([(0.74, 0.18), (0.74, 0.82), (0.26, 0.50)])
RIGHT_ARROW = polygon([(0.26, 0.18), (0.26, 0.82), (0.74, 0.50)])
FIRST = union(rect(0.16, 0.18, 0.28, 0.82), polygon([(0.84, 0.18), (0.84, 0.82), (0.34, 0.50)]))
LAST = union(rect(0.72, 0.18, 0.84, 0.82), polygon([(0.16, 0.18), (0.16, 0.82), (0.66, 0.50)]))
QUESTION = union(
    arc(0.50, 0.32, 0.12, 0.24, -40, 180),  # the hook, from its left end over the top
    polygon([(0.59, 0.40), (0.68, 0.47), (0.57, 0.58), (0.57, 0.66), (0.45, 0.66),
             (0.45, 0.55)]),  # its tail down to the stem
    circle(0.51, 0.81, 0.09),  # the dot
)


def app_icon_layers():
    board = rounded_rect(0.02, 0.02, 0.98, 0.98, 0.14)
    def dark(x, y):
        return board(x, y) and (x < 0.5) != (y < 0.5)

    return [
        (board, LIGHT_SQUARE),
        (dark, DARK_SQUARE),
        (outline_of(KNIGHT, 0.035), LIGHT_SQUARE),
        (KNIGHT, INK),
        (KNIGHT_EYE, LIGHT_SQUARE),
    ]


def cursor_layers():
    return [
        (outline_of(KNIGHT, 0.05), WHITE),
        (KNIGHT, INK),
        (KNIGHT_EYE, WHITE),
    ]


ICONS = {
    "saltor.ico": (app_icon_layers, (16, 24, 32, 48, 64)),
    "nav_first.ico": (lambda: [(FIRST, NAVY)], (16, 20, 24, 32, 48)),
    "nav_last.ico": (lambda: [(LAST, NAVY)], (16, 20, 24, 32, 48)),
    "nav_back.ico": (lambda: [(LEFT_ARROW, NAVY)], (16, 20, 24, 32, 48)),
    "nav_forward.ico": (lambda: [(RIGHT_ARROW, NAVY)], (16, 20, 24, 32, 48)),
    "nav_hint.ico": (lambda: [(QUESTION, GREEN)], (16, 20, 24, 32, 48)),
}
CURSOR = ("knight.cur", cursor_layers, (16, 24, 32, 48, 128))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources")
    os.makedirs(out_dir, exist_ok=True)
    for name, (layers, sizes) in ICONS.items():
        data = icon_file([(s, render(s, layers())) for s in sizes])
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(data)
    name, layers, sizes = CURSOR
    data = icon_file([(s, render(s, layers())) for s in sizes], hotspot=KNIGHT_NOSE)
    with open(os.path.join(out_dir, name), "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
