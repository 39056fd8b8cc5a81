#!/usr/bin/env python3
"""Writes the slider's icons and button faces (run once; the results are kept in the tree)."""
import struct

MAGENTA = (255, 0, 255)
DIGITS = {  # 3 x 5 glyphs
    1: ["010", "110", "010", "010", "111"], 2: ["111", "001", "111", "100", "111"],
    3: ["111", "001", "111", "001", "111"], 4: ["101", "101", "111", "001", "001"],
    5: ["111", "100", "111", "001", "111"], 6: ["111", "100", "111", "101", "111"],
    7: ["111", "001", "010", "010", "010"], 8: ["111", "101", "111", "101", "111"],
}


def bmp24(path, w, h, pixel):
    stride = (w * 3 + 3) & ~3
    rows = b""
    for y in range(h - 1, -1, -1):
        row = b"".join(bytes((b, g, r)) for (r, g, b) in (pixel(x, y) for x in range(w)))
        rows += row + b"\0" * (stride - w * 3)
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 14 + 40 + len(rows), 0, 0, 54) + header + rows)


def ico(path, size, pixel):
    """pixel(x, y) -> (r, g, b) or None for transparent."""
    xor = b""
    mask_stride = ((size + 31) // 32) * 4
    andm = b""
    for y in range(size - 1, -1, -1):
        bits = 0
        line = b""
        for x in range(size):
            p = pixel(x, y)
            if p is None:
                line += b"\0\0\0\0"
                bits |= 1 << (size - 1 - x)
            else:
                line += bytes((p[2], p[1], p[0], 255))
        xor += line
        andm += bits.to_bytes(size // 8, "big") + b"\0" * (mask_stride - size // 8)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(andm),
                         0, 0, 0, 0)
    image = header + xor + andm
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, 1))
        f.write(struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(image), 22))
        f.write(image)


def face(digit, held):
    w, h = 30, 16
    def pixel(x, y):
        if x == 0 and y == 0:
            return MAGENTA
        glyph = DIGITS[digit] if digit else None
        gx, gy = (x - 12) // 2, (y - 3) // 2
        if glyph and 0 <= gx < 3 and 0 <= gy < 5 and glyph[gy][gx] == "1":
            return (255, 255, 255) if held else (0, 0, 0)
        if 1 <= x < w - 1 and 1 <= y < h - 1:
            return (198, 162, 38) if held else (192, 192, 192)
        return MAGENTA
    return w, h, pixel


for n in range(1, 9):
    bmp24("number%d.bmp" % n, *face(n, False))
bmp24("held.bmp", *face(None, True))
bmp24("toolbox.bmp", 16, 15, lambda x, y: (128, 128, 128) if 6 <= y <= 8 else (192, 192, 192))


def thumb(color):
    def pixel(x, y):
        # a downward-pointing marker: wide at the top, narrowing to a point
        half = 16 - y // 2
        if y < 28 and abs(x - 15.5) <= half - 0.5 - y / 4:
            return color
        return None
    return pixel


ico("thumb.ico", 32, thumb((0, 0, 128)))
ico("altthumb.ico", 32, thumb((198, 162, 38)))
ico("tab.ico", 16, lambda x, y: (200, 0, 0) if abs(x - 7.5) <= (15 - y) / 2 else None)
