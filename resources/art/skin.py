"""Corvane's own skin: every bitmap of the package and its description.

State numbering of the multi-image pieces, as the engine reads them:
1 normal, 2 pressed (or checked / selected), 3 disabled, 4 hot or focused,
5 default / focused.  Images sit side by side unless the piece is stacked
(the Top and Bottom frame pieces and the menu bar: active above inactive).
"""
import os

from PIL import Image, ImageDraw

import startmenu
from nine import key_mask
from draw import MAGENTA, at, mix
from shapes import arrow, box, hgrad, plot, rotate, strip, vgrad

INI_NAME = "skin.ini"
SKIN_NAME = "Corvane Luna"

# Window frame: title height and border thickness, corner radius of the top corners.
TITLE_H = 30
BORDER = 4
RADIUS = 8
TOP_W, TOP_CAP = 32, 8

TITLE = {
    True: [(0, (58, 134, 252)), (0.08, (14, 96, 240)), (0.3, (0, 84, 227)), (0.75, (2, 76, 218)),
           (0.93, (0, 66, 204)), (1, (0, 52, 178))],
    False: [(0, (172, 194, 244)), (0.08, (152, 176, 238)), (0.3, (138, 164, 232)),
            (0.75, (126, 152, 224)), (1, (110, 136, 208))],
}
# Border columns from the outside in.
EDGE = {
    True: [(0, 30, 132), (0, 74, 212), (16, 100, 238), (0, 70, 208)],
    False: [(112, 130, 190), (134, 160, 228), (152, 176, 238), (126, 152, 222)],
}

BUTTON_FACE = (236, 233, 216)
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

NAVY = (0, 60, 116)


def rgb(c):
    return "%d %d %d" % c


def _title_colour(active, y):
    return at(TITLE[active], y / (TITLE_H - 1))


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


# --- frame --------------------------------------------------------------------

def _corner_colour(X, Y, base, outline):
    """Top-left window corner: magenta outside the radius, the outline on the curve."""
    if X >= RADIUS or Y >= RADIUS:
        return base
    dx, dy = X + 0.5 - RADIUS, Y + 0.5 - RADIUS
    d = (dx * dx + dy * dy) ** 0.5
    if d > RADIUS:
        return MAGENTA
    if d > RADIUS - 1.1:
        return mix(base, outline, 0.75)
    return base


def _left_frame(active):
    mid = 4
    h = TITLE_H + mid + BORDER
    img = Image.new("RGB", (BORDER, h))
    px = img.load()
    edge = EDGE[active]
    for y in range(h):
        for x in range(BORDER):
            if y < TITLE_H:
                base = _title_colour(active, y)
                if x == 0:
                    base = mix(base, edge[0], 0.7)
                px[x, y] = _corner_colour(x, y, base, edge[0])
            elif y < TITLE_H + mid:
                px[x, y] = edge[x]
            else:
                px[x, y] = edge[min(x, h - 1 - y)]
    return img


def _top_frame(active):
    img = Image.new("RGB", (TOP_W, TITLE_H))
    px = img.load()
    edge = EDGE[active]
    for y in range(TITLE_H):
        base = _title_colour(active, y)
        for x in range(TOP_W):
            # The piece starts BORDER pixels into the window; its right cap mirrors the left.
            X = x + BORDER if x < TOP_W // 2 else (TOP_W - 1 - x) + BORDER
            px[x, y] = _corner_colour(X, y, base, edge[0])
    return img


def _bottom_frame(active):
    img = Image.new("RGB", (16, BORDER))
    d = ImageDraw.Draw(img)
    for y in range(BORDER):
        d.line([(0, y), (15, y)], fill=EDGE[active][BORDER - 1 - y])
    return img


def frame_pieces(skin):
    left = strip([_left_frame(True), _left_frame(False)])
    right = strip([_left_frame(True).transpose(Image.FLIP_LEFT_RIGHT),
                   _left_frame(False).transpose(Image.FLIP_LEFT_RIGHT)])
    top = strip([_top_frame(True), _top_frame(False)], vertical=True)
    bottom = strip([_bottom_frame(True), _bottom_frame(False)], vertical=True)
    pairs = []
    for name, img, a, b in (("Left", left, TITLE_H, BORDER), ("Right", right, TITLE_H, BORDER),
                            ("Top", top, TOP_CAP, TOP_CAP), ("Bottom", bottom, 0, 0)):
        pairs += [(name, skin.image("frame_%s.bmp" % name.lower(), img)),
                  (name + "TopHeight", a), (name + "BotHeight", b), (name + "Frame", 2),
                  (name + "Stretch", 1), (name + "Trans", 0 if name == "Bottom" else 1)]
    return pairs


# --- title-bar buttons -----------------------------------------------------------

CAPTION_BTN = 21
# state -> (gradient stops, border colour) for the blue and the red buttons
BLUE_BTN = {
    "normal": ([(0, (88, 150, 252)), (0.5, (36, 104, 240)), (1, (20, 80, 220))], (250, 252, 255)),
    "pressed": ([(0, (10, 60, 190)), (0.6, (30, 90, 220)), (1, (60, 124, 240))], (220, 232, 255)),
    "hot": ([(0, (130, 184, 255)), (0.5, (70, 138, 255)), (1, (46, 112, 246))], (255, 255, 255)),
    "inactive": ([(0, (176, 198, 246)), (1, (146, 172, 236))], (228, 236, 252)),
}
RED_BTN = {
    "normal": ([(0, (240, 140, 110)), (0.5, (224, 86, 50)), (1, (200, 60, 30))], (250, 252, 255)),
    "pressed": ([(0, (170, 44, 16)), (0.6, (200, 72, 40)), (1, (226, 110, 80))], (255, 232, 225)),
    "hot": ([(0, (255, 176, 150)), (0.5, (246, 116, 80)), (1, (226, 84, 50))], (255, 255, 255)),
    "inactive": ([(0, (222, 176, 180)), (1, (196, 150, 170))], (236, 232, 248)),
}
STATES = ("normal", "pressed", "hot", "inactive")    # title-bar button images 1..4


def _glyph(img, kind, colour, s=CAPTION_BTN):
    d = ImageDraw.Draw(img)
    k = s / 21.0

    def r(*v):
        return [int(round(a * k)) for a in v]

    if kind == "close":
        w = max(2, int(round(2 * k)))
        d.line(r(6, 6, 14, 14), fill=colour, width=w)
        d.line(r(14, 6, 6, 14), fill=colour, width=w)
    elif kind == "minimize":
        d.rectangle(r(6, 13, 12, 15), fill=colour)
    elif kind == "maximize":
        d.rectangle(r(5, 5, 15, 15), outline=colour)
        d.rectangle(r(5, 5, 15, 7), fill=colour)
    elif kind == "restore":
        d.rectangle(r(8, 4, 16, 11), outline=colour)
        d.rectangle(r(8, 4, 16, 5), fill=colour)
        d.rectangle(r(4, 8, 12, 16), fill=img.getpixel((10, 10)))
        d.rectangle(r(4, 8, 12, 16), outline=colour)
        d.rectangle(r(4, 8, 12, 10), fill=colour)


def caption_button(kind, size=CAPTION_BTN, states=STATES):
    table = RED_BTN if kind == "close" else BLUE_BTN
    frames = []
    for st in states:
        stops, rim = table[st]
        f = box(size, size, 3 if size > 16 else 2, vgrad(size, size, stops), rings=[rim])
        glyph = (255, 255, 255) if st != "inactive" else (236, 240, 252)
        _glyph(f, kind, glyph, size)
        frames.append(f)
    return strip(frames)


def title_buttons(skin):
    files = {k: skin.image("btn_%s.bmp" % k, caption_button(k))
             for k in ("close", "maximize", "restore", "minimize")}
    step = CAPTION_BTN + 2
    close_x = BORDER + 2 + CAPTION_BTN
    y = (TITLE_H - CAPTION_BTN + 1) // 2
    buttons = [
        # The window icon: no image, so the window's own small icon is drawn there.
        dict(Action=3, Align=0, Xcoord=6, Ycoord=(TITLE_H - 16 + 1) // 2, Visibility=0, Visibility1=0),
        dict(Action=0, Align=1, Xcoord=close_x, Ycoord=y, Visibility=0, Visibility1=0, frame=4,
             ButtonImage=files["close"]),
        dict(Action=1, Align=1, Xcoord=close_x + step, Ycoord=y, Visibility=6, Visibility1=2, frame=4,
             ButtonImage=files["maximize"]),
        dict(Action=1, Align=1, Xcoord=close_x + step, Ycoord=y, Visibility=6, Visibility1=1, frame=4,
             ButtonImage=files["restore"]),
        # Minimise beside maximise, or next to close when the window cannot be maximised.
        dict(Action=2, Align=1, Xcoord=close_x + 2 * step, Ycoord=y, Visibility=8, Visibility1=6, frame=4,
             ButtonImage=files["minimize"]),
        dict(Action=2, Align=1, Xcoord=close_x + step, Ycoord=y, Visibility=8, Visibility1=7, frame=4,
             ButtonImage=files["minimize"]),
    ]
    for i, b in enumerate(buttons):
        skin.section("BUTTON%d" % i, *b.items())
    # MDI child controls: minimise, restore, close, four states of 16 x 14 each.
    mdi = [caption_button(k, 14, ("normal", "pressed", "hot", "hot")) for k in ("minimize", "restore", "close")]
    mdi = [_pad_mdi(m) for m in mdi]
    skin.section("MDICONTROLS", ("Image", skin.image("mdi_buttons.bmp", strip(mdi))))
    return close_x + 2 * step


def _pad_mdi(img):
    """Centre 14-pixel button images in 16-pixel cells on the menu-bar colour."""
    n = img.size[0] // 14
    out = Image.new("RGB", (16 * n, 14), MAGENTA)
    for i in range(n):
        out.paste(img.crop((i * 14, 0, i * 14 + 14, 14)), (i * 16 + 1, 0))
    return out


# --- push buttons, check and radio boxes -------------------------------------------

PUSH_W, PUSH_H = 18, 21


def push_buttons():
    body = vgrad(PUSH_W, PUSH_H, [(0, (255, 255, 255)), (0.7, (240, 240, 234)), (1, (214, 208, 197))])
    pressed = vgrad(PUSH_W, PUSH_H, [(0, (222, 222, 214)), (1, (236, 235, 230))])
    hot = [NAVY, (255, 240, 207), (248, 179, 48)]
    default = [NAVY, (206, 231, 255), (105, 130, 238)]
    frames = [
        box(PUSH_W, PUSH_H, 3, body, rings=[NAVY, None]),
        box(PUSH_W, PUSH_H, 3, pressed, rings=[NAVY, (214, 212, 200)]),
        box(PUSH_W, PUSH_H, 3, (245, 244, 234), rings=[(201, 199, 186)]),
        box(PUSH_W, PUSH_H, 3, body, rings=hot),
        box(PUSH_W, PUSH_H, 3, body, rings=default),
    ]
    return strip(frames)


def check_images():
    frames = []
    for enabled in (True, False):
        for ticked in (False, True):
            f = Image.new("RGB", (13, 13), BUTTON_FACE)
            startmenu.check_box(f, 0, 0, ticked, enabled)
            frames.append(f)
    return strip(frames)


def radio_images():
    frames = []
    for enabled in (True, False):
        for ticked in (False, True):
            if enabled:
                body = vgrad(13, 13, [(0, (220, 220, 215)), (1, (255, 255, 255))])
                f = box(13, 13, 6, body, rings=[(28, 81, 128), (230, 230, 226)])
            else:
                f = box(13, 13, 6, (255, 255, 255), rings=[(202, 200, 187)])
            if ticked:
                dot = (33, 161, 33) if enabled else (202, 200, 187)
                light = (120, 220, 120) if enabled else (230, 228, 220)
                d = ImageDraw.Draw(f)
                d.rectangle([5, 4, 7, 8], fill=dot)
                d.rectangle([4, 5, 8, 7], fill=dot)
                d.point((5, 5), fill=light)
            frames.append(f)
    return strip(frames)


def buttons_section(skin):
    skin.section("Buttons",
                 ("Bitmap", skin.image("button.bmp", push_buttons())),
                 ("CheckButton", skin.image("checkbox.bmp", check_images())),
                 ("RadioButton", skin.image("radio.bmp", radio_images())),
                 ("LeftWidth", 4), ("RightWidth", 4), ("TopHeight", 4), ("BottomHeight", 4),
                 ("Trans", 1), ("Tile", 0), ("CheckButtonFrame", 4), ("RadioButtonFrame", 4),
                 ("NormalColour2", rgb((0, 0, 0))), ("MouseOverColour2", rgb((0, 0, 0))),
                 ("PressedColour2", rgb((0, 0, 0))))


# --- scroll bars ---------------------------------------------------------------------

SB = 16
TRACK = (243, 241, 236)
SB_FACE = {
    "normal": ([(0, (216, 228, 254)), (1, (186, 206, 250))], (255, 255, 255), (77, 97, 133)),
    "pressed": ([(0, (150, 178, 238)), (1, (170, 196, 246))], (220, 230, 250), (50, 70, 110)),
    "disabled": ([(0, (244, 243, 238)), (1, (236, 235, 228))], (250, 250, 248), (190, 188, 176)),
    "hot": ([(0, (232, 240, 255)), (1, (204, 222, 255))], (255, 255, 255), (77, 97, 133)),
}
FACE_ORDER = ("normal", "pressed", "disabled", "hot")


def _scroll_face(state, w=SB, h=SB, outline=(180, 198, 236)):
    stops, rim, _ = SB_FACE[state]
    return box(w, h, 2, vgrad(w, h, stops), rings=[outline, rim], outside=TRACK)


def _size_grip(img):
    """The dotted corner of a sizeable window, bottom right of img."""
    w, h = img.size
    for x, y in ((12, 12), (8, 12), (4, 12), (12, 8), (8, 8), (12, 4)):
        plot(img, [(x, y), (x + 1, y), (x, y + 1)], (255, 255, 255), w - 16, h - 16)
        plot(img, [(x + 1, y + 1)], (172, 168, 153), w - 16, h - 16)


def _scroll_button(direction, state):
    face = _scroll_face(state)
    glyph = Image.new("RGB", (SB, SB), MAGENTA)
    arrow(glyph, 7, 8, "up", SB_FACE[state][2], 4)
    arrow(glyph, 7, 9, "up", SB_FACE[state][2], 4)
    glyph = rotate(glyph, direction)
    face.paste(glyph, (0, 0), key_mask(glyph))
    return face


def _grip(img, vertical, colour=(140, 164, 222), light=(244, 248, 255)):
    w, h = img.size
    d = ImageDraw.Draw(img)
    for i in (-2, 0, 2):
        if vertical:
            y = h // 2 + i
            d.line([(w // 2 - 3, y), (w // 2 + 2, y)], fill=light)
            d.line([(w // 2 - 2, y + 1), (w // 2 + 3, y + 1)], fill=colour)
        else:
            x = w // 2 + i
            d.line([(x, h // 2 - 3), (x, h // 2 + 2)], fill=light)
            d.line([(x + 1, h // 2 - 2), (x + 1, h // 2 + 3)], fill=colour)


def scrollbar_strip():
    """23 images: the four arrows (left, right, up, down) in the four states, then the size
    box, a plain face in the four states, and the two thumb grips."""
    frames = [_scroll_button(d, s) for d in ("left", "right", "up", "down") for s in FACE_ORDER]
    size_box = Image.new("RGB", (SB, SB), BUTTON_FACE)
    _size_grip(size_box)
    frames.append(size_box)
    frames += [_scroll_face(s) for s in FACE_ORDER]
    for vertical in (False, True):
        g = Image.new("RGB", (SB, SB), MAGENTA)
        _grip(g, vertical)
        frames.append(g)
    assert len(frames) == 23
    return strip(frames)


def _track(vertical, state):
    base = {"normal": ((243, 241, 236), (254, 254, 251)), "pressed": ((220, 218, 210), (234, 232, 224)),
            "disabled": ((248, 247, 244), (250, 250, 248)), "hot": ((236, 240, 250), (250, 252, 255))}[state]
    stops = [(0, base[0]), (0.25, base[1]), (0.75, base[1]), (1, base[0])]
    return hgrad(SB, SB, stops) if vertical else vgrad(SB, SB, stops)


def _thumb(vertical, state):
    long_side = 24
    w, h = (SB, long_side) if vertical else (long_side, SB)
    face = _scroll_face(state, w, h)
    face = box(w, h, 2, face, rings=[(170, 190, 232), None], outside=MAGENTA)
    _grip(face, vertical)
    return face


def scroll_sections(skin):
    skin.section("Scrollbar", ("Image", skin.image("scrollbar.bmp", scrollbar_strip())),
                 ("Trans", 0), ("Tile", 0))
    for name, vertical in (("HorzScroll", False), ("VertScroll", True)):
        skin.section(name, ("Image", skin.image("%s.bmp" % name.lower(), strip(
            [_track(vertical, s) for s in FACE_ORDER]))),
            ("LeftWidth", 0 if vertical else 2), ("RightWidth", 0 if vertical else 2),
            ("TopHeight", 2 if vertical else 0), ("BottomHeight", 2 if vertical else 0),
            ("Tile", 1), ("Trans", 0))
    for name, vertical in (("HorzScrollThumb", False), ("VertScrollThumb", True)):
        frames = [_thumb(vertical, s) for s in ("normal", "pressed", "hot")]
        skin.section(name, ("Image", skin.image("%s.bmp" % name.lower(), strip(frames))),
                     ("FrameCount", 3), ("LeftWidth", 4), ("RightWidth", 4), ("TopHeight", 4),
                     ("BottomHeight", 4), ("Trans", 1), ("Tile", 0))


# --- menus ---------------------------------------------------------------------------

MENU_ITEM = (20, 20)
MENU_BORDER = (172, 168, 153)


def menu_item_strip():
    """Normal and disabled items let the menu background through; image 2 carries the
    separator rule low down, where the engine takes the separator strip from."""
    w, h = MENU_ITEM
    clear = Image.new("RGB", (w, h), MAGENTA)
    sep = clear.copy()
    d = ImageDraw.Draw(sep)
    d.line([(0, h - 4), (w - 1, h - 4)], fill=(197, 194, 184))
    d.line([(0, h - 3), (w - 1, h - 3)], fill=(255, 255, 255))
    selected = box(w, h, 1, vgrad(w, h, [(0, (78, 138, 224)), (1, (49, 106, 197))]),
                   rings=[(38, 88, 180)])
    grey = box(w, h, 1, (206, 212, 226), rings=[(170, 178, 200)])
    return strip([clear, sep, clear.copy(), selected, grey])


def menu_background():
    img = Image.new("RGB", (32, 32), (255, 255, 255))
    ImageDraw.Draw(img).rectangle([0, 0, 31, 31], outline=MENU_BORDER)
    return img


def menu_bar():
    frames = []
    for active in (True, False):
        f = vgrad(16, 20, [(0, (242, 240, 228)), (1, BUTTON_FACE)] if active else
                  [(0, (240, 239, 232)), (1, (232, 230, 220))])
        ImageDraw.Draw(f).line([(0, 19), (15, 19)], fill=(214, 210, 194))
        frames.append(f)
    return strip(frames, vertical=True)


def menu_sections(skin):
    skin.section("MenuItem", ("Image", skin.image("menuitem.bmp", menu_item_strip())),
                 ("LeftWidth", 3), ("RightWidth", 3), ("TopHeight", 3), ("BottomHeight", 3),
                 ("Trans", 1), ("Tile", 0))
    skin.section("MenuBackground", ("Image", skin.image("menuback.bmp", menu_background())),
                 ("LeftWidth", 3), ("RightWidth", 3), ("TopHeight", 3), ("BottomHeight", 3),
                 ("Trans", 0), ("Tile", 1))


# --- the other controls ---------------------------------------------------------------

def sunk_edge():
    frames = []
    for st in ("normal", "pressed", "disabled", "hot"):
        edge = {"normal": (127, 157, 185), "pressed": (90, 120, 170), "disabled": (201, 199, 186),
                "hot": (92, 134, 216)}[st]
        f = box(16, 16, 0, (255, 255, 255) if st != "disabled" else (245, 244, 234), rings=[edge])
        frames.append(f)
    return strip(frames)


def combo_button():
    frames = []
    for st in FACE_ORDER:
        w, h = 17, 20
        f = box(w, h, 2, vgrad(w, h, SB_FACE[st][0]), rings=[(180, 198, 236), SB_FACE[st][1]])
        arrow(f, 8, 10, "down", SB_FACE[st][2], 4)
        arrow(f, 8, 9, "down", SB_FACE[st][2], 4)
        frames.append(f)
    return strip(frames)


def extra_images():
    """1 size grip, 2 drop-down arrow, 3 up arrow, 4 check mark, 5 sub-menu arrow."""
    frames = []
    g = Image.new("RGB", (16, 16), MAGENTA)
    _size_grip(g)
    frames.append(g)
    for kind in ("down", "up"):
        f = Image.new("RGB", (16, 16), MAGENTA)
        arrow(f, 7, 8, kind, (77, 97, 133), 4)
        frames.append(f)
    f = Image.new("RGB", (16, 16), MAGENTA)
    for x, y in [(4, 7), (5, 8), (6, 9), (7, 8), (8, 7), (9, 6), (10, 5)]:
        plot(f, [(x, y), (x, y + 1), (x, y + 2)], (0, 0, 0))
    frames.append(f)
    f = Image.new("RGB", (16, 16), MAGENTA)
    arrow(f, 8, 8, "right", (0, 0, 0), 4)
    frames.append(f)
    return strip(frames)


def tabs():
    w, h = 24, 21
    frames = []
    for st in ("normal", "pressed", "disabled", "hot", "focus"):
        body = vgrad(w, h + 3, [(0, (255, 255, 255)), (1, (236, 235, 230) if st != "pressed" else (252, 252, 254))])
        if st == "disabled":
            body = Image.new("RGB", (w, h + 3), (245, 244, 234))
        f = box(w, h + 3, 3, body, rings=[(145, 167, 180)]).crop((0, 0, w, h))
        if st in ("pressed", "hot", "focus"):
            top = (255, 200, 60) if st != "focus" else (248, 179, 48)
            d = ImageDraw.Draw(f)
            d.line([(2, 0), (w - 3, 0)], fill=(230, 139, 44))
            d.line([(1, 1), (w - 2, 1)], fill=top)
            d.line([(1, 2), (w - 2, 2)], fill=top)
        frames.append(f)
    page = box(16, 16, 0, (252, 252, 254), rings=[(145, 155, 156)])
    return strip(frames), page


def progress():
    frames = []
    for vertical in (False, True):
        body = hgrad(16, 16, [(0, (236, 236, 236)), (0.3, (255, 255, 255)), (1, (236, 236, 236))]) if vertical \
            else vgrad(16, 16, [(0, (236, 236, 236)), (0.3, (255, 255, 255)), (1, (236, 236, 236))])
        frames.append(box(16, 16, 2, body, rings=[(104, 104, 104), (190, 190, 190)]))
    chunk = vgrad(8, 12, [(0, (126, 230, 128)), (0.3, (48, 210, 52)), (0.7, (0, 196, 12)), (1, (66, 216, 70))])
    ImageDraw.Draw(chunk).line([(6, 0), (6, 11)], fill=(255, 255, 255))
    ImageDraw.Draw(chunk).line([(7, 0), (7, 11)], fill=(255, 255, 255))
    return strip(frames), chunk


def updown(vertical):
    """Images 1-4 the first button (up or left), 5-8 the second, each normal, pressed,
    disabled, hot; the glyph image holds both arrows, enabled then disabled."""
    w, h = (15, 11) if vertical else (11, 15)
    faces = [box(w, h, 2, vgrad(w, h, SB_FACE[s][0]), rings=[(180, 198, 236), SB_FACE[s][1]],
                 outside=BUTTON_FACE) for s in FACE_ORDER]
    glyphs = []
    first, second = ("up", "down") if vertical else ("left", "right")
    for colour in ((77, 97, 133), (190, 188, 176)):
        for kind in (first, second):
            g = Image.new("RGB", (9, 9), MAGENTA)
            arrow(g, 4, 4, kind, colour, 4)
            glyphs.append(g)
    return strip(faces + [f.copy() for f in faces]), strip(glyphs)


def header():
    w, h = 20, 18
    frames = []
    for st in ("normal", "pressed", "disabled", "hot", "focus"):
        f = vgrad(w, h, [(0, (250, 250, 249)), (1, (235, 234, 219))] if st != "pressed"
                  else [(0, (222, 223, 216)), (1, (222, 223, 216))])
        d = ImageDraw.Draw(f)
        bottom = {"hot": [(255, 226, 154), (250, 196, 87), (248, 169, 0)]}.get(
            st, [(226, 222, 205), (214, 210, 191), (203, 199, 184)])
        for i, c in enumerate(bottom):
            d.line([(0, h - 3 + i), (w - 1, h - 3 + i)], fill=c)
        d.line([(w - 2, 3), (w - 2, h - 5)], fill=(199, 197, 178))
        d.line([(w - 1, 3), (w - 1, h - 5)], fill=(255, 255, 255))
        frames.append(f)
    return strip(frames)


def status_edges():
    """1 the bar, 2 a panel's sunken edge (its inside shows the bar), 3 the last panel
    with the size grip."""
    bar = vgrad(16, 20, [(0, (250, 249, 243)), (1, BUTTON_FACE)])
    panel = box(16, 20, 0, MAGENTA, rings=[(172, 168, 153)])
    d = ImageDraw.Draw(panel)
    d.line([(15, 1), (15, 19)], fill=(255, 255, 255))
    d.line([(1, 19), (15, 19)], fill=(255, 255, 255))
    last = panel.copy()
    g = Image.new("RGB", (16, 16), MAGENTA)
    _size_grip(g)
    last.paste(g, (0, 4), key_mask(g))
    return strip([bar, panel, last])


def group_edge():
    return strip([box(16, 16, 3, MAGENTA, rings=[(208, 208, 191)]),
                  box(16, 16, 3, MAGENTA, rings=[(226, 226, 214)])])


def toolbar_buttons():
    w = h = 22
    clear = Image.new("RGB", (w, h), MAGENTA)
    pressed = box(w, h, 2, vgrad(w, h, [(0, (220, 220, 212)), (1, (232, 232, 226))]), rings=[(147, 145, 130)])
    hot = box(w, h, 2, vgrad(w, h, [(0, (255, 255, 255)), (1, (236, 235, 228))]), rings=[(206, 206, 195)])
    checked = box(w, h, 2, (232, 232, 226), rings=[(147, 145, 130), (250, 250, 248)])
    return strip([clear, pressed, clear.copy(), hot, checked])


THUMB_STATES = ("normal", "pressed", "disabled", "hot", "focus")


def _thumb_up(state, pointed):
    """A trackbar thumb pointing up (or a plain bar), 11 x 20 / 11 x 16."""
    w, h = 11, 20
    edge = {"disabled": (202, 200, 187)}.get(state, (118, 135, 160))
    body = vgrad(w, h, [(0, (255, 255, 255)), (1, (214, 214, 204))] if state != "pressed"
                 else [(0, (220, 220, 210)), (1, (236, 236, 230))])
    f = box(w, h, 1, body, rings=[edge])
    if pointed:
        px = f.load()
        for y in range(6):
            for x in range(w):
                dx = abs(x - w // 2)
                if dx > y:
                    px[x, y] = MAGENTA
                elif dx == y:
                    px[x, y] = edge
    accent = {"hot": (248, 179, 48), "focus": (105, 130, 238), "pressed": (33, 161, 33)}.get(state)
    if accent:
        d = ImageDraw.Draw(f)
        d.line([(1, h - 2), (w - 2, h - 2)], fill=accent)
        d.line([(2, h - 3), (w - 3, h - 3)], fill=accent)
        if not pointed:
            d.line([(1, 1), (w - 2, 1)], fill=accent)
            d.line([(2, 2), (w - 3, 2)], fill=accent)
    return f


def trackbar_thumbs():
    plain = [_thumb_up(s, False) for s in THUMB_STATES]
    up = [_thumb_up(s, True) for s in THUMB_STATES]
    return {
        "ThumbHorz": strip(plain),
        "ThumbVert": strip([rotate(f, "left") for f in plain]),
        "ThumbUp": strip(up),
        "ThumbDown": strip([rotate(f, "down") for f in up]),
        "ThumbLeft": strip([rotate(f, "left") for f in up]),
        "ThumbRight": strip([rotate(f, "right") for f in up]),
    }


def _common(skin, section, filename, img, margins, trans, tile, style=None):
    l, t, r, b = margins
    pairs = [("Image", skin.image(filename, img))]
    if style is not None:
        pairs.append(("Style", style))
    pairs += [("LeftWidth", l), ("TopHeight", t), ("RightWidth", r), ("BottomHeight", b),
              ("Trans", trans), ("Tile", tile)]
    skin.section(section, *pairs)


def control_sections(skin):
    _common(skin, "SunkEdge", "sunkedge.bmp", sunk_edge(), (2, 2, 2, 2), 0, 0)
    _common(skin, "ComboButton", "combobutton.bmp", combo_button(), (3, 3, 3, 3), 1, 0)
    _common(skin, "ExtraImages", "extra.bmp", extra_images(), (0, 0, 0, 0), 1, 0)
    tab, page = tabs()
    skin.section("Tabs", ("Image", skin.image("tabs.bmp", tab)), ("Border", skin.image("tabpage.bmp", page)),
                 ("LeftWidth", 4), ("TopHeight", 4), ("RightWidth", 4), ("BottomHeight", 2),
                 ("Trans", 1), ("Tile", 0))
    bar, chunk = progress()
    skin.section("Progress", ("Bitmap", skin.image("progress.bmp", bar)),
                 ("Chunk", skin.image("progresschunk.bmp", chunk)),
                 ("LeftWidth", 3), ("TopHeight", 3), ("RightWidth", 3), ("BottomHeight", 3),
                 ("Trans", 1), ("Tile", 0))
    for name, vertical in (("UpDown.Horz", False), ("UpDown.Vert", True)):
        faces, glyph = updown(vertical)
        stem = "updown_" + ("v" if vertical else "h")
        skin.section(name, ("Image", skin.image(stem + ".bmp", faces)),
                     ("GlyphImage", skin.image(stem + "_glyphs.bmp", glyph)),
                     ("LeftWidth", 2), ("TopHeight", 2), ("RightWidth", 2), ("BottomHeight", 2),
                     ("Trans", 0), ("Tile", 0))
    _common(skin, "Headerbar", "header.bmp", header(), (2, 2, 3, 4), 0, 0)
    _common(skin, "StatusBarEdges", "statusbar.bmp", status_edges(), (2, 2, 2, 2), 1, 0)
    _common(skin, "GroupBoxEdge", "groupbox.bmp", group_edge(), (4, 4, 4, 4), 1, 0)
    _common(skin, "Toolbars", "toolbar.bmp", toolbar_buttons(), (3, 3, 3, 3), 1, 0)
    for key, img in trackbar_thumbs().items():
        _common(skin, "Trackbar." + key, "trackbar_%s.bmp" % key[5:].lower(), img, (0, 0, 0, 0), 1, 0)


def build():
    skin = Skin()
    skin.section("TitlebarSkin", ("SkinName", SKIN_NAME))
    personality = frame_pieces(skin)
    personality += [("TextShift", 16), ("TextShiftVert", 0), ("TextAlignment", 0),
                    ("Textbackground", 0), ("TXTBackleft", 0), ("TXTBackRight", 0)]
    skin.section("Personality", *personality)  # title keys and the menu bar are added below
    skin.section("Fonts", ("FontHeight", 13))
    skin.section("Colours", *[(k, rgb(c)) for k, c in COLOURS])
    leftmost = title_buttons(skin)
    _personality(skin).extend((k, str(v)) for k, v in [
        ("TextRightClip", leftmost + 1),
        ("ActiveTextR", 255), ("ActiveTextG", 255), ("ActiveTextB", 255),
        ("InActiveTextR", 216), ("InActiveTextG", 228), ("InActiveTextB", 248),
        ("menuBar", skin.image("menubar.bmp", menu_bar())),
        ("TileMenu", 0), ("TileLeftMenu", 1), ("TileRightMenu", 1)])
    buttons_section(skin)
    scroll_sections(skin)
    menu_sections(skin)
    control_sections(skin)
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


def menu_glyphs():
    """The 64 x 16 monochrome strip of the system-menu glyphs: restore, maximise, minimise,
    close; black on white (white is the mask colour)."""
    img = Image.new("RGB", (64, 16), (255, 255, 255))
    d = ImageDraw.Draw(img)
    k = (0, 0, 0)
    # restore: two overlapping windows
    d.rectangle([6, 3, 12, 8], outline=k)
    d.line([(6, 4), (12, 4)], fill=k)
    d.rectangle([3, 6, 9, 12], fill=(255, 255, 255), outline=k)
    d.line([(3, 7), (9, 7)], fill=k)
    # maximise: one window with a thick title
    d.rectangle([16 + 3, 3, 16 + 12, 12], outline=k)
    d.line([(16 + 3, 4), (16 + 12, 4)], fill=k)
    # minimise: a bar at the bottom
    d.rectangle([32 + 4, 10, 32 + 10, 11], fill=k)
    # close: a cross
    for o in (0, 1):
        d.line([(48 + 4 + o, 4), (48 + 11, 11 - o)], fill=k)
        d.line([(48 + 4, 4 + o), (48 + 11 - o, 11)], fill=k)
        d.line([(48 + 11 - o, 4), (48 + 4, 11 - o)], fill=k)
        d.line([(48 + 11, 4 + o), (48 + 4 + o, 11)], fill=k)
    return img


def write(outdir):
    import bmpio
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
