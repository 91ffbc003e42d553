"""The skinned controls' pieces: push buttons, check and radio boxes, scroll bars, menus,
tabs, progress, up-down, header, status bar, group box, toolbar and track-bar thumbs.

State numbering of the multi-image pieces, as the engine reads them:
1 normal, 2 pressed (or checked / selected), 3 disabled, 4 hot or focused,
5 default / focused.  Images sit side by side.
"""
from PIL import Image, ImageDraw

import startmenu
from draw import MAGENTA, rgb_text
from nine import key_mask
from shapes import arrow, box, hgrad, plot, rotate, strip, vgrad

BUTTON_FACE = (236, 233, 216)
NAVY = (0, 60, 116)


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
                 ("NormalColour2", rgb_text((0, 0, 0))), ("MouseOverColour2", rgb_text((0, 0, 0))),
                 ("PressedColour2", rgb_text((0, 0, 0))))


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
