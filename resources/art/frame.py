"""The window frame: the four frame pieces, the title-bar buttons and the system-menu glyphs."""
from PIL import Image, ImageDraw

from draw import MAGENTA, at, mix
from shapes import box, strip, vgrad

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


def _title_colour(active, y):
    return at(TITLE[active], y / (TITLE_H - 1))


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
