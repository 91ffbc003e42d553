"""The seven settings panels under Wine, through the prefix's real registry:
values seeded with reg.exe load into the boxes when the area is clicked on the
picture; boxes changed with the real mouse and "应用" write back what the map
says; a value of the wrong type gives the load message; each panel is
photographed."""
import time

import wine_registry as reg
from harness import (AREAS, BM_CLICK, MAIN_CLASS, WM_CLOSE, WineTestCase, answer_box, children,
                     drv, find, screenshot, wait_for, wait_until)

POLICY = r"Software\Microsoft\Windows\CurrentVersion\Policies\Explorer"
ADVANCED = r"Software\Microsoft\Windows\CurrentVersion\Explorer\Advanced"
HKCU_POL, HKLM_POL, ADV = "HKCU\\" + POLICY, "HKLM\\" + POLICY, "HKCU\\" + ADVANCED
PIN = "{a2a9545d-a0c2-42b4-9708-a0b2badd77c8}"
ALL_PIN = r"HKCR\*\shellex\ContextMenuHandlers" + "\\" + PIN
FOLDER_PIN = r"HKCR\Folder\shellex\ContextMenuHandlers" + "\\" + PIN
OEM_KEY = r"HKCR\CLSID\{2559a1f6-21d7-11d4-bdaf-00c04f60b9f0}"
TITLE = "Corvane 1.2"
LOAD_FAILED = "不好意思，软件出现错误！"
FIELDS_EMPTY = "链接名称或图标路径不能为空！"
AS_MENU = "显示为菜单"

CONTROLS = ("TCheckBox", "TRadioButton", "TBitBtn", "TButton", "TEdit", "TSpinEdit")


class PanelDriving:
    """The picture's areas and their panels on the main window self.main, as a
    person uses them (mixed into a test case)."""

    def find_picture(self):
        # The picture's panel, once the window has built it (slow on a loaded machine).
        deadline = time.monotonic() + 20
        while True:
            pictures = [c for c in children(self.main)
                        if c["class"] == "TPanel" and c["rect"][2:] == [196, 358]]
            if pictures or time.monotonic() > deadline:
                break
            time.sleep(0.3)
        self.assertTrue(pictures, "the main window has no picture panel")
        self.picture = pictures[0]
        time.sleep(0.5)

    def open_area(self, name):
        l, t, w, h = AREAS[name]
        cx, cy = self.picture["client"][:2]
        before = self.shown_panel()
        drv("click", cx + l + w // 2, cy + t + h // 2)
        # The area's panel takes the place of the one shown (All Programs' at
        # the start); the same area again changes nothing.
        wait_until(lambda: self.shown_panel() not in (None, before), 5)
        time.sleep(0.2)

    def shown_panel(self):
        shown = [c["hwnd"] for c in children(self.main)
                 if c["class"] == "TPanel" and c["visible"] and c["rect"][2:] == [323, 358]]
        return shown[0] if len(shown) == 1 else None

    def controls(self):
        return [c for c in children(self.main) if c["class"] in CONTROLS and c["visible"]]

    def control(self, caption, cls=None):
        found = [c for c in self.controls()
                 if c["title"] == caption and (cls is None or c["class"] == cls)]
        self.assertEqual(len(found), 1, f"one visible {caption!r}")
        return found[0]

    def beside(self, caption):
        """The as-menu box on the line of an item box."""
        item = self.control(caption)
        found = [c for c in self.controls() if c["class"] == "TCheckBox"
                 and c["rect"][1] == item["rect"][1] and c["rect"][0] > item["rect"][0]]
        self.assertEqual(len(found), 1, f"the box beside {caption!r}")
        return found[0]

    @staticmethod
    def look(c):
        c = drv("info", c["hwnd"])
        return str(c["checked"]) + ("" if c["enabled"] else "d")

    def states(self, *captions):
        return " ".join(self.look(self.control(c)) for c in captions)

    def click(self, c):
        x, y, w, h = c["rect"]
        # A box on its square, anything else in its middle.
        drv("click", x + 7 if c["class"] in ("TCheckBox", "TRadioButton") else x + w // 2,
            y + h // 2)
        time.sleep(0.4)

    def apply(self):
        self.click(self.control("应用"))
        time.sleep(0.5)

    def edits(self):
        """The visible edits, top to bottom."""
        return sorted((c for c in self.controls() if c["class"] in ("TEdit", "TSpinEdit")),
                      key=lambda c: (c["rect"][1], c["rect"][0]))

    def type_into(self, edit, text):
        self.click(edit)  # the focus, as typing has it
        drv("settext", edit["hwnd"], text)
        time.sleep(0.2)


class SettingsTest(PanelDriving, WineTestCase):
    def setUp(self):
        super().setUp()
        # The Explorer keys as a Windows profile has them, empty; nothing else
        # of what the panels touch.
        for key in (HKCU_POL, HKLM_POL, ADV, ALL_PIN, FOLDER_PIN, OEM_KEY):
            reg.delete_key(key)
        for key in (HKCU_POL, HKLM_POL, ADV):
            reg.add_key(key)

    def launch(self):
        self.program = self.start()
        found = wait_for(cls=MAIN_CLASS)
        self.assertTrue(found, "the main window did not appear")
        self.main = found[0]["hwnd"]
        self.find_picture()

    def message_box(self, title):
        """Waits for the program's message box; its text, and the box is closed."""
        return answer_box(self, title)

    def no_message_box(self):
        self.assertEqual([b["title"] for b in find(cls="#32770")], [])

    def shoot(self, name):
        drv("move", 3, 3)
        time.sleep(0.4)
        screenshot("settings-" + name, self.main)

    # --- the areas -----------------------------------------------------------------
    def test_user_name_and_pinned_list(self):
        reg.add(HKLM_POL, "NoUserNameInStartMenu", "REG_DWORD", 1)
        reg.add(HKCU_POL, "NoStartMenuPinnedList", "REG_DWORD", 16)
        reg.add(ALL_PIN, "Stale", "REG_SZ", "x")
        self.launch()
        self.open_area("User")
        self.assertEqual(self.states("显示用户名文字"), "0")
        self.shoot("user")
        self.click(self.control("显示用户名文字"))
        self.apply()
        self.assertEqual(reg.values(HKLM_POL), {"NoUserNameInStartMenu": ("dword", 0)})
        self.assertEqual(reg.values(HKCU_POL), {"NoStartMenuPinnedList": ("dword", 16)},
                         "nothing under HKCU")

        self.open_area("Gd")
        fudao = '显示右键 " 附到「开始」菜单 " 选项'
        folder = "文件夹可附到「开始」菜单「shift+右键」"
        self.assertEqual(self.states("显示此区域", fudao, folder), "0 1 0")
        self.shoot("pinned")
        self.click(self.control("显示此区域"))
        self.click(self.control(folder))
        self.apply()
        self.assertEqual(reg.values(HKCU_POL), {"NoStartMenuPinnedList": ("dword", 0)})
        self.assertEqual(reg.export(ALL_PIN), {ALL_PIN: {"": ("sz", "附到「开始」菜单")}})
        self.assertEqual(reg.export(FOLDER_PIN), {FOLDER_PIN: {}})
        self.click(self.control(fudao))
        self.click(self.control(folder))
        self.click(self.control("显示此区域"))
        self.apply()
        self.assertIsNone(reg.values(ALL_PIN))
        self.assertIsNone(reg.values(FOLDER_PIN))
        self.assertEqual(reg.values(HKCU_POL), {"NoStartMenuPinnedList": ("dword", 16)})
        self.no_message_box()

    def test_most_used_list(self):
        reg.add(HKCU_POL, "NoStartMenuMFUprogramsList", "REG_DWORD", 1)
        reg.add(ADV, "Start_LargeMFUIcons", "REG_DWORD", 0)
        reg.add(ADV, "Start_MinMFU", "REG_DWORD", 50)
        self.launch()
        self.open_area("Lb")
        self.assertEqual(self.states("显示此区域「经典菜单不适用」", "显示为小图标"), "0 1")
        spin = self.edits()[0]
        self.assertEqual(drv("text", spin["hwnd"], "--message"), "30", "limited to 30")
        self.shoot("most-used")
        self.type_into(spin, "12")
        self.click(self.control("显示为小图标"))
        self.apply()
        self.assertEqual(reg.values(ADV), {"Start_LargeMFUIcons": ("dword", 1),
                                           "Start_MinMFU": ("dword", 12)})
        mfu = {"NoStartMenuMFUprogramsList": ("dword", 1)}
        self.assertEqual((reg.values(HKCU_POL), reg.values(HKLM_POL)), (mfu, mfu))
        # Typed beyond the range: the edit shows the limit once it loses the focus.
        self.type_into(spin, "99")
        self.apply()
        self.assertEqual(reg.values(ADV)["Start_MinMFU"], ("dword", 30))
        self.assertEqual(drv("text", spin["hwnd"], "--message"), "30")

    def test_my_items(self):
        reg.add(ADV, "Start_ShowMyComputer", "REG_DWORD", 5)
        reg.add(ADV, "Start_ShowRecentDocs", "REG_DWORD", 2)
        reg.add(ADV, "Start_ShowMyDocs", "REG_DWORD", 2)
        reg.add(HKCU_POL, "NoSMMyDocs", "REG_DWORD", 1)
        reg.add(HKCU_POL, "NoFavoritesMenu", "REG_DWORD", 0)
        self.launch()
        self.open_area("Wd")
        items = ["显示我的电脑图标", "显示我最近的文档", "显示我的文档图标", "显示我的音乐图标",
                 "显示图片收藏图标", "显示收藏夹图标"]
        got = [self.look(self.control(i)) + "/" + self.look(self.beside(i)) for i in items]
        self.assertEqual(got, ["1/1", "0/1d", "0/1d", "1/0", "1/0", "1/0"])
        self.assertEqual(self.states("显示网上邻居图标"), "0")
        self.shoot("my-items")
        self.click(self.control("显示我最近的文档"))
        self.assertEqual(self.look(self.beside("显示我最近的文档")), "1", "enabled by the click")
        self.click(self.beside("显示我的音乐图标"))
        self.click(self.control("显示收藏夹图标"))
        self.apply()
        self.assertEqual(reg.values(ADV), {
            "Start_ShowMyComputer": ("dword", 2), "Start_ShowNetPlaces": ("dword", 0),
            "Start_ShowRecentDocs": ("dword", 2), "Start_ShowMyDocs": ("dword", 0),
            "Start_ShowMyMusic": ("dword", 2), "Start_ShowMyPics": ("dword", 1),
            "StartMenuFavorites": ("dword", 0)})
        self.assertEqual(reg.values(HKCU_POL), {
            "NoRecentDocsMenu": ("dword", 0), "NoSMMyDocs": ("dword", 1),
            "NoStartMenuMyMusic": ("dword", 0), "NoSMMyPictures": ("dword", 0),
            "NoFavoritesMenu": ("dword", 1)})
        self.assertEqual(reg.values(HKLM_POL), {"NoStartMenuNetworkPlaces": ("dword", 1)})

    def test_settings_items_and_help(self):
        reg.add(ADV, "StartMenuAdminTools", "REG_SZ", "YES")
        reg.add(ADV, "Start_AdminToolsRoot", "REG_DWORD", 7245696)
        reg.add(ADV, "Start_ShowControlPanel", "REG_DWORD", 0)
        reg.add(ADV, "Start_ShowPrinters", "REG_DWORD", 1)
        reg.add(ADV, "Start_ShowSearch", "REG_DWORD", 0)
        self.launch()
        self.open_area("Mb")
        self.assertEqual(self.states("显示网络连接图标", "显示打印机和传真图标",
                                     "显示设定程序访问默认值图标"), "0 1 1")
        self.assertEqual(self.look(self.control("显示控制面板图标")) + " " +
                         self.look(self.beside("显示控制面板图标")), "0 0d")
        self.assertEqual(self.states("显示管理工具图标", '在"开始菜单"显示'), "1 1")
        self.shoot("settings-items")
        self.click(self.control('在"开始菜单"显示'))
        self.click(self.control("显示控制面板图标"))
        self.apply()
        self.assertEqual(reg.values(ADV), {
            "StartMenuAdminTools": ("sz", "YES"), "Start_AdminToolsRoot": ("dword", 0),
            "Start_ShowControlPanel": ("dword", 1), "Start_ShowPrinters": ("dword", 1),
            "Start_ShowNetConn": ("dword", 0),
            "Start_ShowSetProgramAccessAndDefaults": ("dword", 1),
            "Start_ShowSearch": ("dword", 0)})

        self.open_area("Bz")
        self.assertEqual(self.states("显示帮助和支持图标", "显示搜索图标", "显示运行图标"), "1 0 1")
        self.shoot("help")
        self.click(self.control("显示搜索图标"))
        self.click(self.control("显示运行图标"))
        self.apply()
        got = reg.values(ADV)
        self.assertEqual([got[n] for n in ("Start_ShowHelp", "Start_ShowSearch", "Start_ShowRun")],
                         [("dword", 1), ("dword", 1), ("dword", 0)])
        self.no_message_box()
        # Applied: closing the window offers the restart. Cancel, which keeps
        # the session (and this bench) running.
        drv("post", self.main, WM_CLOSE, 0, 0)
        prompt = wait_for(title="重启计算机", cls="#32770", timeout_ms=10000)
        self.assertTrue(prompt, "no restart prompt")
        cancel = [c for c in children(prompt[0]["hwnd"]) if c["class"] == "Button" and c["id"] == 2]
        drv("post", cancel[0]["hwnd"], BM_CLICK, 0, 0)
        wait_for(title="重启计算机", cls="#32770", gone=True, timeout_ms=10000)
        self.assertFalse(drv("info", self.main)["visible"], "the window went to the tray")

    def test_oem_link(self):
        reg.add(ADV, "Start_ShowOEMLink", "REG_DWORD", 0)
        self.launch()
        self.open_area("OEM")
        self.assertEqual(self.states("显示此区域", "设置自己的链接"), "0 0")
        self.assertEqual([drv("info", e["hwnd"])["enabled"] for e in self.edits()], [False] * 5)
        self.click(self.control("设置自己的链接"))
        self.click(self.control("输入要打开的文件夹路径："))
        self.assertEqual([drv("info", e["hwnd"])["enabled"] for e in self.edits()],
                         [True, True, False, True, False])
        name, icon, address, folder, program = self.edits()
        self.type_into(name, "   ")
        self.type_into(icon, r"C:\Corvane\Icon\crv.ico")
        self.type_into(address, "http://www.example.com.cn/")
        self.type_into(folder, r"C:\我的资料")
        self.shoot("oem")
        self.click(self.control("显示此区域"))
        self.apply()
        self.assertEqual(self.message_box("提醒..."), [FIELDS_EMPTY])
        self.assertEqual(reg.values(ADV), {"Start_ShowOEMLink": ("dword", 1)})
        self.assertIsNone(reg.export(OEM_KEY), "nothing of the link yet")

        self.type_into(name, "我的资料")
        self.apply()
        self.assertEqual(reg.export(OEM_KEY), {
            OEM_KEY: {"": ("sz", "我的资料"), "InfoTip": ("sz", "我的资料")},
            OEM_KEY + r"\DefaultIcon": {"": ("sz", r"C:\Corvane\Icon\crv.ico")},
            OEM_KEY + r"\Instance": {},
            OEM_KEY + r"\Instance\InitPropertyBag": {"Command": ("sz", "我的资料"),
                                                     "Param1": ("sz", r"C:\我的资料")}})
        # Opened again: locked, the texts kept.
        self.open_area("OEM")
        self.assertEqual(self.states("设置自己的链接"), "0")
        self.assertEqual(drv("text", self.edits()[0]["hwnd"], "--message"), "我的资料")
        self.no_message_box()

    def test_a_hint_never_takes_the_click_meant_for_the_area_below(self):
        """Issue 19: the hint of the help/search/run area shows just below the
        pointer, over the OEM row; a click there opens the OEM panel."""
        self.launch()
        cx, cy = self.picture["client"][:2]
        l, t, w, h = AREAS["Bz"]
        x = cx + l + w // 2
        tips, deadline, step = [], time.monotonic() + 10, 0
        while time.monotonic() < deadline and not tips:
            # A few small moves, as a hand makes them, until the hint shows.
            if step < 4:
                drv("move", x - 2 + step, cy + t + h - 6)
                step += 1
            time.sleep(0.3)
            tips = find(cls="tooltips_class32")
        self.assertTrue(tips, "no hint over the help area")
        tx, ty, tw, th = tips[0]["rect"]
        ol, ot, ow, oh = AREAS["OEM"]
        top, bottom = max(ty, cy + ot), min(ty + th, cy + ot + oh)
        left, right = max(tx, cx + ol), min(tx + tw, cx + ol + ow)
        self.assertTrue(top < bottom and left < right, f"the hint {tips[0]['rect']} is not over the OEM row")
        drv("click", (left + right) // 2, (top + bottom) // 2)
        time.sleep(0.8)
        self.assertEqual(len([c for c in self.controls() if c["title"] == "设置自己的链接"]), 1,
                         "the click went to the hint, not to the OEM row")

    def test_the_folder_button_opens_the_systems_folder_picker(self):
        self.launch()
        self.open_area("OEM")
        self.click(self.control("设置自己的链接"))
        self.click(self.control("输入要打开的文件夹路径："))
        # A cancel must keep what the field held, so it holds something.
        self.type_into(self.edits()[3], r"C:\旧的文件夹")
        before = {w["hwnd"] for w in find(cls="#32770")}
        buttons = sorted((c for c in self.controls() if c["class"] == "TButton"),
                         key=lambda c: c["rect"][1])
        self.click(buttons[1])  # icon, folder, program
        picker = None
        for _ in range(50):
            new = [w for w in find(cls="#32770") if w["hwnd"] not in before]
            if new:
                picker = new[0]
                break
            time.sleep(0.2)
        self.assertIsNotNone(picker, "no folder picker")
        texts = [c["title"] for c in children(picker["hwnd"])]
        self.assertIn("请选择要打开的文件夹路径", texts)
        drv("post", picker["hwnd"], 0x0111, 2, 0)  # IDCANCEL
        self.assertEqual(wait_for(cls="#32770", title=picker["title"], gone=True), [])
        self.assertEqual(drv("text", self.edits()[3]["hwnd"], "--message"), r"C:\旧的文件夹",
                         "cancelled: the field keeps its text")

    def test_a_value_of_the_wrong_type_gives_the_load_message(self):
        reg.add(HKLM_POL, "NoUserNameInStartMenu", "REG_SZ", "0")
        self.launch()
        self.open_area("User")
        self.assertEqual(self.message_box(TITLE), [LOAD_FAILED])
        self.assertEqual(self.states("显示用户名文字"), "0", "the box keeps its state")
        # A DWORD of the wrong size, in the middle of the help area's group.
        reg.add(ADV, "Start_ShowSearch", "REG_BINARY", "0100")
        self.open_area("Bz")
        self.assertEqual(self.message_box(TITLE), [LOAD_FAILED])
        self.assertEqual(self.states("显示帮助和支持图标", "显示搜索图标", "显示运行图标"), "1 0 0")
        self.no_message_box()
