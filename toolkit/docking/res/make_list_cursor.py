#!/usr/bin/env python3
"""Writes the toolkit's cursors (run once; the results are kept in the tree): 32 x 32,
monochrome. The list control's header divider: a vertical bar with an arrow to each side, hot
spot on the bar. The copy cursor of toolbar customisation: an arrow with a plus box. The dock
bars' splitters: two lines with an arrow to each side, upright between bars standing side by
side, lying between rows."""
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


def cursor(path, shape=shape, hot=(HOT_X, HOT_Y)):
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
        f.write(struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, hot[0], hot[1], len(image), 22))
        f.write(image)


def copy_shape(x, y):
    """An arrow from the top-left corner and a plus in a box below right of it."""
    if x <= 10 and y <= 16 and x <= y:
        inner = x >= 1 and y <= 15 and x <= y - 1 and not (y == 15 and x > 0)
        if y >= 11 and x > 16 - y:
            return None
        return "w" if inner else "b"
    if 12 <= x <= 22 and 18 <= y <= 28:
        if x in (12, 22) or y in (18, 28):
            return "b"
        if x == 17 and 20 <= y <= 26 or y == 23 and 14 <= x <= 20:
            return "b"
        return "w"
    return None


def split_shape(x, y):
    """Two upright lines with a gap, an arrow out to each side (dragged left and right)."""
    if 12 <= x <= 18 and 6 <= y <= 24:
        return "b" if x in (13, 17) and 7 <= y <= 23 else "w"
    for side in (-1, 1):
        tip = 15 + side * 11
        dx = (x - tip) * -side
        if 0 <= dx <= 8 and abs(y - 15) <= (dx if dx <= 4 else 0):
            return "b"
        if 0 <= dx <= 8 and abs(y - 15) <= (dx + 1 if dx <= 4 else 1):
            return "w"
    return None


cursor("list_divider.cur")
cursor("split_side_by_side.cur", split_shape)
cursor("split_rows.cur", lambda x, y: split_shape(y, x))
cursor("copy_button.cur", copy_shape, (0, 0))
