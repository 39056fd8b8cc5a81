#!/usr/bin/env python3
"""Writes the Clavio module's toolbox bitmaps and control icon (run once; kept in the tree)."""
import struct


def dib(w, h, pixel, bits):
    """A bottom-up DIB: header and rows; pixel(x, y) -> (r, g, b)."""
    bpp = bits // 8
    stride = (w * bpp + 3) & ~3
    rows = b""
    for y in range(h - 1, -1, -1):
        row = b"".join(bytes((b, g, r) + ((255,) if bpp == 4 else ())) for (r, g, b) in
                       (pixel(x, y) for x in range(w)))
        rows += row + b"\0" * (stride - w * bpp)
    return w, h, rows


def bmp(path, w, h, pixel):
    _, _, rows = dib(w, h, pixel, 24)
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 54 + len(rows), 0, 0, 54) + header + rows)


def ico(path, size, pixel):
    _, _, rows = dib(size, size, pixel, 32)
    mask = b"\0" * (((size + 31) // 32) * 4 * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(rows) + len(mask),
                         0, 0, 0, 0)
    image = header + rows + mask
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, 1))
        f.write(struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), 22))
        f.write(image)


def film(frame_color):
    """A film strip: dark frame with sprocket holes around a coloured picture."""
    def pixel(x, y):
        if y < 3 or y > 11:
            return (255, 255, 255) if x % 3 == 1 and y in (1, 13) else (32, 32, 32)
        return frame_color if 2 <= x <= 13 else (32, 32, 32)
    return pixel


bmp("clavio.bmp", 16, 15, film((192, 192, 192)))
bmp("videowindow.bmp", 16, 15, film((0, 128, 0)))
ico("clavio.ico", 32, lambda x, y: (0, 128, 0) if (x - 15.5) ** 2 + (y - 15.5) ** 2 < 196
    else (32, 32, 32))
