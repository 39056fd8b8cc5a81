#!/usr/bin/env python3
"""Writes the skin: the panel background and the button bitmaps (run by the build).

usage: make_skin.py <skin folder>
Every button image is sized so that, at its place on the panel, no two buttons overlap and
none covers the video windows, the slider, the position text or the clip panel."""
import os
import struct
import sys

VIDEO = (15, 33, 627, 493)

# name: (x, y, width, height, hue (r, g, b), files (up, down, disabled, state1, state2))
BUTTONS = [
    (716, 13, 60, 36, (200, 170, 40), ["Logo_up.bmp", "Logo_dwn.bmp"]),
    (663, 432, 64, 60, (200, 40, 40), ["RecAuto_up.bmp", "RecAuto_dwn1.bmp", None, "Rec_dwn3.bmp",
                                       "Rec_dwn2.bmp"]),
    (663, 432, 64, 60, (170, 30, 30), ["Rec_up.bmp", "Rec_dwn1.bmp"]),
    (732, 447, 48, 40, (160, 60, 60), ["Man_Auto_Up.bmp", "Man_Auto_Dwn2.bmp"]),
    (676, 363, 70, 60, (220, 120, 30), ["AutoCap_Up.bmp", "AutoCap_Dwn.bmp"]),
    (382, 508, 46, 30, (90, 130, 180), ["P_Trim_Up.bmp", "P_Trim_Dwn.bmp"]),
    (295, 504, 80, 30, (90, 130, 180), ["P_Loop_Up.bmp", "P_Loop_Dwn.bmp"]),
    (433, 508, 34, 30, (90, 130, 180), ["P_Pan_Up.bmp", "P_Pan_Dwn.bmp"]),
    (5, 2, 80, 28, (60, 140, 90), ["E-mail_Up.bmp", "E-mail_Dwn.bmp"]),
    (673, 98, 60, 34, (70, 110, 170), ["B_Single_Up.bmp", "B_Single_Dwn.bmp"]),
    (680, 136, 60, 34, (70, 110, 170), ["B_Split_Up.bmp", "B_Split_Dwn.bmp"]),
    (687, 232, 60, 34, (70, 110, 170), ["B_Mirror_Up.bmp", "B_Mirror_Dwn.bmp"]),
    (682, 174, 60, 34, (70, 110, 170), ["B_lock_Up.bmp", "B_lock_Dwn.bmp", "B_lock_dis.bmp"]),
    (685, 270, 60, 34, (70, 110, 170), ["B_snap_Up.bmp", "B_snap_Dwn.bmp", "B_Snap_dis.bmp"]),
    (680, 308, 60, 34, (70, 110, 170), ["B_Video_Up.bmp", "B_Video_Dwn.bmp"]),
    (631, 56, 30, 44, (120, 150, 60), ["D_Clear_Up.bmp", "D_Clear_Dwn.bmp"]),
    (631, 105, 30, 44, (120, 150, 60), ["D_Select_Up.bmp", "D_Select_Dwn.bmp"]),
    (631, 157, 30, 44, (120, 150, 60), ["D_line1_Up.bmp", "D_line1_Dwn.bmp"]),
    (631, 207, 30, 44, (120, 150, 60), ["D_line2_Up.bmp", "D_line2_Dwn.bmp"]),
    (631, 255, 30, 44, (120, 150, 60), ["D_text_Up.bmp", "D_text_Dwn.bmp"]),
    (631, 305, 30, 44, (120, 150, 60), ["D_circle_Up.bmp", "D_circle_Dwn.bmp"]),
    (631, 354, 30, 44, (120, 150, 60), ["D_square_Up.bmp", "D_square_Dwn.bmp"]),
    (631, 400, 30, 44, (120, 150, 60), ["D_arrow_Up.bmp", "D_arrow_Dwn.bmp"]),
    (97, 8, 70, 22, (100, 100, 130), ["File_Up.bmp", "File_Dwn.bmp"]),
    (171, 8, 64, 22, (100, 100, 130), ["Tools_Up.bmp", "Tools_Dwn.bmp"]),
    (239, 8, 70, 22, (100, 100, 130), ["Save_Up.bmp", "Save_Dwn.bmp"]),
    (313, 8, 69, 22, (100, 100, 130), ["Database_Up.bmp", "Database_Dwn.bmp"]),
    (386, 8, 70, 22, (100, 100, 130), ["Options_Up.bmp", "Options_Dwn.bmp"]),
    (460, 8, 70, 22, (100, 100, 130), ["Help_Up.bmp", "Help_Dwn.bmp"]),
    (14, 516, 56, 40, (50, 150, 150), ["P_Play_Up.bmp", "P_Play_Dwn.bmp", None, "P_Play_Up2.bmp",
                                       "P_Play_Dwn2.bmp"]),
    (74, 517, 40, 38, (50, 150, 150), ["P_Slow1_Up.bmp", "P_Slow1_Dwn.bmp", None,
                                       "P_Slow1_Up2.bmp", "P_Slow1_Dwn2.bmp"]),
    (118, 517, 56, 38, (50, 150, 150), ["P_Slow2_Up.bmp", "P_Slow2_Dwn.bmp", None,
                                        "P_Slow2_Up2.bmp", "P_Slow2_Dwn2.bmp"]),
    (180, 517, 40, 38, (50, 150, 150), ["P_Frme1_Up.bmp", "P_Frme1_Dwn.bmp"]),
    (224, 517, 40, 38, (50, 150, 150), ["P_Frme2_Up.bmp", "P_Frme2_Dwn.bmp"]),
]

# Places the buttons must leave free: video, slider, position text, clip panel.
KEEP_FREE = [VIDEO, (8, 495, 278, 515), (287, 540, 361, 562), (471, 499, 777, 576)]


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


def scale(c, f):
    return tuple(max(0, min(255, int(v * f))) for v in c)


def button(hue, kind):
    """kind: up, down, disabled, state1, state2."""
    if kind == "disabled":
        hue = (128, 128, 128)
    face = {"up": 1.0, "down": 0.6, "disabled": 1.0, "state1": 1.25, "state2": 0.8}[kind]
    light, dark = (1.5, 0.45) if kind != "down" else (0.45, 1.5)

    def pixel(x, y, w, h):
        if x < 2 or y < 2:
            return scale(hue, light)
        if x >= w - 2 or y >= h - 2:
            return scale(hue, dark)
        # A mark in the middle tells the states apart.
        cx, cy = w // 2, h // 2
        if abs(x - cx) + abs(y - cy) < min(w, h) // 5:
            return (240, 240, 240) if kind != "state2" else (250, 220, 60)
        return scale(hue, face)
    return pixel


def overlaps(a, b):
    return a[0] < b[2] and b[0] < a[2] and a[1] < b[3] and b[1] < a[3]


def check_layout():
    rects = {}
    for x, y, w, h, _, files in BUTTONS:
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
    os.makedirs(os.path.join(skin, "Buttons"), exist_ok=True)
    check_layout()
    kinds = ["up", "down", "disabled", "state1", "state2"]
    for x, y, w, h, hue, files in BUTTONS:
        for kind, name in zip(kinds, files):
            if name:
                p = button(hue, kind)
                bmp24(os.path.join(skin, "Buttons", name), w, h, lambda px, py: p(px, py, w, h))

    def background(x, y):
        l, t, r, b = VIDEO
        if l - 3 <= x < r + 3 and t - 3 <= y < b + 3:
            return (10, 10, 10) if (l <= x < r and t <= y < b) else (150, 150, 160)
        g = 60 + (y * 50) // 574
        return (20, g, 40)
    bmp24(os.path.join(skin, "Golf_screen_blnk.bmp"), 786, 574, background)


if __name__ == "__main__":
    main()
