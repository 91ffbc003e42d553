#!/usr/bin/env python3
"""Writes a small but complete skin folder: a description naming every piece
the engine reads, its bitmaps (24-bit, drawn here) and order.txt.

Usage: make_test_skin.py OUTDIR
"""
import os
import struct
import sys

MAGENTA = (255, 0, 255)


def bmp24(w, h, colour_at):
    stride = (w * 3 + 3) // 4 * 4
    rows = []
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(w):
            r, g, b = colour_at(x, y)
            row += bytes((b, g, r))
        rows.append(bytes(row) + b"\0" * (stride - w * 3))
    body = b"".join(rows)
    header = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    return b"BM" + struct.pack("<IHHI", 54 + len(body), 0, 0, 54) + header + body


def states(w, h, frames, vertical=False):
    """Frames side by side (or stacked), each a shade of blue with a border."""
    def colour(x, y):
        i = (y * frames // h) if vertical else (x * frames // w)
        fw, fh = (w, h // frames) if vertical else (w // frames, h)
        lx, ly = (x, y % fh) if vertical else (x % fw, y)
        if lx == 0 or ly == 0 or lx == fw - 1 or ly == fh - 1:
            return (40, 60, 120)
        return (90 + 30 * i % 160, 130, 220 - 20 * i % 200)
    return bmp24(w, h, colour)


IMAGES = {
    "top.bmp": states(60, 60, 2, vertical=True),
    "left.bmp": states(8, 40, 2),
    "right.bmp": states(8, 40, 2),
    "bottom.bmp": states(40, 16, 2, vertical=True),
    "textback.bmp": states(20, 18, 1),
    "close.bmp": states(57, 19, 3),
    "max.bmp": states(57, 19, 3),
    "restore.bmp": states(57, 19, 3),
    "min.bmp": states(57, 19, 3),
    "mdi.bmp": states(120, 14, 12),
    "button.bmp": states(75, 21, 5),
    "check.bmp": states(78, 13, 6),
    "radio.bmp": states(78, 13, 6),
    "scrollbar.bmp": states(23 * 17, 17, 23),
    "hscroll.bmp": states(64, 17, 4),
    "vscroll.bmp": states(68, 16, 4, vertical=True),
    "hthumb.bmp": states(60, 17, 3),
    "vthumb.bmp": states(51, 20, 3, vertical=True),
    "menuitem.bmp": states(50, 20, 5, vertical=True),
    "menuback.bmp": states(30, 30, 1),
    "menubar.bmp": states(40, 40, 2, vertical=True),
    "sunkedge.bmp": states(40, 40, 4),
    "combo.bmp": states(68, 20, 4),
    "tabs.bmp": states(100, 22, 5),
    "tabborder.bmp": states(20, 20, 1),
    "progress.bmp": states(40, 20, 2, vertical=True),
    "chunk.bmp": states(10, 16, 1),
    "updownh.bmp": states(64, 16, 8),
    "updownv.bmp": states(64, 16, 8),
    "glyphs.bmp": states(64, 8, 8),
    "header.bmp": states(100, 20, 5),
    "status.bmp": states(60, 20, 3),
    "groupbox.bmp": states(40, 40, 2),
    "toolbars.bmp": states(100, 22, 5),
    "extra.bmp": states(100, 20, 5),
    "thumb.bmp": bmp24(55, 20, lambda x, y: MAGENTA if (x + y) % 11 == 0 else (80, 120, 200)),
}

DESCRIPTION = r"""[TitlebarSkin]
SkinName=Corvane Test
[Personality]
Top=top.bmp
TopFrame=2
TopTopHeight=20
TopBotHeight=20
Left=left.bmp
LeftFrame=2
LeftTopHeight=4
LeftBotHeight=4
Right=right.bmp
RightFrame=2
Bottom=bottom.bmp
BottomFrame=2
BottomTrans=0
TextBack=textback.bmp
TextShift=24
TextShiftVert=2
ActiveTextR=255
ActiveTextG=255
ActiveTextB=255
InActiveTextR=200
InActiveTextG=200
InActiveTextB=210
menuBar=menubar.bmp
TileMenu=1
[Fonts]
FontHeight=12
[Colours]
WindowText=0 0 0
ButtonFace=236 233 216
Scrollbar=212 208 200
HilightText=255 255 255
Hilight=49 106 197
Menubar=236 233 216
Menu=255 255 255
MenuText=0 0 0
ButtonText=0 0 0
ButtonHilight=255 255 255
Buttonlight=241 239 226
ButtonShadow=172 168 153
ButtonDkShadow=113 111 100
MenuBarText=0 0 0
TitleTextActive=255 255 255
TitleTextNoActive=216 228 248
[Colour0]
color=10 36 106
[Colour1]
color=166 202 240
[BUTTON0]
Action=0
Align=1
Xcoord=22
Ycoord=5
ButtonImage=close.bmp
[BUTTON1]
Action=1
Align=1
Xcoord=41
Ycoord=5
Visibility=2
ButtonImage=max.bmp
[BUTTON2]
Action=1
Align=1
Xcoord=41
Ycoord=5
Visibility=1
ButtonImage=restore.bmp
[BUTTON3]
Action=2
Align=1
Xcoord=60
Ycoord=5
Visibility=8
ButtonImage=min.bmp
[BUTTON4]
Action=3
Align=0
Xcoord=5
Ycoord=6
[MDICONTROLS]
Image=mdi.bmp
[Buttons]
Bitmap=button.bmp
CheckButton=check.bmp
RadioButton=radio.bmp
LeftWidth=3
RightWidth=3
TopHeight=3
BottomHeight=3
Trans=1
[Scrollbar]
Image=scrollbar.bmp
[HorzScroll]
Image=hscroll.bmp
LeftWidth=3
RightWidth=3
[VertScroll]
Image=vscroll.bmp
TopHeight=3
BottomHeight=3
[HorzScrollThumb]
Image=hthumb.bmp
LeftWidth=4
RightWidth=4
[VertScrollThumb]
Image=vthumb.bmp
TopHeight=4
BottomHeight=4
[MenuItem]
Image=menuitem.bmp
LeftWidth=2
RightWidth=2
[MenuBackground]
Image=menuback.bmp
Tile=1
[SunkEdge]
Image=sunkedge.bmp
LeftWidth=2
RightWidth=2
TopHeight=2
BottomHeight=2
[ComboButton]
Image=combo.bmp
[Tabs]
Image=tabs.bmp
Border=tabborder.bmp
LeftWidth=3
RightWidth=3
TopHeight=3
BottomHeight=3
[Progress]
Bitmap=progress.bmp
Chunk=chunk.bmp
LeftWidth=2
RightWidth=2
[UpDown.Horz]
Image=updownh.bmp
GlyphImage=glyphs.bmp
[UpDown.Vert]
Image=updownv.bmp
GlyphImage=glyphs.bmp
[Headerbar]
Image=header.bmp
LeftWidth=2
RightWidth=2
[StatusBarEdges]
Image=status.bmp
[GroupBoxEdge]
Image=groupbox.bmp
LeftWidth=4
RightWidth=4
TopHeight=4
BottomHeight=4
[Toolbars]
Image=toolbars.bmp
[ExtraImages]
Image=extra.bmp
[Trackbar.ThumbHorz]
Image=thumb.bmp
Trans=1
[Trackbar.ThumbVert]
Image=thumb.bmp
Trans=1
[Trackbar.ThumbLeft]
Image=thumb.bmp
[Trackbar.ThumbRight]
Image=thumb.bmp
[Trackbar.ThumbUp]
Image=thumb.bmp
[Trackbar.ThumbDown]
Image=thumb.bmp
"""


def main_into(out):
    os.makedirs(out, exist_ok=True)
    names = ["skin.ini"] + sorted(IMAGES)
    with open(os.path.join(out, "skin.ini"), "wb") as f:
        f.write(DESCRIPTION.replace("\n", "\r\n").encode("ascii"))
    for name, data in IMAGES.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
    with open(os.path.join(out, "order.txt"), "w") as f:
        f.write("\n".join(names) + "\n")


if __name__ == "__main__":
    main_into(sys.argv[1])
