#!/usr/bin/env python3
"""Writes the toolkit's button arrows (run once; the results are kept in the tree).

Both are 4-bit bitmaps of the four button greys, so that loading them with the system
colours mapped draws a black arrow on the button face."""
import struct

# The colour table: black, dark grey, light grey, white, then unused black entries.
TABLE = [(0, 0, 0), (128, 128, 128), (192, 192, 192), (255, 255, 255)] + [(0, 0, 0)] * 12
BLACK, FACE = 0, 2


def bmp4(path, w, h, index):
    stride = ((w * 4 + 31) // 32) * 4
    rows = b""
    for y in range(h - 1, -1, -1):
        nibbles = [index(x, y) for x in range(w)] + [0]
        row = bytes((nibbles[i] << 4) | (nibbles[i + 1] if i + 1 < w else 0)
                    for i in range(0, w, 2))
        rows += row + b"\0" * (stride - len(row))
    table = b"".join(bytes((b, g, r, 0)) for (r, g, b) in TABLE)
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 4, 0, len(rows), 0, 0, 16, 0)
    offset = 14 + 40 + len(table)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", offset + len(rows), 0, 0, offset))
        f.write(header + table + rows)


def down(x, y):
    # a 7 x 4 triangle pointing down in a 9 x 6 face
    return BLACK if 1 <= y <= 4 and (y - 1) + 1 <= x <= 7 - (y - 1) else FACE


def right(x, y):
    # a 4 x 7 triangle pointing right in a 6 x 9 face
    return BLACK if 1 <= x <= 4 and (x - 1) + 1 <= y <= 7 - (x - 1) else FACE


def dropdown(x, y):
    # the date/time control's drop-down arrow: rows of 7, 5, 3 and 1 pixels, no margin
    return BLACK if y <= x <= 6 - y else FACE


# The list box editor's caption buttons, 16 x 14 each.
def lb_new(x, y):
    # an empty list line (a framed box) with a spark at its top right
    box = 2 <= x <= 11 and 5 <= y <= 12 and (x in (2, 11) or y in (5, 12))
    spark = (x == 13 and 1 <= y <= 5) or (y == 3 and 11 <= x <= 15) or (x, y) in ((12, 2), (14, 4), (12, 4), (14, 2))
    return BLACK if box or spark else FACE


def lb_delete(x, y):
    # a cross
    return BLACK if 3 <= x <= 12 and 2 <= y <= 11 and (abs((x - 3) - (y - 2)) <= 0 or abs((x - 3) - (11 - y)) <= 0 or abs((x - 4) - (y - 2)) <= 0 or abs((x - 4) - (11 - y)) <= 0) else FACE


def lb_up(x, y):
    # an arrow pointing up: a head of 9 pixels and a stem
    head = 2 <= y <= 6 and 7 - (y - 2) <= x <= 7 + (y - 2)
    stem = 7 <= y <= 11 and 6 <= x <= 8
    return BLACK if head or stem else FACE


def lb_down(x, y):
    return lb_up(x, 13 - y)


def check(x, y):
    # the check mark of bitmap menus: a 7-pixel tick, three rows thick, in a 16 x 15 face
    pts = [(4, 7), (5, 8), (6, 9), (7, 8), (8, 7), (9, 6), (10, 5)]
    return BLACK if any(x == px and py <= y <= py + 2 for px, py in pts) else FACE


if __name__ == "__main__":
    import os
    here = os.path.dirname(os.path.abspath(__file__))
    bmp4(os.path.join(here, "menuarrow_down.bmp"), 9, 6, down)
    bmp4(os.path.join(here, "menuarrow_right.bmp"), 6, 9, right)
    bmp4(os.path.join(here, "dtdropdown.bmp"), 7, 4, dropdown)
    bmp4(os.path.join(here, "lbedit_new.bmp"), 16, 14, lb_new)
    bmp4(os.path.join(here, "lbedit_delete.bmp"), 16, 14, lb_delete)
    bmp4(os.path.join(here, "lbedit_up.bmp"), 16, 14, lb_up)
    bmp4(os.path.join(here, "lbedit_down.bmp"), 16, 14, lb_down)
    bmp4(os.path.join(here, "menucheck.bmp"), 16, 15, check)
