#!/usr/bin/python3
"""Writes Corvane's art into OUTDIR: icons/, images/, skin/ and preview/.

Usage: generate.py OUTDIR [--no-preview]
"""
import os
import sys

try:
    import PIL  # noqa: F401
except ImportError:
    # Debian's Pillow lives with the system interpreter; a different python3 may be first on PATH.
    if os.path.exists("/usr/bin/python3") and os.path.realpath(sys.executable) != os.path.realpath("/usr/bin/python3"):
        os.execv("/usr/bin/python3", ["/usr/bin/python3"] + sys.argv)
    sys.exit("generate.py: Pillow is missing (Debian package python3-pil)")

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import bmpio  # noqa: E402
import frame  # noqa: E402
import icons  # noqa: E402
import preview  # noqa: E402
import skin  # noqa: E402
import startmenu  # noqa: E402


def main(argv):
    args = [a for a in argv[1:] if not a.startswith("--")]
    if len(args) != 1:
        sys.exit(__doc__.strip())
    out = args[0]
    made_icons = icons.write(os.path.join(out, "icons"))
    images = {
        "startmenu.bmp": startmenu.picture(),
        "autostart_no.bmp": startmenu.switch(False),
        "autostart_yes.bmp": startmenu.switch(True),
    }
    img_dir = os.path.join(out, "images")
    os.makedirs(img_dir, exist_ok=True)
    for name, img in images.items():
        with open(os.path.join(img_dir, name), "wb") as f:
            f.write(bmpio.bmp24(img))
    glyph_strip = frame.menu_glyphs()
    with open(os.path.join(img_dir, "tambrelmenu.bmp"), "wb") as f:
        f.write(bmpio.bmp1(glyph_strip))
    built = skin.write(os.path.join(out, "skin"))
    if "--no-preview" not in argv:
        preview.write(os.path.join(out, "preview"), built, made_icons,
                      dict(images, **{"tambrelmenu.bmp": glyph_strip}), os.path.join(out, "icons"))


if __name__ == "__main__":
    main(sys.argv)
