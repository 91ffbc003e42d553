"""The engine's nine-part renderer, in Python, so the previews show the pieces as the
program will slice them."""
from PIL import Image

from draw import MAGENTA


def state_image(src, n, k, vertical):
    w, h = src.size
    if vertical:
        fh = h // n
        return src.crop((0, fh * (k - 1), w, fh * k))
    fw = w // n
    return src.crop((fw * (k - 1), 0, fw * k, h))


def _put(dst, src, sbox, dbox):
    sx0, sy0, sx1, sy1 = sbox
    dx0, dy0, dx1, dy1 = dbox
    if sx1 <= sx0 or sy1 <= sy0 or dx1 <= dx0 or dy1 <= dy0:
        return
    part = src.crop(sbox).resize((dx1 - dx0, dy1 - dy0), Image.NEAREST)
    dst.paste(part, (dx0, dy0))


def render(src, w, h, n=1, k=1, vertical=False, margins=(0, 0, 0, 0), tile=False):
    img = state_image(src, n, k, vertical)
    sw, sh = img.size
    L, T, R, B = margins
    if w < L + R:
        L = R = 0
    if h < T + B:
        T = B = 0
    out = Image.new("RGB", (w, h), MAGENTA)
    _put(out, img, (0, 0, L, T), (0, 0, L, T))
    _put(out, img, (0, sh - B, L, sh), (0, h - B, L, h))
    _put(out, img, (sw - R, 0, sw, T), (w - R, 0, w, T))
    _put(out, img, (0, T, L, sh - B), (0, T, L, h - B))
    _put(out, img, (L, 0, sw - R, T), (L, 0, w - R, T))
    mid = (L, T, sw - R, sh - B)
    if tile and mid[2] > mid[0] and mid[3] > mid[1]:
        cell = img.crop(mid)
        cw, ch = cell.size
        area = Image.new("RGB", (max(1, w - R - L), max(1, h - B - T)))
        for y in range(0, area.size[1], ch):
            for x in range(0, area.size[0], cw):
                area.paste(cell, (x, y))
        if w - R > L and h - B > T:
            out.paste(area, (L, T))
    else:
        _put(out, img, mid, (L, T, w - R, h - B))
    _put(out, img, (sw - R, sh - B, sw, sh), (w - R, h - B, w, h))
    _put(out, img, (sw - R, T, sw, sh - B), (w - R, T, w, h - B))
    _put(out, img, (L, sh - B, sw - R, sh), (L, h - B, w - R, h))
    return out


def key_mask(img):
    """255 where the pixel is not the transparency key (with the engine's +1 tolerance)."""
    m = Image.new("L", img.size, 255)
    src, dst = img.load(), m.load()
    for y in range(img.size[1]):
        for x in range(img.size[0]):
            r, g, b = src[x, y][:3]
            if r == 255 and g <= 1 and b == 255:
                dst[x, y] = 0
    return m


def blit(dst, img, xy, transparent=True):
    dst.paste(img, xy, key_mask(img) if transparent else None)
