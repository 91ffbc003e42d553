"""The skinned-controls gallery under the real mouse: every control kind in
its states, the hot button made hot by the pointer, the pressed, focused and
disabled buttons drawn from their own state images; a button clicked by the
real mouse; a message box with the skin's frame and buttons, answered by the
real mouse; and nothing of the engine left when the window is closed.
Screenshots go to build/e2e-screenshots (skin_controls*.png). Ends with the
count line."""
import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "e2e"))
import harness as h  # noqa: E402

GALLERY = os.path.join(h.BUILD, "tests", "wine", "skin", "skin_controls_gallery.exe")
PLAIN = "Corvane 控件库一：窗口子控件"
FORM = "Corvane 控件库二：窗体控件"


def pixel(png, x, y):
    out = subprocess.run(["convert", png, "-format", f"%[pixel:p{{{x},{y}}}]", "info:"],
                         capture_output=True, text=True, check=True).stdout
    return out.strip()


def corner(png, window):
    """The raw pixels of the title's left end, inside the rounded corner."""
    x, y = window["rect"][:2]
    return h.pixels(png, (x + 4, y + 4, 20, 16))


class GalleryCase(unittest.TestCase):
    """Starts the gallery with ARGS and finds its windows."""
    ARGS = "90"

    def setUp(self):
        if not os.path.exists(GALLERY):
            self.fail("no skin_controls_gallery.exe in " + h.BUILD + ": the build makes it")
        self.proc = subprocess.Popen(["wine", GALLERY, self.ARGS], stdin=subprocess.DEVNULL,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                     env=h.wine_env())
        self.assertTrue(h.wait_for(title=PLAIN))
        self.assertTrue(h.wait_for(title=FORM))
        time.sleep(1.5)
        self.plain = h.find(title=PLAIN)[0]
        self.buttons = {c["title"]: c for c in h.children(self.plain["hwnd"])
                        if c["class"].lower() == "button"}

    def tearDown(self):
        if getattr(self, "proc", None) and self.proc.poll() is None:
            self.proc.kill()
            self.proc.wait()

    def clicks(self):
        """The gallery's count of the normal button's clicks."""
        found = [c["title"] for c in h.children(self.plain["hwnd"])
                 if c["class"].lower() == "static" and c["title"].startswith("点击")]
        self.assertEqual(len(found), 1, "the gallery's click label")
        return found[0]

    def centre(self, title):
        left, top, width, height = self.buttons[title]["rect"]
        return left + width // 2, top + height // 2

    def ring(self, shot, title):
        """A pixel of the button's state image: its third ring, halfway down."""
        left, top, _, height = self.buttons[title]["rect"]
        return pixel(shot, left + 2, top + height // 2)


class ControlsGallery(GalleryCase):

    def test_every_state_is_drawn_from_the_skin_and_the_mouse_clicks(self):
        # From elsewhere: a pointer already standing there would send no move.
        h.drv("move", 900, 700)
        time.sleep(0.3)
        h.drv("move", *self.centre("热点"))
        time.sleep(0.8)
        shot = h.screenshot("skin_controls")
        normal = self.ring(shot, "普通")
        for state in ("热点", "按下", "焦点", "禁用"):
            self.assertNotEqual(self.ring(shot, state), normal, state)
        # Hot and focused share the fourth image.
        self.assertEqual(self.ring(shot, "热点"), self.ring(shot, "焦点"))
        self.assertNotEqual(self.ring(shot, "按下"), self.ring(shot, "禁用"))

        # The pointer leaves: within the hover timer's tick the button is plain again.
        h.drv("move", 900, 700)
        time.sleep(0.8)
        self.assertEqual(self.ring(h.screenshot("skin_controls_left"), "热点"), normal)

        # A real click on the normal button: pressed, released, clicked (the
        # window does not mind; the button must stay plain afterwards).
        self.assertEqual(self.clicks(), "点击 0")
        h.drv("click", *self.centre("普通"))
        time.sleep(0.6)
        self.assertEqual(self.clicks(), "点击 1", "the gallery saw the click")
        self.assertNotEqual(self.ring(h.screenshot("skin_controls_clicked"), "普通"),
                            self.ring(shot, "按下"))

        # Closing the window ends the gallery, which checks that nothing of the
        # engine is left.
        h.drv("post", self.plain["hwnd"], 0x0010, 0, 0)
        self.assertEqual(self.proc.wait(timeout=30), 0, "the engine left something behind")


NAVY = "srgb(0,60,116)"  # the outer ring of Corvane's push buttons


class MessageBoxGallery(GalleryCase):
    ARGS = "90 box"

    def test_a_message_box_gets_the_skins_frame_and_buttons(self):
        boxes = h.wait_for(title="提醒...", cls="#32770")
        self.assertTrue(boxes)
        time.sleep(1.0)
        box = boxes[0]
        buttons = [c for c in h.children(box["hwnd"]) if c["class"].lower() == "button"]
        self.assertEqual(len(buttons), 2)
        shot = h.screenshot("skin_controls_msgbox")
        # The frame is the skin's: the engine answers for the box, and its
        # title's corner is drawn as the gallery window's once that is active.
        self.assertTrue(h.skinned(box["hwnd"]), "the box is not skinned")
        box_corner = corner(shot, box)
        for b in buttons:
            left, top, _, height = b["rect"]
            self.assertEqual(pixel(shot, left, top + height // 2), NAVY, b["title"])
        # The real mouse presses the second button (cancel): the box goes.
        left, top, width, height = buttons[1]["rect"]
        h.drv("click", left + width // 2, top + height // 2)
        self.assertEqual(h.wait_for(title="提醒...", cls="#32770", gone=True, timeout_ms=5000), [])
        time.sleep(0.8)
        self.assertEqual(corner(h.screenshot("skin_controls_after_box"), self.plain), box_corner,
                         "the box's title is not the skin's active title")
        h.drv("post", self.plain["hwnd"], 0x0010, 0, 0)
        self.assertEqual(self.proc.wait(timeout=30), 0, "the engine left something behind")


if __name__ == "__main__":
    load = unittest.defaultTestLoader.loadTestsFromTestCase
    suite = unittest.TestSuite([load(ControlsGallery), load(MessageBoxGallery)])
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    failed = len(result.failures) + len(result.errors)
    skipped = len(result.skipped)
    print(f"{result.testsRun - failed - skipped} passed, {failed} failed, {skipped} skipped")
    sys.exit(1 if failed else 0)
