"""The bottom strip and the autostart switch under Wine: the banner page in
the browser strip, or, where no page can show, the slogan and the clock line;
the "自动运行" images write and remove the Run value."""
import contextlib
import os
import subprocess
import time
from unittest import mock

import wine_registry as reg
from harness import (MAIN_CLASS, WineTestCase, atom_present, children, colours, drv,
                     end_normally, pixels, restore_banner_page, screenshot, wait_for, wine_env,
                     write_banner_page)

RUN_KEY = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"
# The switch on PnlDh (left, top, width, height).
SWITCH = (5, 331, 65, 15)


def run_value():
    return (reg.values(RUN_KEY) or {}).get("Halvorn")


def remove_run_value():
    reg.delete_value(RUN_KEY, "Halvorn")


class StripTest(WineTestCase):
    def setUp(self):
        super().setUp()
        remove_run_value()
        self.program = self.start()
        found = wait_for(cls=MAIN_CLASS)
        self.assertTrue(found, "the main window did not appear")
        self.main = found[0]
        time.sleep(1.5)
        panels = [c for c in children(self.main["hwnd"]) if c["class"] == "TPanel"]
        self.picture = [p for p in panels if p["rect"][2:] == [196, 358]][0]

    def tearDown(self):
        super().tearDown()
        remove_run_value()

    def click_switch(self):
        x, y = self.picture["rect"][:2]
        drv("click", x + SWITCH[0] + SWITCH[2] // 2, y + SWITCH[1] + SWITCH[3] // 2)
        time.sleep(1.0)

    def test_the_switch_writes_and_removes_the_run_value(self):
        self.assertIsNone(run_value())
        screenshot("strip-autostart-off", self.main["hwnd"])
        self.click_switch()
        self.assertEqual(run_value(), ("sz", "C:\\Corvane\\Halvorn.exe"))
        screenshot("strip-autostart-on", self.main["hwnd"])
        self.click_switch()
        self.assertIsNone(run_value())



# The strip's pieces in the main window's client area (left, top, width, height).
BROWSER = (5, 366, 520, 16)
SLOGAN = (5, 369, 234, 12)
CLOCK = (319, 369, 206, 13)
BROWSER_CLASS = "Shell Embedding"
# The web-browser control and the HTML engine the program asks for, with the
# servers Wine itself registers for them. The suite serves both from the
# bench's stand-in (tests/wine/browser), which draws the text of the page.
BROWSER_SERVERS = {"{8856F961-340A-11D0-A96B-00C04FD705A2}": "ieframe.dll",
                   "{25336920-03F9-11CF-8FD0-00AA00686F13}": "mshtml.dll"}


def server_key(cls):
    return f"HKCR\\CLSID\\{cls}\\InprocServer32"


def browser_servers():
    """The file each class is served by, read back from the prefix."""
    found = {}
    for cls in BROWSER_SERVERS:
        values = reg.values(server_key(cls))
        assert values is not None, f"reg.exe could not read {server_key(cls)}"
        found[cls] = values.get("", ("sz", ""))[1]
    return found


@contextlib.contextmanager
def wines_own_browser():
    """Wine's own control and engine in place of the stand-in, for one test."""
    stand_in = browser_servers()
    try:
        for cls, dll in BROWSER_SERVERS.items():
            reg.add(server_key(cls), "", "REG_SZ", "C:\\windows\\system32\\" + dll)
        yield
    finally:
        for cls, server in stand_in.items():
            reg.add(server_key(cls), "", "REG_SZ", server)


def on_client(window, area):
    """A client-area rectangle of a window on the screen."""
    return (window["client"][0] + area[0], window["client"][1] + area[1], area[2], area[3])


def colours_in(png, window, area):
    """How many colours a client-area rectangle of a window's screenshot has:
    1 where nothing is drawn."""
    return colours(png, on_client(window, area), window["rect"][:2])


def pixels_in(png, window, area):
    """The raw RGB pixels of a client-area rectangle of a window's screenshot."""
    return pixels(png, on_client(window, area), window["rect"][:2])


class BannerTest(WineTestCase):
    """Whatever the system can do, the strip is never a blank hole: the page
    in the browser at left edge 6, or the slogan with a ticking clock line."""

    def tearDown(self):
        super().tearDown()
        restore_banner_page()

    def start_main(self):
        self.program = self.start()
        found = wait_for(cls=MAIN_CLASS)
        self.assertTrue(found, "the main window did not appear")
        drv("move", 5, 5)  # no hint over the strip
        # The page opens without holding up the start; give it time to load.
        time.sleep(4)
        return found[0]

    def browser(self, main):
        found = [c for c in children(main["hwnd"]) if c["class"] == BROWSER_CLASS]
        return found[0] if found else None

    def assert_fallback(self, main, name):
        first = screenshot(name, main["hwnd"])
        self.assertGreater(colours_in(first, main, SLOGAN), 1, "no slogan in the strip")
        time.sleep(2.2)
        later = screenshot(name + "-later", main["hwnd"])
        self.assertGreater(colours_in(later, main, CLOCK), 1, "no clock line in the strip")
        self.assertNotEqual(pixels_in(first, main, CLOCK), pixels_in(later, main, CLOCK),
                            "the clock line does not tick")

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        # Whether the strip has a control to host is known before the program
        # runs: the suite registered the stand-in, and it must be what serves.
        stand_in = os.environ.get("CORVANE_BROWSER_STANDIN", "")
        servers = browser_servers()
        for cls_id, server in servers.items():
            if not stand_in or not server.lower().endswith("\\" + stand_in.lower()):
                raise AssertionError(f"{cls_id} is served by {server!r}, not the bench's stand-in "
                                     f"{stand_in!r}: run through tests/suites.d/60-e2e.sh")

    def browser_at(self, main, left, timeout=15):
        """The strip's browser once its left edge is at left in the client
        area. main is read again: the skin can move the client area after the
        window first shows."""
        end = time.time() + timeout
        while True:
            main.update(drv("info", main["hwnd"]))
            browser = self.browser(main)
            if browser and browser["rect"][0] == main["client"][0] + left:
                return browser
            if time.time() > end:
                self.fail(f"the strip's browser is not at left edge {left}: {browser}")
            time.sleep(0.3)

    def test_the_carried_page_shows_in_the_strip(self):
        main = self.start_main()
        # The page loaded and has no failure mark: the strip at left edge 6.
        browser = self.browser_at(main, 6)
        x, y = main["client"][:2]
        self.assertEqual(browser["rect"], [x + 6, y + BROWSER[1], BROWSER[2], BROWSER[3]])
        shot = screenshot("strip-banner", main["hwnd"])
        self.assertGreater(colours_in(shot, main, (6, 366, 520, 16)), 1, "a blank strip")
        self.assertTrue(self.program.running())

    def test_a_page_that_says_it_failed_gives_way_to_the_slogan(self):
        write_banner_page("<html><body>无法显示网页。请尝试刷新。</body></html>")
        main = self.start_main()
        self.browser_at(main, 600)
        self.assert_fallback(main, "strip-page-failed")

    def test_without_wines_browser_engine_no_prompt_no_hang_and_a_clean_exit(self):
        # As for a user whose Wine has no browser engine: the engine is
        # looked for (and not found) instead of being switched off.
        before = {w["hwnd"] for w in drv("find")}
        with mock.patch.dict(os.environ, {"WINEDLLOVERRIDES": "mscoree="}), wines_own_browser():
            main = self.start_main()
        self.assertIsNone(self.browser(main))
        # An engine installer's prompt would be a window of its own, in this
        # process or another one.
        ours = ("TApplication", MAIN_CLASS, "tooltips_class32")
        others = [(w["class"], w["title"]) for w in drv("find") if w["hwnd"] not in before
                  and not (w["pid"] == main["pid"] and w["class"] in ours)]
        self.assertEqual(others, [], "another window came up with the main window")
        self.assert_fallback(main, "strip-no-engine")
        self.assertEqual(end_normally(self.program), 0)
        self.assertFalse(atom_present())
