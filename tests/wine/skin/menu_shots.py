"""The skinned menus seen from outside: the bar, an open popup with a
separator, a checked, a disabled and a sub-menu entry, the sub-menu, the
skinned system menu and a right-to-left bar. The menus' texts are read the
way the end-to-end tests read the program's menus. Screenshots go to
build/e2e-screenshots (skin_menu_*.png). Ends with the count line."""
import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "e2e"))
import harness as h  # noqa: E402

GALLERY = os.path.join(h.BUILD, "tests", "wine", "skin", "skin_menu_gallery.exe")
MAIN = "Corvane 菜单"
RTL = "从右到左的菜单"
WM_SYSCOMMAND, SC_KEYMENU, WM_CLOSE = 0x0112, 0xF100, 0x0010
VK_ESCAPE, VK_UP, VK_RIGHT = 0x1B, 0x26, 0x27
EDIT_ITEMS = ["撤销(&U)\tCtrl+Z", "", "自动换行(&W)", "全部选定(&A)\tCtrl+A", "只读(&R)", "",
              "更多(&M)"]
SYSTEM_ITEMS = [" Restore ", " Maximize ", " Minimize ", "", " Close \tShift+F4"]
MENU_BORDER = "srgb(172,168,153)"


def pixel(png, x, y):
    out = subprocess.run(["convert", png, "-format", f"%[pixel:p{{{x},{y}}}]", "info:"],
                         capture_output=True, text=True, check=True).stdout
    return out.strip()


def crop(png, name, rects):
    """Keeps the part of a full-screen shot that holds the given rectangles."""
    left = max(min(r[0] for r in rects) - 8, 0)
    top = max(min(r[1] for r in rects) - 8, 0)
    right = max(r[0] + r[2] for r in rects) + 8
    bottom = max(r[1] + r[3] for r in rects) + 8
    out = os.path.join(h.SHOTS, name + ".png")
    subprocess.run(["convert", png, "-crop", f"{right - left}x{bottom - top}+{left}+{top}",
                    "+repage", out], check=True)
    return out


def menus(count, timeout=5):
    deadline = time.time() + timeout
    found = []
    while time.time() < deadline:
        found = h.drv("menu")
        if len(found) == count:
            return found
        time.sleep(0.2)
    raise AssertionError(f"{len(found)} menus open, not {count}")


class MenuShots(unittest.TestCase):
    def setUp(self):
        if not os.path.exists(GALLERY):
            self.fail("no skin_menu_gallery.exe in " + h.BUILD + ": the build makes it")
        self.proc = subprocess.Popen(["wine", GALLERY, "90"], stdin=subprocess.DEVNULL,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                     env=h.wine_env())
        self.assertTrue(h.wait_for(title=MAIN, cls="CorvaneSkinTest"))
        time.sleep(1.5)
        self.main = h.find(title=MAIN, cls="CorvaneSkinTest")[0]
        self.rtl = h.find(title=RTL, cls="CorvaneSkinTest")[0]

    def tearDown(self):
        if getattr(self, "proc", None) and self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()

    def test_bar_popups_and_system_menu(self):
        hwnd = self.main["hwnd"]
        h.drv("move", 700, 600)
        time.sleep(0.3)
        h.screenshot("skin_menu_bar", hwnd)
        h.screenshot("skin_menu_rtl", self.rtl["hwnd"])
        # The bar before any menu has opened, with the mouse away from it.
        untouched = h.screenshot("skin_menu_start")

        # Alt+E opens the Edit menu, drawn by the skin, its texts readable.
        h.drv("post", hwnd, WM_SYSCOMMAND, SC_KEYMENU, ord("e"))
        edit = menus(1)[0]
        self.assertTrue(edit["readable"])
        self.assertEqual([i["text"] for i in edit["items"]], EDIT_ITEMS)
        self.assertEqual([i["separator"] for i in edit["items"]],
                         [t == "" for t in EDIT_ITEMS])
        time.sleep(0.4)
        shot = h.screenshot("skin_menu_screen")
        x, y, w, ht = edit["rect"]
        self.assertEqual(pixel(shot, x, y + ht // 2), MENU_BORDER, "the skin's menu border")
        self.assertEqual(pixel(shot, x + w - 1, y + ht // 2), MENU_BORDER)
        crop(shot, "skin_menu_popup", [self.main["rect"], edit["rect"]])
        # The popup opens under its bar item, in the window's menu bar.
        wx, wy, ww, wh = self.main["rect"]
        self.assertTrue(wx < x < wx + ww // 2 and wy < y < wy + 80, (edit["rect"], self.main["rect"]))

        # Up to the last entry and right into its sub-menu.
        h.drv("key", hwnd, VK_UP)
        time.sleep(0.3)
        h.drv("key", hwnd, VK_RIGHT)
        both = menus(2)
        sub = next(m for m in both if m["hwnd"] != edit["hwnd"])
        self.assertEqual([i["text"] for i in sub["items"]], ["第一项(&1)", "第二项(&2)"])
        time.sleep(0.4)
        crop(h.screenshot("skin_menu_screen"), "skin_menu_sub",
             [self.main["rect"], edit["rect"], sub["rect"]])
        h.drv("key", hwnd, VK_ESCAPE)
        time.sleep(0.3)
        h.drv("key", hwnd, VK_ESCAPE)
        menus(0)

        # The bar item under the mouse is hot: its pixels change when the
        # mouse comes (the popup opened right under it).
        item = (x, y - 19, 50, 18)  # the whole entry, its frame included
        cold = h.pixels(untouched, item)
        h.drv("move", x + 12, y - 8)
        time.sleep(0.5)
        shot = h.screenshot("skin_menu_screen")
        self.assertNotEqual(h.pixels(shot, item), cold, "the bar item under the mouse is hot")
        crop(shot, "skin_menu_hot", [[wx, wy, ww, 80]])

        # A right click on the title opens the skinned system menu.
        h.drv("click", wx + ww // 2, wy + 12, "--right")
        system = menus(1)[0]
        self.assertEqual([i["text"] for i in system["items"]], SYSTEM_ITEMS)
        time.sleep(0.4)
        shot = h.screenshot("skin_menu_screen")
        sx, sy, sw, sh = system["rect"]
        self.assertEqual(pixel(shot, sx, sy + sh // 2), MENU_BORDER)
        crop(shot, "skin_menu_system", [self.main["rect"], system["rect"]])
        h.drv("key", hwnd, VK_ESCAPE)
        menus(0)
        os.unlink(os.path.join(h.SHOTS, "skin_menu_screen.png"))
        os.unlink(untouched)

        # An entry chosen with the real mouse runs its command, as the
        # end-to-end tests choose the program's entries.
        h.drv("post", hwnd, WM_SYSCOMMAND, SC_KEYMENU, ord("h"))
        about = menus(1)[0]
        h.choose(about, "关于(&A)")
        self.assertTrue(h.wait_for(title=MAIN + " - 关于(&A)", cls="CorvaneSkinTest", timeout_ms=5000))
        menus(0)

        for win in (self.main, self.rtl):
            h.drv("post", win["hwnd"], WM_CLOSE, 0, 0)
        self.assertEqual(self.proc.wait(timeout=20), 0, "the engine left something behind")


if __name__ == "__main__":
    result = unittest.TextTestRunner(verbosity=2).run(
        unittest.defaultTestLoader.loadTestsFromTestCase(MenuShots))
    failed = len(result.failures) + len(result.errors)
    skipped = len(result.skipped)
    print(f"{result.testsRun - failed - skipped} passed, {failed} failed, {skipped} skipped")
    sys.exit(1 if failed else 0)
