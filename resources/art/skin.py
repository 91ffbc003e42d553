"""Corvane's own skin: the description (INI) and the bitmaps it names, and the package order.

The frame is in frame.py, the control pieces in controls.py; this module lays out the
description in the order the engine reads it.
"""
import os

import bmpio
import controls
import frame
from controls import BUTTON_FACE
from draw import rgb_text

INI_NAME = "skin.ini"
SKIN_NAME = "Corvane Luna"

COLOURS = [
    ("WindowText", (0, 0, 0)),
    ("ButtonFace", BUTTON_FACE),
    ("Scrollbar", (242, 241, 236)),
    ("HilightText", (255, 255, 255)),
    ("Hilight", (49, 106, 197)),
    ("Menubar", BUTTON_FACE),
    ("Menu", (255, 255, 255)),
    ("MenuText", (0, 0, 0)),
    ("ButtonText", (0, 0, 0)),
    ("ButtonHilight", (255, 255, 255)),
    ("Buttonlight", (241, 239, 226)),
    ("ButtonShadow", (172, 168, 153)),
    ("ButtonDkShadow", (113, 111, 100)),
    ("MenuBarText", (0, 0, 0)),
    ("TitleTextActive", (255, 255, 255)),
    ("TitleTextNoActive", (216, 228, 248)),
]


class Skin:
    def __init__(self):
        self.files = {}          # entry name -> image (RGB, 24-bit on disk)
        self.sections = []       # [(name, [(key, value)])]

    def image(self, name, img):
        assert name == name.lower() and name.endswith(".bmp") and ".ini" not in name
        assert name not in self.files or self.files[name] is img
        self.files[name] = img
        return name

    def section(self, name, *pairs):
        self.sections.append((name, [(k, str(v)) for k, v in pairs]))

    def ini_text(self):
        lines = ["; Corvane's skin: Luna-blue frame, XP-style controls."]
        for name, pairs in self.sections:
            lines.append("")
            lines.append("[%s]" % name)
            lines += ["%s=%s" % kv for kv in pairs]
        return "\r\n".join(lines) + "\r\n"

    def get(self, section, key, default=None):
        for name, pairs in self.sections:
            if name.lower() == section.lower():
                for k, v in pairs:
                    if k.lower() == key.lower():
                        return v
        return default


def build():
    skin = Skin()
    skin.section("TitlebarSkin", ("SkinName", SKIN_NAME))
    personality = frame.frame_pieces(skin)
    personality += [("TextShift", 16), ("TextShiftVert", 0), ("TextAlignment", 0),
                    ("Textbackground", 0), ("TXTBackleft", 0), ("TXTBackRight", 0)]
    skin.section("Personality", *personality)  # title keys and the menu bar are added below
    skin.section("Fonts", ("FontHeight", 13))
    skin.section("Colours", *[(k, rgb_text(c)) for k, c in COLOURS])
    leftmost = frame.title_buttons(skin)
    _personality(skin).extend((k, str(v)) for k, v in [
        ("TextRightClip", leftmost + 1),
        ("ActiveTextR", 255), ("ActiveTextG", 255), ("ActiveTextB", 255),
        ("InActiveTextR", 216), ("InActiveTextG", 228), ("InActiveTextB", 248),
        ("menuBar", skin.image("menubar.bmp", controls.menu_bar())),
        ("TileMenu", 0), ("TileLeftMenu", 1), ("TileRightMenu", 1)])
    controls.buttons_section(skin)
    controls.scroll_sections(skin)
    controls.menu_sections(skin)
    controls.control_sections(skin)
    return skin


def _personality(skin):
    for name, pairs in skin.sections:
        if name == "Personality":
            return pairs
    raise KeyError("Personality")


def order(skin):
    """Package directory: the description first, then the bitmaps as the description names them."""
    names = [INI_NAME]
    for _, pairs in skin.sections:
        for _, v in pairs:
            if v.endswith(".bmp") and v not in names:
                names.append(v)
    return names


def write(outdir):
    skin = build()
    os.makedirs(outdir, exist_ok=True)
    with open(os.path.join(outdir, INI_NAME), "w", encoding="ascii", newline="") as f:
        f.write(skin.ini_text())
    for name, img in skin.files.items():
        with open(os.path.join(outdir, name), "wb") as f:
            f.write(bmpio.bmp24(img))
    with open(os.path.join(outdir, "order.txt"), "w", encoding="ascii", newline="\n") as f:
        f.write("\n".join(order(skin)) + "\n")
    return skin
