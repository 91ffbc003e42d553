"""The bottom strip and the autostart switch under Wine: without a browser
control the slogan and the clock line show; the "自动运行" images write and
remove the Run value."""
import subprocess
import time

import wine_registry as reg
from harness import MAIN_CLASS, WineTestCase, children, drv, screenshot, wait_for, wine_env

RUN_KEY = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"
# The switch on PnlDh (left, top, width, height).
SWITCH = (5, 331, 65, 15)


def run_value():
    return (reg.values(RUN_KEY) or {}).get("Halvorn")


def remove_run_value():
    subprocess.run(["wine", "reg", "delete", RUN_KEY, "/v", "Halvorn", "/f"],
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   env=wine_env(), timeout=60)


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

    def test_without_a_browser_the_slogan_and_clock_line_show(self):
        # The clock line changes every second; two shots of the strip differ.
        first = screenshot("strip-clock-line", self.main["hwnd"])
        time.sleep(2.2)
        second = screenshot("strip-clock-line-later", self.main["hwnd"])
        with open(first, "rb") as a, open(second, "rb") as b:
            self.assertNotEqual(a.read(), b.read(), "the clock line does not tick")
        self.assertTrue(self.program.running())
