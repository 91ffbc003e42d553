"""Checks the distribution folder and the executable in it."""
import configparser
import os
import re
import struct
import subprocess
import sys
import unittest
import zipfile

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
DIST = os.path.join(ROOT, "build", "dist", "Corvane")
EXE = os.path.join(DIST, "Halvorn.exe")

XP_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll", "ole32.dll",
           "oleaut32.dll", "comctl32.dll", "comdlg32.dll", "msvcrt.dll", "shlwapi.dll"}
# Calls that arrived after Windows XP and that a static runtime may pull in.
AFTER_XP = {"GetTickCount64", "InitializeSRWLock", "AcquireSRWLockExclusive",
            "AcquireSRWLockShared", "ReleaseSRWLockExclusive", "InitializeConditionVariable",
            "SleepConditionVariableCS", "SleepConditionVariableSRW", "WakeConditionVariable",
            "WakeAllConditionVariable", "InitOnceExecuteOnce", "InitOnceBeginInitialize",
            "InitializeCriticalSectionEx", "CreateEventExA", "CreateEventExW", "CreateMutexExA",
            "CreateSemaphoreExW", "FlsAlloc", "FlsFree", "FlsGetValue", "FlsSetValue",
            "GetFileInformationByHandleEx", "SetFileInformationByHandle", "GetLocaleInfoEx",
            "LCMapStringEx", "CompareStringEx", "GetSystemTimePreciseAsFileTime",
            "GetCurrentProcessorNumber", "CancelIoEx", "GetFinalPathNameByHandleW",
            "CreateSymbolicLinkW", "QueryFullProcessImageNameA", "RegGetValueA",
            "RegDeleteTreeA", "RegSetKeyValueA", "SHGetKnownFolderPath", "TaskDialog"}


def objdump(*args):
    return subprocess.run(["i686-w64-mingw32-objdump", *args, EXE], capture_output=True,
                          text=True, check=True).stdout


def imports():
    """{dll: [functions]} from the import tables."""
    out, dll = {}, None
    for line in objdump("-p").splitlines():
        m = re.match(r"\s*DLL Name: (\S+)", line)
        if m:
            dll = m.group(1).lower()
            out[dll] = []
            continue
        m = re.match(r"\s+[0-9a-f]+\s+[0-9]+\s+(\S+)$", line)
        if dll and m:
            out[dll].append(m.group(1))
    return out


class Executable(unittest.TestCase):
    def test_is_a_32_bit_gui_program_for_xp(self):
        head = objdump("-p")
        self.assertRegex(head, r"file format pei-i386")
        self.assertRegex(head, r"Subsystem\s+00000002\s+\(Windows GUI\)")
        self.assertRegex(head, r"MajorSubsystemVersion\s+5\b")
        self.assertRegex(head, r"MinorSubsystemVersion\s+1\b")

    def test_imports_only_xp_system_dlls_and_calls(self):
        found = imports()
        self.assertIn("kernel32.dll", found)
        self.assertEqual(set(found) - XP_DLLS, set())
        late = sorted(f for funcs in found.values() for f in funcs if f in AFTER_XP)
        self.assertEqual(late, [])

    def test_carries_its_icon_and_version(self):
        with open(EXE, "rb") as f:
            data = f.read()
        # Every image of the program's icon file is an icon resource, as is.
        with open(os.path.join(ROOT, "build", "assets", "icons", "crv.ico"), "rb") as f:
            ico = f.read()
        reserved, kind, count = struct.unpack_from("<HHH", ico, 0)
        self.assertEqual((reserved, kind), (0, 1), "crv.ico is no icon file")
        self.assertGreater(count, 0)
        for i in range(count):
            size, offset = struct.unpack_from("<II", ico, 6 + 16 * i + 8)
            self.assertTrue(ico[offset:offset + size] in data, f"icon image {i} is not in the program")
        self.assertIn("Corvane".encode("utf-16-le"), data)
        self.assertIn("1.2".encode("utf-16-le"), data)
        # The packed skin travels inside the program, count and package.
        with open(os.path.join(ROOT, "build", "skin", "SkinStream.bin"), "rb") as f:
            self.assertIn(f.read(), data)
        sections = objdump("-h")
        self.assertIn(".rsrc", sections)


class DeliveredFiles(unittest.TestCase):
    def test_category_store_lists_the_six_categories_with_icons(self):
        with open(os.path.join(DIST, "classify.ini"), "rb") as f:
            raw = f.read()
        self.assertIn(b"\r\n", raw)
        ini = configparser.ConfigParser()
        ini.optionxform = str
        ini.read_string(raw.decode("gbk"))
        names = [ini["programs"][f"Label{k}"] for k in range(1, int(ini["programs"]["LabelNum"]) + 1)]
        self.assertEqual(names, ["办公应用", "其它软件", "生活助手", "系统安全", "系统工具", "娱乐休闲"])
        self.assertEqual(ini["programs"]["Label0"], "所有程序")
        for k in range(0, 7):
            icon = ini["LabelIcon"][f"LabelIcon{k}"]
            self.assertTrue(os.path.isfile(os.path.join(DIST, "Icon", icon)), icon)

    def test_icon_folder_whatsnew_and_zip(self):
        self.assertTrue(os.path.isfile(os.path.join(DIST, "Icon", "crv.ico")))
        with open(os.path.join(DIST, "whatsnew.txt"), "rb") as f:
            f.read().decode("gbk")
        with zipfile.ZipFile(os.path.join(os.path.dirname(DIST), "Corvane-1.2.zip")) as z:
            names = set(z.namelist())
        for f in ("Corvane/Halvorn.exe", "Corvane/classify.ini", "Corvane/whatsnew.txt",
                  "Corvane/banner.htm", "Corvane/Icon/crv.ico"):
            self.assertIn(f, names)

    def test_banner_page_is_gbk_html_without_the_failure_mark(self):
        with open(os.path.join(DIST, "banner.htm"), "rb") as f:
            page = f.read().decode("gbk")
        self.assertIn("charset=gb2312", page)
        self.assertIn("<body", page)
        # The strip gives way to the slogan for a page with this word.
        self.assertNotIn("尝试", page)


# The DLLs the bench loads and the entry points its loaders ask for by name.
# COM loads the browser stand-in and asks for its two entry points.
LOADED_BY_NAME = {"crvhook.dll": {"CrvReadMenuHook"},
                  "crvbrowser.dll": {"DllGetClassObject", "DllCanUnloadNow"}}
CROSS_TREES = {"win32": ("i686-w64-mingw32-objdump", "pei-i386"),
               "win64": ("x86_64-w64-mingw32-objdump", "pei-x86-64")}


def exported_names(objdump_tool, path):
    """The names in a PE file's export table, and its file format."""
    out = subprocess.run([objdump_tool, "-p", path], capture_output=True, text=True,
                         check=True).stdout
    fmt = re.search(r"file format (\S+)", out)
    names, in_table = [], False
    for line in out.splitlines():
        if "[Ordinal/Name Pointer] Table" in line:
            in_table = True
            continue
        if in_table:
            m = re.match(r"\s+\[\s*\d+\]\s+(\S+)$", line)
            if not m:
                break
            names.append(m.group(1))
    return (fmt.group(1) if fmt else None), names


def flag_lines(tree):
    """{target's flags.make relative path: its warning options} of a configured tree."""
    found = {}
    for folder, _, files in os.walk(tree):
        if "flags.make" in files and "googletest" not in folder:
            with open(os.path.join(folder, "flags.make")) as f:
                for line in f:
                    if line.startswith("CXX_FLAGS"):
                        found[os.path.relpath(folder, tree)] = sorted(
                            o for o in line.split() if o.startswith("-W"))
    return found


class CrossTrees(unittest.TestCase):
    """What only the 32-bit build shows must be caught on machines that cannot
    run it: export names and the warnings that stop the build."""

    def test_the_names_the_driver_asks_for_are_listed(self):
        asked = set()
        driver = os.path.join(ROOT, "tests", "e2e", "driver")
        for name in os.listdir(driver):
            with open(os.path.join(driver, name), encoding="utf-8") as f:
                asked |= set(re.findall(r'GetProcAddress\([^,]+,\s*"(\w+)"\)', f.read()))
        self.assertTrue(asked, "no GetProcAddress found in the driver: the pattern is stale")
        self.assertEqual(asked - set().union(*LOADED_BY_NAME.values()), set())

    def test_both_builds_export_the_plain_names_asked_for(self):
        for tree, (tool, fmt) in CROSS_TREES.items():
            built = {}
            for folder, _, files in os.walk(os.path.join(ROOT, "build", tree)):
                if "googletest" in folder:
                    continue
                for name in files:
                    if name.lower().endswith(".dll"):
                        built[name.lower()] = os.path.join(folder, name)
            self.assertEqual(set(built) ^ set(LOADED_BY_NAME), set(),
                             f"build/{tree}: DLLs built and DLLs listed differ")
            for dll, wanted in LOADED_BY_NAME.items():
                with self.subTest(tree=tree, dll=dll):
                    found_fmt, names = exported_names(tool, built[dll])
                    self.assertEqual(found_fmt, fmt)
                    self.assertEqual([n for n in names if "@" in n], [], "decorated exports")
                    self.assertEqual(wanted - set(names), set(), f"exports: {names}")

    def test_both_trees_stop_on_the_same_warnings(self):
        trees = {t: flag_lines(os.path.join(ROOT, "build", t)) for t in CROSS_TREES}
        self.assertGreater(len(trees["win32"]), 10, "build/win32 is not configured")
        self.assertEqual(set(trees["win32"]), set(trees["win64"]), "the trees build other targets")
        for target, options in trees["win32"].items():
            self.assertIn("-Werror", options, f"{target}: warnings are errors")
            self.assertEqual(options, trees["win64"][target], target)


if __name__ == "__main__":
    sys.path.insert(0, os.path.join(ROOT, "tests"))
    import count
    sys.exit(count.run_suite("dist", unittest.defaultTestLoader.loadTestsFromModule(
        sys.modules[__name__])))
