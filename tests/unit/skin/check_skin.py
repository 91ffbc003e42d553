#!/usr/bin/env python3
"""Checks that a packed skin holds every piece the engine needs.

Usage: check_skin.py SKINPACK PACKAGE [SKINSTREAM]

Reads the package with `skinpack info` and `skinpack unpack`; prints one
"PASS name" or "FAIL name: why" line per check and exits non-zero on any
failure.
"""
import json
import os
import struct
import subprocess
import sys
import tempfile

COLOUR_KEYS = ["WindowText", "ButtonFace", "Scrollbar", "HilightText", "Hilight", "Menubar",
               "Menu", "MenuText", "ButtonText", "ButtonHilight", "Buttonlight", "ButtonShadow",
               "ButtonDkShadow", "MenuBarText", "TitleTextActive", "TitleTextNoActive"]
PIECES = ["Scrollbar", "HorzScroll", "VertScroll", "HorzScrollThumb", "VertScrollThumb",
          "MenuItem", "MenuBackground", "menuBar", "SunkEdge", "ComboButton", "Tabs", "Progress",
          "UpDown.Horz", "UpDown.Vert", "Headerbar", "StatusBarEdges", "GroupBoxEdge", "Toolbars",
          "ExtraImages", "Trackbar.ThumbHorz", "Trackbar.ThumbVert", "Trackbar.ThumbLeft",
          "Trackbar.ThumbRight", "Trackbar.ThumbUp", "Trackbar.ThumbDown"]
NOT_GIVEN = "0x1FFFFFFF"

results = []


def check(name, ok, why=""):
    results.append(ok)
    print(("PASS %s" % name) if ok else ("FAIL %s: %s" % (name, why)))


def has_image(piece):
    return piece is not None and piece["image"][0] > 0 and piece["image"][1] > 0


def ini_sections(text):
    sections, current = {}, None
    for line in text.splitlines():
        line = line.strip()
        if line.startswith("[") and "]" in line:
            current = line[1:line.index("]")].strip().lower()
            sections.setdefault(current, {})
        elif "=" in line and current is not None:
            key, value = line.split("=", 1)
            sections[current].setdefault(key.strip().lower(), value.strip())
    return sections


def main():
    skinpack, package = sys.argv[1], sys.argv[2]
    info = subprocess.run([skinpack, "info", package], capture_output=True, text=True)
    check("info reads the package", info.returncode == 0, info.stderr.strip())
    if info.returncode != 0:
        return 1
    d = json.loads(info.stdout)

    with tempfile.TemporaryDirectory() as folder:
        unpack = subprocess.run([skinpack, "unpack", package, folder], capture_output=True, text=True)
        check("unpack", unpack.returncode == 0, unpack.stderr.strip())
        names = [e["name"] for e in d["entries"]]
        inis = [n for n in names if n.endswith(".ini")]
        check("exactly one description", len(inis) == 1, "found %s" % inis)
        others = [n for n in names if not n.endswith(".ini")]
        bad = [n for n in others if not n.endswith(".bmp") or
               open(os.path.join(folder, n), "rb").read(2) != b"BM"]
        check("every other entry is a bitmap", others and not bad, "not bitmaps: %s" % bad)
        text = open(os.path.join(folder, inis[0]), "rb").read().decode("latin-1") if inis else ""
    ini = ini_sections(text)
    named = {os.path.basename(v.replace("\\", "/")).lower()
             for s in ini.values() for v in s.values() if v.lower().endswith(".bmp")}
    check("every bitmap named is in the package", named <= set(names),
          "missing: %s" % sorted(named - set(names)))

    for side in ("Left", "Right", "Top", "Bottom"):
        f = d["frames"][side]
        check("frame piece %s" % side, has_image(f) and f["FrameCount"] >= 1, str(f))
    t = d["title"]
    check("title text settings", t["FontHeight"] > 0 and t["ActiveText"] != NOT_GIVEN and
          t["InActiveText"] != NOT_GIVEN, str(t))
    colours = ini.get("colours", {})
    check("all sixteen colours given", all(k.lower() in colours for k in COLOUR_KEYS),
          "missing: %s" % [k for k in COLOUR_KEYS if k.lower() not in colours])

    buttons = d["title_buttons"]
    own, mdi = buttons[:-3], buttons[-3:]
    def with_action(*actions):
        return [b for b in own if b["Action"] in actions and has_image(b)]
    check("close button", len(with_action(0)) >= 1)
    check("maximise and restore buttons", len(with_action(1, 22)) >= 2,
          "%d buttons with Action 1/22" % len(with_action(1, 22)))
    check("minimise button", len(with_action(2, 23)) >= 1)
    check("icon button", any(b["Action"] in (3, 11, 12) for b in own))
    check("[MDICONTROLS] buttons", all(has_image(b) and b["Action"] == 7 + k
                                       for k, b in enumerate(mdi)), str(mdi))

    b = d["Buttons"]
    w = b["image"][0]
    check("[Buttons] with five states", has_image(b) and w % 5 == 0, str(b["image"]))
    check("check and radio images", b["CheckButton"][0] > 0 and b["RadioButton"][0] > 0, str(b))
    for name in PIECES:
        p = d["pieces"].get(name)
        check("piece %s" % name, has_image(p), "absent" if p is None else str(p))
    sb = d["pieces"].get("Scrollbar")
    if sb:
        check("scroll bar holds 23 states", sb["image"][0] % 23 == 0, str(sb["image"]))

    if len(sys.argv) > 3:
        stream = open(sys.argv[3], "rb").read()
        size = os.path.getsize(package)
        check("SkinStream is the count and the package",
              len(stream) == size + 4 and struct.unpack_from("<i", stream)[0] == size and
              stream[4:] == open(package, "rb").read())
    return 0 if all(results) else 1


if __name__ == "__main__":
    sys.exit(main())
