"""The skin gallery driven with the real mouse: the active and the inactive
title, the hot and the pressed caption button, the rounded corners, and the
windows closed by their buttons. Screenshots go to build/e2e-screenshots
(skin_*.png). Ends with the count line."""
import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "e2e"))
import harness as h  # noqa: E402

GALLERY = os.path.join(h.BUILD, "tests", "wine", "skin", "skin_gallery.exe")
FIRST = "Corvane 1.2 皮肤"
WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, HTCAPTION = 0x00A1, 0x00A2, 2
WM_MDIRESTORE, WM_MDIMAXIMIZE = 0x0223, 0x0225
WS_SYSMENU = 0x00080000
# Corvane's skin: right-aligned 21 x 21 buttons at Ycoord 5, close at
# Xcoord 27, maximise 50, minimise 73.
CLOSE_X, MAX_X, BUTTON_Y, BUTTON = 27, 50, 5, 21


def pixel(png, x, y):
    out = subprocess.run(["convert", png, "-format", f"%[pixel:p{{{x},{y}}}]", "info:"],
                         capture_output=True, text=True, check=True).stdout
    return out.strip()


def button_centre(win, x_coord):
    left, top, width, _ = win["rect"]
    return left + width - x_coord + BUTTON // 2, top + BUTTON_Y + BUTTON // 2


class Gallery(unittest.TestCase):
    def setUp(self):
        if not os.path.exists(GALLERY):
            self.fail("no skin_gallery.exe in " + h.BUILD + ": the build makes it")
        self.proc = subprocess.Popen(["wine", GALLERY, "90"], stdin=subprocess.DEVNULL,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                     env=h.wine_env())
        self.assertTrue(h.wait_for(title=FIRST, cls="CorvaneSkinTest"))
        time.sleep(1.5)
        wins = h.find(cls="CorvaneSkinTest")
        self.first = next(w for w in wins if w["title"] == FIRST)
        self.second = next(w for w in wins if w["title"] != FIRST)

    def tearDown(self):
        if getattr(self, "proc", None) and self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()

    def test_frames_buttons_and_closing_with_the_real_mouse(self):
        shot = h.screenshot("skin_gallery")
        left, top, width, height = self.first["rect"]
        # Rounded corners: the desktop shows through the title's corners.
        desktop = pixel(shot, left - 5, top + 40)
        self.assertEqual(pixel(shot, left, top), desktop)
        self.assertNotEqual(pixel(shot, left + width // 2, top + 2), desktop)
        # The inactive title is drawn in its own, lighter image.
        self.assertNotEqual(pixel(shot, left + width // 2, top + 20),
                            pixel(shot, self.second["rect"][0] + self.second["rect"][2] // 2,
                                  self.second["rect"][1] + 20))

        # Hot: the real mouse over the close button.
        cx, cy = button_centre(self.first, CLOSE_X)
        normal = pixel(shot, cx - 7, cy - 7)
        for dx in (-6, 0, 1):
            h.drv("move", cx + dx, cy)
            time.sleep(0.4)
        hot = h.screenshot("skin_hot_close")
        self.assertNotEqual(pixel(hot, cx - 7, cy - 7), normal, "the close button is hot")
        # Leaving the title ends the hot state within the hover timer's tick.
        h.drv("move", 600, 600)
        time.sleep(0.8)
        self.assertEqual(pixel(h.screenshot("skin_left"), cx - 7, cy - 7), normal)

        # Pressed: the maximise button held down under the mouse (the driver
        # cannot hold a real button), then released.
        mx, my = button_centre(self.first, MAX_X)
        at = (my << 16) | mx
        h.drv("move", mx, my)
        time.sleep(0.4)
        hot_max = h.screenshot("skin_hot_max")
        self.assertNotEqual(pixel(hot_max, mx - 7, my - 7), pixel(shot, mx - 7, my - 7),
                            "the maximise button is hot")
        h.drv("send", self.first["hwnd"], WM_NCLBUTTONDOWN, HTCAPTION, at)
        time.sleep(0.4)
        pressed = h.screenshot("skin_pressed_max")
        # Against the hot image, which the mouse alone gives.
        self.assertNotEqual(pixel(pressed, mx - 7, my - 7), pixel(hot_max, mx - 7, my - 7),
                            "the maximise button is drawn pressed")
        h.drv("send", self.first["hwnd"], WM_NCLBUTTONUP, HTCAPTION, at)
        time.sleep(1.0)
        maxed = h.find(title=FIRST, cls="CorvaneSkinTest")[0]
        self.assertGreater(maxed["rect"][2], width, "maximised by its button")
        h.screenshot("skin_maximised")

        # The real mouse closes both windows by their close buttons; the
        # gallery then checks that nothing of the engine is left.
        # The maximised window covers the other, so it goes first; the
        # second is inactive until the click brings it forward.
        for title in (FIRST, self.second["title"]):
            win = h.find(title=title, cls="CorvaneSkinTest")[0]
            h.drv("click", *button_centre(win, CLOSE_X))
            self.assertEqual(h.wait_for(title=title, cls="CorvaneSkinTest", gone=True,
                                        timeout_ms=5000), [], title)
        self.assertEqual(self.proc.wait(timeout=20), 0, "the engine left something behind")


class MdiGallery(unittest.TestCase):
    """The MDI parent with two children: skinned children, a maximised child
    with the system's caption, and the skin again once it is restored."""
    TITLE = "Corvane MDI 皮肤"

    def setUp(self):
        if not os.path.exists(GALLERY):
            self.fail("no skin_gallery.exe in " + h.BUILD + ": the build makes it")
        self.proc = subprocess.Popen(["wine", GALLERY, "60 mdi"], stdin=subprocess.DEVNULL,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                     env=h.wine_env())
        found = h.wait_for(title=self.TITLE, cls="CorvaneMdiTest")
        self.assertTrue(found)
        self.frame = found[0]
        time.sleep(1.5)
        self.client = next(c for c in h.children(self.frame["hwnd"]) if c["class"] == "MDIClient")
        self.kids = [c for c in h.children(self.client["hwnd"]) if c["class"] == "CorvaneMdiChild"]

    def tearDown(self):
        if getattr(self, "proc", None) and self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()

    def styles(self):
        return [h.drv("info", k["hwnd"])["style"] for k in self.kids]

    def test_children_skinned_maximised_and_restored(self):
        self.assertEqual(len(self.kids), 2)
        self.assertTrue(all(h.skinned(k["hwnd"]) for k in self.kids), "the parent attaches them")
        self.assertFalse(any(s & WS_SYSMENU for s in self.styles()), "the skin's captions")
        shot = h.screenshot("skin_mdi")
        # The skin's title bar on the active child, not the client's grey.
        left, top, width, _ = h.drv("info", self.kids[1]["hwnd"])["rect"]
        cl, ct, cw, ch = self.client["client"]
        self.assertNotEqual(pixel(shot, left + width // 2, top + 10), pixel(shot, cl + 2, ct + ch - 3))

        h.drv("send", self.client["hwnd"], WM_MDIMAXIMIZE, self.kids[1]["hwnd"], 0)
        time.sleep(1.0)
        self.assertTrue(all(s & WS_SYSMENU for s in self.styles()), "the system's captions")
        h.screenshot("skin_mdi_maximised")

        h.drv("send", self.client["hwnd"], WM_MDIRESTORE, self.kids[1]["hwnd"], 0)
        time.sleep(1.0)
        self.assertFalse(any(s & WS_SYSMENU for s in self.styles()), "the skin's captions again")
        h.screenshot("skin_mdi_restored")
        h.drv("post", self.frame["hwnd"], 0x0010, 0, 0)  # WM_CLOSE
        self.assertEqual(self.proc.wait(timeout=20), 0, "the engine left something behind")


if __name__ == "__main__":
    loader = unittest.defaultTestLoader
    result = unittest.TextTestRunner(verbosity=2).run(unittest.TestSuite(
        [loader.loadTestsFromTestCase(Gallery), loader.loadTestsFromTestCase(MdiGallery)]))
    failed = len(result.failures) + len(result.errors)
    skipped = len(result.skipped)
    print(f"{result.testsRun - failed - skipped} passed, {failed} failed, {skipped} skipped")
    sys.exit(1 if failed else 0)
