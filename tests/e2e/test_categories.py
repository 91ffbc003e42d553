"""Program categorisation under Wine: the start-up merge of loose Start-menu
entries, the category tree and the program list, the reminder after a new
shortcut, and the classification tips."""
import getpass
import os
import shutil
import subprocess
import time
import unittest

from harness import (BUILD, DRIVE_C, INSTALL_DIR, MAIN_CLASS, NOTICE_CAPTION as NOTICE, WM_LBUTTONUP,
                     WineTestCase, children, choose, colours, drv, end_normally, find, install,
                     open_menu, screenshot, tray, wait_for, wait_skinned, wait_until, wine_env)

DOCS = os.path.join(DRIVE_C, "Documents and Settings")
COMMON_SM = os.path.join(DOCS, "All Users", "「开始」菜单")
COMMON_PROGRAMS = os.path.join(COMMON_SM, "程序")
# Wine gives the program the Unix user's name.
USER_SM = os.path.join(DOCS, getpass.getuser(), "「开始」菜单")
USER_PROGRAMS = os.path.join(USER_SM, "程序")
STORE = os.path.join(INSTALL_DIR, "classify.ini")
CATEGORIES = ["办公应用", "其它软件", "生活助手", "系统安全", "系统工具", "娱乐休闲"]
REMINDER = "Corvane - 分类提醒..."
TIPS = "程序分类技巧"
WM_CLOSE = 0x0010
BM_GETCHECK = 0x00F0


def win_path(path):
    return "C:\\" + os.path.relpath(path, DRIVE_C).replace("/", "\\")


def wine_quiet(*args):
    subprocess.run(["wine", *args], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, env=wine_env(), timeout=60)


def attribute_set(path, flag):
    """Whether the attribute of FLAG ("h", "s", "r") is set as Wine keeps it:
    hidden and system in an extended attribute, read-only in the mode."""
    if flag == "r":
        return not os.stat(path).st_mode & 0o222
    try:
        value = int(os.getxattr(path, "user.DOSATTRIB").split(b"\0")[0], 16)
    except (OSError, ValueError):
        value = 0
    return bool(value & {"h": 0x2, "s": 0x4}[flag])


def attrib(path, *flags):
    """Sets or clears attributes through Wine, and checks they took: a Wine
    tool started just after a program was killed has been seen to do nothing."""
    for _ in range(3):
        wine_quiet("cmd", "/c", "attrib", *flags, win_path(path))
        if all(attribute_set(path, f[1].lower()) == (f[0] == "+") for f in flags):
            return
    raise AssertionError(f"attrib {' '.join(flags)} did not take on {path}")


def put(path, data=b"x"):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def write_store(text):
    with open(STORE, "wb") as f:
        f.write(text.replace("\n", "\r\n").encode("gbk"))


def store_counts():
    text = read(STORE).decode("gbk")
    values = {}
    for line in text.splitlines():
        if "=" in line:
            k, v = line.split("=", 1)
            values[k.strip()] = v.strip()
    return values


def entries(folder):
    return len(os.listdir(folder)) if os.path.isdir(folder) else 0


def delivered_store(extra_labels=(), tips_done=True):
    labels = CATEGORIES + list(extra_labels)
    icons = ["office", "other", "life", "security", "systools", "fun"]
    text = "[programs]\nLabelNum=%d\nLabel0=所有程序\n" % len(labels)
    text += "".join("Label%d=%s\n" % (i + 1, n) for i, n in enumerate(labels))
    text += "[LabelIcon]\nLabelIcon0=root.ico\n"
    text += "".join("LabelIcon%d=%s.ico\n" % (i + 1, icons[i % 6]) for i in range(len(labels)))
    if tips_done:
        text += "[control]\nFenleiJq=1\n"
    return text


class TreeDriving:
    """The category tree and the program list of the main window self.main, as
    a person uses them (mixed into a test case)."""

    def find_views(self):
        time.sleep(1.0)
        kids = children(self.main)
        self.tree = [c for c in kids if c["class"] == "TTreeView"][0]
        self.list = [c for c in kids if c["class"] == "TShellListView"][0]

    def nodes(self):
        return drv("nodes", self.tree["hwnd"])

    def node(self, text):
        found = [n for n in self.nodes() if n["text"] == text]
        self.assertEqual(len(found), 1, f"one node {text!r}")
        return found[0]

    def items(self):
        return [i["text"] for i in drv("items", self.list["hwnd"])]

    def wait_items(self, want, timeout=8):
        deadline = time.time() + timeout
        while time.time() < deadline:
            if self.items() == want:
                return True
            time.sleep(0.3)
        return False

    @staticmethod
    def center(rect):
        x, y, w, h = rect
        return x + w // 2, y + h // 2

    def click_rect(self, rect):
        drv("click", *self.center(rect))

    def drag_item(self, text, node):
        """A real drag of the list's item TEXT onto the tree's NODE."""
        item = [i for i in drv("items", self.list["hwnd"]) if i["text"] == text][0]
        drv("drag", *self.center(item["rect"]), *self.center(node["rect"]))

    def tree_menu(self, node):
        """The tree's menu, opened by a right click on NODE."""
        drv("click", *self.center(node["rect"]), "--right")
        menu = wait_until(open_menu, timeout=8)
        self.assertTrue(menu, "the tree's menu did not open")
        return menu

    def type_label(self, text):
        """Types TEXT into the tree's label edit and ends it with Enter."""
        edit = wait_until(lambda: [c for c in children(self.tree["hwnd"])
                                   if c["class"].lower() == "edit"], timeout=5)
        self.assertTrue(edit, "no label edit on the tree")
        drv("settext", edit[0]["hwnd"], text)
        drv("key", edit[0]["hwnd"], 0x0D)


class CategoriesTest(TreeDriving, WineTestCase):
    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        # A Windows XP knows its executables and icons; a new prefix may not,
        # and then every file shows the document icon.
        for key, value in (("HKCR\\.exe", "exefile"), ("HKCR\\.ico", "icofile"),
                           ("HKCR\\icofile\\DefaultIcon", "%1")):
            wine_quiet("reg", "add", key, "/ve", "/d", value, "/f")

    def setUp(self):
        super().setUp()
        shutil.rmtree(DOCS, ignore_errors=True)
        install()

    def tearDown(self):
        super().tearDown()
        shutil.rmtree(DOCS, ignore_errors=True)

    def start_main(self, leftovers=False):
        self.program = self.start()
        if leftovers:
            # The merge tells what it left, once, before the window shows.
            box = wait_for(title=NOTICE, cls="#32770", timeout_ms=30000)
            self.assertTrue(box, "the merge's leftovers were not told")
            drv("post", box[0]["hwnd"], 0x0111, 1, 0)  # OK
        found = wait_for(cls=MAIN_CLASS, timeout_ms=30000)
        self.assertTrue(found, "the main window did not appear")
        self.main = found[0]["hwnd"]
        self.find_views()

    # --- the start-up merge --------------------------------------------------------

    def test_start_up_merges_loose_entries_and_loses_nothing(self):
        put(os.path.join(COMMON_SM, "写字板.lnk"), b"wordpad")
        put(os.path.join(COMMON_SM, "Office", "Word.lnk"), b"word")
        put(os.path.join(USER_SM, "记事本.lnk"), b"notepad")
        put(os.path.join(USER_SM, "Tools", "程序", "x.lnk"), b"nested programs folder")
        put(os.path.join(USER_SM, "隐藏.lnk"), b"onto a hidden target")
        put(os.path.join(USER_PROGRAMS, "新软件", "新软件.lnk"), b"new program")
        put(os.path.join(USER_PROGRAMS, "锁定.lnk"), b"onto a read-only target")
        put(os.path.join(USER_PROGRAMS, "暗处", "s.lnk"), b"in a hidden folder")
        put(os.path.join(COMMON_PROGRAMS, "隐藏.lnk"), b"hidden target")
        put(os.path.join(COMMON_PROGRAMS, "锁定.lnk"), b"read-only target")
        attrib(os.path.join(USER_PROGRAMS, "暗处"), "+h")
        attrib(os.path.join(COMMON_PROGRAMS, "隐藏.lnk"), "+h")
        attrib(os.path.join(COMMON_PROGRAMS, "锁定.lnk"), "+r")
        # Names from the store that would leave the Programs folder.
        write_store(delivered_store(["..\\..\\..\\逃逸", "CON", "C:\\逃逸2"]))
        before = set()
        for root, dirs, files in os.walk(DRIVE_C):
            before.update(os.path.join(root, n) for n in dirs + files)

        self.start_main(leftovers=True)
        moved = {"写字板.lnk": b"wordpad", "Office/Word.lnk": b"word", "记事本.lnk": b"notepad",
                 "Tools/程序/x.lnk": b"nested programs folder",
                 "新软件/新软件.lnk": b"new program"}
        for rel, data in moved.items():
            self.assertEqual(read(os.path.join(COMMON_PROGRAMS, rel)), data, rel)
        self.assertFalse(os.path.exists(os.path.join(COMMON_SM, "写字板.lnk")))
        self.assertFalse(os.path.exists(os.path.join(COMMON_SM, "Office")))
        self.assertFalse(os.path.exists(os.path.join(USER_SM, "Tools")))
        self.assertFalse(os.path.exists(os.path.join(USER_PROGRAMS, "新软件")))
        # A same-named entry of other bytes is kept; the incoming one takes a
        # free name (issue 19).
        self.assertEqual(read(os.path.join(COMMON_PROGRAMS, "隐藏 (2).lnk")), b"onto a hidden target")
        self.assertEqual(read(os.path.join(COMMON_PROGRAMS, "隐藏.lnk")), b"hidden target")
        self.assertEqual(read(os.path.join(COMMON_PROGRAMS, "锁定 (2).lnk")), b"onto a read-only target")
        self.assertEqual(read(os.path.join(COMMON_PROGRAMS, "锁定.lnk")), b"read-only target")
        # What is not moved stays where it was, byte for byte.
        self.assertEqual(read(os.path.join(USER_PROGRAMS, "暗处", "s.lnk")), b"in a hidden folder")
        self.assertFalse(os.path.exists(os.path.join(COMMON_PROGRAMS, "暗处")))

        counts = store_counts()
        self.assertEqual(int(counts["AllUsersKs"]), entries(COMMON_SM))
        self.assertEqual(int(counts["AllUsersKsCx"]), entries(COMMON_PROGRAMS))
        self.assertEqual(int(counts["CurrentUserKs"]), entries(USER_SM))
        self.assertEqual(int(counts["CurrentUserKsCx"]), entries(USER_PROGRAMS))

        # Each category has its folder and icon file; the escaping names
        # made nothing anywhere.
        for i, name in enumerate(CATEGORIES):
            ini = read(os.path.join(COMMON_PROGRAMS, name, "Desktop.ini")).decode("gbk")
            icon = ["office", "other", "life", "security", "systools", "fun"][i]
            self.assertEqual(ini, "[.ShellClassInfo]\r\nIconFile=C:\\Corvane\\Icon\\%s.ico\r\n"
                             "IconIndex=0\r\n[.ShellClassInfo.A]\r\nIconFile=C:\\Corvane\\Icon\\"
                             "%s.ico\r\n" % (icon, icon))
        after = set()
        for root, dirs, files in os.walk(DRIVE_C):
            after.update(os.path.join(root, n) for n in dirs + files)
        made = {p for p in after - before if "逃逸" in p or os.path.basename(p).upper() == "CON"}
        self.assertEqual(made, set())
        nodes = [n["text"] for n in drv("nodes", self.tree["hwnd"])]
        self.assertEqual(nodes, ["所有程序"] + CATEGORIES + ["..\\..\\..\\逃逸", "CON", "C:\\逃逸2"])

    def test_same_named_entries_at_the_merge_are_both_kept_and_leftovers_told_once(self):
        put(os.path.join(COMMON_SM, "影音.lnk"), b"common player")
        put(os.path.join(USER_SM, "影音.lnk"), b"user player")
        put(os.path.join(USER_PROGRAMS, "影音.lnk"), b"user programs player")
        put(os.path.join(USER_SM, "同样.lnk"), b"same")
        put(os.path.join(COMMON_PROGRAMS, "同样.lnk"), b"same")
        put(os.path.join(USER_PROGRAMS, "暗处", "s.lnk"), b"in a hidden folder")
        attrib(os.path.join(USER_PROGRAMS, "暗处"), "+h")
        write_store(delivered_store())
        self.program = self.start()
        found = wait_for(title=NOTICE, cls="#32770", timeout_ms=30000)
        self.assertTrue(found, "the merge's leftovers were not told")
        texts = "".join(c["title"] for c in children(found[0]["hwnd"]))
        self.assertIn("以下条目未能移入“所有程序”，仍留在原处：", texts)
        self.assertIn("暗处（链接或只读、隐藏、系统文件夹，不移动）", texts)
        wait_skinned(found[0]["hwnd"])
        screenshot("categories-merge-leftovers", found[0]["hwnd"])
        drv("post", found[0]["hwnd"], 0x0111, 1, 0)  # OK
        self.assertTrue(wait_for(cls=MAIN_CLASS, timeout_ms=30000))
        kept = {"影音.lnk": b"common player", "影音 (2).lnk": b"user player",
                "影音 (3).lnk": b"user programs player", "同样.lnk": b"same"}
        for rel, data in kept.items():
            self.assertEqual(read(os.path.join(COMMON_PROGRAMS, rel)), data, rel)
        self.assertFalse(os.path.exists(os.path.join(COMMON_PROGRAMS, "同样 (2).lnk")))
        self.assertFalse(os.path.exists(os.path.join(USER_SM, "影音.lnk")))
        self.assertFalse(os.path.exists(os.path.join(USER_SM, "同样.lnk")))
        self.assertEqual(read(os.path.join(USER_PROGRAMS, "暗处", "s.lnk")), b"in a hidden folder")
        time.sleep(1.0)
        self.assertEqual(find(title=NOTICE, cls="#32770"), [], "told once only")
        # The next start finds the same leftover: it is not told again.
        self.assertEqual(end_normally(self.program), 0)
        self.program = self.start()
        self.assertTrue(wait_for(cls=MAIN_CLASS, timeout_ms=30000), "no window at the next start")
        time.sleep(1.0)
        self.assertEqual(find(title=NOTICE, cls="#32770"), [], "told again at the next start")

    # --- the tree and the list ------------------------------------------------------

    def test_tree_and_list_show_the_categories_and_the_programs(self):
        mkdemo = os.path.join(BUILD, "tools", "demo", "mkdemo.exe")
        wine_quiet(mkdemo)
        self.assertTrue(os.path.exists(os.path.join(USER_SM, "记事本.lnk")), "the demo menu")
        self.start_main()
        nodes = drv("nodes", self.tree["hwnd"])
        self.assertEqual([(n["text"], n["level"], n["image"]) for n in nodes],
                         [("所有程序", 0, 0)] + [(c, 1, i + 1) for i, c in enumerate(CATEGORIES)])
        self.assertTrue(nodes[0]["expanded"])
        items = drv("items", self.list["hwnd"])
        names = [i["text"] for i in items]
        self.assertEqual(names[:4], ["附件", "启动", "新软件", "游戏"], "folders first")
        self.assertEqual(sorted(names[4:]), sorted(["Windows 资源管理器", "帮助", "记事本", "写字板"]))
        self.assertFalse([n for n in names if n.lower().endswith(".lnk")])
        self.assertFalse(set(names) & set(CATEGORIES), "category folders are not listed")
        by_name = {i["text"]: i for i in items}
        self.assertNotEqual(by_name["记事本"]["image"], by_name["附件"]["image"])
        drv("move", 5, 5)  # no hint over the picture
        time.sleep(0.8)
        path = screenshot("categories-tree-and-list", self.main)
        # Icons and names on both views, not an empty white box.
        origin = drv("info", self.main)["rect"][:2]
        for view in (self.tree, self.list):
            rect = drv("info", view["hwnd"])["rect"]
            self.assertGreater(colours(path, rect, origin), 8, view["class"])

        # A category lists its own folder; a program dropped into it from
        # outside appears without a click.
        office = os.path.join(COMMON_PROGRAMS, "办公应用")
        shutil.copy2(os.path.join(COMMON_PROGRAMS, "记事本.lnk"), os.path.join(office, "记事本副本.lnk"))
        self.click_rect(nodes[1]["rect"])
        self.assertTrue(self.wait_items(["记事本副本"]), self.items())
        shutil.copy2(os.path.join(COMMON_PROGRAMS, "写字板.lnk"), os.path.join(office, "写字板.lnk"))
        self.assertTrue(self.wait_items(["记事本副本", "写字板"]), self.items())
        self.click_rect(nodes[0]["rect"])
        self.assertTrue(self.wait_items(names), self.items())
        screenshot("categories-list-refreshed", self.main)

    # --- the tree's menu, rename in place, drag and drop --------------------------------

    def notice(self, timeout_ms=5000):
        found = wait_for(title=NOTICE, cls="#32770", timeout_ms=timeout_ms)
        return found[0]["hwnd"] if found else None

    def test_the_menu_opens_on_a_right_click_and_renames_in_place(self):
        write_store(delivered_store())
        put(os.path.join(COMMON_PROGRAMS, "便笺.lnk"), b"note")
        put(os.path.join(COMMON_PROGRAMS, "附件", "计算器.lnk"), b"calc")
        self.start_main()
        nodes = drv("nodes", self.tree["hwnd"])
        self.click_rect(nodes[1]["rect"])  # 办公应用
        time.sleep(0.5)

        # A right click on another row opens the menu and leaves the selection.
        menu = self.tree_menu(nodes[5])
        screenshot("categories-tree-menu", menu["hwnd"])
        captions = [i["text"] for i in menu["items"] if not i["separator"]]
        self.assertEqual(captions, ["新建分类(&N)", "删除分类(&D)", "更改图标(&G)", "重命名  (&R)"])
        self.assertTrue(menu["items"][2]["separator"])
        choose(menu, "重命名  (&R)")

        # Rename in place: the selected node, not the one right-clicked.
        self.type_label("办公软件")
        office = os.path.join(COMMON_PROGRAMS, "办公软件")
        deadline = time.time() + 5
        while time.time() < deadline and not os.path.isdir(office):
            time.sleep(0.2)
        self.assertTrue(os.path.isdir(office), "the folder was renamed")
        self.assertFalse(os.path.exists(os.path.join(COMMON_PROGRAMS, "办公应用")))
        # The folder is renamed first and classify.ini written right after.
        wait_until(lambda: store_counts()["Label1"] == "办公软件", timeout=5)
        self.assertEqual(store_counts()["Label1"], "办公软件")
        self.assertEqual(store_counts()["LabelIcon1"], "office.ico")
        self.assertEqual(drv("nodes", self.tree["hwnd"])[1]["text"], "办公软件")
        drv("move", 5, 5)
        time.sleep(0.8)
        screenshot("categories-after-rename", self.main)

    def test_a_real_drag_moves_a_program_onto_a_category(self):
        write_store(delivered_store())
        put(os.path.join(COMMON_PROGRAMS, "便笺.lnk"), b"note")
        put(os.path.join(COMMON_PROGRAMS, "附件", "计算器.lnk"), b"calc")
        self.start_main()
        nodes = drv("nodes", self.tree["hwnd"])
        office = os.path.join(COMMON_PROGRAMS, "办公应用")

        # A real drag of a shortcut from the list onto the category.
        self.click_rect(nodes[0]["rect"])
        self.assertTrue(self.wait_items(["附件", "便笺"]), self.items())
        self.drag_item("便笺", nodes[1])
        self.assertTrue(self.wait_items(["便笺"]), self.items())
        self.assertEqual(read(os.path.join(office, "便笺.lnk")), b"note")
        self.assertFalse(os.path.exists(os.path.join(COMMON_PROGRAMS, "便笺.lnk")))
        self.assertEqual(int(store_counts()["AllUsersKsCx"]), entries(COMMON_PROGRAMS))
        drv("move", 5, 5)
        time.sleep(0.8)
        screenshot("categories-after-drop", self.main)

        # Windows' own folders stay where they are.
        self.click_rect(nodes[0]["rect"])
        self.assertTrue(self.wait_items(["附件"]), self.items())
        item = drv("items", self.list["hwnd"])[0]
        drv("drag", *self.center(item["rect"]), *self.center(nodes[2]["rect"]))
        box = self.notice()
        self.assertTrue(box, "no notice for a protected entry")
        wait_skinned(box)
        screenshot("categories-protected-entry", box)
        drv("post", box, 0x0111, 1, 0)  # OK
        self.assertEqual(read(os.path.join(COMMON_PROGRAMS, "附件", "计算器.lnk")), b"calc")
        self.assertFalse(os.path.exists(os.path.join(COMMON_PROGRAMS, "其它软件", "附件")))

    # --- detection ---------------------------------------------------------------------

    def hide_main(self):
        drv("post", self.main, WM_CLOSE, 0, 0)
        deadline = time.time() + 5
        while time.time() < deadline and drv("info", self.main)["visible"]:
            time.sleep(0.2)
        self.assertFalse(drv("info", self.main)["visible"])

    def reminder_button(self, reminder, caption):
        return [c for c in children(reminder) if c["title"] == caption][0]

    def test_a_new_shortcut_brings_the_reminder_and_classify_now_files_it(self):
        self.start_main()
        self.hide_main()
        time.sleep(1)
        dropped = os.path.join(USER_SM, "新装的软件.lnk")
        put(dropped, b"installed")
        t0 = time.time()
        found = wait_for(title=REMINDER, cls="TFrmtx", timeout_ms=9000)
        elapsed = time.time() - t0
        self.assertTrue(found, "no reminder")
        self.assertLessEqual(elapsed, 8.0)
        reminder = found[0]["hwnd"]
        texts = {c["title"] for c in children(reminder)}
        self.assertTrue({"马上分类", "等下再说"} <= texts, texts)
        wait_skinned(reminder)
        screenshot("categories-reminder", reminder)
        self.click_rect(self.reminder_button(reminder, "马上分类")["rect"])
        self.assertEqual(wait_for(title=REMINDER, timeout_ms=5000, gone=True), [])
        deadline = time.time() + 5
        while time.time() < deadline and not drv("info", self.main)["visible"]:
            time.sleep(0.2)
        self.assertTrue(drv("info", self.main)["visible"], "the main window is shown")
        self.assertEqual(read(os.path.join(COMMON_PROGRAMS, "新装的软件.lnk")), b"installed")
        self.assertFalse(os.path.exists(dropped))
        self.assertEqual(int(store_counts()["CurrentUserKs"]), entries(USER_SM))
        deadline = time.time() + 5
        while time.time() < deadline and "新装的软件" not in self.items():
            time.sleep(0.3)
        self.assertIn("新装的软件", self.items(), "the list shows the common Programs folder")

    def test_later_waits_until_the_window_was_shown_again(self):
        self.start_main()
        self.hide_main()
        put(os.path.join(COMMON_SM, "另一个.lnk"), b"new")
        found = wait_for(title=REMINDER, cls="TFrmtx", timeout_ms=9000)
        self.assertTrue(found, "no reminder")
        self.click_rect(self.reminder_button(found[0]["hwnd"], "等下再说")["rect"])
        self.assertEqual(wait_for(title=REMINDER, timeout_ms=5000, gone=True), [])
        self.assertEqual(wait_for(title=REMINDER, timeout_ms=7000), [], "paused: no second reminder")
        self.assertTrue(os.path.exists(os.path.join(COMMON_SM, "另一个.lnk")), "nothing moved")
        tray(self.main, WM_LBUTTONUP)  # shown: watching again, but silent while visible
        self.assertEqual(wait_for(title=REMINDER, timeout_ms=6000), [])
        tray(self.main, WM_LBUTTONUP)  # hidden again
        self.assertTrue(wait_for(title=REMINDER, cls="TFrmtx", timeout_ms=9000))

    # --- tips ---------------------------------------------------------------------------

    def test_tips_come_once_a_run_until_their_box_is_ticked(self):
        write_store(delivered_store(tips_done=False))
        self.start_main()
        found = wait_for(title=TIPS, cls="TFrmJq", timeout_ms=5000)
        self.assertTrue(found, "no tips")
        tips = found[0]["hwnd"]
        wait_skinned(tips)
        screenshot("categories-tips", tips)
        ok = [c for c in children(tips) if c["title"] == "确   定"][0]
        self.click_rect(ok["rect"])
        self.assertEqual(wait_for(title=TIPS, timeout_ms=5000, gone=True), [])
        self.assertEqual(wait_for(title=TIPS, timeout_ms=3000), [], "once per run")
        self.assertNotIn("FenleiJq", read(STORE).decode("gbk"))

        self.stop_and_restart()
        found = wait_for(title=TIPS, cls="TFrmJq", timeout_ms=5000)
        self.assertTrue(found, "shown again at the next start")
        tips = found[0]["hwnd"]
        box = [c for c in children(tips) if c["title"] == "我已经知道啦！不要再提醒我"][0]
        self.click_rect(box["rect"])
        time.sleep(0.5)
        self.assertEqual(drv("send", box["hwnd"], BM_GETCHECK, 0, 0), 1)
        ok = [c for c in children(tips) if c["title"] == "确   定"][0]
        self.click_rect(ok["rect"])
        self.assertEqual(wait_for(title=TIPS, timeout_ms=5000, gone=True), [])
        self.assertEqual(store_counts().get("FenleiJq"), "1")

        self.stop_and_restart()
        self.assertEqual(wait_for(title=TIPS, timeout_ms=4000), [], "never again")

    def stop_and_restart(self):
        self.assertEqual(end_normally(self.program), 0)
        self.start_main()
