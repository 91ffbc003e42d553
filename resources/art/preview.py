"""Previews of every generated image, a contact sheet and mock-ups of skinned windows
assembled from the skin's own pieces with the engine's slicing rules."""
import os

from PIL import Image, ImageDraw

import glyphs
import nine
from draw import text, text_width

DESKTOP = (58, 110, 165)
LABEL = (20, 20, 20)


def _scale_for(img):
    m = max(img.size)
    return 4 if m <= 100 else 3 if m <= 200 else 2 if m <= 400 else 1


def _save(img, path):
    img.save(path, format="PNG", optimize=False)


def enlarged(img):
    s = _scale_for(img)
    return img.resize((img.size[0] * s, img.size[1] * s), Image.NEAREST)


def _int(skin, section, key, default=0):
    try:
        return int(skin.get(section, key, default))
    except ValueError:
        return default


class Piece:
    def __init__(self, skin, section, key="Image", frames=1, vertical=False):
        self.img = skin.files[skin.get(section, key)]
        self.frames = frames
        self.vertical = vertical
        self.margins = tuple(_int(skin, section, k) for k in ("LeftWidth", "TopHeight", "RightWidth", "BottomHeight"))
        self.tile = _int(skin, section, "Tile") == 1
        self.trans = _int(skin, section, "Trans") == 1

    def draw(self, dst, box, k=1, transparent=None):
        x0, y0, x1, y1 = box
        img = nine.render(self.img, x1 - x0, y1 - y0, self.frames, k, self.vertical, self.margins, self.tile)
        nine.blit(dst, img, (x0, y0), self.trans if transparent is None else transparent)


def _frame_piece(skin, name):
    img = skin.files[skin.get("Personality", name)]
    n = _int(skin, "Personality", name + "Frame", 1)
    a = _int(skin, "Personality", name + "TopHeight")
    b = _int(skin, "Personality", name + "BotHeight")
    vertical = name in ("Top", "Bottom")
    margins = (a, 0, b, 0) if vertical else (0, a, 0, b)
    return img, n, vertical, margins, _int(skin, "Personality", name + "Stretch", 1) != 1


def frame_metrics(skin):
    def size(name, axis):
        img, n, *_ = _frame_piece(skin, name)
        return img.size[axis] // n
    return size("Left", 0), size("Top", 1), size("Right", 0), size("Bottom", 1)


def _visible(code, b, st):
    return {0: st["frame_ok"] and (b != 0 or st["sysmenu"]), 1: st["maximised"], 2: not st["maximised"],
            3: st["active"], 4: not st["active"], 6: st["maxbox"] and st["sysmenu"],
            7: not st["maxbox"], 8: st["minbox"] and st["sysmenu"], 9: not st["minbox"]}.get(code, False)


def _visible1(code, st):
    return {0: True, 1: st["maximised"], 2: not st["maximised"], 3: st["active"], 4: not st["active"],
            6: st["maxbox"], 7: not st["maxbox"], 8: st["minbox"], 9: not st["minbox"]}.get(code, False)


def window(skin, w, h, title, active=True, maxbox=True, minbox=True, menu=True, client=None):
    """A whole skinned window; magenta-keyed pixels come out as the desktop colour."""
    left, top, right, bottom = frame_metrics(skin)
    mb = 20 if menu else 0
    img = Image.new("RGB", (w, h), (255, 0, 255))
    for name, box in (("Left", (0, 0, left, h)), ("Right", (w - right, 0, w, h)),
                      ("Bottom", (left, h - bottom, w - right, h)), ("Top", (left, 0, w - right, top))):
        src, n, vertical, margins, tile = _frame_piece(skin, name)
        k = 1 if active or n == 1 else 2
        part = nine.render(src, box[2] - box[0], box[3] - box[1], n, k, vertical, margins, tile)
        img.paste(part, box[:2])
    # Title text after two blanks, clipped before the buttons.
    shift = _int(skin, "Personality", "TextShift")
    clip = _int(skin, "Personality", "TextRightClip")
    colour = tuple(_int(skin, "Personality", ("ActiveText" if active else "InActiveText") + c) for c in "RGB")
    tx = left + shift + 7
    title_img = img.crop((tx, 0, w - right - clip, top))
    text(title_img, (0, (top - 13) // 2 + _int(skin, "Personality", "TextShiftVert") // 2), title, colour,
         size=12, bold=True)
    img.paste(title_img, (tx, 0))
    st = dict(active=active, maxbox=maxbox, minbox=minbox, sysmenu=True, maximised=False, frame_ok=True)
    i = 0
    while skin.get("BUTTON%d" % i, "Action") is not None:
        sec = "BUTTON%d" % i
        i += 1
        action = _int(skin, sec, "Action")
        if not (_visible(_int(skin, sec, "Visibility"), action, st) and _visible1(_int(skin, sec, "Visibility1"), st)):
            continue
        if (action == 1 and not maxbox) or (action == 2 and not minbox):
            continue
        x, y, align = _int(skin, sec, "Xcoord"), _int(skin, sec, "Ycoord"), _int(skin, sec, "Align")
        bx = x if align == 0 else w - x
        name = skin.get(sec, "ButtonImage")
        if name is None:
            icon = glyphs.render("corvane", 16)
            img.paste(icon, (bx, y), icon)
            continue
        src = skin.files[name]
        n = _int(skin, sec, "frame")
        k = 1 if active or n < 4 else 4
        nine.blit(img, nine.state_image(src, n, k, False), (bx, y))
    if menu:
        bar = skin.files[skin.get("Personality", "menuBar")]
        cap = (_int(skin, "Personality", "TileLeftMenu"), 0, _int(skin, "Personality", "TileRightMenu"), 0)
        part = nine.render(bar, w - left - right, mb, 2, 1 if active else 2, True, cap, True)
        img.paste(part, (left, top))
        x = left + cap[0] + 4
        for cap_text in ("文件(F)", "编辑(E)", "帮助(H)"):
            text(img, (x + 5, top + 4), cap_text, (0, 0, 0))
            x += text_width(cap_text) + 10
    face = tuple(int(v) for v in skin.get("Colours", "ButtonFace").split())
    ImageDraw.Draw(img).rectangle([left, top + mb, w - right - 1, h - bottom - 1], fill=face)
    if client:
        client(img, (left, top + mb, w - right, h - bottom))
    out = Image.new("RGB", (w, h), DESKTOP)
    out.paste(img, (0, 0), nine.key_mask(img))
    return out


def _controls(skin):
    def draw(img, box):
        x0, y0, x1, y1 = box
        buttons = Piece(skin, "Buttons", "Bitmap", 5)
        for i, (k, label) in enumerate(((1, "确定"), (4, "应用"), (2, "取消"), (3, "帮助"))):
            bx = x0 + 12 + i * 82
            buttons.draw(img, (bx, y1 - 34, bx + 75, y1 - 11), k)
            text(img, (bx + (75 - text_width(label)) // 2, y1 - 29), label, (0, 0, 0) if k != 3 else (172, 168, 153))
        check = skin.files[skin.get("Buttons", "CheckButton")]
        radio = skin.files[skin.get("Buttons", "RadioButton")]
        for i, k in enumerate((1, 2, 3, 4)):
            y = y0 + 12 + i * 20
            nine.blit(img, nine.state_image(check, 4, k, False), (x0 + 12, y))
            text(img, (x0 + 30, y), ("显示我的文档", "显示我的音乐", "不可用", "不可用(选中)")[i], (0, 0, 0))
            nine.blit(img, nine.state_image(radio, 4, k, False), (x0 + 130, y))
            text(img, (x0 + 148, y), ("网址", "文件夹", "程序", "其它")[i], (0, 0, 0))
        # A group box, a progress bar and a tab strip.
        Piece(skin, "GroupBoxEdge", frames=2).draw(img, (x0 + 8, y0 + 96, x0 + 214, y0 + 150))
        text(img, (x0 + 16, y0 + 90), " 分类 ", (0, 70, 213))
        prog = Piece(skin, "Progress", "Bitmap", 2)
        prog.draw(img, (x0 + 16, y0 + 110, x0 + 206, y0 + 126), 1)
        chunk = skin.files[skin.get("Progress", "Chunk")]
        for cx in range(x0 + 19, x0 + 140, chunk.size[0]):
            img.paste(chunk, (cx, y0 + 112))
        tabs = Piece(skin, "Tabs", frames=5)
        for i, (k, label) in enumerate(((2, "常规"), (1, "高级"), (4, "关于"))):
            tx = x0 + 16 + i * 52
            tabs.draw(img, (tx, y0 + 130, tx + 50, y0 + 149), k)
            text(img, (tx + 13, y0 + 134), label, (0, 0, 0))
        # A vertical scroll bar along the right edge.
        sx = x1 - 17
        track = Piece(skin, "VertScroll", frames=4)
        track.draw(img, (sx, y0, sx + 16, y1 - 16))
        arrows = skin.files[skin.get("Scrollbar", "Image")]
        nine.blit(img, nine.state_image(arrows, 23, 9, False), (sx, y0), False)
        nine.blit(img, nine.state_image(arrows, 23, 16, False), (sx, y1 - 32), False)
        Piece(skin, "VertScrollThumb", frames=3).draw(img, (sx, y0 + 40, sx + 16, y0 + 90))
        nine.blit(img, nine.state_image(arrows, 23, 17, False), (sx, y1 - 16), False)
        # An open popup menu with the second item selected.
        mx0, my0, mx1, my1 = x0 + 232, y0 + 2, x0 + 352, y0 + 110
        menu_bg = Piece(skin, "MenuBackground")
        menu_bg.draw(img, (mx0, my0, mx1, my1))
        item = Piece(skin, "MenuItem", frames=5)
        y = my0 + 3
        for label in ("新建分类", "删除分类", "-", "重命名", "更改图标"):
            hgt = 8 if label == "-" else 20
            box = (mx0 + 3, y, mx1 - 3, y + hgt)
            if label == "-":
                sep = nine.state_image(item.img, 5, 2, False)
                sep = sep.crop((0, sep.size[1] - hgt, sep.size[0], sep.size[1]))
                nine.blit(img, nine.render(sep, box[2] - box[0], hgt, margins=(3, 0, 3, 0)), box[:2])
            else:
                sel = label == "删除分类"
                item.draw(img, box, 4 if sel else 1)
                text(img, (box[0] + 24, y + 4), label, (255, 255, 255) if sel else (0, 0, 0))
            y += hgt
    return draw


def mockups(skin, outdir):
    shots = {
        "window_active": window(skin, 400, 300, "Corvane V1.2", True, client=_controls(skin)),
        "window_inactive": window(skin, 400, 300, "Corvane V1.2", False, client=_controls(skin)),
        "window_dialog": window(skin, 300, 160, "关于Corvane1.2", True, maxbox=False, minbox=False, menu=False),
        "window_main": window(skin, 300, 160, "Corvane V1.2", True, maxbox=False, menu=False),
    }
    for name, img in shots.items():
        _save(img, os.path.join(outdir, name + ".png"))
    return shots


def contact_sheet(items, path, columns=4, cell=(300, 0)):
    """items: [(label, image)] laid out in rows, each scaled up for viewing."""
    tiles = []
    for label, img in items:
        big = enlarged(img)
        if big.size[0] > cell[0]:
            k = cell[0] / big.size[0]
            big = big.resize((cell[0], max(1, int(big.size[1] * k))), Image.NEAREST)
        tiles.append((label, big))
    rows = [tiles[i:i + columns] for i in range(0, len(tiles), columns)]
    heights = [max(t[1].size[1] for t in r) + 22 for r in rows]
    sheet = Image.new("RGB", (columns * (cell[0] + 10) + 10, sum(heights) + 10), (200, 200, 200))
    y = 10
    for r, hgt in zip(rows, heights):
        for i, (label, big) in enumerate(r):
            x = 10 + i * (cell[0] + 10)
            text(sheet, (x, y), label, LABEL)
            sheet.paste(big.convert("RGB") if big.mode != "RGBA" else _on_check(big), (x, y + 16))
        y += hgt
    _save(sheet, path)


def _on_check(img):
    """An RGBA image over a checkerboard, so its transparency shows."""
    bg = Image.new("RGBA", img.size, (255, 255, 255, 255))
    d = ImageDraw.Draw(bg)
    for y in range(0, img.size[1], 8):
        for x in range(0, img.size[0], 8):
            if (x // 8 + y // 8) % 2:
                d.rectangle([x, y, x + 7, y + 7], fill=(210, 210, 210, 255))
    return Image.alpha_composite(bg, img).convert("RGB")


def area_overlay(picture):
    """The picture on its panel with the clickable areas outlined, to check the fit."""
    import startmenu
    k = 3
    panel = Image.new("RGB", (196, 358), startmenu.CREAM)
    panel.paste(picture, (startmenu.IMG_X, 0))
    switch = startmenu.switch(True)
    panel.paste(switch, (5, 331))
    big = panel.resize((panel.size[0] * k, panel.size[1] * k), Image.NEAREST)
    d = ImageDraw.Draw(big)
    for x, y, w, h in startmenu.AREAS.values():
        d.rectangle([x * k, y * k, (x + w) * k - 1, (y + h) * k - 1], outline=(255, 0, 0))
    return big


def ico_entries(data):
    """Decode every image of an .ico as written (both depths), for viewing: [(bits, RGBA)]."""
    import struct
    out = []
    for i in range(struct.unpack_from("<H", data, 4)[0]):
        w, _, _, _, _, bits, _, off = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        w = w or 256
        pal = off + 40
        colours = pal + (1024 if bits == 8 else 0)
        mask = colours + (w * bits + 31) // 32 * 4 * w
        img = Image.new("RGBA", (w, w))
        px = img.load()
        for y in range(w):
            row = w - 1 - y
            for x in range(w):
                m = data[mask + row * ((w + 31) // 32 * 4) + x // 8] >> (7 - x % 8) & 1
                if bits == 32:
                    b, g, r, a = data[colours + (row * w + x) * 4:colours + (row * w + x) * 4 + 4]
                else:
                    k = data[colours + row * ((w + 3) // 4 * 4) + x]
                    b, g, r = data[pal + k * 4:pal + k * 4 + 3]
                    a = 0 if m else 255
                px[x, y] = (r, g, b, a)
        out.append((bits, img))
    return out


def write(outdir, skin, icons, images, icon_dir=None):
    os.makedirs(outdir, exist_ok=True)
    items = []
    for name, img in sorted(skin.files.items()):
        _save(enlarged(img), os.path.join(outdir, "skin_" + name[:-4] + ".png"))
        items.append((name, img))
    contact_sheet(items, os.path.join(outdir, "contact_skin.png"))
    icon_items = []
    for name in icons:
        with open(os.path.join(icon_dir, name), "rb") as f:
            decoded = ico_entries(f.read())
        # Top row the 32-bit images, bottom row the 256-colour ones, as stored in the file.
        row = Image.new("RGBA", (48 * 3 + 20, 48 * 2 + 6), (0, 0, 0, 0))
        x = {32: 0, 8: 0}
        for bits, im in sorted(decoded, key=lambda e: (-e[0], e[1].size[0])):
            row.paste(im, (x[bits], 0 if bits == 32 else 54))
            x[bits] += im.size[0] + 10
        _save(_on_check(row.resize((row.size[0] * 3, row.size[1] * 3), Image.NEAREST)),
              os.path.join(outdir, "icon_" + name[:-4] + ".png"))
        icon_items.append((name, row))
    contact_sheet(icon_items, os.path.join(outdir, "contact_icons.png"), columns=2, cell=(500, 0))
    for name, img in images.items():
        _save(enlarged(img), os.path.join(outdir, "image_" + name[:-4] + ".png"))
    shots = mockups(skin, outdir)
    overlay = area_overlay(images["startmenu.bmp"])
    _save(overlay, os.path.join(outdir, "image_startmenu_areas.png"))
    contact_sheet([(n, i) for n, i in images.items()] + [("areas", overlay)] +
                  [(n, s) for n, s in shots.items()], os.path.join(outdir, "contact_images.png"),
                  columns=3, cell=(600, 0))
