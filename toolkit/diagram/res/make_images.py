#!/usr/bin/env python3
"""Writes the drawing editor's cursors, 32 x 32 in two colours, and the Font page's TrueType
mark and the Components list's icons, 20 x 12 with their top-left pixel as the key colour (run once; the results are kept in the
tree)."""
import math
import os
import struct

SIZE = 32
HERE = os.path.dirname(os.path.abspath(__file__))


def cur(path, hotspot, pixel):
    """pixel(x, y) -> 'B' black, 'W' white or None (transparent)."""
    stride = 4
    xor = b""
    andm = b""
    for y in range(SIZE - 1, -1, -1):
        xbits = abits = 0
        for x in range(SIZE):
            p = pixel(x, y)
            bit = 1 << (SIZE - 1 - x)
            if p is None:
                abits |= bit
            elif p == "W":
                xbits |= bit
        xor += xbits.to_bytes(stride, "big")
        andm += abits.to_bytes(stride, "big")
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, len(xor) + len(andm),
                         0, 0, 2, 0)
    palette = b"\0\0\0\0" + b"\xff\xff\xff\0"
    image = header + palette + xor + andm
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 2, 1))
        f.write(struct.pack("<BBBBHHII", SIZE, SIZE, 2, 0, hotspot[0], hotspot[1], len(image), 22))
        f.write(image)


def layers(*shapes):
    """Later shapes cover earlier ones; each is a set of (x, y) with a colour."""
    def pixel(x, y):
        colour = None
        for points, c in shapes:
            if (x, y) in points:
                colour = c
        return colour
    return pixel


def outlined(points):
    """A shape in black with a white rim one pixel wide, so that it shows on any ground."""
    rim = {(x + dx, y + dy) for (x, y) in points for dx in (-1, 0, 1) for dy in (-1, 0, 1)}
    return [(rim, "W"), (set(points), "B")]


def line(x0, y0, x1, y1):
    n = max(abs(x1 - x0), abs(y1 - y0), 1)
    return {(round(x0 + (x1 - x0) * i / n), round(y0 + (y1 - y0) * i / n)) for i in range(n + 1)}


def circle(cx, cy, r, start=0, end=360):
    pts = set()
    for a in range(start, end, 2):
        t = math.radians(a)
        pts.add((round(cx + r * math.cos(t)), round(cy + r * math.sin(t))))
    return pts


def box(x0, y0, x1, y1, filled=False):
    if filled:
        return {(x, y) for x in range(x0, x1 + 1) for y in range(y0, y1 + 1)}
    return line(x0, y0, x1, y0) | line(x1, y0, x1, y1) | line(x0, y1, x1, y1) | line(x0, y0, x0, y1)


def arrow_pointer(x0=0, y0=0, scale=1.0):
    pts = set()
    h = int(16 * scale)
    for y in range(h):
        for x in range(y // 2 + 1):
            pts.add((x0 + x, y0 + y))
    pts |= line(x0 + 4, y0 + h - 4, x0 + 7, y0 + h + 2) | line(x0 + 5, y0 + h - 4, x0 + 8, y0 + h + 2)
    return pts


def cross(cx, cy, r):
    return line(cx - r, cy, cx + r, cy) | line(cx, cy - r, cx, cy + r)


def four_arrows(cx, cy, r):
    pts = cross(cx, cy, r)
    for d in range(1, 4):
        pts |= {(cx - d, cy - r + d), (cx + d, cy - r + d), (cx - d, cy + r - d), (cx + d, cy + r - d),
                (cx - r + d, cy - d), (cx - r + d, cy + d), (cx + r - d, cy - d), (cx + r - d, cy + d)}
    return pts


def rotate_arrow(cx, cy, r):
    pts = circle(cx, cy, r, 30, 330)
    ex, ey = round(cx + r * math.cos(math.radians(330))), round(cy + r * math.sin(math.radians(330)))
    return pts | line(ex, ey, ex - 4, ey) | line(ex, ey, ex, ey + 4)


def hand(closed):
    pts = box(9, 14, 22, 26, True)
    fingers = 4 if not closed else 4
    for i in range(fingers):
        top = 11 if closed else 5
        pts |= box(9 + i * 3, top, 10 + i * 3, 14, True)
    if not closed:
        pts |= line(6, 16, 9, 19) | line(6, 17, 9, 20)
    return pts


def magnifier(cx, cy, r):
    return circle(cx, cy, r) | line(cx + r - 1, cy + r - 1, cx + r + 6, cy + r + 6) | \
        line(cx + r, cy + r - 1, cx + r + 7, cy + r + 6)


CURSORS = {
    1011: ((16, 16), [cross(16, 16, 10), box(13, 13, 19, 19) - box(14, 14, 18, 18, True) |
                      {(16, 13), (19, 16), (16, 19), (13, 16)}]),
    1012: ((15, 18), [hand(True)]),
    1013: ((15, 16), [hand(False)]),
    1014: ((0, 0), [arrow_pointer(), rotate_arrow(22, 22, 6)]),
    1015: ((12, 12), [magnifier(12, 12, 7)]),
    1016: ((8, 8), [cross(8, 8, 7), magnifier(20, 20, 5)]),
    1017: ((0, 0), [arrow_pointer(), box(18, 18, 25, 25)]),
    1018: ((0, 0), [arrow_pointer(), line(17, 28, 21, 16) | line(21, 16, 25, 28) | line(19, 23, 23, 23)]),
    1019: ((0, 0), [arrow_pointer(), circle(22, 22, 5) | cross(22, 22, 5)]),
    1020: ((0, 0), [arrow_pointer(), box(16, 18, 29, 29) | {(x, y) for x in range(16, 30)
                                                           for y in range(18, 30) if (x // 3 + y // 3) % 2 == 0}]),
    1021: ((16, 16), [rotate_arrow(16, 16, 10)]),
    1022: ((16, 16), [cross(16, 16, 12)]),
    1023: ((0, 0), [arrow_pointer(), four_arrows(22, 22, 7)]),
    1024: ((16, 16), [cross(16, 16, 12), circle(16, 16, 6)]),
    1025: ((16, 16), [line(8, 8, 24, 24) | line(8, 24, 24, 8)]),
    1026: ((16, 16), [four_arrows(16, 16, 12)]),
    1027: ((0, 0), [arrow_pointer(), box(18, 20, 28, 30) | cross(23, 25, 3)]),
    1029: ((16, 16), [circle(16, 16, 9), cross(16, 16, 12)]),
}


def main():
    for number, (hotspot, shapes) in CURSORS.items():
        parts = []
        for s in shapes:
            parts += outlined({(x, y) for (x, y) in s if 0 <= x < SIZE and 0 <= y < SIZE})
        parts = [({(x, y) for (x, y) in pts if 0 <= x < SIZE and 0 <= y < SIZE}, c) for pts, c in parts]
        cur(os.path.join(HERE, "cursor%d.cur" % number), hotspot, layers(*parts))


KEY = (255, 0, 255)


def write_bmp(path, img):
    """A 24-bit bitmap file of rows of (r, g, b) pixels, top row first."""
    h, w = len(img), len(img[0])
    stride = (w * 3 + 3) & ~3
    rows = b""
    for y in range(h - 1, -1, -1):
        row = b"".join(bytes((b, g, r)) for (r, g, b) in img[y])
        rows += row + b"\0" * (stride - len(row))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(rows), 0, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(rows), 0, 0, 14 + len(info)))
        f.write(info + rows)


def small_image(points):
    """20 x 12 on the key colour: points maps (x, y) to a colour."""
    img = [[KEY] * 20 for _ in range(12)]
    for (x, y), colour in points.items():
        if 0 <= x < 20 and 0 <= y < 12 and (x, y) != (0, 0):
            img[y][x] = colour
    return img


def truetype_mark(path):
    """Two overlapping T letters, grey behind black."""
    pts = {}

    def letter_t(x0, y0, colour):
        for x in range(x0, x0 + 9):
            pts[(x, y0)] = pts[(x, y0 + 1)] = colour
        for y in range(y0, y0 + 10):
            pts[(x0 + 4, y)] = colour

    letter_t(2, 0, (128, 128, 128))
    letter_t(8, 2, (0, 0, 0))
    write_bmp(path, small_image(pts))


def component_icons():
    """The Components list's icons, one per kind of component."""
    ink, fill = (0, 0, 128), (255, 255, 255)

    def on(points, colour=ink):
        return {p: colour for p in points}

    def ellipse(cx, cy, rx, ry):
        return {(round(cx + rx * math.cos(a / 20)), round(cy + ry * math.sin(a / 20)))
                for a in range(126)}

    def curve(bend):
        return {(x, round(6 + bend * math.sin(x / 19 * 2 * math.pi))) for x in range(2, 19)}

    rect = box(3, 2, 16, 9)
    icons = {
        22002: on(ellipse(10, 6, 7, 4) | {(x, 6 + round(2 * math.sin(x))) for x in range(5, 15)}),
        22003: on(curve(4)),
        22004: on(ellipse(10, 6, 7, 4)),
        22005: {**on(box(2, 1, 17, 10)), **on(line(4, 9, 8, 4) | line(8, 4, 11, 8) |
                                              line(11, 8, 13, 6) | line(13, 6, 16, 9), (0, 128, 0))},
        22006: on(line(2, 10, 17, 1)),
        22007: on(box(1, 3, 5, 8) | box(14, 3, 18, 8) | line(6, 5, 13, 5)),
        22008: on(line(10, 1, 17, 10) | line(17, 10, 3, 10) | line(3, 10, 10, 1)),
        22009: on(ellipse(10, 6, 4, 4) | line(8, 4, 12, 8) | line(12, 4, 8, 8)),
        22010: on(rect),
        22011: {**on(box(2, 1, 17, 10, filled=True), fill), **on(box(2, 1, 17, 10) | line(5, 5, 14, 5))},
        22012: on(line(5, 10, 10, 1) | line(10, 1, 15, 10) | line(7, 7, 13, 7)),
    }
    for number, pts in icons.items():
        write_bmp(os.path.join(HERE, "component%d.bmp" % number), small_image(pts))


if __name__ == "__main__":
    main()
    truetype_mark(os.path.join(HERE, "truetype22014.bmp"))
    component_icons()
