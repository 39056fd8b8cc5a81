#!/usr/bin/env python3
"""Writes the list control's header divider cursor (run once; the result is kept in the tree):
32 x 32, monochrome, a vertical bar with an arrow to each side, hot spot on the bar."""
import struct

SIZE = 32
HOT_X, HOT_Y = 15, 15


def shape(x, y):
    """'b' black, 'w' white (outline), None transparent."""
    # the bar: two pixels wide, rows 6 to 24, with a white outline
    if 14 <= x <= 16 and 6 <= y <= 24:
        return "b" if x in (14, 15) and 7 <= y <= 23 else "w"
    # arrows: shaft on row 15, heads opening towards the bar
    for side in (-1, 1):
        tip = 15 + side * 11  # 4 (left) or 26 (right)
        dx = (x - tip) * -side  # distance from the tip towards the bar
        if 0 <= dx <= 9 and abs(y - 15) <= (dx if dx <= 4 else 0):
            return "b"
        if 0 <= dx <= 9 and abs(y - 15) <= (dx + 1 if dx <= 4 else 1):
            return "w"
    return None


def cursor(path):
    rows = [[shape(x, y) for x in range(SIZE)] for y in range(SIZE)]
    stride = SIZE // 8
    xor = b""
    andm = b""
    for y in range(SIZE - 1, -1, -1):  # bottom-up
        xbits = abits = 0
        for x in range(SIZE):
            p = rows[y][x]
            bit = 1 << (SIZE - 1 - x)
            if p is None:
                abits |= bit  # transparent: AND 1, XOR 0
            elif p == "w":
                xbits |= bit  # white: AND 0, XOR 1
        xor += xbits.to_bytes(stride, "big")
        andm += abits.to_bytes(stride, "big")
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, len(xor) + len(andm),
                         0, 0, 2, 0)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    image = header + palette + xor + andm
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 2, 1))
        f.write(struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, HOT_X, HOT_Y, len(image), 22))
        f.write(image)


cursor("list_divider.cur")
