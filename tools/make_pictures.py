#!/usr/bin/env python3
"""Draws all of Saltor's built-in pictures and writes them into resources/.

    tools/make_pictures.py [OUTPUT_DIR]

    knight.png        200 x 278 RGBA: the green knight figurine drawn on the board
    wood_light.bmp    60 x 60, 16 bits (5-6-5): texture of the white squares
    wood_dark.bmp     60 x 60, 16 bits (5-6-5): texture of the black squares
    saltor.ico        program icon, 16 to 96 pixels
    nav_*.ico         the five navigation buttons, 16 to 48 pixels (100 % to 300 % display scale)
    knight.cur        board cursor, 16 to 128 pixels

Python 3 and its standard library only. Every shape is a polygon (curves are flattened), filled
with exact horizontal coverage and 4 sub-rows per pixel for anti-aliasing. The grain comes from a
fixed seed, so the output is byte-for-byte reproducible and the committed files can be checked
against the script.
"""

import math
import os
import random
import struct
import sys
import zlib

# ---------------------------------------------------------------------------------------------
# Geometry: outlines as point lists in a design space, curves flattened.

SUB_ROWS = 4


def bezier(p0, p1, p2, p3, steps=16):
    """Points of a cubic curve after p0, up to and including p3."""
    points = []
    for i in range(1, steps + 1):
        t = i / steps
        u = 1 - t
        points.append((u * u * u * p0[0] + 3 * u * u * t * p1[0] + 3 * u * t * t * p2[0] +
                       t * t * t * p3[0],
                       u * u * u * p0[1] + 3 * u * u * t * p1[1] + 3 * u * t * t * p2[1] +
                       t * t * t * p3[1]))
    return points


def path(start, *segments):
    """start, then segments: a point (a line to it) or a (c1, c2, end) triple (a curve)."""
    points = [start]
    for seg in segments:
        if len(seg) == 3 and isinstance(seg[0], tuple):
            points += bezier(points[-1], *seg)
        else:
            points.append(seg)
    return points


def ellipse(cx, cy, rx, ry, steps=48):
    return [(cx + rx * math.cos(2 * math.pi * i / steps), cy + ry * math.sin(2 * math.pi * i / steps))
            for i in range(steps)]


def rounded_box(left, top, right, bottom, r, steps=8):
    points = []
    corners = ((right - r, top + r, -90), (right - r, bottom - r, 0), (left + r, bottom - r, 90),
               (left + r, top + r, 180))
    for cx, cy, start in corners:
        for i in range(steps + 1):
            a = math.radians(start + 90 * i / steps)
            points.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return points


def stroke(points, width):
    """A polyline thickened into one polygon (square ends), for engraved lines."""
    left, right = [], []
    for i, (x, y) in enumerate(points):
        a = points[max(i - 1, 0)]
        b = points[min(i + 1, len(points) - 1)]
        dx, dy = b[0] - a[0], b[1] - a[1]
        length = math.hypot(dx, dy) or 1.0
        nx, ny = -dy / length * width / 2, dx / length * width / 2
        left.append((x + nx, y + ny))
        right.append((x - nx, y - ny))
    return left + right[::-1]


def transform(points, scale, dx, dy):
    return [(x * scale + dx, y * scale + dy) for x, y in points]


# ---------------------------------------------------------------------------------------------
# Rasterising: coverage masks (rows of floats 0..1) and RGBA images (rows of (r, g, b, a)).


def coverage(width, height, polygons):
    """Even-odd fill of each polygon, combined by taking the larger coverage per pixel."""
    mask = [[0.0] * width for _ in range(height)]
    for poly in polygons:
        edges = list(zip(poly, poly[1:] + poly[:1]))
        top = max(0, int(min(y for _, y in poly)))
        bottom = min(height, int(max(y for _, y in poly)) + 1)
        for py in range(top, bottom):
            row = [0.0] * width
            for k in range(SUB_ROWS):
                y = py + (k + 0.5) / SUB_ROWS
                xs = sorted(x1 + (y - y1) * (x2 - x1) / (y2 - y1)
                            for (x1, y1), (x2, y2) in edges if (y1 > y) != (y2 > y))
                for x0, x1 in zip(xs[0::2], xs[1::2]):
                    x0, x1 = max(x0, 0.0), min(x1, float(width))
                    if x1 <= x0:
                        continue
                    first, last = int(x0), min(int(x1), width - 1)
                    for px in range(first, last + 1):
                        covered = min(x1, px + 1) - max(x0, px)
                        if covered > 0:
                            row[px] += covered / SUB_ROWS
            target = mask[py]
            for px in range(width):
                if row[px] > target[px]:
                    target[px] = min(row[px], 1.0)
    return mask


def blur(mask, radius):
    """Box blur, three passes each way: close to a Gaussian, used for relief and rims."""
    if radius < 1:
        return [row[:] for row in mask]
    height, width = len(mask), len(mask[0])
    out = [row[:] for row in mask]
    for _ in range(3):
        for rows in (out, None):
            if rows is None:  # columns: transpose, blur rows, transpose back
                cols = [list(c) for c in zip(*out)]
                cols = [box_row(c, radius) for c in cols]
                out = [list(r) for r in zip(*cols)]
            else:
                out = [box_row(r, radius) for r in out]
    return out


def box_row(row, radius):
    n = len(row)
    prefix = [0.0]
    for v in row:
        prefix.append(prefix[-1] + v)
    out = []
    for i in range(n):
        a, b = max(0, i - radius), min(n, i + radius + 1)
        out.append((prefix[b] - prefix[a]) / (2 * radius + 1))
    return out


def blank(width, height):
    return [[(0, 0, 0, 0)] * width for _ in range(height)]


def paint(image, mask, colour_at):
    """Paints `colour_at(x, y)` (r, g, b) through `mask` over `image`, source-over."""
    for y, row in enumerate(mask):
        out = image[y]
        for x, m in enumerate(row):
            if m <= 0:
                continue
            r, g, b = colour_at(x, y)
            br, bg, bb, ba = out[x]
            a = m + ba / 255 * (1 - m)
            if a <= 0:
                continue
            mix = lambda c, d: (c * m + d * ba / 255 * (1 - m)) / a
            out[x] = (clamp(mix(r, br)), clamp(mix(g, bg)), clamp(mix(b, bb)), clamp(a * 255))


def clamp(v):
    return max(0, min(255, int(round(v))))


def flat(colour):
    return lambda x, y: colour


# ---------------------------------------------------------------------------------------------
# The knight, designed in a 200 x 278 box: a head facing left above a collar and a two-step base.

KNIGHT_BODY = path(
    (152, 226),
    ((160, 186), (174, 130), (164, 92)),  # back of the neck
    ((156, 58), (138, 38), (118, 30)),  # the mane rising to the poll
    (112, 4), (100, 26),  # the ear
    ((78, 30), (60, 44), (50, 62)),  # forehead
    ((40, 82), (26, 102), (16, 118)),  # down the face
    ((8, 130), (10, 146), (26, 150)),  # the nose, rounded
    (42, 146), (47, 150),  # the mouth
    ((62, 156), (78, 150), (92, 140)),  # the jaw
    ((84, 166), (56, 190), (52, 226)),  # chest down to the collar
)
KNIGHT_COLLAR = rounded_box(38, 216, 162, 238, 8)
KNIGHT_BASE = [path(
    (44, 234), (156, 234),
    ((164, 248), (176, 254), (186, 258)),  # the foot flares out
    ((190, 260), (190, 274), (184, 274)), (16, 274),
    ((10, 274), (10, 260), (14, 258)),
    ((24, 254), (36, 248), (44, 234)),
)]
KNIGHT_EYE = ellipse(72, 70, 8, 6)
KNIGHT_NOSTRIL = ellipse(26, 132, 4, 3.5)
KNIGHT_LINES = [
    stroke(path((112, 36), ((128, 58), (142, 100), (140, 140)), ((138, 170), (134, 196), (128, 220))), 3.0),
    stroke(path((120, 60), ((130, 80), (134, 110), (132, 132))), 2.2),
    stroke(path((28, 150), ((34, 147), (40, 146), (45, 148))), 2.0),
]
KNIGHT_SIZE = (200, 278)
# Where the knight stands: the middle of its base, a little above the bottom edge.
KNIGHT_FOOT = (100, 266)

GREEN_LIGHT = (150, 226, 130)
GREEN_MID = (52, 150, 62)
GREEN_DARK = (8, 58, 20)


def knight_image(size, scale, dx, dy, rim_colour=None, rim_width=0.0, body=None):
    """The figurine at `scale` of its design size, offset by (dx, dy), in a size x size picture
    (or the design box when `size` is a pair). Shaded as lit from the upper left."""
    width, height = size if isinstance(size, tuple) else (size, size)
    t = lambda pts: transform(pts, scale, dx, dy)
    parts = [t(KNIGHT_BODY), t(KNIGHT_COLLAR)] + [t(p) for p in KNIGHT_BASE]
    mask = coverage(width, height, parts)
    image = blank(width, height)
    if rim_colour:
        grown = blur(mask, max(1, int(round(rim_width))))
        grown = [[min(1.0, v * 2.5) for v in row] for row in grown]
        paint(image, grown, flat(rim_colour))
    if body:
        paint(image, mask, flat(body))
        return image, mask
    # Relief: a blurred mask is a height field; its slope against a light from the upper left
    # gives the shading, and its fall-off near the edges a darker rim.
    radius = max(1, int(round(6 * scale)))
    height_field = blur(mask, radius)
    fine = blur(mask, max(1, int(round(2 * scale))))

    def colour_at(x, y):
        hx = height_field[y][min(x + 1, width - 1)] - height_field[y][max(x - 1, 0)]
        hy = height_field[min(y + 1, height - 1)][x] - height_field[max(y - 1, 0)][x]
        light = max(-1.0, min(1.0, (-hx * 0.8 - hy * 0.6) * 9.0 / max(scale, 0.3)))
        edge = max(0.0, min(1.0, (1.0 - fine[y][x]) * 2.2))
        vertical = y / height  # a touch darker towards the base
        base = [m + (l - m) * max(light, 0) + (d - m) * max(-light, 0)
                for m, l, d in zip(GREEN_MID, GREEN_LIGHT, GREEN_DARK)]
        base = [c * (1 - 0.15 * vertical) for c in base]
        return tuple(c + (d - c) * edge * 0.7 for c, d in zip(base, GREEN_DARK))

    paint(image, mask, colour_at)
    details = coverage(width, height, [t(KNIGHT_EYE), t(KNIGHT_NOSTRIL)])
    paint(image, details, flat(GREEN_DARK))
    # The mane's grooves thin out to broken lines when small: fainter there.
    if scale > 0.25:
        grooves = coverage(width, height, [t(p) for p in KNIGHT_LINES])
        strength = min(1.0, scale * 1.6)
        paint(image, [[m * strength for m in row] for row in grooves], flat(GREEN_DARK))
    if scale > 0.25:
        shine = coverage(width, height, [t(ellipse(69, 67, 2.5, 2))])
        paint(image, shine, flat(GREEN_LIGHT))
    return image, mask


# ---------------------------------------------------------------------------------------------
# Wood: rings bent by smooth noise, with fine fibres along the grain.


def smooth_noise(rng, cells):
    grid = [[rng.random() for _ in range(cells + 1)] for _ in range(cells + 1)]

    def at(u, v):
        x, y = u * cells, v * cells
        i, j = min(int(x), cells - 1), min(int(y), cells - 1)
        fx, fy = x - i, y - j
        sx, sy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)
        top = grid[j][i] * (1 - sx) + grid[j][i + 1] * sx
        bottom = grid[j + 1][i] * (1 - sx) + grid[j + 1][i + 1] * sx
        return top * (1 - sy) + bottom * sy

    return at


def wood(size, seed, mean, spread, rings):
    """Grain values around `mean` (r, g, b); `spread` scales each channel's swing. Flat-sawn
    boards: bands of pale early wood and thin dark late wood running across, gently bent, with
    fine fibres along them."""
    rng = random.Random(seed)
    bend = smooth_noise(rng, 2)
    wiggle = smooth_noise(rng, 5)
    fibre = [rng.random() for _ in range(size * 3)]
    values = []
    for y in range(size):
        for x in range(size):
            u, v = x / size, y / size
            phase = v * rings + bend(u, v) * 0.9 + wiggle(u, v) * 0.25
            t = phase - math.floor(phase)
            late = math.exp(-((t - 0.8) / 0.09) ** 2)  # a dark line late in each year
            early = 0.5 - 0.5 * math.cos(2 * math.pi * t)  # the year's slow swell
            streak = fibre[int(phase * 37) % len(fibre)] - 0.5  # fibres follow the bands
            values.append(-1.1 * late + 0.35 * early + 0.35 * streak)
    average = sum(values) / len(values)
    pixels = []
    for y in range(size):
        row = []
        for x in range(size):
            g = values[y * size + x] - average
            row.append(tuple(clamp(m + s * g) for m, s in zip(mean, spread)))
        pixels.append(row)
    return pixels


def fix_mean(pixels, mean):
    """Shifts each channel so that the picture's mean, after 5-6-5 rounding, is `mean`."""
    for _ in range(3):
        count = len(pixels) * len(pixels[0])
        got = [sum(to565(p)[c] for row in pixels for p in row) / count for c in range(3)]
        shift = [m - g for m, g in zip(mean, got)]
        pixels = [[tuple(clamp(p[c] + shift[c]) for c in range(3)) for p in row] for row in pixels]
    return pixels


def to565(rgb):
    r, g, b = rgb[0] >> 3, rgb[1] >> 2, rgb[2] >> 3
    return ((r << 3) | (r >> 2), (g << 2) | (g >> 4), (b << 3) | (b >> 2))


# ---------------------------------------------------------------------------------------------
# File formats.


def png(pixels):
    width, height = len(pixels[0]), len(pixels)
    raw = b"".join(b"\0" + bytes(c for p in row for c in p) for row in pixels)

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def bmp565(pixels):
    """A 16-bit BMP with BI_BITFIELDS masks 5-6-5, bottom row first (what LoadImage reads)."""
    width, height = len(pixels[0]), len(pixels)
    stride = (width * 2 + 3) // 4 * 4
    body = bytearray()
    for row in reversed(pixels):
        line = bytearray()
        for r, g, b in row:
            line += struct.pack("<H", (r >> 3) << 11 | (g >> 2) << 5 | (b >> 3))
        body += line + b"\0" * (stride - len(line))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 16, 3, len(body), 2835, 2835, 0, 0)
    masks = struct.pack("<III", 0xF800, 0x07E0, 0x001F)
    offset = 14 + len(info) + len(masks)
    header = struct.pack("<2sIHHI", b"BM", offset + len(body), 0, 0, offset)
    return header + info + masks + bytes(body)


def dib(pixels):
    """An icon image: BITMAPINFOHEADER, colour rows then AND-mask rows, bottom row first."""
    size = len(pixels)
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


def icon_file(images, hotspots=None):
    """images: square RGBA pictures. With hot spots (one per image) it is a cursor."""
    out = struct.pack("<HHH", 0, 2 if hotspots else 1, len(images))
    offset = 6 + 16 * len(images)
    blobs = []
    for i, pixels in enumerate(images):
        size = len(pixels)
        blob = dib(pixels)
        field1, field2 = hotspots[i] if hotspots else (1, 32)  # else: planes, bits per pixel
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, field1, field2, len(blob),
                           offset)
        offset += len(blob)
        blobs.append(blob)
    return out + b"".join(blobs)


# ---------------------------------------------------------------------------------------------
# Icons.

NAVY = (0x24, 0x48, 0x86)
NAVY_DARK = (0x10, 0x22, 0x44)
GREEN = (0x2A, 0x8A, 0x3C)
GREEN_DEEP = (0x0E, 0x40, 0x1A)
LIGHT_WOOD = (0xE6, 0xC6, 0x82)
DARK_WOOD = (0x8A, 0x3A, 0x18)


def unit(points, size):
    return [(x * size, y * size) for x, y in points]


NAV_SHAPES = {
    "nav_first.ico": [[(0.16, 0.18), (0.29, 0.18), (0.29, 0.82), (0.16, 0.82)],
                      [(0.86, 0.16), (0.86, 0.84), (0.33, 0.50)]],
    "nav_last.ico": [[(0.71, 0.18), (0.84, 0.18), (0.84, 0.82), (0.71, 0.82)],
                     [(0.14, 0.16), (0.14, 0.84), (0.67, 0.50)]],
    "nav_back.ico": [[(0.76, 0.14), (0.76, 0.86), (0.22, 0.50)]],
    "nav_forward.ico": [[(0.24, 0.14), (0.24, 0.86), (0.78, 0.50)]],
}


def question_mark():
    hook = path((0.27, 0.34), ((0.27, 0.14), (0.42, 0.06), (0.52, 0.06)),
                ((0.66, 0.06), (0.77, 0.16), (0.77, 0.30)),
                ((0.77, 0.42), (0.69, 0.48), (0.61, 0.54)),
                ((0.57, 0.57), (0.58, 0.60), (0.58, 0.66)), (0.43, 0.66),
                ((0.43, 0.56), (0.45, 0.50), (0.53, 0.44)),
                ((0.59, 0.39), (0.62, 0.35), (0.62, 0.30)),
                ((0.62, 0.23), (0.58, 0.19), (0.51, 0.19)),
                ((0.45, 0.19), (0.41, 0.24), (0.41, 0.34)))
    return [hook, ellipse(0.505, 0.83, 0.095, 0.095)]


def glyph_icon(size, shapes, colour, dark):
    polys = [unit(p, size) for p in shapes]
    mask = coverage(size, size, polys)
    image = blank(size, size)
    # A vertical gradient, lighter at the top, reads as a button glyph; from 32 pixels up a
    # darker one-pixel edge sets it off (at 16 the strokes are too thin for one).
    if size >= 32:
        paint(image, mask, flat(dark))
        inner = [[max(0.0, m - (1.0 - f)) for m, f in zip(mr, fr)]
                 for mr, fr in zip(mask, blur(mask, 1))]
        lift = 0.35
    else:
        inner = mask
        colour = tuple((c + d) / 2 for c, d in zip(colour, dark))
        lift = 0.2
    paint(image, inner, lambda x, y: tuple(c + (255 - c) * lift * (1 - y / size) for c in colour))
    return image


def app_icon(size):
    board = coverage(size, size, [rounded_box(0.5, 0.5, size - 0.5, size - 0.5, size * 0.14)])
    image = blank(size, size)
    paint(image, board, lambda x, y: LIGHT_WOOD if (x < size / 2) == (y < size / 2) else DARK_WOOD)
    scale = size * 0.9 / KNIGHT_SIZE[1]
    dx = (size - KNIGHT_SIZE[0] * scale) / 2
    dy = size * 0.05
    knight, mask = knight_image(size, scale, dx, dy, rim_colour=(250, 240, 210),
                                rim_width=max(1.0, size / 32))
    overlay(image, knight)
    return image


def overlay(image, top):
    for y, row in enumerate(top):
        for x, (r, g, b, a) in enumerate(row):
            if a:
                paint_pixel(image, x, y, (r, g, b), a / 255)


def paint_pixel(image, x, y, rgb, m):
    br, bg, bb, ba = image[y][x]
    a = m + ba / 255 * (1 - m)
    mix = lambda c, d: (c * m + d * ba / 255 * (1 - m)) / a
    image[y][x] = (clamp(mix(rgb[0], br)), clamp(mix(rgb[1], bg)), clamp(mix(rgb[2], bb)),
                   clamp(a * 255))


def cursor(size):
    """Black knight with a white rim; the hot spot is where it stands."""
    scale = size * 0.92 / KNIGHT_SIZE[1]
    dx = (size - KNIGHT_SIZE[0] * scale) / 2
    dy = size * 0.02
    image, _ = knight_image(size, scale, dx, dy, rim_colour=(255, 255, 255),
                            rim_width=max(1.0, size / 24), body=(16, 16, 16))
    if scale > 0.1:
        t = lambda pts: transform(pts, scale, dx, dy)
        paint(image, coverage(size, size, [t(KNIGHT_EYE)]), flat((255, 255, 255)))
    hot = (min(size - 1, int(KNIGHT_FOOT[0] * scale + dx)), min(size - 1, int(KNIGHT_FOOT[1] * scale + dy)))
    return image, hot


# ---------------------------------------------------------------------------------------------


def write(out_dir, name, data):
    with open(os.path.join(out_dir, name), "wb") as f:
        f.write(data)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources")
    os.makedirs(out_dir, exist_ok=True)

    knight, _ = knight_image(KNIGHT_SIZE, 1.0, 0, 0)
    write(out_dir, "knight.png", png(knight))

    light = fix_mean(wood(60, 7, (224, 193, 121), (34, 38, 40), 5.0), (224, 193, 121))
    dark = fix_mean(wood(60, 11, (103, 39, 13), (40, 20, 10), 6.0), (103, 39, 13))
    write(out_dir, "wood_light.bmp", bmp565(light))
    write(out_dir, "wood_dark.bmp", bmp565(dark))

    # The small and large icon sizes at 100 %, 125 %, 150 %, 200 %, 250 % and 300 % display scale.
    app_sizes = (16, 20, 24, 32, 40, 48, 64, 80, 96)
    nav_sizes = (16, 20, 24, 32, 40, 48)
    write(out_dir, "saltor.ico", icon_file([app_icon(s) for s in app_sizes]))
    for name, shapes in NAV_SHAPES.items():
        write(out_dir, name, icon_file([glyph_icon(s, shapes, NAVY, NAVY_DARK) for s in nav_sizes]))
    write(out_dir, "nav_hint.ico",
          icon_file([glyph_icon(s, question_mark(), GREEN, GREEN_DEEP) for s in nav_sizes]))

    cursors = [cursor(s) for s in (16, 24, 32, 48, 128)]
    write(out_dir, "knight.cur", icon_file([c[0] for c in cursors], [c[1] for c in cursors]))


if __name__ == "__main__":
    main()
