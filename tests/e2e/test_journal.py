"""The change journal on the real program under Wine: a first start (merge
and first run) is journalled beside classify.ini, `Halvorn.exe /uninstall`
takes all of it back byte for byte and removes the program's own things,
and the tray menu's 撤销更改... opens the skinned undo dialog."""
import os
import shutil
import subprocess

import wine_registry as reg
from harness import (BM_CLICK, INSTALL_DIR, MAIN_CLASS, NOTICE_CAPTION, PROGRAM_KEY, WM_CLOSE,
                     WineTestCase, children, choose, drv, end_normally, find, install,
                     open_tray_menu, screenshot, wait_for, wait_skinned, wine_env)
from test_first_run import DESKTOP, DIALOG, DOCS, OEM_KEY, QUICK_LAUNCH, RUN_KEY, clean_state

ALL_USERS_MENU = os.path.join(DOCS, "All Users", "「开始」菜单")
JOURNAL = os.path.join(INSTALL_DIR, "Halvorn.jnl")
JOURNAL_FOLDER = os.path.join(INSTALL_DIR, "Halvorn.jnl.d")
UNDO_DIALOG = "撤销更改"


def user_menu():
    """The user's own Start menu: Wine names the profile after the Unix user."""
    return os.path.join(os.path.dirname(QUICK_LAUNCH).split("Application Data")[0], "「开始」菜单")


def tree(folder):
    """{path below folder: bytes, or None for a folder}."""
    out = {}
    for base, dirs, files in os.walk(folder):
        for d in dirs:
            out[os.path.relpath(os.path.join(base, d), folder)] = None
        for f in files:
            with open(os.path.join(base, f), "rb") as fh:
                out[os.path.relpath(os.path.join(base, f), folder)] = fh.read()
    return out


def snapshot():
    """The Start-menu folders, the desktop, quick launch and every key the
    program may write, as they are now."""
    return {
        "files": {f: tree(f) for f in (ALL_USERS_MENU, user_menu(), DESKTOP, QUICK_LAUNCH)},
        "registry": {k: reg.export(k) for k in (PROGRAM_KEY, RUN_KEY, OEM_KEY)},
    }


class JournalTest(WineTestCase):
    maxDiff = None
    @classmethod
    def tearDownClass(cls):
        install()

    def setUp(self):
        super().setUp()
        install(installed=False)
        clean_state()
        shutil.rmtree(JOURNAL_FOLDER, ignore_errors=True)
        if os.path.exists(JOURNAL):
            os.unlink(JOURNAL)
        # Loose entries for the start-up merge to move, and none of an
        # earlier run where they would go.
        programs = os.path.join(ALL_USERS_MENU, "程序")
        shutil.rmtree(os.path.join(programs, "新软件"), ignore_errors=True)
        if os.path.exists(os.path.join(programs, "便笺.lnk")):
            os.unlink(os.path.join(programs, "便笺.lnk"))
        os.makedirs(user_menu(), exist_ok=True)
        with open(os.path.join(user_menu(), "便笺.lnk"), "wb") as f:
            f.write(b"a note's link")
        os.makedirs(os.path.join(user_menu(), "程序", "新软件"), exist_ok=True)
        with open(os.path.join(user_menu(), "程序", "新软件", "新软件.lnk"), "wb") as f:
            f.write(b"a new program")

    def first_start(self):
        program = self.start()
        found = wait_for(title=DIALOG, cls="TFrmXuanze", timeout_ms=20000)
        self.assertTrue(found, "no first-run dialog")
        ok = [c for c in children(found[0]["hwnd"]) if c["title"] == "确   定"][0]
        drv("post", ok["hwnd"], BM_CLICK, 0, 0)
        self.assertEqual(wait_for(title=DIALOG, timeout_ms=8000, gone=True), [])
        self.assertTrue(wait_for(cls=MAIN_CLASS, timeout_ms=15000))
        return program

    def test_uninstall_takes_back_a_first_start_byte_for_byte(self):
        before = snapshot()
        end_normally(self.first_start())
        self.assertNotEqual(snapshot(), before, "the first start changed nothing")
        with open(JOURNAL, "rb") as f:
            journal = f.read().decode("gbk")
        self.assertIn("what=首次运行", journal)
        self.assertIn("what=启动时整理 2 项", journal)

        proc = subprocess.Popen(["wine", "C:\\Corvane\\Halvorn.exe", "/uninstall"],
                                cwd=INSTALL_DIR, stdin=subprocess.DEVNULL,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                env=wine_env())
        try:
            box = wait_for(title=NOTICE_CAPTION, timeout_ms=30000)
            self.assertTrue(box, "no message at the end of the uninstall")
            wait_skinned(box[0]["hwnd"])  # drawn like every other window of the program
            screenshot("uninstall-message", box[0]["hwnd"])
            texts = " ".join(c["title"] for c in children(box[0]["hwnd"]))
            self.assertIn("现在可以删除程序文件夹", texts)
            self.press_ok_on_notice()
            self.assertEqual(proc.wait(timeout=30), 0)
        finally:
            if proc.poll() is None:
                proc.kill()
        self.assertIsNone(reg.export(PROGRAM_KEY))
        self.assertEqual(snapshot(), before)

    def press_ok_on_notice(self):
        box = wait_for(title=NOTICE_CAPTION, timeout_ms=30000)
        self.assertTrue(box, "no notice")
        button = [c for c in children(box[0]["hwnd"]) if c["class"].lower() == "button"][0]
        drv("post", button["hwnd"], BM_CLICK, 0, 0)
        self.assertEqual(wait_for(title=NOTICE_CAPTION, timeout_ms=8000, gone=True), [])

    def test_the_tray_menu_opens_the_undo_dialog_and_restores_all(self):
        before = snapshot()
        end_normally(self.first_start())
        program = self.start()
        main = wait_for(cls=MAIN_CLASS, timeout_ms=15000)
        self.assertTrue(main)
        menu = open_tray_menu(main[0]["hwnd"])
        if menu.get("readable"):
            self.assertEqual([i["text"] for i in menu["items"]],
                             ["退出程序(&X)", "打开窗口(&O)", "撤销更改...", "", "关于(&A)"])
        choose(menu, "撤销更改...")
        dialog = wait_for(title=UNDO_DIALOG, cls="TFrmUndo", timeout_ms=10000)
        self.assertTrue(dialog, "no undo dialog")
        wait_skinned(dialog[0]["hwnd"])
        screenshot("undo-dialog", dialog[0]["hwnd"])
        memo = [c for c in children(dialog[0]["hwnd"]) if c["class"].lower() in ("edit", "tmemo")]
        self.assertEqual(len(memo), 1)
        lines = drv("text", memo[0]["hwnd"], "--message").splitlines()
        what = [line.split("  ", 1)[1] for line in lines]
        # Newest first: the first start's merge is the oldest group.
        self.assertEqual(what[-2:], ["首次运行", "启动时整理 2 项"])
        # 全部还原 takes the first start back, as the uninstall would.
        restore_all = [c for c in children(dialog[0]["hwnd"]) if c["title"] == "全部还原"][0]
        drv("post", restore_all["hwnd"], BM_CLICK, 0, 0)
        self.press_ok_on_notice()
        drv("post", dialog[0]["hwnd"], WM_CLOSE, 0, 0)
        self.assertEqual(wait_for(title=UNDO_DIALOG, timeout_ms=8000, gone=True), [])
        end_normally(program)
        # The program list watches the Programs folder: its removal completes
        # once the watch ends with the program.
        self.assertEqual(snapshot(), before)
