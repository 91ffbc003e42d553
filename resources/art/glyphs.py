"""Small drawn icons, in a 16-unit grid, for the Start-menu picture and the icon files."""
import math

from draw import Vector

OUTLINE = (60, 60, 60)
FOLDER = (250, 214, 92)
FOLDER_DARK = (196, 146, 30)
FOLDER_BACK = (232, 180, 56)
BLUE = (40, 100, 210)
DARK_BLUE = (20, 52, 140)
GREEN = (58, 160, 52)
DARK_GREEN = (24, 100, 24)
RED = (214, 50, 40)
WHITE = (255, 255, 255)
PAPER = (250, 250, 246)
GREY = (150, 150, 150)


def folder(v, front=FOLDER, back=FOLDER_BACK, edge=FOLDER_DARK, inset=None):
    """The manila folder the other glyphs put things into; inset draws between back and front."""
    v.poly([(1, 3), (6, 3), (7.5, 4.5), (15, 4.5), (15, 14), (1, 14)], fill=back, outline=edge, width=0.7)
    if inset:
        inset(v)
    v.poly([(0.5, 7), (15.5, 7), (14.8, 14), (1.2, 14)], fill=front, outline=edge, width=0.7)
    v.line([(1.4, 8), (14.6, 8)], (255, 238, 170), 0.6)


def sheet(v, box, lines=3, colour=PAPER):
    x0, y0, x1, y1 = box
    v.rect(box, fill=colour, outline=GREY, width=0.6)
    step = (y1 - y0 - 2) / (lines + 1)
    for i in range(lines):
        y = y0 + 1.5 + step * (i + 1)
        v.line([(x0 + 1.4, y), (x1 - 1.4, y)], (120, 150, 200), 0.6)


def g_documents(v):
    folder(v, inset=lambda v: sheet(v, (4, 1.5, 12, 9), 2))


def g_pictures(v):
    def pic(v):
        v.rect((3.5, 1.5, 12.5, 8.5), fill=(150, 200, 250), outline=GREY, width=0.6)
        v.poly([(4, 8), (7, 4.5), (9, 6.5), (10.5, 5), (12, 8)], fill=(70, 150, 60))
        v.ellipse((9.5, 2.2, 11.5, 4.2), fill=(255, 210, 40))
    folder(v, inset=pic)


def g_music(v):
    def note(v):
        v.rect((4, 1.5, 12, 9), fill=PAPER, outline=GREY, width=0.6)
    folder(v, inset=note)
    v.line([(9.5, 9), (9.5, 3), (12.5, 2)], (40, 70, 160), 1.1)
    v.ellipse((7, 8, 10.2, 10.6), fill=(40, 70, 160))


def star(v, cx, cy, r, fill, outline):
    pts = []
    for i in range(10):
        a = -math.pi / 2 + i * math.pi / 5
        rr = r if i % 2 == 0 else r * 0.45
        pts.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
    v.poly(pts, fill=fill, outline=outline, width=0.7)


def g_favorites(v):
    star(v, 8, 8.5, 7.4, (255, 206, 40), (190, 120, 0))


def monitor(v, box, screen=(70, 140, 230)):
    x0, y0, x1, y1 = box
    v.rect(box, fill=(230, 230, 225), outline=OUTLINE, width=0.6, radius=0.6)
    v.rect((x0 + 1, y0 + 1, x1 - 1, y1 - 1.6), fill=screen)


def g_computer(v):
    monitor(v, (2, 1.5, 14, 10.5))
    v.rect((6, 10.5, 10, 12), fill=(180, 180, 175))
    v.rect((2.5, 12, 13.5, 14.5), fill=(215, 215, 210), outline=OUTLINE, width=0.6)


def globe(v, box, sea=(60, 130, 220), land=(70, 170, 70)):
    x0, y0, x1, y1 = box
    v.ellipse(box, fill=sea, outline=DARK_BLUE, width=0.6)
    w, h = x1 - x0, y1 - y0
    v.poly([(x0 + w * .25, y0 + h * .2), (x0 + w * .55, y0 + h * .15), (x0 + w * .5, y0 + h * .45),
            (x0 + w * .3, y0 + h * .55), (x0 + w * .15, y0 + h * .4)], fill=land)
    v.poly([(x0 + w * .6, y0 + h * .55), (x0 + w * .85, y0 + h * .5), (x0 + w * .8, y0 + h * .8),
            (x0 + w * .6, y0 + h * .85)], fill=land)
    v.arc((x0 + w * .15, y0 + h * .1, x1 - w * .15, y1 - h * .1), 200, 340, (255, 255, 255, 120), 0.5)


def g_network(v):
    globe(v, (5, 0.5, 15.5, 11))
    monitor(v, (0.5, 6, 8.5, 12.5))
    v.rect((2.5, 12.5, 6.5, 14.5), fill=(200, 200, 195), outline=OUTLINE, width=0.5)


def g_control(v):
    v.rect((1, 2, 15, 14), fill=(240, 240, 235), outline=OUTLINE, width=0.6, radius=1)
    v.rect((2, 3, 14, 5), fill=(80, 130, 220))
    v.rect((3, 7, 7, 11), fill=(90, 180, 90), outline=DARK_GREEN, width=0.5)
    v.ellipse((9, 7, 13, 11), fill=(240, 140, 40), outline=(150, 80, 10), width=0.5)


def g_connect(v):
    globe(v, (3, 1, 15, 13))
    v.line([(1, 14), (5, 10), (8, 11), (11, 7)], (240, 240, 240), 2.2)
    v.line([(1, 14), (5, 10), (8, 11), (11, 7)], (60, 60, 60), 1)


def g_printer(v):
    v.rect((4, 1, 12, 6), fill=PAPER, outline=GREY, width=0.6)
    v.rect((1, 5.5, 15, 12), fill=(200, 200, 195), outline=OUTLINE, width=0.6, radius=1)
    v.rect((4, 10, 12, 15), fill=PAPER, outline=GREY, width=0.6)
    v.ellipse((12, 7, 13.5, 8.5), fill=GREEN)


def g_help(v):
    v.ellipse((1, 1, 15, 15), fill=(40, 110, 220), outline=DARK_BLUE, width=0.7)
    v.arc((5, 3.5, 11, 9), 180, 400, WHITE, 1.6)
    v.line([(8, 8.7), (8, 10)], WHITE, 1.6)
    v.ellipse((7.1, 11.2, 8.9, 13), fill=WHITE)


def g_search(v):
    v.ellipse((1.5, 1.5, 10.5, 10.5), fill=(200, 230, 255), outline=(70, 70, 80), width=1.3)
    v.arc((3.5, 3.5, 8.5, 8.5), 190, 260, WHITE, 0.8)
    v.line([(9, 9), (14.5, 14.5)], (120, 80, 40), 2.3)


def g_run(v):
    v.rect((1, 2, 15, 14), fill=PAPER, outline=OUTLINE, width=0.6)
    v.rect((1.5, 2.5, 14.5, 5), fill=(50, 110, 220))
    v.line([(4, 11.5), (9.5, 7.5)], GREEN, 1.4)
    v.poly([(10.8, 6.6), (10.2, 9.8), (7.6, 7.4)], fill=GREEN)


def g_internet(v):
    globe(v, (1, 1, 15, 15))
    v.arc((0, 4, 16, 12), 200, 520, (255, 200, 40), 1.1)


def g_email(v):
    v.rect((1, 3.5, 15, 12.5), fill=PAPER, outline=(110, 110, 120), width=0.6)
    v.line([(1.3, 3.8), (8, 9), (14.7, 3.8)], (110, 110, 120), 0.7)
    v.ellipse((10, 9, 15.5, 14.5), fill=(240, 160, 30), outline=(160, 90, 0), width=0.5)


def g_notepad(v):
    sheet(v, (3, 2, 13, 15), 4)
    v.rect((3, 1, 13, 3.2), fill=(70, 130, 210))


def g_paint(v):
    v.ellipse((1, 2, 15, 14), fill=(240, 220, 170), outline=(150, 110, 50), width=0.6)
    for (x, y), c in zip([(4, 5), (7.5, 4), (11, 5.5), (4.5, 9)],
                         [(220, 40, 40), (40, 100, 220), (40, 170, 40), (250, 200, 0)]):
        v.ellipse((x - 1.3, y - 1.3, x + 1.3, y + 1.3), fill=c)
    v.ellipse((9, 9, 12, 12), fill=(255, 255, 255))


def g_calc(v):
    v.rect((3, 1, 13, 15), fill=(215, 215, 210), outline=OUTLINE, width=0.6, radius=0.8)
    v.rect((4.3, 2.3, 11.7, 5), fill=(200, 230, 200))
    for r in range(3):
        for c in range(3):
            x, y = 4.5 + c * 2.6, 6.5 + r * 2.7
            v.rect((x, y, x + 1.8, y + 1.8), fill=(90, 90, 110) if c < 2 else (220, 110, 40))


def g_cmd(v):
    v.rect((1, 2, 15, 14), fill=(20, 20, 20), outline=(120, 120, 120), width=0.6)
    v.rect((1.3, 2.3, 14.7, 4.3), fill=(50, 110, 220))
    v.line([(3, 6.5), (5.5, 8.5), (3, 10.5)], (220, 220, 220), 0.9)
    v.line([(6.5, 11), (10, 11)], (220, 220, 220), 0.9)


def g_wordpad(v):
    sheet(v, (2, 1.5, 12, 15), 4)
    v.line([(7, 12.5), (14, 4)], (40, 80, 200), 1.6)
    v.poly([(6.4, 13.5), (6.6, 11.6), (7.9, 12.6)], fill=(40, 40, 40))


def g_cards(v):
    v.rect((1.5, 3, 10, 14.5), fill=PAPER, outline=GREY, width=0.6, radius=0.8)
    v.rect((5.5, 1, 14.5, 12.5), fill=PAPER, outline=OUTLINE, width=0.6, radius=0.8)
    v.poly([(10, 3.5), (12.4, 6.8), (10, 10), (7.6, 6.8)], fill=RED)


def g_mines(v):
    v.rect((1, 1, 15, 15), fill=(190, 190, 190), outline=(120, 120, 120), width=0.6)
    for a in range(0, 180, 45):
        r = math.radians(a)
        v.line([(8 - 5 * math.cos(r), 8 - 5 * math.sin(r)), (8 + 5 * math.cos(r), 8 + 5 * math.sin(r))],
               (20, 20, 20), 0.9)
    v.ellipse((4.5, 4.5, 11.5, 11.5), fill=(20, 20, 20))
    v.ellipse((6, 6, 8, 8), fill=WHITE)


def g_allprograms(v):
    v.ellipse((1, 1, 15, 15), fill=(60, 170, 60), outline=DARK_GREEN, width=0.7)
    v.poly([(5, 5), (9, 8), (5, 11)], fill=WHITE)
    v.poly([(8.5, 5), (12.5, 8), (8.5, 11)], fill=WHITE)


def g_user(v):
    """The account picture: a small landscape in a rounded frame."""
    v.vgrad_rect((0, 0, 16, 16), (90, 150, 235), (200, 225, 255), radius=1.5)
    v.ellipse((9.5, 2, 13.5, 6), fill=(255, 220, 60))
    v.poly([(0, 16), (0, 10), (5, 7.5), (10, 11), (16, 9), (16, 16)], fill=(80, 170, 60))
    v.poly([(0, 16), (0, 13), (8, 11.5), (16, 14), (16, 16)], fill=(50, 130, 40))
    v.rect((0, 0, 16, 16), outline=WHITE, width=1.2, radius=1.5)


def g_corvane(v):
    """The program's mark: a folder with three sorted, coloured cards standing in it."""
    v.poly([(1, 3.5), (5.5, 3.5), (7, 5), (15, 5), (15, 14.5), (1, 14.5)], fill=FOLDER_BACK,
           outline=FOLDER_DARK, width=0.6)
    for i, (c, e) in enumerate([((70, 130, 230), (30, 70, 160)), ((80, 185, 70), (30, 110, 30)),
                                ((245, 150, 40), (170, 90, 10))]):
        x = 3 + i * 3.4
        top = 1 + i * 1.5
        v.rect((x, top, x + 4.2, 10), fill=c, outline=e, width=0.5, radius=0.6)
        v.line([(x + 1, top + 1.5), (x + 3.2, top + 1.5)], WHITE, 0.5)
    v.poly([(0.5, 8), (15.5, 8), (14.8, 15), (1.2, 15)], fill=FOLDER, outline=FOLDER_DARK, width=0.6)
    v.line([(1.4, 9), (14.6, 9)], (255, 238, 170), 0.6)
    v.line([(3, 11.2), (13, 11.2)], (220, 170, 60), 0.6)
    v.line([(3, 12.8), (10, 12.8)], (220, 170, 60), 0.6)


def render(name, size):
    v = Vector(size)
    GLYPHS[name](v)
    return v.result()


GLYPHS = {k[2:]: f for k, f in dict(globals()).items() if k.startswith("g_")}


# Category marks, shown in the category tree and kept in the icon folder.

def g_cat_root(v):
    def grid(v):
        v.rect((3.5, 1.5, 12.5, 9), fill=PAPER, outline=GREY, width=0.6)
        v.rect((3.9, 1.9, 12.1, 3.4), fill=BLUE)
        for i, c in enumerate([(220, 60, 50), (60, 160, 60), (60, 110, 220)]):
            v.rect((4.8 + i * 2.5, 4.5, 6.5 + i * 2.5, 6.5), fill=c)
    folder(v, inset=grid)
    v.ellipse((9.8, 9.4, 15.6, 15.2), fill=(60, 170, 60), outline=DARK_GREEN, width=0.5)
    v.poly([(11.7, 10.8), (14.2, 12.3), (11.7, 13.8)], fill=WHITE)


def g_cat_office(v):
    v.poly([(2.5, 1), (10, 1), (13.5, 4.5), (13.5, 15), (2.5, 15)], fill=PAPER, outline=(90, 90, 100), width=0.6)
    v.poly([(10, 1), (10, 4.5), (13.5, 4.5)], fill=(210, 210, 215), outline=(90, 90, 100), width=0.5)
    v.rect((4, 6, 8.5, 9.5), fill=(70, 130, 220))
    for y in (7, 8.5, 11, 12.5):
        v.line([(9.5 if y < 10 else 4, y), (12, y)], (120, 120, 130), 0.6)
    v.line([(7.5, 14.5), (15, 6.5)], (230, 150, 30), 1.8)
    v.line([(14, 7.6), (15.2, 6.3)], (210, 80, 80), 1.8)
    v.poly([(6.6, 15.4), (7, 13.6), (8.3, 14.8)], fill=(60, 60, 60))


def g_cat_other(v):
    v.poly([(1, 5), (8, 2), (15, 5), (8, 8)], fill=(236, 196, 130), outline=(150, 100, 40), width=0.5)
    v.poly([(1, 5), (8, 8), (8, 15.5), (1, 12.5)], fill=(214, 166, 96), outline=(150, 100, 40), width=0.5)
    v.poly([(15, 5), (8, 8), (8, 15.5), (15, 12.5)], fill=(190, 140, 70), outline=(150, 100, 40), width=0.5)
    v.line([(4.5, 3.5), (11.5, 6.5), (11.5, 9)], (250, 230, 190), 0.9)
    v.ellipse((8.8, 0.4, 15.6, 7.2), fill=(225, 230, 240), outline=(120, 120, 140), width=0.5)
    v.arc((9.6, 1.2, 14.8, 6.4), 200, 290, (170, 120, 230), 0.7)
    v.arc((9.6, 1.2, 14.8, 6.4), 20, 110, (120, 210, 220), 0.7)
    v.ellipse((11.5, 3.1, 12.9, 4.5), fill=WHITE, outline=(120, 120, 140), width=0.3)


def g_cat_life(v):
    v.rect((1.5, 2.5, 14.5, 15), fill=PAPER, outline=(100, 100, 110), width=0.6, radius=1)
    v.rect((1.9, 2.9, 14.1, 6.2), fill=(220, 60, 50))
    for x in (5, 11):
        v.rect((x - 0.6, 1, x + 0.6, 4.2), fill=(90, 90, 100))
    for r in range(3):
        for c in range(4):
            x, y = 3 + c * 2.7, 7.5 + r * 2.3
            v.rect((x, y, x + 1.7, y + 1.4), fill=(170, 180, 200))
    v.rect((8.4, 9.8, 10.1, 11.2), fill=(220, 60, 50))
    star(v, 12.3, 12.6, 3.4, (255, 206, 40), (190, 120, 0))


def g_cat_security(v):
    pts = [(8, 0.8), (14.5, 3), (14, 9), (8, 15.3), (2, 9), (1.5, 3)]
    v.poly(pts, fill=(50, 110, 210), outline=DARK_BLUE, width=0.7)
    v.poly([(8, 0.8), (14.5, 3), (14, 9), (8, 15.3)], fill=(30, 80, 180))
    v.poly([(8, 2.4), (13, 4), (12.6, 8.6), (8, 13.6), (3.4, 8.6), (3, 4)], fill=None, outline=(160, 200, 255), width=0.5)
    v.line([(4.8, 8), (7.2, 10.5), (11.6, 5.2)], (120, 230, 90), 1.9)


def gear(v, cx, cy, r, teeth, fill, edge):
    pts = []
    n = teeth * 4
    for i in range(n):
        a = 2 * math.pi * i / n
        rr = r if (i % 4) in (0, 1) else r * 0.74
        pts.append((cx + rr * math.cos(a), cy + rr * math.sin(a)))
    v.poly(pts, fill=fill, outline=edge, width=0.5)
    v.ellipse((cx - r * .32, cy - r * .32, cx + r * .32, cy + r * .32), fill=(240, 240, 240), outline=edge, width=0.4)


def g_cat_systools(v):
    gear(v, 6.5, 6.5, 6, 8, (150, 160, 180), (70, 75, 90))
    v.line([(7.6, 14.8), (12.4, 10)], (70, 70, 80), 3)
    v.line([(7.6, 14.8), (12.4, 10)], (200, 120, 40), 2)
    v.arc((10.4, 4.6, 15.6, 9.8), 0, 270, (70, 70, 80), 2.2)
    v.arc((10.9, 5.1, 15.1, 9.3), 0, 270, (190, 195, 205), 1.2)


def g_cat_fun(v):
    v.rect((0.8, 4.5, 15.2, 12.5), fill=(90, 95, 120), outline=(40, 40, 60), width=0.6, radius=3.5)
    v.ellipse((0.8, 7.5, 6.2, 14.8), fill=(90, 95, 120), outline=(40, 40, 60), width=0.6)
    v.ellipse((9.8, 7.5, 15.2, 14.8), fill=(90, 95, 120), outline=(40, 40, 60), width=0.6)
    v.rect((1.6, 5.3, 14.4, 11.6), fill=(90, 95, 120), radius=3)
    v.rect((3.3, 6.4, 4.7, 10.6), fill=(230, 230, 235))
    v.rect((1.9, 7.8, 6.1, 9.2), fill=(230, 230, 235))
    v.ellipse((10.6, 6, 12.2, 7.6), fill=(230, 60, 50))
    v.ellipse((12.3, 7.8, 13.9, 9.4), fill=(60, 180, 60))
    v.ellipse((8.9, 7.8, 10.5, 9.4), fill=(60, 120, 230))
    v.ellipse((10.6, 9.6, 12.2, 11.2), fill=(250, 200, 30))


GLYPHS = {k[2:]: f for k, f in dict(globals()).items() if k.startswith("g_")}
