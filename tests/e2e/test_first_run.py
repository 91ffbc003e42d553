"""Installing at the first start under Wine: the program key and the own
Start-menu folder before the dialog, the four choices, the title-bar close,
the quiet second start, the upgrade from an older version and a version that
is no number. Shortcuts are read back through Wine's shell link object."""
import getpass
import os
import shutil
import subprocess
import time

import wine_registry as reg
from harness import (BM_CLICK, DRIVE_C, MAIN_CLASS, PROGRAM_KEY, WM_CLOSE, WineTestCase, children,
                     drv, find, install, screenshot, stop_everything, wait_for, wait_skinned,
                     wine_env)

DOCS = os.path.join(DRIVE_C, "Documents and Settings")
OWN_FOLDER = os.path.join(DOCS, "All Users", "「开始」菜单", "程序", "Corvane")
DESKTOP = os.path.join(DOCS, "All Users", "桌面")
# Wine gives the program the Unix user's name.
QUICK_LAUNCH = os.path.join(DOCS, getpass.getuser(), "Application Data", "Microsoft",
                            "Internet Explorer", "Quick Launch")
RUN_KEY = "HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"
OEM_KEY = "HKCR\\CLSID\\{2559a1f6-21d7-11d4-bdaf-00c04f60b9f0}"
EXE = "C:\\Corvane\\Halvorn.exe"
DIALOG = "欢迎使用Corvane1.2   "
BOXES = ["添加本程序到桌面快捷方式", "添加本程序到快速启动栏", "添本程序加到OEM赞助商链接位置",
         "开机自动启动（可以随时保持开始菜单井井和条）"]
OWN_TIP = "让您的程序从此井井有条！"


def win_path(path):
    return "C:\\" + os.path.relpath(path, DRIVE_C).replace("/", "\\")


def link(path):
    """The shortcut as Wine's shell link object loads it, or None."""
    if not os.path.exists(path):
        return None
    return drv("link", win_path(path))


def clean_state():
    """A machine that never ran the program."""
    reg.delete_key(PROGRAM_KEY)
    reg.delete_key(OEM_KEY)
    if reg.values(RUN_KEY) is None:
        reg.add_key(RUN_KEY)
    reg.delete_value(RUN_KEY, "Halvorn")
    shutil.rmtree(OWN_FOLDER, ignore_errors=True)
    for folder in (DESKTOP, QUICK_LAUNCH):
        os.makedirs(folder, exist_ok=True)
        for name in os.listdir(folder):
            if name.lower() == "halvorn.lnk":
                os.unlink(os.path.join(folder, name))


class FirstRunTest(WineTestCase):
    @classmethod
    def tearDownClass(cls):
        install()  # the scenarios after these see an installed program again
        shutil.rmtree(OWN_FOLDER, ignore_errors=True)

    def setUp(self):
        super().setUp()
        install(installed=False)
        clean_state()

    def open_dialog(self):
        self.program = self.start()
        found = wait_for(title=DIALOG, cls="TFrmXuanze", timeout_ms=20000)
        self.assertTrue(found, "no first-run dialog")
        return found[0]

    def boxes(self, dialog):
        parts = children(dialog["hwnd"])
        return {c["title"]: c for c in parts if c["title"] in BOXES}, \
            [c for c in parts if c["title"] == "确   定"][0]

    def press_ok(self, ok):
        drv("post", ok["hwnd"], BM_CLICK, 0, 0)
        self.assertEqual(wait_for(title=DIALOG, timeout_ms=8000, gone=True), [], "still open")

    def expect_own_link(self, path, target):
        got = link(path)
        self.assertIsNotNone(got, path)
        self.assertEqual(got["target"].lower(), target.lower())
        self.assertEqual(got["arguments"], "%1")
        self.assertEqual(got["workdir"].lower(), "c:\\corvane\\")
        self.assertEqual(got["icon"], "")

    def test_first_start_installs_then_asks_and_ok_applies_all_four(self):
        dialog = self.open_dialog()
        # Before the dialog: the program key and the own folder with its links.
        key = reg.values(PROGRAM_KEY)
        self.assertEqual(key.get("Appname"), ("sz", EXE))
        self.assertEqual(key.get("Version"), ("sz", "1.2"))
        self.expect_own_link(os.path.join(OWN_FOLDER, "Halvorn.LNK"), EXE)
        self.expect_own_link(os.path.join(OWN_FOLDER, "whatsnew.LNK"), "C:\\Corvane\\whatsnew.txt")
        self.assertEqual([w for w in find(cls=MAIN_CLASS)], [], "main window shown too early")

        self.assertEqual(tuple(dialog["client"][2:]), (312, 153))
        boxes, ok = self.boxes(dialog)
        self.assertEqual(sorted(boxes), sorted(BOXES))
        self.assertTrue(all(b["checked"] == 1 for b in boxes.values()))
        wait_skinned(dialog["hwnd"])
        screenshot("first-run-dialog", dialog["hwnd"])
        self.press_ok(ok)

        self.assertEqual(reg.values(RUN_KEY).get("Halvorn"), ("sz", EXE))
        oem = reg.export(OEM_KEY)
        self.assertIsNotNone(oem)
        by_path = {k.lower(): v for k, v in oem.items()}
        self.assertEqual(by_path[OEM_KEY.lower()].get(""), ("sz", "Corvane 1.2"))
        self.assertEqual(by_path[OEM_KEY.lower()].get("InfoTip"), ("sz", OWN_TIP))
        bag = by_path[(OEM_KEY + "\\Instance\\InitPropertyBag").lower()]
        self.assertEqual(bag.get("Command"), ("sz", "Corvane 1.2"))
        self.assertEqual(bag.get("Param1"), ("sz", EXE))
        self.assertEqual(by_path[(OEM_KEY + "\\DefaultIcon").lower()].get(""),
                         ("sz", "C:\\Corvane\\icon\\crv.ico"))
        self.expect_own_link(os.path.join(DESKTOP, "Halvorn.LNK"), EXE)
        self.expect_own_link(os.path.join(QUICK_LAUNCH, "Halvorn.LNK"), EXE)

        # The second start asks nothing.
        self.program.kill()
        stop_everything()
        self.program = self.start()
        # The window comes after the first-run check: once it is there, a
        # dialog would have been too.
        self.assertTrue(wait_for(cls=MAIN_CLASS, timeout_ms=20000), "no main window")
        time.sleep(1)
        self.assertTrue(self.program.running(), "the second start ended")
        self.assertEqual(find(title=DIALOG), [], "asked again at the second start")

    def test_clearing_all_four_boxes_writes_none_of_them(self):
        dialog = self.open_dialog()
        boxes, ok = self.boxes(dialog)
        for b in boxes.values():
            drv("post", b["hwnd"], BM_CLICK, 0, 0)
        time.sleep(0.5)
        boxes, ok = self.boxes(dialog)
        self.assertTrue(all(b["checked"] == 0 for b in boxes.values()))
        self.press_ok(ok)
        self.assertNotIn("Halvorn", reg.values(RUN_KEY) or {})
        self.assertIsNone(reg.values(OEM_KEY))
        self.assertIsNone(link(os.path.join(DESKTOP, "Halvorn.LNK")))
        self.assertIsNone(link(os.path.join(QUICK_LAUNCH, "Halvorn.LNK")))

    def test_the_title_bar_close_applies_nothing(self):
        dialog = self.open_dialog()
        drv("post", dialog["hwnd"], WM_CLOSE, 0, 0)
        self.assertEqual(wait_for(title=DIALOG, timeout_ms=8000, gone=True), [])
        self.assertNotIn("Halvorn", reg.values(RUN_KEY) or {})
        self.assertIsNone(reg.values(OEM_KEY))
        self.assertIsNone(link(os.path.join(DESKTOP, "Halvorn.LNK")))
        self.assertEqual(reg.values(PROGRAM_KEY).get("Version"), ("sz", "1.2"))

    def test_an_older_version_is_upgraded_and_asked_again(self):
        reg.add(PROGRAM_KEY, "Version", "REG_SZ", "1.0")
        reg.add(RUN_KEY, "Halvorn", "REG_SZ", "D:\\Old\\Halvorn.exe")
        reg.add(OEM_KEY, "InfoTip", "REG_SZ", "Someone else's link")
        with open(os.path.join(DESKTOP, "Halvorn.LNK"), "wb") as f:
            f.write(b"old")
        dialog = self.open_dialog()
        self.assertFalse(os.path.exists(os.path.join(DESKTOP, "Halvorn.LNK")))
        self.assertEqual(reg.values(RUN_KEY).get("Halvorn"), ("sz", EXE), "refreshed")
        self.assertEqual(reg.values(OEM_KEY), {"InfoTip": ("sz", "Someone else's link")},
                         "a foreign OEM link is left alone")
        boxes, ok = self.boxes(dialog)
        drv("post", boxes[BOXES[2]]["hwnd"], BM_CLICK, 0, 0)
        time.sleep(0.3)
        self.press_ok(ok)
        self.assertEqual(reg.values(OEM_KEY), {"InfoTip": ("sz", "Someone else's link")})
        self.assertEqual(reg.values(PROGRAM_KEY).get("Version"), ("sz", "1.2"))

    def test_a_version_that_is_no_number_is_reported(self):
        reg.add(PROGRAM_KEY, "Version", "REG_SZ", "abc")
        self.program = self.start()
        box = wait_for(title="Corvane 1.2", timeout_ms=20000)
        boxes = [b for b in box if b["class"] == "#32770"]
        self.assertTrue(boxes, f"no error box among {box}")
        texts = [c["title"] for c in children(boxes[0]["hwnd"])]
        self.assertIn("'abc' is not a valid floating point value", texts)
        wait_skinned(boxes[0]["hwnd"])
        screenshot("first-run-version-error", boxes[0]["hwnd"])
        self.assertEqual(find(title=DIALOG), [])
