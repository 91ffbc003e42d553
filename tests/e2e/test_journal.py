"""The change journal on the real program under Wine, seen only through
files, the registry and windows: a first start (merge and first run) taken
back by `Halvorn.exe /uninstall`; the tray menu's 撤销更改... and its skinned
dialog; a long session of applies, a drop, category operations and a second
start restored by 全部还原 byte for byte; a merge killed half-way that loses
nothing; an undo that keeps a file the user changed since."""
import os
import re
import shutil
import subprocess

import wine_registry as reg
from harness import (ATOM, BM_CLICK, INSTALL_DIR, MAIN_CLASS, NOTICE_CAPTION, PROGRAM_KEY,
                     WM_CLOSE, WineTestCase, answer_box, children, choose, drv, end_normally, find,
                     install, mark_installed, open_tray_menu, screenshot, wait_for, wait_skinned,
                     wait_until, wine_env)
from test_categories import (COMMON_PROGRAMS, COMMON_SM, USER_PROGRAMS, USER_SM, TreeDriving,
                             attrib, put, read, win_path)
from test_first_run import DESKTOP, DIALOG, DOCS, OEM_KEY, QUICK_LAUNCH, RUN_KEY, clean_state
from test_settings import ADV, ALL_PIN, FOLDER_PIN, HKCU_POL, HKLM_POL, PanelDriving

JOURNAL = os.path.join(INSTALL_DIR, "Halvorn.jnl")
JOURNAL_FOLDER = os.path.join(INSTALL_DIR, "Halvorn.jnl.d")
UNDO_DIALOG = "撤销更改"
UNDO_ITEM = "撤销更改..."
UNDONE = "（已撤销）"
UNDO_DONE = "更改已撤销。"
KEPT_BESIDE = "以下文件已改动过，原来的内容另存在旁边："
POLICIES = r"Software\Microsoft\Windows\CurrentVersion\Policies"
# Every key the first run and the applies write, from the level above the
# ones they may create.
KEYS = (PROGRAM_KEY, RUN_KEY, OEM_KEY, "HKCU\\" + POLICIES, "HKLM\\" + POLICIES, ADV,
        ALL_PIN.split("\\shellex")[0] + "\\shellex", FOLDER_PIN.split("\\shellex")[0] + "\\shellex")
MENUS = (COMMON_SM, USER_SM)


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


def snapshot(folders=MENUS + (DESKTOP, QUICK_LAUNCH), keys=KEYS):
    """The folders and keys as they are now."""
    return {"files": {f: tree(f) for f in folders}, "registry": {k: reg.export(k) for k in keys}}


def with_files(shot, files):
    """SHOT as it would be with FILES ({path: bytes}) added, and the folders
    they need."""
    shot = {"files": {f: dict(t) for f, t in shot["files"].items()}, "registry": shot["registry"]}
    for path, data in files.items():
        folder = next(f for f in shot["files"] if path.startswith(f + os.sep))
        rel = os.path.relpath(path, folder)
        parent = os.path.dirname(rel)
        while parent:
            shot["files"][folder][parent] = None
            parent = os.path.dirname(parent)
        shot["files"][folder][rel] = data
    return shot


def category_definitions():
    """classify.ini's categories and their icons: every section but the
    detection's own [control] bookkeeping."""
    path = os.path.join(INSTALL_DIR, "classify.ini")
    out, section = {}, None
    if not os.path.exists(path):
        return out
    with open(path, "rb") as f:
        for line in f.read().decode("gbk").splitlines():
            line = line.strip()
            if line.startswith("[") and line.endswith("]"):
                section = line[1:-1].lower()
            elif "=" in line and section and section != "control":
                key, value = line.split("=", 1)
                out[(section, key.strip().lower())] = value.strip()
    return out


class JournalTest(PanelDriving, TreeDriving, WineTestCase):
    maxDiff = None

    @classmethod
    def tearDownClass(cls):
        install()

    def setUp(self):
        super().setUp()
        install(installed=False)
        shutil.rmtree(DOCS, ignore_errors=True)
        clean_state()
        shutil.rmtree(JOURNAL_FOLDER, ignore_errors=True)
        if os.path.exists(JOURNAL):
            os.unlink(JOURNAL)
        # Explorer's keys and the Programs folders as Windows has them (Wine
        # makes the Advanced key only once a shortcut is written), and loose
        # entries for the start-up merge to move.
        for key in (HKCU_POL, HKLM_POL, ADV):
            reg.add_key(key)
        os.makedirs(COMMON_PROGRAMS)
        put(os.path.join(USER_SM, "便笺.lnk"), b"a note's link")
        put(os.path.join(USER_PROGRAMS, "新软件", "新软件.lnk"), b"a new program")

    def tearDown(self):
        super().tearDown()
        shutil.rmtree(DOCS, ignore_errors=True)

    # --- the program, as its user drives it -------------------------------------------

    def first_start(self):
        program = self.start()
        found = wait_for(title=DIALOG, cls="TFrmXuanze", timeout_ms=20000)
        self.assertTrue(found, "no first-run dialog")
        ok = [c for c in children(found[0]["hwnd"]) if c["title"] == "确   定"][0]
        drv("post", ok["hwnd"], BM_CLICK, 0, 0)
        self.assertEqual(wait_for(title=DIALOG, timeout_ms=8000, gone=True), [])
        self.wait_main()
        return program

    def wait_main(self, timeout=30):
        """The main window, once shown; a notice that comes instead fails
        with its text."""
        def shown():
            notice = find(title=NOTICE_CAPTION, cls="#32770")
            if notice:
                texts = [c["title"] for c in children(notice[0]["hwnd"])]
                self.fail(f"a notice instead of the main window: {texts}")
            return find(cls=MAIN_CLASS)
        found = wait_until(shown, timeout=timeout, step=0.5)
        self.assertTrue(found, "the main window did not appear")
        self.main = found[0]["hwnd"]

    def open_undo_dialog(self, menu=None):
        """Through the tray menu (MENU when it is open already)."""
        choose(menu or open_tray_menu(self.main), UNDO_ITEM)
        dialog = wait_for(title=UNDO_DIALOG, cls="TFrmUndo", timeout_ms=10000)
        self.assertTrue(dialog, "no undo dialog")
        wait_skinned(dialog[0]["hwnd"])
        return dialog[0]["hwnd"]

    def group_lines(self, dialog):
        memo = [c for c in children(dialog) if c["class"].lower() in ("edit", "tmemo")]
        self.assertEqual(len(memo), 1)
        return drv("text", memo[0]["hwnd"], "--message").splitlines()

    def press(self, dialog, caption):
        """Presses the dialog's button CAPTION; the texts of the notice that
        answers, which is closed."""
        button = [c for c in children(dialog) if c["title"] == caption][0]
        drv("post", button["hwnd"], BM_CLICK, 0, 0)
        texts = answer_box(self, NOTICE_CAPTION, timeout_ms=60000)
        # The dialog is still the one to answer: above the window it keeps disabled.
        self.assertTrue(wait_until(lambda: self.front_of(dialog, self.main), timeout=5),
                        "the undo dialog went behind the main window")
        return texts

    @staticmethod
    def front_of(upper, lower):
        """Whether window UPPER lies above window LOWER (the driver lists the
        windows from the top down)."""
        order = [w["hwnd"] for w in find()]
        return upper in order and lower in order and order.index(upper) < order.index(lower)

    def close_dialog(self, dialog):
        drv("post", dialog, WM_CLOSE, 0, 0)
        self.assertEqual(wait_for(title=UNDO_DIALOG, timeout_ms=8000, gone=True), [])

    def uninstall(self):
        """Runs `Halvorn.exe /uninstall` to its end; the texts of its message."""
        proc = subprocess.Popen(["wine", "C:\\Corvane\\Halvorn.exe", "/uninstall"],
                                cwd=INSTALL_DIR, stdin=subprocess.DEVNULL,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                env=wine_env())
        try:
            box = wait_for(title=NOTICE_CAPTION, timeout_ms=120000)
            self.assertTrue(box, "no message at the end of the uninstall")
            wait_skinned(box[0]["hwnd"])  # drawn like every other window of the program
            screenshot("uninstall-message", box[0]["hwnd"])
            texts = answer_box(self, NOTICE_CAPTION)
            self.assertEqual(proc.wait(timeout=30), 0)
        finally:
            if proc.poll() is None:
                proc.kill()
        return texts

    # --- a first start ----------------------------------------------------------------

    def test_uninstall_takes_back_a_first_start_byte_for_byte(self):
        before = snapshot()
        end_normally(self.first_start())
        self.assertNotEqual(snapshot(), before, "the first start changed nothing")
        with open(JOURNAL, "rb") as f:
            journal = f.read().decode("gbk")
        self.assertIn("what=首次运行", journal)
        self.assertIn("what=启动时整理 2 项", journal)
        self.assertIn("现在可以删除程序文件夹", " ".join(self.uninstall()))
        self.assertIsNone(reg.export(PROGRAM_KEY))
        self.assertEqual(snapshot(), before)

    def test_the_tray_menu_opens_the_undo_dialog_and_restores_all(self):
        before = snapshot()
        end_normally(self.first_start())
        program = self.start()
        self.wait_main()
        menu = open_tray_menu(self.main)
        if menu.get("readable"):
            self.assertEqual([i["text"] for i in menu["items"]],
                             ["退出程序(&X)", "打开窗口(&O)", UNDO_ITEM, "", "关于(&A)"])
        dialog = self.open_undo_dialog(menu)
        screenshot("undo-dialog", dialog)
        what = [line.split("  ", 1)[1] for line in self.group_lines(dialog)]
        # Newest first: the first start's merge is the oldest group.
        self.assertEqual(what[-2:], ["首次运行", "启动时整理 2 项"])
        # 全部还原 takes the first start back, as the uninstall would.
        self.assertEqual(self.press(dialog, "全部还原"), [UNDO_DONE])
        self.close_dialog(dialog)
        end_normally(program)
        # The program list watches the Programs folder: its removal completes
        # once the watch ends with the program.
        self.assertEqual(snapshot(), before)

    # --- a long session ---------------------------------------------------------------

    def seed_explorer(self):
        """Explorer's keys as a profile has them, with values the applies
        change and a pin handler key, with a subkey, of someone else's."""
        for key in (HKCU_POL, HKLM_POL, ADV, ALL_PIN, FOLDER_PIN):
            reg.delete_key(key)
        for key in (HKCU_POL, HKLM_POL, ADV):
            reg.add_key(key)
        reg.add(HKCU_POL, "NoSMMyDocs", "REG_DWORD", 1)
        reg.add(HKCU_POL, "NoStartMenuPinnedList", "REG_DWORD", 16)
        reg.add(ADV, "Start_ShowMyComputer", "REG_DWORD", 5)
        reg.add(ADV, "Start_ShowMyMusic", "REG_DWORD", 2)
        reg.add(ALL_PIN, "Stale", "REG_SZ", "someone else's")
        reg.add(ALL_PIN + "\\Inner", "Bytes", "REG_BINARY", "0102ff")

    def test_restore_all_takes_back_a_long_session_byte_for_byte(self):
        self.seed_explorer()
        # A category that holds what its list does not show.
        hidden = os.path.join(COMMON_PROGRAMS, "娱乐休闲", "旧游戏.lnk")
        put(hidden, b"an old game, hidden")
        attrib(hidden, "+h")
        before = snapshot()
        categories_before = category_definitions()

        program = self.first_start()
        self.find_views()
        self.find_picture()
        # A drop of a merged shortcut onto a category.
        office = os.path.join(COMMON_PROGRAMS, "办公应用")
        self.click_rect(self.node("所有程序")["rect"])
        self.assertTrue(wait_until(lambda: "便笺" in self.items(), timeout=10), self.items())
        self.drag_item("便笺", self.node("办公应用"))
        self.assertTrue(wait_until(lambda: os.path.exists(os.path.join(office, "便笺.lnk"))))
        self.assertEqual(read(os.path.join(office, "便笺.lnk")), b"a note's link")
        # A new category, renamed in place.
        choose(self.tree_menu(self.node("办公应用")), "新建分类(&N)")
        made = os.path.join(COMMON_PROGRAMS, "新分类1")
        self.assertTrue(wait_until(lambda: os.path.isdir(made)), "no folder for the new category")
        choose(self.tree_menu(self.node("新分类1")), "重命名  (&R)")
        self.type_label("我的工具")
        renamed = os.path.join(COMMON_PROGRAMS, "我的工具")
        self.assertTrue(wait_until(lambda: os.path.isdir(renamed)), "not renamed")
        # A category deleted with its hidden entry in it: the entry goes up.
        self.click_rect(self.node("娱乐休闲")["rect"])
        choose(self.tree_menu(self.node("娱乐休闲")), "删除分类(&D)")
        self.assertEqual(answer_box(self, NOTICE_CAPTION), ["您确定要删除此分类吗？"])
        fun = os.path.dirname(hidden)
        self.assertTrue(wait_until(lambda: not os.path.exists(fun)), "the category stayed")
        self.assertEqual(read(os.path.join(COMMON_PROGRAMS, "旧游戏.lnk")), b"an old game, hidden")
        # Two applies: Explorer's values, and the pin handler keys deleted and made again.
        self.open_area("Wd")
        self.click(self.control("显示我的音乐图标"))
        self.apply()
        self.open_area("Gd")
        self.click(self.control("文件夹可附到「开始」菜单「shift+右键」"))
        self.apply()
        self.assertEqual(reg.export(ALL_PIN), {ALL_PIN: {"": ("sz", "附到「开始」菜单")}})
        self.assertEqual(reg.export(FOLDER_PIN), {FOLDER_PIN: {}})
        self.assertEqual(find(cls="#32770"), [], "a message after the applies")
        end_normally(program)

        # New loose entries for the second start's merge.
        later = {os.path.join(USER_SM, "下载工具.lnk"): b"a download tool",
                 os.path.join(USER_PROGRAMS, "新游戏", "新游戏.lnk"): b"a new game",
                 os.path.join(COMMON_SM, "游戏大厅", "大厅.lnk"): b"a game hall"}
        for path, data in later.items():
            put(path, data)
        program = self.start()
        self.wait_main()
        self.assertEqual(read(os.path.join(COMMON_PROGRAMS, "下载工具.lnk")), b"a download tool")

        dialog = self.open_undo_dialog()
        lines = self.group_lines(dialog)
        self.assertEqual([line.split("  ", 1)[1] for line in lines], [
            "启动时整理 3 项", "应用 「固定项目」设置", "应用 「我的项目」设置", "删除类别",
            "重命名类别", "新建类别", "拖放 便笺 → 办公应用", "首次运行", "启动时整理 2 项"])
        times = [line.split("  ", 1)[0] for line in lines]
        stamp = re.compile(r"\d{4}-\d\d-\d\d \d\d:\d\d:\d\d")
        self.assertTrue(all(stamp.fullmatch(t) for t in times), times)
        self.assertEqual(times, sorted(times, reverse=True))
        screenshot("undo-dialog-long-session", dialog)
        self.assertEqual(self.press(dialog, "全部还原"), [UNDO_DONE], "all of it went back")
        lines = self.group_lines(dialog)
        self.assertEqual(len(lines), 9)
        self.assertTrue(all(line.endswith(UNDONE) for line in lines), lines)
        screenshot("undo-dialog-restored", dialog)
        self.close_dialog(dialog)
        end_normally(program)
        self.assertEqual(snapshot(), with_files(before, later))
        # The next start makes no folder for a category the restore took back.
        self.assertEqual(category_definitions(), categories_before)

    # --- a merge killed half-way ------------------------------------------------------

    def test_a_merge_killed_half_way_loses_nothing_and_goes_back(self):
        mark_installed()  # no first-run dialog: the merge alone
        ours = {"程序项%04d.lnk" % i: b"shortcut %04d;" % i * (1 + i % 5) for i in range(2000)}
        for name, data in ours.items():
            put(os.path.join(USER_SM, name), data)
        before = snapshot(MENUS, keys=())

        def still_there():
            return sum(1 for n in os.listdir(USER_SM) if n in ours)

        program = self.start()
        # Killed once a hundred have gone, not before: a real cut mid-merge.
        going = wait_until(lambda: still_there() <= len(ours) - 100 or not program.running(),
                           timeout=120, step=0.05)
        program.kill()
        left = still_there()
        self.assertTrue(going and 0 < left <= len(ours) - 100,
                        f"killed with {left} of {len(ours)} entries still to move")
        # A killed process keeps the global atom until the session ends.
        drv("atom", ATOM, "--delete")
        self.assert_each_once(ours, at_least=True)

        program = self.start()
        self.wait_main(timeout=120)
        self.assertEqual(still_there(), 0, "the second start merged the rest")
        self.assert_each_once(ours)
        end_normally(program)

        self.uninstall()
        self.assertEqual(snapshot(MENUS, keys=()), before)

    def assert_each_once(self, ours, at_least=False):
        """Each of OURS whole in the user's menu or the common Programs folder,
        exactly once under its own name, and nothing else of ours there
        (AT_LEAST: once whole, a second copy allowed, as a cut left it)."""
        found = {}
        for folder in (USER_SM, COMMON_PROGRAMS):
            for name in os.listdir(folder):
                if name.startswith("程序项"):
                    found.setdefault(name, []).append(read(os.path.join(folder, name)))
        strays = sorted(set(found) - set(ours))
        self.assertEqual(strays, [], "names the merge made up")
        lost = [n for n, data in ours.items() if data not in found.get(n, [])]
        self.assertEqual(lost, [], "lost or cut short")
        if not at_least:
            twice = [n for n in ours if len(found[n]) != 1]
            self.assertEqual(twice, [], "in both places")

    # --- a file the user changed since ------------------------------------------------

    def test_undo_keeps_the_users_version_and_the_old_one_beside_it(self):
        mark_installed()  # no first-run dialog: the start-up merge is the newest group
        ini = os.path.join(COMMON_PROGRAMS, "办公应用", "Desktop.ini")
        theirs = "[.ShellClassInfo]\r\nIconResource=D:\\图标\\办公.ico,0\r\n".encode("gbk")
        put(ini, theirs)
        program = self.start()
        self.wait_main()
        ours = read(ini)
        self.assertNotEqual(ours, theirs, "the start did not write the category's icon file")
        # The user edits the icon file the program wrote.
        edited = ours + "InfoTip=我的办公软件\r\n".encode("gbk")
        with open(ini, "wb") as f:
            f.write(edited)

        dialog = self.open_undo_dialog()
        told = "\n".join(self.press(dialog, "撤销"))
        self.close_dialog(dialog)
        end_normally(program)
        kept = os.path.join(os.path.dirname(ini), "Desktop (2).ini")
        self.assertEqual(read(ini), edited, "the user's version stays")
        self.assertEqual(read(kept), theirs, "the old one beside it")
        self.assertIn(KEPT_BESIDE, told)
        self.assertIn(win_path(ini) + " → " + win_path(kept), told)
        # The rest of the group went back.
        self.assertEqual(read(os.path.join(USER_SM, "便笺.lnk")), b"a note's link")
        self.assertFalse(os.path.exists(os.path.join(COMMON_PROGRAMS, "便笺.lnk")))
