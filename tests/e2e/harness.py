"""The end-to-end bench: the real Halvorn.exe in the prepared Wine prefix,
seen and driven from outside through crvdriver.exe.

The suite script has already sourced tests/wine/wine_env.sh and started the
display and the wineserver, so the environment here is the Wine session's.
"""
import json
import os
import shutil
import subprocess
import tempfile
import time
import unittest

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
# build/win32, or build/win64 where this machine cannot run 32-bit programs.
BUILD = os.environ.get("CORVANE_WINE_BUILD", os.path.join(ROOT, "build", "win32"))
DRIVER = os.path.join(BUILD, "tests", "e2e", "crvdriver.exe")
EXE = os.path.join(BUILD, "src", "app", "Halvorn.exe")
DIST = os.path.join(ROOT, "build", "dist", "Corvane")
SHOTS = os.path.join(ROOT, "build", "e2e-screenshots")
PREFIX = os.environ.get("WINEPREFIX", os.path.join(ROOT, "build", "wine-prefix"))
DRIVE_C = os.path.join(PREFIX, "drive_c")
INSTALL_DIR = os.path.join(DRIVE_C, "Corvane")  # C:\Corvane

MAIN_CLASS = "TFrmMain"
MAIN_CAPTION = "Corvane V1.2"
ATOM = "Halvorn"
NOTICE_CAPTION = "提醒..."
ALREADY_RUNNING = "Corvane已经运行,要操作请先在桌面右下角退出！"

WM_CLOSE = 0x0010
WM_COMMAND = 0x0111
BM_CLICK = 0x00F5


def wine_env():
    env = dict(os.environ)
    env.setdefault("WINEDEBUG", "-all")
    return env


# Commands that only look: asked again when a loaded machine's Wine call
# came back without a word. The others act, and run once.
LOOK_ONLY = ("find", "wait", "children", "info", "atom", "text", "menu", "items", "nodes", "link")


class DriverSilent(AssertionError):
    """The driver printed nothing: its Wine call failed, which says nothing
    about the windows it was asked about."""


def drv(*args, timeout=60, check=True):
    """Runs one driver command; its JSON answer (read through a file: a pipe
    can keep a Wine call waiting on the processes it spawned). Every command
    prints an answer, so an empty one is an error, never "nothing there"."""
    attempts = 3 if str(args[0]) in LOOK_ONLY else 1
    for attempt in range(attempts):
        rc, text = _drv_once(args, timeout)
        if text:
            break
        if attempt + 1 < attempts:
            time.sleep(0.5)
    if not text:
        raise DriverSilent(f"crvdriver {args} printed nothing (exit {rc})")
    if check and rc not in (0, 1):
        raise RuntimeError(f"crvdriver {args} failed with {rc}: {text}")
    answer = json.loads(text)
    if isinstance(answer, dict) and "error" in answer:
        raise RuntimeError(f"crvdriver {args}: {answer['error']}")
    return answer


def _drv_once(args, timeout):
    with tempfile.NamedTemporaryFile(suffix=".json", delete=False) as out:
        path = out.name
    try:
        with open(path, "wb") as out:
            rc = subprocess.run(["wine", DRIVER, *map(str, args)], stdout=out,
                                stderr=subprocess.DEVNULL, stdin=subprocess.DEVNULL,
                                env=wine_env(), timeout=timeout).returncode
        with open(path, "rb") as f:
            return rc, f.read().decode("utf-8", "replace").strip()
    finally:
        os.unlink(path)


def find(title=None, cls=None, include_hidden=False):
    args = ["find"]
    if title:
        args += ["--title", title]
    if cls:
        args += ["--class", cls]
    if include_hidden:
        args.append("--all")
    return drv(*args)


def wait_for(title=None, cls=None, timeout_ms=15000, gone=False):
    args = ["wait", "--timeout", timeout_ms]
    if title:
        args += ["--title", title]
    if cls:
        args += ["--class", cls]
    if gone:
        args.append("--gone")
    return drv(*args, timeout=timeout_ms / 1000 + 30)


def children(hwnd):
    return drv("children", hwnd)


def atom_present(name=ATOM):
    answer = drv("atom", name)
    # A driver that says nothing must not pass for "present".
    if type(answer) is not int:
        raise AssertionError(f"crvdriver atom {name} answered {answer!r}")
    return answer != 0


def screenshot(name, hwnd=None):
    """Saves build/e2e-screenshots/NAME.png and returns its path."""
    os.makedirs(SHOTS, exist_ok=True)
    bmp_win = "C:\\corvane_shot.bmp"
    bmp = os.path.join(DRIVE_C, "corvane_shot.bmp")
    drv("screenshot", bmp_win, *([hwnd] if hwnd else []))
    png = os.path.join(SHOTS, name + ".png")
    subprocess.run(["convert", bmp, png], check=True)
    os.unlink(bmp)
    return png


def wait_until(condition, timeout=10, step=0.2):
    """Asks CONDITION until it gives a true value or the time is up; its last
    answer."""
    deadline = time.time() + timeout
    answer = condition()
    while not answer and time.time() < deadline:
        time.sleep(step)
        answer = condition()
    return answer


def visible(hwnd):
    return drv("info", hwnd)["visible"]


def colours(png, rect, origin=(0, 0)):
    """How many colours the screen rectangle RECT (left, top, width, height)
    has in a screenshot whose top left is at ORIGIN on the screen: 1 where
    nothing is drawn."""
    x, y, w, ht = rect
    out = subprocess.run(["convert", png, "-crop", f"{w}x{ht}+{x - origin[0]}+{y - origin[1]}",
                          "+repage", "-format", "%k", "info:"], capture_output=True, text=True,
                         check=True)
    return int(out.stdout.strip())


def pixels(png, rect, origin=(0, 0)):
    """The raw RGB pixels of the screen rectangle RECT in a screenshot whose
    top left is at ORIGIN on the screen (PNG files differ in their time
    stamps, so pictures are compared by these)."""
    x, y, w, ht = rect
    out = subprocess.run(["convert", png, "-crop", f"{w}x{ht}+{x - origin[0]}+{y - origin[1]}",
                          "+repage", "rgb:-"], capture_output=True, check=True).stdout
    if len(out) != w * ht * 3:
        raise AssertionError(f"{png}: the crop {rect} gave {len(out)} bytes")
    return out


def ensure_uptime(seconds=185):
    """Started within three minutes of boot the program stays in the tray."""
    with open("/proc/uptime") as f:
        up = float(f.read().split()[0])
    if up < seconds:
        time.sleep(seconds - up)


PROGRAM_KEY = "HKCU\\Software\\Halvorn"


def mark_installed():
    """The program key of an installed 1.2, so that no first-run dialog comes
    up over the window a scenario works with."""
    for name, data in (("Appname", "C:\\Corvane\\Halvorn.exe"), ("Version", "1.2")):
        subprocess.run(["wine", "reg", "add", PROGRAM_KEY, "/v", name, "/t", "REG_SZ", "/d", data,
                        "/f"], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, env=wine_env(), timeout=60)


def install(tips=False, installed=True):
    """C:\\Corvane with the program and, once built, the delivered files.
    Unless asked for, the classification tips are switched off and the
    program key says 1.2 is installed, so that no dialog comes up over the
    window a scenario works with."""
    if installed:
        mark_installed()
    os.makedirs(INSTALL_DIR, exist_ok=True)
    if os.path.isdir(DIST):
        for name in os.listdir(DIST):
            src = os.path.join(DIST, name)
            dst = os.path.join(INSTALL_DIR, name)
            if os.path.isdir(src):
                shutil.rmtree(dst, ignore_errors=True)
                shutil.copytree(src, dst)
            else:
                shutil.copy2(src, dst)
    shutil.copy2(EXE, os.path.join(INSTALL_DIR, "Halvorn.exe"))
    if not os.path.exists(os.path.join(DIST, "banner.htm")):
        restore_banner_page()
    store = os.path.join(INSTALL_DIR, "classify.ini")
    held = open(store, "rb").read() if os.path.exists(store) else b""
    if not tips and b"FenleiJq" not in held:
        with open(store, "ab") as f:
            f.write(b"\r\n[control]\r\nFenleiJq=1\r\n")


BANNER_PAGE = os.path.join(INSTALL_DIR, "banner.htm")


def write_banner_page(text):
    """The page the banner strip opens, as the program carries it (GBK)."""
    with open(BANNER_PAGE, "wb") as f:
        f.write(text.replace("\r\n", "\n").replace("\n", "\r\n").encode("gbk"))


def restore_banner_page():
    delivered = os.path.join(DIST, "banner.htm")
    if os.path.exists(delivered):
        shutil.copy2(delivered, BANNER_PAGE)
        return
    with open(os.path.join(ROOT, "resources", "dist", "banner.htm"), encoding="utf-8") as f:
        write_banner_page(f.read())


class Program:
    """One start of Halvorn.exe."""

    def __init__(self):
        self.proc = subprocess.Popen(["wine", "C:\\Corvane\\Halvorn.exe"], cwd=INSTALL_DIR,
                                     stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL, env=wine_env())

    def wait(self, timeout=20):
        return self.proc.wait(timeout=timeout)

    def running(self):
        return self.proc.poll() is None

    def kill(self):
        if self.running():
            self.proc.kill()
            self.proc.wait(timeout=20)


# The areas of the picture on PnlDh (left, top, width, height).
AREAS = {
    "User": (1, 1, 190, 39), "Gd": (1, 40, 93, 56), "Lb": (1, 98, 93, 205),
    "Sy": (1, 304, 93, 21), "OEM": (95, 304, 96, 21), "Bz": (95, 247, 96, 56),
    "Mb": (95, 172, 96, 71), "Wd": (95, 40, 96, 128),
}


def answer_box(test, title, button=1, timeout_ms=10000):
    """Waits for the program's message box TITLE and presses its button of id
    BUTTON (1 is OK); the box's texts. The box must go."""
    boxes = wait_for(title=title, cls="#32770", timeout_ms=timeout_ms)
    test.assertTrue(boxes, f"no message box {title!r}")
    parts = children(boxes[0]["hwnd"])
    texts = [c["title"] for c in parts if c["class"] == "Static" and c["title"]]
    press = [c for c in parts if c["class"] == "Button" and c["id"] == button]
    test.assertTrue(press, f"no button {button} on {title!r}: {parts}")
    drv("post", press[0]["hwnd"], BM_CLICK, 0, 0)
    test.assertEqual(wait_for(title=title, cls="#32770", gone=True, timeout_ms=timeout_ms), [],
                     f"the box {title!r} stayed")
    return texts


def main_windows(include_hidden=True):
    return find(cls=MAIN_CLASS, include_hidden=include_hidden)


TRAY_MESSAGE = 2024
WM_LBUTTONUP = 0x0202
WM_RBUTTONUP = 0x0205
EXIT_ITEM = "退出程序(&X)"


def tray(hwnd, mouse_message):
    """What the notification area sends when its icon is clicked."""
    drv("post", hwnd, TRAY_MESSAGE, 1, mouse_message)


WM_CHAR = 0x0102


def open_menu():
    """The popup menu that is open, or None."""
    menus = drv("menu")
    return menus[0] if menus else None


def open_tray_menu(hwnd, timeout=10):
    """Right-clicks the tray icon; the open menu: its window, place and items
    (under Wine read by crvhook.dll inside the program)."""
    tray(hwnd, WM_RBUTTONUP)
    deadline = time.time() + timeout
    while time.time() < deadline:
        menu = open_menu()
        if menu:
            return menu
        time.sleep(0.2)
    raise AssertionError("the tray menu did not open")


def choose(menu, text):
    """Picks an item of an open menu: with the real mouse when its items can
    be read, else by the hot key in its caption ("(&X)")."""
    for item in menu["items"]:
        if item["text"] == text:
            x, y, w, h = item["rect"]
            drv("click", x + w // 2, y + h // 2)
            return
    if menu.get("readable"):
        raise AssertionError(f"no item {text!r} in {[i['text'] for i in menu['items']]}")
    if "&" not in text:
        raise AssertionError(f"no item {text!r} and no hot key to reach it")
    key = text[text.index("&") + 1].lower()
    drv("post", menu["hwnd"], WM_CHAR, ord(key), 1)


WM_SKINNED = 0x3504  # the skin engine's query: a skinned window answers 1
WM_KEYDOWN = 0x0100
VK_ESCAPE = 0x1B


def skinned(hwnd):
    return drv("send", hwnd, WM_SKINNED, 0, 0) == 1


def wait_skinned(hwnd, timeout=10):
    """The window's description once the skin engine has taken it and given
    it the skin's frame (the first sizing follows the attach at once)."""
    deadline = time.time() + timeout
    while time.time() < deadline:
        if skinned(hwnd):
            time.sleep(0.5)
            return drv("info", hwnd)
        time.sleep(0.2)
    raise AssertionError(f"window {hwnd} was not skinned")


def system_menu_items(hwnd, timeout=10, shot=None):
    """The texts of the skinned system menu, opened by a right click on the
    window's title (a screenshot of the screen named shot while it is open)
    and closed again with Escape."""
    x, y, w, _ = drv("info", hwnd)["rect"]
    drv("click", x + w // 2, y + 8, "--right")
    deadline = time.time() + timeout
    menu = None
    while time.time() < deadline and not menu:
        menu = open_menu()
        time.sleep(0.2)
    if not menu:
        raise AssertionError("the system menu did not open")
    if shot:
        time.sleep(0.3)
        screenshot(shot)
    drv("key", menu["hwnd"], VK_ESCAPE)
    deadline = time.time() + timeout
    while open_menu() and time.time() < deadline:
        drv("key", menu["hwnd"], VK_ESCAPE)
        time.sleep(0.3)
    return [i["text"] for i in menu["items"] if not i["separator"]]


def end_normally(program, timeout=20):
    """Ends a running instance the way its user does: the tray menu's exit."""
    windows = main_windows()
    if windows:
        choose(open_tray_menu(windows[0]["hwnd"]), EXIT_ITEM)
    return program.wait(timeout)


def stop_everything():
    """No instance left, and no marker from a killed one."""
    subprocess.run(["wine", "taskkill", "/f", "/im", "Halvorn.exe"], stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=wine_env())
    drv("atom", ATOM, "--delete")


class WineTestCase(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        ensure_uptime()
        install()

    def setUp(self):
        stop_everything()
        self.programs = []

    def tearDown(self):
        for p in self.programs:
            p.kill()
        stop_everything()

    def start(self):
        p = Program()
        self.programs.append(p)
        return p
