#!/usr/bin/env python3
"""Writes the starter brush and pattern libraries shipped with the program.

Brushes (resources/Data/brushs): black shapes on magenta, 32 x 30. When the magic pen stamps
a brush, black takes the drawing colour and magenta is transparent; other colours stay.
Patterns (resources/Data/pattens): small tiles for the pattern fill.

Standard library only; the output is deterministic, so re-running it changes no file.
Usage: scripts/make-starter-data.py [OUTPUT_DATA_FOLDER]
"""

import math
import os
import struct
import sys

BLACK = (0, 0, 0)
MAGENTA = (255, 0, 255)
BRUSH_W, BRUSH_H = 32, 30


def bmp_bytes(width, height, pixel):
    """A 24-bit bottom-up BMP; pixel(x, y) gives (r, g, b)."""
    row_size = (width * 3 + 3) // 4 * 4
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        rows.append(bytes(row))
    image = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(image), 0, 0, 14 + len(info))
    return header + info + image


def write(path, data):
    tmp = path + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, path)


# ---- brushes: each is a test on centred coordinates u, v in about -1 .. 1 ----

def centred(x, y):
    return (x + 0.5 - BRUSH_W / 2) / (BRUSH_H / 2 - 1), (y + 0.5 - BRUSH_H / 2) / (BRUSH_H / 2 - 1)


def star(u, v):
    r = math.hypot(u, v)
    a = math.atan2(v, u) + math.pi / 2
    spike = 0.45 + 0.5 * abs(math.cos(2.5 * a)) ** 3
    return r <= spike


def heart(u, v):
    x, y = u * 1.25, -v * 1.25 + 0.25
    return (x * x + y * y - 1) ** 3 - x * x * y ** 3 <= 0


def flower(u, v):
    r = math.hypot(u, v)
    a = math.atan2(v, u)
    if r < 0.25:
        return False  # the centre stays open, so the petals read as a ring
    return r <= 0.55 + 0.4 * abs(math.cos(3 * a))


def leaf(u, v):
    # Two circle arcs meeting at the tips, turned 45 degrees, with a stalk.
    s, t = (u - v) / math.sqrt(2), (u + v) / math.sqrt(2)
    body = math.hypot(s, t - 0.6) <= 1.05 and math.hypot(s, t + 0.6) <= 1.05
    stalk = abs(t) < 0.08 and 0.8 < s < 1.25
    vein = abs(t) < 0.05 and -0.7 < s < 0.8
    return (body and not vein) or stalk


def paw(u, v):
    pad = ((u / 0.5) ** 2 + ((v - 0.35) / 0.42) ** 2) <= 1
    toes = [(-0.62, -0.2), (-0.25, -0.62), (0.25, -0.62), (0.62, -0.2)]
    return pad or any(math.hypot(u - tx, v - ty) <= 0.22 for tx, ty in toes)


def segment_distance(u, v, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((u - ax) * dx + (v - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(u - ax - t * dx, v - ay - t * dy)


def snowflake(u, v):
    for k in range(6):
        a = k * math.pi / 3 + math.pi / 6
        ex, ey = 0.95 * math.cos(a), 0.95 * math.sin(a)
        if segment_distance(u, v, 0, 0, ex, ey) < 0.09:
            return True
        # a V of two short branches on each arm
        mx, my = 0.55 * math.cos(a), 0.55 * math.sin(a)
        for side in (-1, 1):
            b = a + side * math.pi / 4
            if segment_distance(u, v, mx, my, mx + 0.32 * math.cos(b), my + 0.32 * math.sin(b)) < 0.07:
                return True
    return False


def note(u, v):
    head = (((u + 0.35) / 0.32) ** 2 + ((v - 0.6) / 0.24) ** 2) <= 1
    stem = -0.08 <= u <= 0.04 and -0.9 <= v <= 0.6
    flag = 0.04 <= u <= 0.5 and -0.9 <= v <= -0.9 + 0.35 - 0.4 * (u - 0.04)
    return head or stem or flag


def moon(u, v):
    return math.hypot(u, v) <= 0.9 and math.hypot(u - 0.38, v - 0.2) > 0.7


def grass(u, v):
    blades = [(-0.6, 0.5), (-0.2, 0.9), (0.2, 0.7), (0.6, 0.45)]
    if v > 0.9:
        return False
    for base, height in blades:
        top = 0.9 - 1.8 * height
        if v < top:
            continue
        width = 0.12 * (v - top) / (0.9 - top)
        bend = base + 0.25 * (0.9 - v) ** 2 * (1 if base > 0 else -1)
        if abs(u - bend) <= width:
            return True
    return False


def butterfly(u, v):
    au = abs(u)
    upper = ((au - 0.5) / 0.45) ** 2 + ((v + 0.3) / 0.5) ** 2 <= 1
    lower = ((au - 0.4) / 0.32) ** 2 + ((v - 0.45) / 0.35) ** 2 <= 1
    body = au <= 0.07 and -0.6 <= v <= 0.8
    spots = math.hypot(au - 0.55, v + 0.35) < 0.13
    return ((upper or lower) and not spots) or body


BRUSHES = [
    ("star", star),
    ("heart", heart),
    ("flower", flower),
    ("leaf", leaf),
    ("paw", paw),
    ("snowflake", snowflake),
    ("note", note),
    ("moon", moon),
    ("grass", grass),
    ("butterfly", butterfly),
]


def brush_pixel(shape):
    def pixel(x, y):
        # 3 x 3 supersampling: a pixel is black when most of it lies inside the shape.
        inside = sum(shape(*centred(x - 1 / 3 + i / 3, y - 1 / 3 + j / 3))
                     for i in range(3) for j in range(3))
        return BLACK if inside >= 5 else MAGENTA
    return pixel


# ---- patterns: small tiles; the fill repeats them from the canvas origin ----

def bricks(x, y):
    mortar = (200, 200, 195)
    row = y // 8
    if y % 8 == 7:
        return mortar
    if (x + (8 if row % 2 else 0)) % 16 == 15:
        return mortar
    return (170, 60, 40) if (x // 3 + y) % 5 else (150, 50, 35)


def checker(x, y):
    return (30, 30, 30) if (x // 8 + y // 8) % 2 else (240, 240, 240)


def diagonal(x, y):
    return (40, 100, 200) if (x + y) % 8 < 3 else (230, 240, 255)


def dots(x, y):
    return (220, 40, 60) if math.hypot(x % 8 - 3.5, y % 8 - 3.5) < 2.2 else (255, 250, 230)


def waves(x, y):
    crest = 4 + 3 * math.sin(2 * math.pi * x / 16)
    return (20, 120, 170) if abs((y % 8) - crest % 8) < 1.2 else (210, 235, 245)


def grid(x, y):
    return (120, 120, 120) if x % 8 == 0 or y % 8 == 0 else (255, 255, 255)


def weave(x, y):
    cell = (x // 4 + y // 4) % 2
    stripe = (y % 4 in (0, 3)) if cell else (x % 4 in (0, 3))
    base = (190, 150, 90) if cell else (150, 110, 60)
    return (100, 70, 30) if stripe else base


def hearts(x, y):
    return (220, 30, 90) if heart((x % 16 - 7.5) / 6, (y % 16 - 7.5) / 6) else (255, 230, 240)


def zigzag(x, y):
    peak = abs((x % 12) - 6)
    return (30, 150, 70) if (y - peak) % 12 < 3 else (235, 250, 235)


PATTERNS = [
    ("bricks", 16, 16, bricks),
    ("checker", 16, 16, checker),
    ("diagonal", 8, 8, diagonal),
    ("dots", 8, 8, dots),
    ("waves", 16, 8, waves),
    ("grid", 8, 8, grid),
    ("weave", 8, 8, weave),
    ("hearts", 16, 16, hearts),
    ("zigzag", 12, 12, zigzag),
]


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    data = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "resources", "Data")
    brushes = os.path.join(data, "brushs")
    patterns = os.path.join(data, "pattens")
    os.makedirs(brushes, exist_ok=True)
    os.makedirs(patterns, exist_ok=True)
    for name, shape in BRUSHES:
        write(os.path.join(brushes, name + ".bmp"), bmp_bytes(BRUSH_W, BRUSH_H, brush_pixel(shape)))
    for name, w, h, tile in PATTERNS:
        write(os.path.join(patterns, name + ".bmp"), bmp_bytes(w, h, tile))
    print(f"{len(BRUSHES)} brushes in {brushes}, {len(PATTERNS)} patterns in {patterns}")


if __name__ == "__main__":
    main()
