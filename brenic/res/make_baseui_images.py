#!/usr/bin/env python3
"""Writes the images of the base dialog, its buttons, the Graphics page and the overlay
picture (run once; the results are kept in the tree, in images/)."""
import math
import os
import struct

KEY = (192, 192, 192)  # the top-left pixel: transparent when the buttons draw them
INK = (0, 0, 0)
OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "images")


def bmp24(name, w, h, pixel):
    stride = (w * 3 + 3) & ~3
    rows = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b = pixel(x, y)
            rows += bytes((b, g, r))
        rows += b"\0" * (stride - w * 3)
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 14 + 40 + len(rows), 0, 0, 54) + header + rows)


def rle8_rows(name, w, h, index_of_row, palette):
    """An 8-bit RLE picture whose rows are each one colour (row 0 the top)."""
    data = bytearray()
    for y in range(h - 1, -1, -1):
        left = w
        while left:
            n = min(255, left)
            data += bytes((n, index_of_row(y)))
            left -= n
        data += b"\0\0"
    data += b"\0\1"
    table = b"".join(bytes((b, g, r, 0)) for (r, g, b) in palette)
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 1, len(data), 2835, 2835,
                         len(palette), 0)
    off = 14 + 40 + len(table)
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", off + len(data), 0, 0, off) + header + table + data)


def glyph(name, inside, colour=INK, size=24):
    """inside(x, y) -> True where the glyph's ink is (coordinates 0..size-1, top first)."""
    bmp24(name, size, size, lambda x, y: colour if inside(x, y) else KEY)


def near_segment(x, y, a, b, width=1.2):
    (ax, ay), (bx, by) = a, b
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / float(dx * dx + dy * dy)))
    return math.hypot(x - ax - t * dx, y - ay - t * dy) <= width


def polyline(points, width=1.2):
    return lambda x, y: any(near_segment(x, y, points[i], points[i + 1], width)
                            for i in range(len(points) - 1))


def ring(cx, cy, r, width=1.2):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) <= width


def box(x0, y0, x1, y1):
    return lambda x, y: (x in (x0, x1) and y0 <= y <= y1) or (y in (y0, y1) and x0 <= x <= x1)


def union(*parts):
    return lambda x, y: any(p(x, y) for p in parts)


def texture(seed, base):
    def pixel(x, y):
        v = (x * 7919 + y * 104729 + seed * 31) % 23 - 11
        return tuple(max(0, min(255, c + v)) for c in base)
    return pixel


def main():
    os.makedirs(OUT, exist_ok=True)
    bmp24("graytex4.bmp", 64, 64, texture(4, (176, 176, 176)))
    bmp24("back5.bmp", 64, 64, texture(5, (150, 160, 170)))
    glyph("ok153.bmp", polyline([(3, 9), (6, 13), (13, 3)]), (0, 128, 0), 16)
    glyph("cancel154.bmp", union(polyline([(3, 3), (12, 12)]), polyline([(12, 3), (3, 12)])),
          (192, 0, 0), 16)
    arrowhead = polyline([(14, 4), (20, 4), (20, 10)])
    glyphs = {
        220: polyline([(6, 4), (6, 18), (10, 14), (14, 20), (16, 19), (12, 13), (18, 13),
                       (6, 4)], 0.8),
        221: union(polyline([(5, 5), (19, 5)]), polyline([(12, 5), (12, 19)])),
        224: union(ring(12, 12, 7), polyline([(8, 12), (16, 12)])),
        225: union(ring(12, 12, 7), polyline([(8, 12), (16, 12)]), polyline([(12, 8), (12, 16)])),
        227: polyline([(4, 19), (19, 4)]),
        229: polyline([(3, 18), (9, 6), (15, 16), (21, 5)]),
        348: polyline([(12, 3), (12, 21)]),
        263: union(polyline([(4, 20), (20, 4)]), arrowhead),
        281: union(polyline([(4, 19), (19, 19), (15, 5)]), ring(19, 19, 6, 0.7)),
        347: lambda x, y: abs(y - (12 + 5 * math.sin(x / 3.0))) <= 1.2 and 2 <= x <= 21,
        234: box(4, 6, 19, 17),
        232: ring(12, 12, 8),
        246: union(box(3, 5, 20, 18), polyline([(4, 17), (10, 10), (14, 14), (19, 8)])),
        247: ring(12, 12, 7),
        261: union(ring(12, 12, 7), arrowhead),
        262: union(ring(12, 12, 7), polyline([(10, 4), (4, 4), (4, 10)])),
        182: union(polyline([(12, 3), (12, 21)]), polyline([(3, 12), (21, 12)])),
        177: union(ring(10, 10, 6), polyline([(15, 15), (21, 21)]), polyline([(7, 10), (13, 10)]),
                   polyline([(10, 7), (10, 13)])),
        185: union(ring(10, 10, 6), polyline([(15, 15), (21, 21)]),
                   polyline([(7, 10), (13, 10)])),
        265: union(ring(10, 10, 6), polyline([(15, 15), (21, 21)])),
        264: union(box(3, 3, 15, 15), polyline([(14, 14), (21, 21)])),
        190: union(box(4, 4, 19, 19), box(7, 4, 16, 9)),
        212: union(ring(12, 6, 6, 0.8), polyline([(6, 6), (6, 18)]), polyline([(18, 6), (18, 18)]),
                   polyline([(6, 18), (18, 18)])),
        250: box(5, 5, 18, 18),
        346: box(6, 6, 17, 17),
    }
    for number, inside in glyphs.items():
        glyph("g%d.bmp" % number, inside)
    swatches = {341: (0, 0, 0), 342: (0, 0, 255), 343: (255, 0, 0), 344: (0, 255, 0),
                345: (255, 255, 0)}
    for number, colour in swatches.items():
        glyph("g%d.bmp" % number, lambda x, y: 4 <= x <= 19 and 4 <= y <= 19, colour)
    # The overlay surface's picture: a vertical colour ramp, 8 bits run-length encoded.
    rle8_rows("picture137.bmp", 640, 480, lambda y: y * 255 // 479,
              [(i, 255 - i, 128) for i in range(256)])


if __name__ == "__main__":
    main()
