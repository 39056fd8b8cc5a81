#!/usr/bin/env python3
"""Writes the bitmaps and icons of the clip image lists and of the control panels into
panels/ (run once from this folder; the results are kept in the tree).

Every picture is an 8-bit bitmap with a colour table of the colours it uses, except the few
kept at 24 bits so that both kinds of resource stay exercised. Image-list pictures carry
their key colour (magenta or red) around a face of their own colour; button faces have a
magenta top-left pixel, the colour a transparent draw leaves out."""
import os
import struct

MAGENTA = (255, 0, 255)
RED = (255, 0, 0)
OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "panels")


def colour_of(n):
    """A distinct, non-key colour for a resource number."""
    r = (n * 73) % 200 + 30
    g = (n * 151) % 200 + 30
    b = (n * 37) % 200 + 30
    return (r, g, b)


def bmp(path, w, h, pixel, bits=8):
    rows_px = [[pixel(x, y) for x in range(w)] for y in range(h)]
    if bits == 8:
        table = []
        for row in rows_px:
            for p in row:
                if p not in table:
                    table.append(p)
        assert len(table) <= 256
        index = {p: i for i, p in enumerate(table)}
        stride = (w + 3) & ~3
        data = b""
        for row in reversed(rows_px):
            data += bytes(index[p] for p in row) + b"\0" * (stride - w)
        palette = b"".join(bytes((b, g, r, 0)) for (r, g, b) in table)
        header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 0, len(data), 2835, 2835,
                             len(table), 0)
    else:
        stride = (w * 3 + 3) & ~3
        data = b""
        for row in reversed(rows_px):
            data += b"".join(bytes((b, g, r)) for (r, g, b) in row) + b"\0" * (stride - w * 3)
        palette = b""
        header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    offset = 14 + len(header) + len(palette)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset))
        f.write(header + palette + data)


def ico(path, size, colour):
    xor = b""
    mask_stride = ((size + 31) // 32) * 4
    andm = b""
    for y in range(size - 1, -1, -1):
        bits = 0
        line = b""
        for x in range(size):
            inside = 2 <= x < size - 2 and 2 <= y < size - 2
            if inside:
                c = colour if (x + y) % 6 else (255, 255, 255)
                line += bytes((c[2], c[1], c[0], 255))
            else:
                line += b"\0\0\0\0"
                bits |= 1 << (size - 1 - x)
        xor += line
        andm += bits.to_bytes(size // 8, "big") + b"\0" * (mask_stride - size // 8)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(andm),
                         0, 0, 0, 0)
    image = header + xor + andm
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, 1))
        f.write(struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), 22))
        f.write(image)


def icon_face(n, size, key):
    """A square of the number's colour inside a border of the key colour, with a white
    diagonal stroke so that no two icons look alike."""
    c = colour_of(n)
    margin = size // 8

    def pixel(x, y):
        if x < margin or y < margin or x >= size - margin or y >= size - margin:
            return key
        if x == y:
            return (255, 255, 255)
        return c
    return pixel


def overlay_face(n, size, key):
    """Key colour everywhere but a small block in the lower-left corner."""
    c = colour_of(n)

    def pixel(x, y):
        if x < size // 3 and y >= size - size // 3:
            return c
        return key
    return pixel


def button_face(n, w, h, pressed):
    """A rounded face (magenta corners) in the number's colour, darker when pressed, with a
    light bar across the middle."""
    c = colour_of(n)
    if pressed:
        c = tuple(v // 2 for v in c)

    def pixel(x, y):
        corner = (x < 2 or x >= w - 2) and (y < 2 or y >= h - 2)
        if corner or (x, y) == (0, 0):
            return MAGENTA
        if x == 0 or y == 0 or x == w - 1 or y == h - 1:
            return (0, 0, 0) if not pressed else (255, 255, 255)
        if h // 2 - 1 <= y <= h // 2 and w // 4 <= x < w - w // 4:
            return (240, 240, 240)
        return c
    return pixel


def background(w, h, base):
    def pixel(x, y):
        shade = (x // 16 + y // 16) % 2 * 8 + (y * 24) // max(h, 1)
        return tuple(min(255, v + shade) for v in base)
    return pixel


def main():
    os.makedirs(OUT, exist_ok=True)
    # Image lists: 32 x 32 (large and state) and 16 x 16 (small) pictures.
    for n in (132, 133, 134, 135, 136, 137, 138, 139):
        bmp(os.path.join(OUT, "il%d.bmp" % n), 32, 32, icon_face(n, 32, MAGENTA))
    for n in (141, 142, 143, 144, 145, 146, 147, 148, 149, 150):
        bmp(os.path.join(OUT, "il%d.bmp" % n), 16, 16, icon_face(n, 16, MAGENTA))
    for n in (175, 176, 183, 189, 237, 238, 252, 253, 254, 275, 276):
        bmp(os.path.join(OUT, "il%d.bmp" % n), 32, 32, icon_face(n, 32, RED))
    for n in (235, 268, 240, 269, 239, 270, 267):
        bmp(os.path.join(OUT, "il%d.bmp" % n), 32, 32, overlay_face(n, 32, RED))

    # Button faces: the video bar's (28 x 22), the palette pages' (36 x 26).
    bar = (160, 206, 166, 209, 274, 272, 273, 271, 162, 210, 161, 211, 163, 200, 174, 207,
           216, 215, 199, 208, 243, 245)
    pressed = {206, 209, 272, 271, 210, 211, 200, 207, 215, 208, 245}
    for n in bar:
        bmp(os.path.join(OUT, "bt%d.bmp" % n), 28, 22, button_face(n, 28, 22, n in pressed))
    # (The drawing-tool and colour faces come with the Graphics page's pictures.)
    pages = (213, 214, 181, 165, 186, 188, 178, 179, 279, 296, 295, 294, 297, 318, 319, 320)
    pressed = {214, 295}
    for n in pages:
        # One kept at 24 bits per pixel: the snapshot button.
        bits = 24 if n == 279 else 8
        bmp(os.path.join(OUT, "bt%d.bmp" % n), 36, 26,
            button_face(n, 36, 26, n in pressed), bits)

    # Backgrounds: the video bar's panel (template 132, 323 x 52 dialog units) and the
    # student page (template 278).
    bmp(os.path.join(OUT, "bg155.bmp"), 485, 85, background(485, 85, (24, 40, 64)))
    bmp(os.path.join(OUT, "student_ctrl.bmp"), 141, 440, background(141, 440, (40, 32, 56)))

    # For the tests of transparent drawing: key-coloured pixels inside the picture too.
    def keyed(x, y):
        if (x, y) == (0, 0) or (x, y) == (10, 6) or y == 11:
            return MAGENTA
        return (0, 0, 255) if x < 10 else (0, 160, 0)
    bmp(os.path.join(OUT, "test_key8.bmp"), 20, 12, keyed)
    bmp(os.path.join(OUT, "test_key24.bmp"), 20, 12, keyed, 24)

    # Tab icons of the command palette.
    for n in (171, 172, 173, 333):
        ico(os.path.join(OUT, "tab%d.ico" % n), 16, colour_of(n))


if __name__ == "__main__":
    main()
