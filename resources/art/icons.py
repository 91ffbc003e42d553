"""The program icon and the category icons, each as a multi-image .ico."""
import os

import bmpio
import glyphs

SIZES = (16, 32, 48)

# File name -> glyph. The category names are those of the delivered category store.
ICONS = {
    "crv.ico": "corvane",
    "root.ico": "cat_root",        # 所有程序
    "office.ico": "cat_office",    # 办公应用
    "other.ico": "cat_other",      # 其它软件
    "life.ico": "cat_life",        # 生活助手
    "security.ico": "cat_security",  # 系统安全
    "systools.ico": "cat_systools",  # 系统工具
    "fun.ico": "cat_fun",          # 娱乐休闲
}


def images(glyph):
    return [glyphs.render(glyph, s) for s in SIZES]


def write(outdir):
    os.makedirs(outdir, exist_ok=True)
    made = {}
    for name, glyph in ICONS.items():
        imgs = images(glyph)
        with open(os.path.join(outdir, name), "wb") as f:
            f.write(bmpio.ico(imgs))
        made[name] = imgs
    return made
