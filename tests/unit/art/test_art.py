"""Checks on the generated art: what the program and the skin engine rely on."""
import os
import re
import shutil
import struct
import subprocess
import tempfile
import unittest

from PIL import Image

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..", ".."))
GENERATOR = os.path.join(ROOT, "resources", "art", "generate.py")
CREAM = (255, 251, 240)
MAGENTA = (255, 0, 255)
CATEGORY_ICONS = ("crv", "root", "office", "other", "life", "security", "systools", "fun")


def run_generator(out):
    # Run it the way the build does: whatever python3 is first on PATH.
    subprocess.run(["python3", GENERATOR, out], check=True, cwd=ROOT)


def bmp_header(path):
    with open(path, "rb") as f:
        data = f.read()
    magic, size, _, _, offset = struct.unpack_from("<2sIHHI", data, 0)
    hsize, w, h, planes, bits, comp = struct.unpack_from("<IiiHHI", data, 14)
    return dict(magic=magic, size=size, real_size=len(data), offset=offset, header=hsize,
                width=w, height=h, planes=planes, bits=bits, compression=comp)


def read_ini(path):
    with open(path, "rb") as f:
        raw = f.read()
    text = raw.decode("ascii")
    sections, current = [], None
    for line in text.split("\r\n"):
        line = line.strip()
        if line.startswith("["):
            current = (line[1:line.index("]")], {})
            sections.append(current)
        elif "=" in line and current is not None:
            k, v = line.split("=", 1)
            current[1][k.strip().lower()] = v.strip()
    return raw, sections


class Generated(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp(prefix="corvane-art-")
        cls.out = os.path.join(cls.tmp, "a")
        run_generator(cls.out)
        raw, cls.sections = read_ini(os.path.join(cls.out, "skin", "skin.ini"))
        cls.ini_raw = raw

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp, ignore_errors=True)

    def path(self, *parts):
        return os.path.join(self.out, *parts)

    def section(self, name):
        found = [s for n, s in self.sections if n.lower() == name.lower()]
        self.assertEqual(len(found), 1, "section [%s]" % name)
        return found[0]

    def skin_image(self, name):
        return Image.open(self.path("skin", name)).convert("RGB")

    def num(self, section, key, default=0):
        v = self.section(section).get(key.lower())
        return default if v is None else int(v)


class Determinism(Generated):
    def test_two_runs_write_the_same_bytes(self):
        other = os.path.join(self.tmp, "b")
        run_generator(other)
        files = lambda top: sorted(os.path.relpath(os.path.join(d, f), top)
                                   for d, _, fs in os.walk(top) for f in fs)
        self.assertEqual(files(self.out), files(other))
        for rel in files(self.out):
            with open(os.path.join(self.out, rel), "rb") as a, open(os.path.join(other, rel), "rb") as b:
                self.assertEqual(a.read(), b.read(), rel)


class Bitmaps(Generated):
    def check_bmp24(self, path, size):
        h = bmp_header(path)
        self.assertEqual(h["magic"], b"BM", path)
        self.assertEqual(h["size"], h["real_size"], path)
        self.assertEqual((h["header"], h["planes"], h["bits"], h["compression"]), (40, 1, 24, 0), path)
        self.assertEqual((h["width"], h["height"]), size, path)   # positive height: bottom-up
        self.assertEqual(h["offset"] + ((size[0] * 3 + 3) // 4 * 4) * size[1], h["real_size"], path)

    def test_main_window_images(self):
        self.check_bmp24(self.path("images", "startmenu.bmp"), (190, 352))
        for name in ("autostart_no.bmp", "autostart_yes.bmp"):
            self.check_bmp24(self.path("images", name), (65, 15))

    def test_every_skin_bitmap_is_24_bit(self):
        for name in os.listdir(self.path("skin")):
            if name.endswith(".bmp"):
                img = Image.open(self.path("skin", name))
                self.check_bmp24(self.path("skin", name), img.size)

    def test_autostart_images_differ_only_in_the_box(self):
        no = Image.open(self.path("images", "autostart_no.bmp")).convert("RGB")
        yes = Image.open(self.path("images", "autostart_yes.bmp")).convert("RGB")
        for img in (no, yes):
            self.assertEqual(img.getpixel((64, 14)), CREAM)
            self.assertEqual(img.getpixel((0, 0)), CREAM)
        diff = [(x, y) for y in range(15) for x in range(65) if no.getpixel((x, y)) != yes.getpixel((x, y))]
        self.assertTrue(diff)
        self.assertTrue(all(x < 14 for x, _ in diff), "the caption must be the same in both")
        green = lambda img: sum(1 for y in range(15) for x in range(14)
                                if (lambda p: p[1] > 120 and p[0] < 100 and p[2] < 100)(img.getpixel((x, y))))
        self.assertEqual(green(no), 0)
        self.assertGreater(green(yes), 5)
        # The caption is really drawn right of the box.
        self.assertGreater(sum(1 for y in range(15) for x in range(16, 65) if no.getpixel((x, y)) != CREAM), 40)

    def test_start_menu_areas(self):
        img = Image.open(self.path("images", "startmenu.bmp")).convert("RGB")
        # Rows from panel y 325 down are the plain panel, where the autostart switch sits.
        for y in range(325, 352):
            for x in range(190):
                self.assertEqual(img.getpixel((x, y)), CREAM, (x, y))
        areas = {"user": (1, 1, 190, 39), "pinned": (1, 40, 93, 56), "mostused": (1, 98, 93, 205),
                 "allprograms": (1, 304, 93, 21), "oem": (95, 304, 96, 21), "help": (95, 247, 96, 56),
                 "settings": (95, 172, 96, 71), "myitems": (95, 40, 96, 128)}
        for name, (x, y, w, h) in areas.items():
            box = img.crop((x - 1, y, x - 1 + w, y + h))
            self.assertEqual(box.size, (w, h), name)
            self.assertGreater(len(box.getcolors(w * h)), 40, "%s area holds drawn items" % name)
        user = img.crop((0, 1, 190, 39)).resize((1, 1), Image.BOX).getpixel((0, 0))
        self.assertGreater(user[2], user[0] + 60, "the user bar is blue")
        # Left column white, right column light blue, as on the real menu.
        self.assertEqual(img.getpixel((88, 150)), (255, 255, 255))
        r = img.getpixel((185, 150))
        self.assertTrue(r[2] > r[0] and r[2] > 200, r)

    def test_menu_glyph_strip(self):
        p = self.path("images", "tambrelmenu.bmp")
        h = bmp_header(p)
        self.assertEqual((h["width"], h["height"], h["bits"], h["size"]), (64, 16, 1, h["real_size"]))
        with open(p, "rb") as f:
            data = f.read()
        palette = data[14 + 40:14 + 48]
        self.assertEqual(palette, bytes((0, 0, 0, 0, 255, 255, 255, 0)))
        img = Image.open(p).convert("RGB")
        for i in range(4):
            cell = img.crop((i * 16, 0, i * 16 + 16, 16))
            black = sum(1 for y in range(16) for x in range(16) if cell.getpixel((x, y)) == (0, 0, 0))
            self.assertGreater(black, 8, "glyph %d drawn" % i)
            self.assertGreater(256 - black, 150, "glyph %d on a white mask" % i)
        # Restore (two windows) has more ink than maximise, minimise (a bar) the least.
        ink = [sum(1 for y in range(16) for x in range(16) if img.getpixel((i * 16 + x, y)) == (0, 0, 0))
               for i in range(4)]
        self.assertEqual(min(ink), ink[2])


class Icons(Generated):
    def test_ico_structure(self):
        for stem in CATEGORY_ICONS:
            p = self.path("icons", stem + ".ico")
            with open(p, "rb") as f:
                data = f.read()
            reserved, kind, count = struct.unpack_from("<HHH", data, 0)
            self.assertEqual((reserved, kind, count), (0, 1, 6), p)
            seen, spans = set(), []
            for i in range(count):
                w, h, colours, _, planes, bits, size, off = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
                seen.add((w, bits))
                self.assertEqual((w, h, colours, planes), (w, w, 0, 1), p)
                self.assertLessEqual(off + size, len(data), p)
                spans.append((off, off + size))
                hs, dw, dh, dplanes, dbits, comp = struct.unpack_from("<IiiHHI", data, off)
                self.assertEqual((hs, dw, dh, dplanes, dbits, comp), (40, w, 2 * w, 1, bits, 0), p)
                palette = 256 * 4 if bits == 8 else 0
                xor = (w * bits + 31) // 32 * 4 * w
                mask = (w + 31) // 32 * 4 * w
                self.assertEqual(size, 40 + palette + xor + mask, "%s %dx%d %d-bit" % (p, w, w, bits))
                self.check_mask(data, off, w, bits, palette, xor, p)
            self.assertEqual(seen, {(s, b) for s in (16, 32, 48) for b in (32, 8)}, p)
            spans.sort()
            self.assertTrue(all(a[1] <= b[0] for a, b in zip(spans, spans[1:])), "images overlap")
            self.assertEqual(spans[0][0], 6 + 16 * count)

    def check_mask(self, data, off, w, bits, palette, xor, p):
        """Masked pixels must be black in the colour image, opaque ones must not be masked."""
        stride = (w + 31) // 32 * 4
        mbase = off + 40 + palette + xor
        xstride = (w * bits + 31) // 32 * 4
        masked = opaque = 0
        for y in range(w):
            for x in range(w):
                m = data[mbase + y * stride + x // 8] >> (7 - x % 8) & 1
                px = off + 40 + palette + y * xstride + x * bits // 8
                if bits == 32:
                    alpha = data[px + 3]
                    self.assertEqual(m, 1 if alpha < 128 else 0, p)
                else:
                    i = data[px]
                    if m:
                        self.assertEqual(data[off + 40 + i * 4:off + 43 + i * 4], b"\0\0\0", p)
                masked += m
                opaque += 1 - m
        self.assertGreater(masked, 0, p)
        self.assertGreater(opaque, w * w // 4, p)

    def test_readers_agree(self):
        for stem in CATEGORY_ICONS:
            p = self.path("icons", stem + ".ico")
            with Image.open(p) as im:
                self.assertEqual(sorted(im.info["sizes"]), [(16, 16), (32, 32), (48, 48)])
            if shutil.which("identify"):
                out = subprocess.run(["identify", p], capture_output=True, text=True, check=True).stdout
                self.assertEqual(len(re.findall(r"ICO (\d+)x\1 ", out)), 6, out)


class SkinDescription(Generated):
    IMAGE_KEYS = {"left", "right", "top", "bottom", "textback", "menubar", "buttonimage", "image",
                  "bitmap", "checkbutton", "radiobutton", "border", "glyphimage", "chunk"}

    def test_names_only_files_that_exist(self):
        named = []
        for name, keys in self.sections:
            if name.lower() == "colours":
                continue
            for k, v in keys.items():
                if k in self.IMAGE_KEYS or v.lower().endswith(".bmp"):
                    self.assertIn(k, self.IMAGE_KEYS, "[%s] %s" % (name, k))
                    self.assertRegex(v, r"^[a-z0-9_]+\.bmp$", "[%s] %s" % (name, k))
                    self.assertTrue(os.path.isfile(self.path("skin", v)), v)
                    named.append(v)
        present = sorted(f for f in os.listdir(self.path("skin")) if f.endswith(".bmp"))
        self.assertEqual(sorted(set(named)), present, "every bitmap of the folder is used")
        with open(self.path("skin", "order.txt"), encoding="ascii") as f:
            entries = f.read().split()
        self.assertEqual(entries[0], "skin.ini")
        self.assertEqual(sorted(entries[1:]), present)
        self.assertEqual(len(entries), len(set(entries)))
        self.assertEqual([e for e in entries if ".ini" in e], ["skin.ini"])
        self.assertLessEqual(len(entries), 1001)

    def test_every_piece_the_engine_reads_is_there(self):
        required = {
            "TitlebarSkin": ["skinname"], "Fonts": ["fontheight"], "MDICONTROLS": ["image"],
            "Personality": ["left", "right", "top", "bottom", "menubar", "textshift", "textrightclip",
                            "activetextr", "activetextg", "activetextb", "inactivetextr",
                            "inactivetextg", "inactivetextb"],
            "Buttons": ["bitmap", "checkbutton", "radiobutton"],
            "Tabs": ["image", "border"], "Progress": ["bitmap", "chunk"],
            "UpDown.Horz": ["image", "glyphimage"], "UpDown.Vert": ["image", "glyphimage"],
        }
        for name in ("GroupBoxEdge", "Toolbars", "StatusBarEdges", "SunkEdge", "ExtraImages", "Headerbar",
                     "MenuItem", "MenuBackground", "Scrollbar", "HorzScroll", "VertScroll", "HorzScrollThumb",
                     "VertScrollThumb", "ComboButton") + tuple("Trackbar.Thumb" + s for s in
                                                              ("Horz", "Vert", "Left", "Right", "Up", "Down")):
            required[name] = ["image"]
        for name, keys in required.items():
            sec = self.section(name)
            for k in keys:
                self.assertTrue(sec.get(k), "[%s] %s" % (name, k))
        colours = self.section("Colours")
        for k in ("WindowText", "ButtonFace", "Scrollbar", "HilightText", "Hilight", "Menubar", "Menu",
                  "MenuText", "ButtonText", "ButtonHilight", "Buttonlight", "ButtonShadow", "ButtonDkShadow",
                  "MenuBarText", "TitleTextActive", "TitleTextNoActive"):
            parts = colours[k.lower()].split()
            self.assertEqual(len(parts), 3, k)
            self.assertTrue(all(0 <= int(c) <= 255 for c in parts), k)
        self.assertEqual(self.ini_raw.count(b"\n"), self.ini_raw.count(b"\r\n"), "CR LF lines")

    def test_frame_counts_agree_with_the_images(self):
        fixed = {"Buttons": ("bitmap", 5), "Progress": ("bitmap", 2), "GroupBoxEdge": ("image", 2),
                 "StatusBarEdges": ("image", 3), "ComboButton": ("image", 4), "SunkEdge": ("image", 4),
                 "HorzScroll": ("image", 4), "VertScroll": ("image", 4), "Toolbars": ("image", 5),
                 "Tabs": ("image", 5), "ExtraImages": ("image", 5), "Headerbar": ("image", 5),
                 "MenuItem": ("image", 5), "UpDown.Horz": ("image", 8), "UpDown.Vert": ("image", 8),
                 "Scrollbar": ("image", 23), "MenuBackground": ("image", 1)}
        for s in ("Horz", "Vert", "Left", "Right", "Up", "Down"):
            fixed["Trackbar.Thumb" + s] = ("image", 5)
        for name in ("HorzScrollThumb", "VertScrollThumb"):
            fixed[name] = ("image", self.num(name, "FrameCount", 3))
        for name, (key, n) in fixed.items():
            img = self.skin_image(self.section(name)[key])
            w, h = img.size
            self.assertEqual(w % n, 0, "%s: %d images side by side in %d pixels" % (name, n, w))
            fw = w // n
            sec = self.section(name)
            self.assertLessEqual(int(sec.get("leftwidth", 0)) + int(sec.get("rightwidth", 0)), fw, name)
            self.assertLessEqual(int(sec.get("topheight", 0)) + int(sec.get("bottomheight", 0)), h, name)
        bar = self.skin_image(self.section("Personality")["menubar"])
        self.assertEqual(bar.size[1] % 2, 0, "menu bar: active above inactive")
        buttons = self.section("Buttons")
        for key, frames in (("checkbutton", "checkbuttonframe"), ("radiobutton", "radiobuttonframe")):
            img = self.skin_image(buttons[key])
            n = int(buttons.get(frames, 0)) or max(4, img.size[0] // (13 if img.size[1] < 16 else 16))
            self.assertEqual(img.size[0] % n, 0, key)
            self.assertGreaterEqual(n, 4, key)
        mdi = self.skin_image(self.section("MDICONTROLS")["image"])
        self.assertEqual(mdi.size[0] % 12, 0, "three buttons of four states")

    def frame_piece(self, name):
        p = self.section("Personality")
        img = self.skin_image(p[name.lower()])
        n = int(p.get(name.lower() + "frame", 1))
        return img, n, int(p.get(name.lower() + "topheight", 0)), int(p.get(name.lower() + "botheight", 0))

    def test_frame_pieces_fit_together(self):
        left, ln, ltop, lbot = self.frame_piece("Left")
        right, rn, rtop, rbot = self.frame_piece("Right")
        top, tn, tleft, tright = self.frame_piece("Top")
        bottom, bn, _, _ = self.frame_piece("Bottom")
        self.assertEqual((ln, rn, tn, bn), (2, 2, 2, 2), "active and inactive states")
        self.assertEqual(left.size[0] % ln, 0)
        self.assertEqual(right.size[0] % rn, 0)
        self.assertEqual(top.size[1] % tn, 0)
        self.assertEqual(bottom.size[1] % bn, 0)
        title = top.size[1] // tn
        self.assertEqual(ltop, title, "the side pieces' fixed top is the title bar")
        self.assertEqual(rtop, title)
        self.assertLessEqual(ltop + lbot, left.size[1])
        self.assertLessEqual(tleft + tright, top.size[0])
        self.assertEqual(left.size[0] // ln, right.size[0] // rn)
        # Active and inactive must look different.
        for img, n, vertical in ((left, ln, False), (top, tn, True)):
            a = img.crop((0, 0, img.size[0], img.size[1] // n) if vertical else (0, 0, img.size[0] // n, img.size[1]))
            b = img.crop((0, img.size[1] // n, img.size[0], img.size[1]) if vertical else
                         (img.size[0] // n, 0, img.size[0], img.size[1]))
            self.assertNotEqual(a.tobytes(), b.tobytes())

    def test_top_corners_are_keyed_and_nothing_else_is(self):
        left, ln, title, _ = self.frame_piece("Left")
        right, rn, _, _ = self.frame_piece("Right")
        top, tn, tleft, tright = self.frame_piece("Top")
        lw, th = left.size[0] // ln, top.size[1] // tn
        for k in range(2):
            self.assertEqual(left.getpixel((k * lw, 0)), MAGENTA)
            self.assertEqual(right.getpixel((k * lw + lw - 1, 0)), MAGENTA)
            self.assertEqual(top.getpixel((0, k * th)), MAGENTA)
            self.assertEqual(top.getpixel((top.size[0] - 1, k * th)), MAGENTA)
            self.assertNotEqual(top.getpixel((top.size[0] // 2, k * th)), MAGENTA, "the title's top edge")
        # Below the corners no pixel may be cut out of the frame.
        for img, rows in ((left, range(8, left.size[1])), (right, range(8, right.size[1])),
                          (top, [y for y in range(top.size[1]) if y % th >= 8])):
            for y in rows:
                for x in range(img.size[0]):
                    self.assertNotEqual(img.getpixel((x, y)), MAGENTA, (x, y))
        # The curve carries on from the side piece into the title piece's fixed end.
        self.assertLessEqual(max((x for x in range(top.size[0] // 2) if top.getpixel((x, 0)) == MAGENTA), default=0) + 1, tleft)

    def test_title_buttons_fit_the_title_bar(self):
        _, _, title, _ = self.frame_piece("Left")
        clip = self.num("Personality", "TextRightClip")
        border = self.frame_piece("Right")[0].size[0] // 2
        buttons = [(n, s) for n, s in self.sections if n.upper().startswith("BUTTON")
                   and n.upper() not in ("BUTTONS", "BUTTON.RADIO", "BUTTON.CHECKBOX")]
        actions = [int(s["action"]) for _, s in buttons]
        for a in (0, 1, 2, 3):
            self.assertIn(a, actions)
        placed = {}
        for name, s in buttons:
            if "buttonimage" not in s:
                self.assertIn(int(s["action"]), (3, 11), "only the icon button draws the window icon")
                continue
            img = self.skin_image(s["buttonimage"])
            n = int(s.get("frame", 0))
            self.assertGreaterEqual(n, 4, "%s: normal, pressed, hot, inactive" % name)
            self.assertEqual(img.size[0] % n, 0, name)
            bw, bh = img.size[0] // n, img.size[1]
            y = int(s.get("ycoord", 0))
            self.assertLessEqual(y + bh, title, name)
            self.assertEqual(int(s["align"]), 1, name)
            x = int(s["xcoord"])
            self.assertLessEqual(x, clip + border, "%s lies right of the title text" % name)
            for k in range(n):
                cell = img.crop((k * bw, 0, (k + 1) * bw, bh))
                self.assertEqual(cell.getpixel((0, 0)), MAGENTA, name)
                self.assertNotEqual(cell.getpixel((bw // 2, bh // 2)), MAGENTA, name)
            placed[name] = (x, bw, (int(s["visibility"]), int(s["visibility1"])))
        # Buttons that can be visible together must not overlap: same pair of visibility
        # codes or codes that hold together on an ordinary window.
        for maxbox in (True, False):
            for maximised in (True, False):
                shown = [(x, bw) for x, bw, vis in placed.values() if self.visible(vis, maxbox, maximised)]
                spans = sorted((-x, -x + bw) for x, bw in shown)
                self.assertTrue(all(a[1] <= b[0] for a, b in zip(spans, spans[1:])),
                                "overlap with maxbox=%s maximised=%s" % (maxbox, maximised))
                self.assertTrue(shown)

    @staticmethod
    def visible(vis, maxbox, maximised):
        rule = {0: True, 1: maximised, 2: not maximised, 6: maxbox, 7: not maxbox, 8: True, 9: False}
        return all(rule[v] for v in vis)


def luminance(c):
    return 0.299 * c[0] + 0.587 * c[1] + 0.114 * c[2]


def states(img, n, vertical=False):
    w, h = img.size
    if vertical:
        return [img.crop((0, k * h // n, w, (k + 1) * h // n)) for k in range(n)]
    return [img.crop((k * w // n, 0, (k + 1) * w // n, h)) for k in range(n)]


def stretch_three(img, length, a, b, vertical):
    """A frame piece drawn at `length` along its long axis: fixed ends a and b, middle stretched."""
    w, h = img.size
    if vertical:
        parts = [(img.crop((0, 0, w, a)), a), (img.crop((0, a, w, h - b)), length - a - b),
                 (img.crop((0, h - b, w, h)), b)]
        out, y = Image.new("RGB", (w, length)), 0
        for part, size in parts:
            if size > 0 and part.size[1] > 0:
                out.paste(part.resize((w, size), Image.NEAREST), (0, y))
            y += size
        return out
    return stretch_three(img.transpose(Image.TRANSPOSE), length, a, b, True).transpose(Image.TRANSPOSE)


class Pieces(Generated):
    def piece_states(self, section, key="image"):
        img = self.skin_image(self.section(section)[key])
        n = {"Buttons": 5, "MenuItem": 5, "Scrollbar": 23, "Tabs": 5, "Headerbar": 5, "Toolbars": 5,
             "SunkEdge": 4, "ComboButton": 4}.get(section, 1)
        return states(img, n)

    def test_assembled_frame_is_whole_below_the_corners(self):
        p = self.section("Personality")
        for active in (0, 1):
            for width, height in ((120, 80), (538, 420)):
                left = states(self.skin_image(p["left"]), int(p["leftframe"]))[active]
                right = states(self.skin_image(p["right"]), int(p["rightframe"]))[active]
                top = states(self.skin_image(p["top"]), int(p["topframe"]), True)[active]
                bottom = states(self.skin_image(p["bottom"]), int(p["bottomframe"]), True)[active]
                lw, rw, th, bh = left.size[0], right.size[0], top.size[1], bottom.size[1]
                win = Image.new("RGB", (width, height), (1, 2, 3))
                win.paste(stretch_three(left, height, int(p["lefttopheight"]), int(p["leftbotheight"]), True), (0, 0))
                win.paste(stretch_three(right, height, int(p["righttopheight"]), int(p["rightbotheight"]), True),
                          (width - rw, 0))
                win.paste(stretch_three(top, width - lw - rw, int(p["toptopheight"]), int(p["topbotheight"]), False),
                          (lw, 0))
                win.paste(stretch_three(bottom, width - lw - rw, 0, 0, False), (lw, height - bh))
                cut = [(x, y) for y in range(height) for x in range(width) if win.getpixel((x, y)) == MAGENTA]
                self.assertTrue(cut, "the top corners are rounded")
                for x, y in cut:
                    self.assertLess(y, 8, (x, y))
                    self.assertTrue(x < 8 or x >= width - 8, (x, y))
                # The cut is symmetric and the title colour runs unbroken along the top row.
                self.assertEqual(sorted((width - 1 - x, y) for x, y in cut), sorted(cut))
                row = [win.getpixel((x, th // 2)) for x in range(lw, width - rw)]
                self.assertEqual(len(set(row)), 1, "the title's middle is one colour across")

    def test_text_is_readable(self):
        colours = {k: tuple(int(c) for c in v.split()) for k, v in self.section("Colours").items()}
        for fg, bg in (("menutext", "menu"), ("hilighttext", "hilight"), ("buttontext", "buttonface"),
                       ("menubartext", "menubar"), ("windowtext", "buttonface")):
            self.assertGreater(abs(luminance(colours[fg]) - luminance(colours[bg])), 100, (fg, bg))
        p = self.section("Personality")
        top = states(self.skin_image(p["top"]), int(p["topframe"]), True)
        for k, prefix in ((0, "activetext"), (1, "inactivetext")):
            text = tuple(int(p[prefix + c]) for c in "rgb")
            band = top[k].crop((top[k].size[0] // 2, 8, top[k].size[0] // 2 + 1, top[k].size[1] - 8))
            darkest = max(luminance(c) for _, c in band.getcolors())
            self.assertGreater(luminance(text) - darkest, 40 if k else 100, prefix)
        self.assertEqual(colours["titletextactive"], tuple(int(p["activetext" + c]) for c in "rgb"))

    def test_states_look_different(self):
        for section, pairs in (("Buttons", [(0, 1), (0, 2), (0, 3), (3, 4)]), ("SunkEdge", [(0, 2), (0, 3)]),
                               ("ComboButton", [(0, 1), (0, 2), (0, 3)]), ("Tabs", [(0, 1), (0, 3)]),
                               ("Headerbar", [(0, 1), (0, 3)]), ("Toolbars", [(0, 1), (0, 3)]),
                               ("Scrollbar", [(0, 1), (0, 2), (0, 3), (0, 4), (8, 12)])):
            frames = self.piece_states(section, "bitmap" if section == "Buttons" else "image")
            for a, b in pairs:
                self.assertNotEqual(frames[a].tobytes(), frames[b].tobytes(), "%s %d/%d" % (section, a + 1, b + 1))
        for key in ("checkbutton", "radiobutton"):
            frames = states(self.skin_image(self.section("Buttons")[key]), 4)
            self.assertEqual(len({f.tobytes() for f in frames}), 4, key)

    def test_menu_item_images(self):
        frames = self.piece_states("MenuItem")
        for k in (0, 2):
            self.assertEqual(frames[k].getcolors(), [(frames[k].size[0] * frames[k].size[1], MAGENTA)],
                             "item %d shows the menu background" % (k + 1))
        sep = frames[1]
        w, h = sep.size
        strip = sep.crop((0, h - 8, w, h))
        self.assertGreater(sum(1 for y in range(8) for x in range(w) if strip.getpixel((x, y)) != MAGENTA), w - 1,
                           "a rule in the separator's strip")
        sel = frames[3]
        self.assertNotEqual(sel.getpixel((w // 2, h // 2)), MAGENTA)
        self.assertEqual(self.num("MenuItem", "Trans"), 1)
        back = self.skin_image(self.section("MenuBackground")["image"])
        self.assertNotIn(MAGENTA, [c for _, c in back.getcolors(4096)], "a menu background is opaque")

    def test_trackbar_thumbs_and_mdi_buttons(self):
        shape = {"Horz": "tall", "Up": "tall", "Down": "tall", "Vert": "wide", "Left": "wide", "Right": "wide"}
        for s, kind in shape.items():
            frames = states(self.skin_image(self.section("Trackbar.Thumb" + s)["image"]), 5)
            w, h = frames[0].size
            self.assertEqual(kind == "tall", h > w, s)
            if s in ("Up", "Down", "Left", "Right"):
                tip = {"Up": (0, 0), "Down": (0, h - 1), "Left": (0, 0), "Right": (w - 1, 0)}[s]
                self.assertTrue(all(f.getpixel(tip) == MAGENTA for f in frames), "%s points" % s)
        mdi = self.skin_image(self.section("MDICONTROLS")["image"])
        a = mdi.size[0] // 12
        for k in range(3):
            button = mdi.crop((4 * a * k, 0, 4 * a * (k + 1), mdi.size[1]))
            for f in states(button, 4):
                self.assertEqual(f.getpixel((0, 0)), MAGENTA)
                self.assertNotEqual(f.getpixel((a // 2, mdi.size[1] // 2)), MAGENTA)


if __name__ == "__main__":
    unittest.main()
