"""The Start-menu picture of the main window and the two autostart switch images.

The picture sits at (1, 0) on its panel, so panel x = picture x + 1; the item
rows are laid out so that each group falls wholly inside its clickable area.
"""
from PIL import Image, ImageDraw

import glyphs
from draw import CREAM, mix, paste_over, text, text_width, vgradient, hgradient

W, H = 190, 352
MENU_BOTTOM = 325          # panel y from here down stays plain: the autostart switch lives there
IMG_X = 1                  # picture offset on the panel

# Clickable areas in panel coordinates (left, top, width, height).
AREAS = {
    "user": (1, 1, 190, 39),
    "pinned": (1, 40, 93, 56),
    "mostused": (1, 98, 93, 205),
    "allprograms": (1, 304, 93, 21),
    "oem": (95, 304, 96, 21),
    "help": (95, 247, 96, 56),
    "settings": (95, 172, 96, 71),
    "myitems": (95, 40, 96, 128),
}

LEFT_BG = (255, 255, 255)
RIGHT_BG = (211, 229, 250)
BORDER = (48, 104, 212)
NAVY = (0, 22, 82)
GREY_TEXT = (110, 110, 110)


def area(name):
    """An area as a picture box (x0, y0, x1, y1), exclusive ends."""
    x, y, w, h = AREAS[name]
    return (x - IMG_X, y, x - IMG_X + w, y + h)


def _icon(img, name, size, x, y):
    paste_over(img, glyphs.render(name, size), (x, y))


def _separator(img, x0, x1, y, colour, bg):
    """A line that fades out at both ends, as between the groups of the menu."""
    d = ImageDraw.Draw(img)
    n = x1 - x0
    for i in range(n):
        t = min(i, n - 1 - i) / max(1, n * 0.25)
        d.point((x0 + i, y), fill=mix(bg, colour, min(1.0, t)))


def _rows(box, items, height):
    """Top of each row, the rows centred in the box."""
    x0, y0, x1, y1 = box
    top = y0 + (y1 - y0 - height * len(items)) // 2
    return [top + i * height for i in range(len(items))]


def _user_bar(img):
    x0, y0, x1, y1 = 0, 0, W, area("user")[3]
    vgradient(img, (x0, y0, x1, y1 - 1), [(0, (24, 88, 210)), (0.15, (60, 132, 236)),
                                          (0.6, (40, 106, 224)), (1, (30, 90, 210))])
    d = ImageDraw.Draw(img)
    d.line([(3, 1), (W - 4, 1)], fill=(120, 170, 245))
    # The orange rule under the bar, brightest in the middle.
    hgradient(img, (0, y1 - 1, W, y1), [(0, (46, 98, 206)), (0.3, (232, 148, 62)),
                                        (0.7, (232, 148, 62)), (1, (46, 98, 206))])
    # Rounded top corners against the panel.
    for (cx, dx) in ((0, 1), (W - 1, -1)):
        for i, n in enumerate((3, 1, 1)):
            for j in range(n):
                d.point((cx + dx * j, i), fill=CREAM)
        d.point((cx + dx * 2, 1), fill=mix(CREAM, (24, 88, 210), 0.5))
        d.point((cx + dx * 1, 2), fill=mix(CREAM, (24, 88, 210), 0.5))
    pic = 30
    py = (y1 - pic) // 2
    d.rectangle([3, py - 1, 3 + pic + 1, py + pic], fill=(210, 225, 250))
    _icon(img, "user", pic, 4, py)
    name = "Administrator"
    ty = (y1 - 13) // 2
    text(img, (41, ty + 1), name, (10, 40, 120), bold=True)
    text(img, (40, ty), name, (255, 255, 255), bold=True)


def _left_column(img):
    x0, y0, x1, _ = area("pinned")
    d = ImageDraw.Draw(img)
    d.rectangle([x0, y0, x1 - 1, MENU_BOTTOM - 1], fill=LEFT_BG)
    pinned = [("internet", "Internet", "浏览器"), ("email", "电子邮件", "收发邮件")]
    for top, (ic, title, sub) in zip(_rows(area("pinned"), pinned, 28), pinned):
        _icon(img, ic, 24, 3, top + 2)
        text(img, (30, top + 2), title, (0, 0, 0), bold=True)
        text(img, (30, top + 15), sub, GREY_TEXT)
    _separator(img, 4, x1 - 4, area("pinned")[3] + 1, (190, 190, 190), LEFT_BG)
    used = [("notepad", "记事本"), ("paint", "画图"), ("calc", "计算器"), ("cmd", "命令提示符"),
            ("wordpad", "写字板"), ("cards", "纸牌"), ("mines", "扫雷")]
    for top, (ic, title) in zip(_rows(area("mostused"), used, 29), used):
        _icon(img, ic, 22, 3, top + 3)
        text(img, (28, top + 8), title, (0, 0, 0))
    _separator(img, 4, x1 - 4, area("mostused")[3], (190, 190, 190), LEFT_BG)
    bx0, by0, bx1, by1 = area("allprograms")
    label = "所有程序"
    tw = text_width(label, bold=True)
    tx = bx0 + (bx1 - bx0 - tw - 20) // 2
    text(img, (tx, by0 + 4), label, (0, 0, 0), bold=True)
    _icon(img, "allprograms", 16, tx + tw + 4, by0 + 2)


def _right_column(img):
    x0, y0, x1, _ = area("myitems")
    d = ImageDraw.Draw(img)
    d.rectangle([x0 - 1, y0, W - 1, MENU_BOTTOM - 1], fill=RIGHT_BG)
    # The pale rule between the columns.
    vgradient(img, (x0 - 1, y0, x0, MENU_BOTTOM - 1), [(0, (160, 196, 240)), (1, (200, 220, 248))])
    groups = [
        ("myitems", 21, [("documents", "我的文档", True), ("pictures", "图片收藏", True),
                         ("music", "我的音乐", True), ("favorites", "收藏夹", False),
                         ("computer", "我的电脑", True), ("network", "网上邻居", False)]),
        ("settings", 23, [("control", "控制面板", False), ("connect", "网络连接", False),
                          ("printer", "打印机和传真", False)]),
        ("help", 18, [("help", "帮助和支持", False), ("search", "搜索", False), ("run", "运行...", False)]),
        ("oem", 21, [("corvane", "Corvane", True)]),
    ]
    for name, height, items in groups:
        box = area(name)
        for top, (ic, label, bold) in zip(_rows(box, items, height), items):
            _icon(img, ic, 16, x0 + 1, top + (height - 16) // 2)
            text(img, (x0 + 19, top + (height - 13) // 2), label, NAVY, bold=bold)
    for above, below in (("myitems", "settings"), ("settings", "help"), ("help", "oem")):
        y = (area(above)[3] + area(below)[1]) // 2
        _separator(img, x0 + 3, W - 4, y, (140, 176, 230), RIGHT_BG)


def _frame(img):
    d = ImageDraw.Draw(img)
    bottom = MENU_BOTTOM - 1
    d.line([(0, 39), (0, bottom)], fill=BORDER)
    d.line([(W - 1, 39), (W - 1, bottom)], fill=BORDER)
    d.line([(0, bottom), (W - 1, bottom)], fill=BORDER)


def picture():
    img = Image.new("RGB", (W, H), CREAM)
    _left_column(img)
    _right_column(img)
    _user_bar(img)
    _frame(img)
    return img


# The autostart switch: a 13-pixel check box and its caption on the panel colour.
SWITCH_SIZE = (65, 15)


def check_box(img, x, y, ticked, enabled=True):
    """An XP check box, 13 x 13, at (x, y); also used for the skin's check images."""
    d = ImageDraw.Draw(img)
    edge = (28, 81, 128) if enabled else (202, 200, 187)
    d.rectangle([x, y, x + 12, y + 12], outline=edge)
    if enabled:
        vgradient(img, (x + 1, y + 1, x + 12, y + 12), [(0, (220, 220, 215)), (1, (255, 255, 255))])
        d.rectangle([x + 1, y + 1, x + 11, y + 11], outline=(230, 230, 226))
    else:
        d.rectangle([x + 1, y + 1, x + 11, y + 11], fill=(255, 255, 255))
    if ticked:
        tick = (33, 161, 33) if enabled else (202, 200, 187)
        for i, (tx, ty) in enumerate([(3, 5), (4, 6), (5, 7), (6, 6), (7, 5), (8, 4), (9, 3)]):
            d.line([(x + tx, y + ty), (x + tx, y + ty + 2)], fill=tick)


def switch(ticked):
    img = Image.new("RGB", SWITCH_SIZE, CREAM)
    check_box(img, 1, 1, ticked)
    text(img, (16, 1), "自动运行", (0, 0, 0))
    return img
