"""The main window under Wine: its layout, the hover frames and the area
panels with the real mouse, closing to the tray, the tray icon's protocol
and menu, and the About box."""
import os
import struct
import time

from harness import (AREAS, ATOM, DRIVE_C, ROOT, EXIT_ITEM, MAIN_CAPTION, MAIN_CLASS,
                     WM_LBUTTONUP, WineTestCase, atom_present, children, choose, drv, find,
                     open_tray_menu, screenshot, system_menu_items, tray, visible, wait_for,
                     wait_skinned, wait_until)

WS_THICKFRAME = 0x00040000
WS_MAXIMIZEBOX = 0x00010000
WS_MINIMIZEBOX = 0x00020000
WS_SYSMENU = 0x00080000
ES_READONLY = 0x0800
WM_SYSCOMMAND = 0x0112
SC_CLOSE = 0xF060
VK_RETURN = 0x0D
VK_ESCAPE = 0x1B

TRAY_ITEMS = ["退出程序(&X)", "打开窗口(&O)", "撤销更改...", "", "关于(&A)"]


class Shot:
    """A 24-bit BMP: by default a screenshot of the whole screen, read straight
    from the driver's file."""

    def __init__(self, path=None):
        if path is None:
            path = os.path.join(DRIVE_C, "corvane_probe.bmp")
            drv("screenshot", "C:\\corvane_probe.bmp")
            with open(path, "rb") as f:
                data = f.read()
            os.unlink(path)
        else:
            with open(path, "rb") as f:
                data = f.read()
        self.offset = struct.unpack_from("<I", data, 10)[0]
        self.width, height = struct.unpack_from("<ii", data, 18)
        self.height = abs(height)
        self.bottom_up = height > 0
        self.stride = (self.width * 3 + 3) & ~3
        self.data = data

    def pixel(self, x, y):
        row = self.height - 1 - y if self.bottom_up else y
        i = self.offset + row * self.stride + x * 3
        b, g, r = self.data[i:i + 3]
        return r, g, b


# The Start-menu picture as built into the program.
PICTURE = Shot(os.path.join(ROOT, "build", "assets", "images", "startmenu.bmp"))


def inside(rect, x, y):
    rx, ry, rw, rh = rect
    return rx <= x < rx + rw and ry <= y < ry + rh


class MainWindowTest(WineTestCase):
    def setUp(self):
        super().setUp()
        self.program = self.start()
        found = wait_for(cls=MAIN_CLASS)
        self.assertTrue(found, "the main window did not appear")
        self.hwnd = found[0]["hwnd"]
        self.main = wait_skinned(self.hwnd)
        time.sleep(0.5)
        panels = [c for c in children(self.hwnd) if c["class"] == "TPanel"]
        self.picture_panel = [p for p in panels if p["rect"][2:] == [196, 358]][0]
        drv("move", 5, 5)
        time.sleep(0.3)

    # --- helpers ---------------------------------------------------------------
    def on_picture(self, x, y):
        """Screen point of a point in PnlDh's client coordinates."""
        cx, cy = self.picture_panel["client"][:2]
        return cx + x, cy + y

    def visible_panels(self):
        # Looked up afresh: a panel's window is made when it first shows.
        return [c["hwnd"] for c in children(self.hwnd) if c["class"] == "TPanel"
                and c["visible"] and c["rect"][2:] == [323, 358]]

    def framed_areas(self, shot):
        """The areas whose outline on the screen differs from the picture the
        program shows (ImgMenu at (1, 0) of PnlDh), so a frame that is there
        from the start shows too."""
        tips = [t["rect"] for t in find(cls="tooltips_class32")]
        framed = []
        for name, (l, t, w, h) in AREAS.items():
            edge = [(l + i, t) for i in range(2, w - 2)] + [(l, t + i) for i in range(2, h - 2)]
            edge = [(x, y) for x, y in edge if not any(inside(r, *self.on_picture(x, y))
                                                        for r in tips)]
            changed = sum(shot.pixel(*self.on_picture(x, y)) != PICTURE.pixel(x - 1, y)
                          for x, y in edge)
            if changed > len(edge) // 2:
                framed.append(name)
        return framed

    def hover(self, x, y):
        # Wine follows a hint window appearing or going with a mouse move at
        # the pointer's previous place; a second move one pixel on makes the
        # place it repeats the right one.
        sx, sy = self.on_picture(x, y)
        drv("move", sx, sy)
        time.sleep(0.3)
        drv("move", sx + 1, sy + 1)
        time.sleep(0.5)
        return Shot()

    def frames_after_hover(self, x, y, expected, timeout=4.0):
        """The framed areas once the mouse rests at (x, y): a loaded machine
        can paint a frame later than the move, so look again until the
        expected frames show or the time is up; the last look is returned."""
        framed = self.framed_areas(self.hover(x, y))
        deadline = time.time() + timeout
        while framed != expected and time.time() < deadline:
            time.sleep(0.3)
            framed = self.framed_areas(Shot())
        return framed

    # --- tests -------------------------------------------------------------------
    def test_window_is_centred_fixed_and_shows_the_picture_and_the_all_programs_panel(self):
        style = self.main["style"]
        self.assertEqual(self.main["title"], MAIN_CAPTION)
        self.assertEqual(self.main["client"][2:], [530, 386])
        self.assertFalse(style & WS_MAXIMIZEBOX, "no maximise box")
        self.assertFalse(style & WS_THICKFRAME, "a fixed border")
        # The skin draws the caption, so the system's caption buttons are off;
        # its system menu offers what the window has: minimise, no maximise.
        self.assertFalse(style & (WS_MINIMIZEBOX | WS_SYSMENU | WS_MAXIMIZEBOX))
        self.assertEqual(system_menu_items(self.hwnd, shot="main-window-system-menu"),
                         [" Restore ", " Minimize ", " Close \tShift+F4"])
        x, y, w, h = self.main["rect"]
        self.assertLessEqual(abs(x - (1024 - w) // 2), 1)
        self.assertLessEqual(abs(y - (768 - h) // 2), 1)
        cx, cy = self.picture_panel["rect"][:2]
        self.assertEqual((cx - self.main["client"][0], cy - self.main["client"][1]), (5, 6))
        self.assertEqual(len(self.visible_panels()), 1)
        owner = find(cls="TApplication")
        self.assertEqual([o["title"] for o in owner], ["Corvane 1.2"], "the taskbar button")
        # The picture is on the screen as the program carries it.
        shot = Shot()
        points = [(x, y) for x in range(1, PICTURE.width, 9) for y in range(0, PICTURE.height, 9)]
        same = sum(shot.pixel(*self.on_picture(x, y)) == PICTURE.pixel(x - 1, y)
                   for x, y in points)
        self.assertGreater(same, len(points) * 9 // 10, "the Start-menu picture is not shown")
        screenshot("main-window", self.hwnd)

    def test_the_mouse_frames_exactly_the_area_it_is_over(self):
        # No frame before the mouse has come (a move over the picture hides
        # them all), nor over the strip beside the autostart switch.
        self.assertEqual(self.framed_areas(Shot()), [], "framed at the start")
        self.assertEqual(self.frames_after_hover(150, 345, []), [])
        for name, (l, t, w, h) in AREAS.items():
            self.assertEqual(self.frames_after_hover(l + w // 2, t + h // 2, [name]), [name],
                             f"over {name}")
        screenshot("main-window-hover-wd", self.hwnd)
        # Leaving the picture for the empty strip beside the switch clears it.
        self.assertEqual(self.frames_after_hover(150, 345, []), [])
        # From the pinned list onto that strip, through the picture.
        self.hover(40, 60)
        self.assertEqual(self.frames_after_hover(150, 340, []), [])
        # The autostart switch itself changes nothing.
        self.hover(40, 310)
        self.assertEqual(self.frames_after_hover(30, 338, ["Sy"]), ["Sy"])

    def test_clicking_an_area_shows_its_panel_only(self):
        start = self.visible_panels()
        self.assertEqual(len(start), 1)
        seen = {}
        shown = start
        for name, (l, t, w, h) in AREAS.items():
            before = shown[0]
            # Only All Programs over its own panel changes nothing.
            changes = not (name == "Sy" and before == start[0])
            drv("click", *self.on_picture(l + w // 2, t + h // 2))

            def settled():
                now = self.visible_panels()
                return len(now) == 1 and (now[0] != before) == changes

            wait_until(settled, 5)
            shown = self.visible_panels()
            self.assertEqual(len(shown), 1, f"after {name}")
            seen[name] = shown[0]
        self.assertEqual(len(set(seen.values())), 8, "each area has its own panel")
        self.assertEqual(seen["Sy"], start[0], "All Programs is the panel shown at start")

    def test_closing_hides_the_window_and_its_taskbar_button_and_the_tray_brings_it_back(self):
        drv("post", self.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0)
        self.assertTrue(wait_until(lambda: not visible(self.hwnd)), "still shown")
        wait_until(lambda: find(cls="TApplication") == [], 3)
        self.assertEqual(find(cls="TApplication"), [], "no taskbar button")
        self.assertTrue(self.program.running())
        self.assertTrue(atom_present())
        tray(self.hwnd, WM_LBUTTONUP)
        self.assertTrue(wait_until(lambda: visible(self.hwnd)), "not shown again")
        self.assertEqual(len(wait_until(lambda: find(cls="TApplication"), 3)), 1)
        tray(self.hwnd, WM_LBUTTONUP)
        self.assertTrue(wait_until(lambda: not visible(self.hwnd)), "not hidden again")
        self.assertTrue(self.program.running())

    def test_tray_menu_opens_at_the_pointer_and_shows_the_window(self):
        drv("post", self.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0)
        self.assertTrue(wait_until(lambda: not visible(self.hwnd)), "still shown")
        drv("move", 900, 700)
        time.sleep(0.3)
        menu = open_tray_menu(self.hwnd)
        self.assertTrue(menu["readable"], "the driver could not read the menu")
        self.assertEqual([i["text"] for i in menu["items"]], TRAY_ITEMS)
        mx, my, mw, mh = menu["rect"]
        # Where the pointer was, or moved back inside the screen.
        self.assertTrue(mx <= 900 <= mx + mw and my <= 700 <= my + mh, menu["rect"])
        screenshot("tray-menu", menu["hwnd"])
        choose(menu, "打开窗口(&O)")
        self.assertTrue(wait_until(lambda: visible(self.hwnd)), "not shown")

    def test_about_opens_modally_with_its_texts_and_closes_with_its_button(self):
        choose(open_tray_menu(self.hwnd), "关于(&A)")
        boxes = wait_for(title="关于Corvane1.2", cls="TFrmAbout")
        self.assertEqual(len(boxes), 1)
        about = boxes[0]
        self.assertEqual(about["client"][2:], [348, 182])
        self.assertFalse(drv("info", self.hwnd)["enabled"], "modal: the main window waits")
        parts = {c["class"]: c for c in children(about["hwnd"])}
        self.assertEqual(drv("text", parts["TButton"]["hwnd"]), "确   定")
        memo = drv("text", parts["TMemo"]["hwnd"], "--message")
        self.assertEqual(len(memo.split("\r\n")), 7, memo)
        self.assertTrue(parts["TMemo"]["style"] & ES_READONLY, "the notice cannot be edited")
        # Centred over the main window.
        ax, ay, aw, ah = about["rect"]
        mx, my, mw, mh = self.main["rect"]
        self.assertLessEqual(abs((ax + aw // 2) - (mx + mw // 2)), 1)
        self.assertLessEqual(abs((ay + ah // 2) - (my + mh // 2)), 1)
        wait_skinned(about["hwnd"])
        screenshot("about", about["hwnd"])
        button = [c for c in children(about["hwnd"]) if c["class"] == "TButton"][0]
        bx, by, bw, bh = button["rect"]
        drv("click", bx + bw // 2, by + bh // 2)
        self.assertEqual(wait_for(cls="TFrmAbout", gone=True), [])
        self.assertTrue(drv("info", self.hwnd)["enabled"])
        self.assertTrue(self.program.running())

    def test_about_closes_with_the_keyboard_too(self):
        for key in (VK_RETURN, VK_ESCAPE):
            choose(open_tray_menu(self.hwnd), "关于(&A)")
            about = wait_for(cls="TFrmAbout")[0]
            time.sleep(0.5)
            button = [c for c in children(about["hwnd"]) if c["class"] == "TButton"][0]
            drv("key", button["hwnd"], key)
            self.assertEqual(wait_for(cls="TFrmAbout", gone=True, timeout_ms=5000), [], key)

    def test_exit_in_the_tray_menu_ends_the_program_and_removes_the_marker(self):
        choose(open_tray_menu(self.hwnd), EXIT_ITEM)
        self.assertEqual(self.program.wait(20), 0)
        self.assertFalse(atom_present())

    def test_the_tray_menu_lists_exit_then_show(self):
        """The order of the items, with the real mouse: the top item ends the
        program, the one below it shows the window."""
        drv("post", self.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0)
        self.assertTrue(wait_until(lambda: not visible(self.hwnd)), "still shown")
        menu = open_tray_menu(self.hwnd)
        x, y, w, h = menu["rect"]
        # Four text items (exit, show, undo, about) and a separator share the height.
        item = (h - 6 - 8) // 4
        drv("click", x + w // 2, y + 3 + item + item // 2)
        self.assertTrue(wait_until(lambda: visible(self.hwnd)), "not shown")
        menu = open_tray_menu(self.hwnd)
        x, y, w, h = menu["rect"]
        drv("click", x + w // 2, y + 3 + item // 2)
        self.assertEqual(self.program.wait(20), 0)
