#!/usr/bin/env python3
"""Writes the skin: the panel background and the button bitmaps (run by the build).

usage: make_skin.py <skin folder> [<preview folder>]
Every button image is sized so that, at its place on the panel, no two buttons overlap and
none covers the video windows, the slider, the position text or the clip panel.

Each button carries a pictogram of what it does, in the manner of a transport bar: light
symbols on a dark face when released, dark symbols on a lit amber face when pressed or
latched, grey when disabled. The six menu buttons across the top carry their words. With a
preview folder, every image is also written there as a PNG (for a look at them by eye)."""
import math
import os
import struct
import sys
import zlib

VIDEO = (15, 33, 627, 493)

TRANSPORT = (44, 52, 66)
VIEW = (40, 50, 72)
TOOLS = (40, 60, 50)
MENU = (52, 52, 70)
RECORD = (60, 40, 40)

# (x, y, width, height, face, pictogram, files (up, down, disabled, state1, state2))
BUTTONS = [
    (716, 13, 60, 36, (30, 80, 40), "logo", ["Logo_up.bmp", "Logo_dwn.bmp"]),
    (663, 432, 64, 60, RECORD, "record_auto", ["RecAuto_up.bmp", "RecAuto_dwn1.bmp", None,
                                               "Rec_dwn3.bmp", "Rec_dwn2.bmp"]),
    (663, 432, 64, 60, RECORD, "record", ["Rec_up.bmp", "Rec_dwn1.bmp"]),
    (732, 447, 48, 40, RECORD, "manual_auto", ["Man_Auto_Up.bmp", "Man_Auto_Dwn2.bmp"]),
    (676, 363, 70, 60, RECORD, "trigger", ["AutoCap_Up.bmp", "AutoCap_Dwn.bmp"]),
    (382, 508, 46, 30, TRANSPORT, "scissors", ["P_Trim_Up.bmp", "P_Trim_Dwn.bmp"]),
    (295, 504, 80, 30, TRANSPORT, "loop", ["P_Loop_Up.bmp", "P_Loop_Dwn.bmp"]),
    (433, 508, 34, 30, TRANSPORT, "hand", ["P_Pan_Up.bmp", "P_Pan_Dwn.bmp"]),
    (5, 2, 80, 28, MENU, "envelope", ["E-mail_Up.bmp", "E-mail_Dwn.bmp"]),
    (673, 98, 60, 34, VIEW, "single", ["B_Single_Up.bmp", "B_Single_Dwn.bmp"]),
    (680, 136, 60, 34, VIEW, "split", ["B_Split_Up.bmp", "B_Split_Dwn.bmp"]),
    (687, 232, 60, 34, VIEW, "mirror", ["B_Mirror_Up.bmp", "B_Mirror_Dwn.bmp"]),
    (682, 174, 60, 34, VIEW, "padlock", ["B_lock_Up.bmp", "B_lock_Dwn.bmp", "B_lock_dis.bmp"]),
    (685, 270, 60, 34, VIEW, "camera", ["B_snap_Up.bmp", "B_snap_Dwn.bmp", "B_Snap_dis.bmp"]),
    (680, 308, 60, 34, VIEW, "camcorder", ["B_Video_Up.bmp", "B_Video_Dwn.bmp"]),
    (631, 56, 30, 44, TOOLS, "eraser", ["D_Clear_Up.bmp", "D_Clear_Dwn.bmp"]),
    (631, 105, 30, 44, TOOLS, "cursor", ["D_Select_Up.bmp", "D_Select_Dwn.bmp"]),
    (631, 157, 30, 44, TOOLS, "line", ["D_line1_Up.bmp", "D_line1_Dwn.bmp"]),
    (631, 207, 30, 44, TOOLS, "polyline", ["D_line2_Up.bmp", "D_line2_Dwn.bmp"]),
    (631, 255, 30, 44, TOOLS, "textbox", ["D_text_Up.bmp", "D_text_Dwn.bmp"]),
    (631, 305, 30, 44, TOOLS, "circle", ["D_circle_Up.bmp", "D_circle_Dwn.bmp"]),
    (631, 354, 30, 44, TOOLS, "rectangle", ["D_square_Up.bmp", "D_square_Dwn.bmp"]),
    (631, 400, 30, 44, TOOLS, "arrow", ["D_arrow_Up.bmp", "D_arrow_Dwn.bmp"]),
    (97, 8, 70, 22, MENU, "word:File", ["File_Up.bmp", "File_Dwn.bmp"]),
    (171, 8, 64, 22, MENU, "word:Tools", ["Tools_Up.bmp", "Tools_Dwn.bmp"]),
    (239, 8, 70, 22, MENU, "word:Save", ["Save_Up.bmp", "Save_Dwn.bmp"]),
    (313, 8, 69, 22, MENU, "word:Database", ["Database_Up.bmp", "Database_Dwn.bmp"]),
    (386, 8, 70, 22, MENU, "word:Options", ["Options_Up.bmp", "Options_Dwn.bmp"]),
    (460, 8, 70, 22, MENU, "word:Help", ["Help_Up.bmp", "Help_Dwn.bmp"]),
    (14, 516, 56, 40, TRANSPORT, "play", ["P_Play_Up.bmp", "P_Play_Dwn.bmp", None,
                                          "P_Play_Up2.bmp", "P_Play_Dwn2.bmp"]),
    (74, 517, 40, 38, TRANSPORT, "slow_back", ["P_Slow1_Up.bmp", "P_Slow1_Dwn.bmp", None,
                                               "P_Slow1_Up2.bmp", "P_Slow1_Dwn2.bmp"]),
    (118, 517, 56, 38, TRANSPORT, "slow", ["P_Slow2_Up.bmp", "P_Slow2_Dwn.bmp", None,
                                           "P_Slow2_Up2.bmp", "P_Slow2_Dwn2.bmp"]),
    (180, 517, 40, 38, TRANSPORT, "step_back", ["P_Frme1_Up.bmp", "P_Frme1_Dwn.bmp"]),
    (224, 517, 40, 38, TRANSPORT, "step", ["P_Frme2_Up.bmp", "P_Frme2_Dwn.bmp"]),
]

# Places the buttons must leave free: video, slider, position text, clip panel.
KEEP_FREE = [VIDEO, (8, 495, 278, 515), (287, 540, 361, 562), (471, 499, 777, 576)]

WHITE = (240, 240, 236)
DARK = (24, 24, 28)
RED = (225, 30, 30)
LIT = (236, 176, 48)          # the face of a pressed or latched button
GREY_FACE = (118, 118, 118)
GREY_MARK = (168, 168, 168)

# A small bitmap font for the words (5 columns; rows 0-6 above the base line, 7-8 below).
GLYPHS = {
    "A": [".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "C": [".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."],
    "D": ["####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."],
    "E": ["#####", "#....", "#....", "####.", "#....", "#....", "#####"],
    "F": ["#####", "#....", "#....", "####.", "#....", "#....", "#...."],
    "H": ["#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"],
    "M": ["#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"],
    "N": ["#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#", "#...#"],
    "O": [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "R": ["####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"],
    "S": [".###.", "#...#", "#....", ".###.", "....#", "#...#", ".###."],
    "T": ["#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."],
    "U": ["#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    "W": ["#...#", "#...#", "#...#", "#.#.#", "#.#.#", "##.##", "#...#"],
    "I": [".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "a": [".....", ".....", ".###.", "....#", ".####", "#...#", ".####"],
    "b": ["#....", "#....", "####.", "#...#", "#...#", "#...#", "####."],
    "e": [".....", ".....", ".###.", "#...#", "#####", "#....", ".###."],
    "i": ["..#..", ".....", ".##..", "..#..", "..#..", "..#..", ".###."],
    "l": [".##..", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."],
    "n": [".....", ".....", "####.", "#...#", "#...#", "#...#", "#...#"],
    "o": [".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."],
    "p": [".....", ".....", "####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    "s": [".....", ".....", ".####", "#....", ".###.", "....#", "####."],
    "t": ["..#..", "..#..", "#####", "..#..", "..#..", "..#..", "...##"],
    "v": [".....", ".....", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
}


def bmp24(path, w, h, pixel):
    stride = (w * 3 + 3) & ~3
    rows = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b = pixel(x, y)
            rows += bytes((b, g, r))
        rows += b"\0" * (stride - w * 3)
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 14 + 40 + len(rows), 0, 0, 54) + header + rows)


def png(path, w, h, pixel, zoom=3):
    raw = bytearray()
    for y in range(h * zoom):
        raw.append(0)
        for x in range(w * zoom):
            raw += bytes(pixel(x // zoom, y // zoom))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w * zoom, h * zoom,
                                                                   8, 2, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(bytes(raw))) + chunk(b"IEND", b""))


def scale(c, f):
    return tuple(max(0, min(255, int(v * f))) for v in c)


def mix(a, b, t):
    return tuple(int(a[i] + (b[i] - a[i]) * t + 0.5) for i in range(3))


# --- Shapes: tests of a point (u, v) of the unit square, with their bounds ------------------

def circle(cx, cy, r):
    return (lambda u, v: (u - cx) ** 2 + (v - cy) ** 2 <= r * r), (cx - r, cy - r, cx + r, cy + r)


def ring(cx, cy, r, t, gap=None):
    """A ring of radius r and width t; gap (from, to) in degrees (0 right, 90 up) is left out."""
    def inside(u, v):
        d = math.hypot(u - cx, v - cy)
        if abs(d - r) > t / 2:
            return False
        if gap:
            a = math.degrees(math.atan2(cy - v, u - cx)) % 360
            return not (gap[0] <= a <= gap[1])
        return True
    return inside, (cx - r - t, cy - r - t, cx + r + t, cy + r + t)


def rect(x0, y0, x1, y1):
    return (lambda u, v: x0 <= u <= x1 and y0 <= v <= y1), (x0, y0, x1, y1)


def frame(x0, y0, x1, y1, t):
    def inside(u, v):
        return (x0 <= u <= x1 and y0 <= v <= y1 and
                not (x0 + t < u < x1 - t and y0 + t < v < y1 - t))
    return inside, (x0, y0, x1, y1)


def poly(*pts):
    def inside(u, v):
        c = False
        j = len(pts) - 1
        for i in range(len(pts)):
            (xi, yi), (xj, yj) = pts[i], pts[j]
            if (yi > v) != (yj > v) and u < (xj - xi) * (v - yi) / (yj - yi) + xi:
                c = not c
            j = i
        return c
    xs, ys = [p[0] for p in pts], [p[1] for p in pts]
    return inside, (min(xs), min(ys), max(xs), max(ys))


def seg(x0, y0, x1, y1, t):
    """A stroke of width t with round ends."""
    dx, dy = x1 - x0, y1 - y0
    n = dx * dx + dy * dy

    def inside(u, v):
        k = 0 if n == 0 else max(0, min(1, ((u - x0) * dx + (v - y0) * dy) / n))
        return (u - x0 - k * dx) ** 2 + (v - y0 - k * dy) ** 2 <= t * t / 4
    return inside, (min(x0, x1) - t, min(y0, y1) - t, max(x0, x1) + t, max(y0, y1) + t)


def strokes(pts, t):
    return [seg(*pts[i], *pts[i + 1], t) for i in range(len(pts) - 1)]


# --- Pictograms: layers of (colour role, shapes) in the unit square -----------------------
# Roles: "fg" the symbol (light when released, dark when lit), "red" stays red, "cut" is
# drawn in the face's colour (holes such as a keyhole or a lens).

def figure(cx, s=1.0, club=True):
    t = 0.085 * s
    parts = [circle(cx, 0.17, 0.1 * s),
             seg(cx, 0.3, cx, 0.6, t + 0.02),
             seg(cx, 0.6, cx - 0.14 * s, 0.92, t), seg(cx, 0.6, cx + 0.14 * s, 0.92, t),
             seg(cx, 0.38, cx - 0.16 * s, 0.55, t), seg(cx, 0.38, cx + 0.1 * s, 0.56, t)]
    if club:
        parts.append(seg(cx - 0.16 * s, 0.55, cx + 0.2 * s, 0.9, 0.045))
    return parts


def pictogram(name):
    if name == "logo":
        return [("fg", [seg(0.36, 0.08, 0.36, 0.88, 0.07), circle(0.36, 0.9, 0.05)]),
                ("red", [poly((0.39, 0.08), (0.82, 0.24), (0.39, 0.4))]),
                ("fg", [rect(0.1, 0.88, 0.9, 0.93)])]
    if name == "record":
        return [("red", [circle(0.5, 0.5, 0.36)]), ("fg", [ring(0.5, 0.5, 0.38, 0.05)])]
    if name == "record_auto":
        return [("red", [circle(0.5, 0.36, 0.27)]), ("fg", [ring(0.5, 0.36, 0.29, 0.045)]),
                ("text", "AUTO", 0.5, 0.84)]
    if name == "manual_auto":
        return [("text", "MAN", 0.5, 0.5)]
    if name == "trigger":
        return [("fg", [poly((0.58, 0.04), (0.22, 0.56), (0.46, 0.56), (0.36, 0.96),
                             (0.78, 0.4), (0.53, 0.4), (0.68, 0.04))])]
    if name == "scissors":
        return [("fg", [ring(0.26, 0.76, 0.13, 0.09), ring(0.74, 0.76, 0.13, 0.09),
                        seg(0.34, 0.64, 0.78, 0.06, 0.1), seg(0.66, 0.64, 0.22, 0.06, 0.1)])]
    if name == "loop":
        return [("fg", [ring(0.5, 0.5, 0.33, 0.12, gap=(20, 75)),
                        poly((0.62, 0.12), (0.98, 0.2), (0.74, 0.46))])]
    if name == "hand":
        t = 0.12
        return [("fg", [rect(0.26, 0.46, 0.76, 0.8), circle(0.51, 0.78, 0.2),
                        seg(0.31, 0.5, 0.31, 0.24, t), seg(0.45, 0.46, 0.45, 0.1, t),
                        seg(0.59, 0.46, 0.59, 0.12, t), seg(0.72, 0.5, 0.72, 0.24, t),
                        seg(0.28, 0.7, 0.1, 0.48, t)])]
    if name == "envelope":
        return [("fg", [rect(0.04, 0.16, 0.96, 0.84)]),
                ("cut", strokes([(0.06, 0.2), (0.5, 0.56), (0.94, 0.2)], 0.07))]
    if name == "single":
        return [("fg", figure(0.5))]
    if name == "split":
        return [("fg", figure(0.24, 0.8) + figure(0.76, 0.8) + [rect(0.485, 0.02, 0.515, 0.98)])]
    if name == "mirror":
        return [("fg", [poly((0.42, 0.22), (0.42, 0.78), (0.04, 0.5)),
                        poly((0.58, 0.22), (0.58, 0.78), (0.96, 0.5))] +
                 [rect(0.47, y, 0.53, y + 0.1) for y in (0.02, 0.22, 0.42, 0.62, 0.82)])]
    if name == "padlock":
        return [("fg", [ring(0.5, 0.42, 0.2, 0.1, gap=(181, 359)), rect(0.2, 0.44, 0.8, 0.92),
                        rect(0.28, 0.36, 0.34, 0.46), rect(0.66, 0.36, 0.72, 0.46)]),
                ("cut", [circle(0.5, 0.62, 0.07), rect(0.47, 0.62, 0.53, 0.8)])]
    if name == "camera":
        return [("fg", [rect(0.06, 0.3, 0.94, 0.86), rect(0.32, 0.16, 0.62, 0.32)]),
                ("cut", [circle(0.5, 0.58, 0.2)]), ("fg", [circle(0.5, 0.58, 0.11)])]
    if name == "camcorder":
        return [("fg", [rect(0.04, 0.3, 0.64, 0.78), poly((0.66, 0.54), (0.96, 0.3), (0.96, 0.78))]),
                ("red", [circle(0.16, 0.14, 0.1)])]
    if name == "eraser":
        return [("fg", [poly((0.1, 0.62), (0.5, 0.2), (0.9, 0.52), (0.5, 0.94))]),
                ("cut", [poly((0.32, 0.4), (0.37, 0.34), (0.77, 0.66), (0.72, 0.72))])]
    if name == "cursor":
        return [("fg", [poly((0.22, 0.04), (0.22, 0.8), (0.4, 0.64), (0.54, 0.96),
                             (0.68, 0.9), (0.54, 0.58), (0.78, 0.58))])]
    if name == "line":
        return [("fg", [seg(0.12, 0.88, 0.88, 0.12, 0.12)])]
    if name == "polyline":
        pts = [(0.08, 0.86), (0.34, 0.3), (0.64, 0.72), (0.92, 0.12)]
        return [("fg", strokes(pts, 0.1) + [circle(x, y, 0.1) for x, y in pts])]
    if name == "textbox":
        return [("fg", [frame(0.04, 0.04, 0.96, 0.96, 0.08), rect(0.22, 0.2, 0.78, 0.34),
                        rect(0.42, 0.2, 0.58, 0.82)])]
    if name == "circle":
        return [("fg", [ring(0.5, 0.5, 0.38, 0.12)])]
    if name == "rectangle":
        return [("fg", [frame(0.08, 0.18, 0.92, 0.82, 0.12)])]
    if name == "arrow":
        return [("fg", [seg(0.12, 0.88, 0.62, 0.38, 0.12),
                        poly((0.94, 0.06), (0.82, 0.56), (0.44, 0.18))])]
    if name == "play":
        return [("fg", [poly((0.22, 0.08), (0.22, 0.92), (0.9, 0.5))])]
    if name == "slow":
        return [("fg", [poly((0.3, 0.16), (0.3, 0.84), (0.86, 0.5)),
                        rect(0.06, 0.16, 0.18, 0.84)]),
                ("cut", [poly((0.4, 0.36), (0.4, 0.64), (0.64, 0.5))])]
    if name == "slow_back":
        return [("fg", [poly((0.7, 0.16), (0.7, 0.84), (0.14, 0.5)),
                        rect(0.82, 0.16, 0.94, 0.84)]),
                ("cut", [poly((0.6, 0.36), (0.6, 0.64), (0.36, 0.5))])]
    if name == "step":
        return [("fg", [poly((0.12, 0.14), (0.12, 0.86), (0.66, 0.5)), rect(0.7, 0.14, 0.86, 0.86)])]
    if name == "step_back":
        return [("fg", [poly((0.88, 0.14), (0.88, 0.86), (0.34, 0.5)), rect(0.14, 0.14, 0.3, 0.86)])]
    raise KeyError(name)


# Pictograms shown instead while a state image is up: Record while it waits for the trigger
# (state 1) and while it captures (state 2); the playback buttons while a playback runs.
STATE_PICTOGRAMS = {
    ("record_auto", "state1"): [("red", [circle(0.5, 0.36, 0.27)]),
                                ("fg", [ring(0.5, 0.36, 0.33, 0.06)]), ("text", "WAIT", 0.5, 0.84)],
    ("record_auto", "state2"): [("red", [circle(0.5, 0.36, 0.27)]),
                                ("fg", [ring(0.5, 0.36, 0.33, 0.06)]), ("text", "REC", 0.5, 0.84)],
    ("manual_auto", "down"): [("text", "AUTO", 0.5, 0.5)],
}


def text_mask(word, w, h, cx, cy):
    """Coverage of a word in the bitmap font, bold, centred at (cx, cy) of a w x h box."""
    width = 7 * len(word) - 1
    x0 = int(round(cx * w - width / 2))
    y0 = int(round(cy * h - 3.5))
    cover = {}
    for i, ch in enumerate(word):
        for row, line in enumerate(GLYPHS[ch]):
            for col, c in enumerate(line):
                if c == "#":
                    for dx in (0, 1):
                        cover[(x0 + 7 * i + col + dx, y0 + row)] = 1.0
    return cover


def coverage(shapes, box, samples=4):
    """Coverage (0 to 1) of pixels by the union of the shapes, the unit square being box."""
    bx, by, bs = box
    cover = {}
    for inside, (u0, v0, u1, v1) in shapes:
        for py in range(int(math.floor(by + v0 * bs)) - 1, int(math.ceil(by + v1 * bs)) + 1):
            for px in range(int(math.floor(bx + u0 * bs)) - 1, int(math.ceil(bx + u1 * bs)) + 1):
                if cover.get((px, py), 0) >= 1:
                    continue
                hits = 0
                for sy in range(samples):
                    for sx in range(samples):
                        u = (px + (sx + 0.5) / samples - bx) / bs
                        v = (py + (sy + 0.5) / samples - by) / bs
                        hits += inside(u, v)
                if hits:
                    cover[(px, py)] = max(cover.get((px, py), 0), hits / samples ** 2)
    return cover


def layers_of(picto, w, h):
    side = min(w, h) - (10 if min(w, h) >= 30 else 8)
    box = ((w - side) / 2, (h - side) / 2, side)
    out = []
    for layer in picto:
        if layer[0] == "text":
            out.append(("fg", text_mask(layer[1], w, h, layer[2], layer[3])))
        else:
            out.append((layer[0], coverage(layer[1], box)))
    return out


def word_layers(word, w, h):
    return [("fg", text_mask(word, w, h, 0.5, 0.5))]


def button(face, layers, w, h, kind):
    """kind: up, down, disabled, state1, state2. Pressed and latched states are lit."""
    lit = kind in ("down", "state1", "state2")
    if kind == "disabled":
        face, fg, red = GREY_FACE, GREY_MARK, GREY_MARK
    elif kind == "state2":
        face, fg, red = (250, 90, 40), DARK, (150, 0, 0)
    elif lit:
        face, fg, red = LIT, DARK, (190, 0, 0)
    else:
        fg, red = WHITE, RED
    light, dark = (scale(face, 1.6), scale(face, 0.45)) if not lit else \
        (scale(face, 0.45), scale(face, 1.25))
    shift = 1 if lit else 0
    colours = {"fg": fg, "red": red, "cut": face}

    img = [[face] * w for _ in range(h)]
    for role, cover in layers:
        # A released symbol casts a dark shadow, which keeps it clear of the face.
        if kind in ("up",) and role != "cut":
            for (px, py), c in cover.items():
                x, y = px + 1, py + 1
                if 0 <= x < w and 0 <= y < h:
                    img[y][x] = mix(img[y][x], DARK, c * 0.7)
        for (px, py), c in cover.items():
            x, y = px + shift, py + shift
            if 0 <= x < w and 0 <= y < h:
                img[y][x] = mix(img[y][x], colours[role], c)
    for y in range(h):
        for x in range(w):
            if x < 2 or y < 2:
                img[y][x] = light
            if x >= w - 2 or y >= h - 2:
                img[y][x] = dark
            if lit and (x in (2, w - 3) or y in (2, h - 3)) and 2 <= x <= w - 3 and 2 <= y <= h - 3:
                img[y][x] = (255, 240, 150) if kind != "state2" else (255, 200, 120)
    return img


def overlaps(a, b):
    return a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]


def check_layout():
    rects = {}
    for x, y, w, h, _, _, files in BUTTONS:
        rects.setdefault((x, y), (x, y, x + w, y + h))
        if x + w > 786 or y + h > 574:
            sys.exit("%s leaves the panel" % files[0])
    placed = list(rects.values())
    for i, r in enumerate(placed):
        for s in placed[i + 1:]:
            if overlaps(r, s):
                sys.exit("buttons at %s and %s overlap" % (r[:2], s[:2]))
        for keep in KEEP_FREE:
            if overlaps(r, keep):
                sys.exit("button at %s covers %s" % (r[:2], keep))


def main():
    skin = sys.argv[1]
    preview = sys.argv[2] if len(sys.argv) > 2 else None
    os.makedirs(os.path.join(skin, "Buttons"), exist_ok=True)
    if preview:
        os.makedirs(preview, exist_ok=True)
    check_layout()
    kinds = ["up", "down", "disabled", "state1", "state2"]
    for x, y, w, h, face, picto, files in BUTTONS:
        if picto.startswith("word:"):
            plain = word_layers(picto[5:], w, h)
        else:
            plain = layers_of(pictogram(picto), w, h)
        for kind, name in zip(kinds, files):
            if not name:
                continue
            special = STATE_PICTOGRAMS.get((picto, kind))
            layers = layers_of(special, w, h) if special else plain
            img = button(face, layers, w, h, kind)
            bmp24(os.path.join(skin, "Buttons", name), w, h, lambda px, py: img[py][px])
            if preview:
                png(os.path.join(preview, name[:-4] + ".png"), w, h, lambda px, py: img[py][px])

    def background(x, y):
        l, t, r, b = VIDEO
        if l - 3 <= x < r + 3 and t - 3 <= y < b + 3:
            return (10, 10, 10) if (l <= x < r and t <= y < b) else (150, 150, 160)
        g = 60 + (y * 50) // 574
        return (20, g, 40)
    bmp24(os.path.join(skin, "Golf_screen_blnk.bmp"), 786, 574, background)


if __name__ == "__main__":
    main()
