"""Pixel-exact shapes for skin pieces: rounded boxes with rings, keyed on magenta."""
from PIL import Image, ImageDraw

from draw import MAGENTA, hgradient, vgradient


def rounded_mask(w, h, r):
    """Inside test per pixel centre for a w x h box with corner radius r."""
    m = [[True] * w for _ in range(h)]
    if r <= 0:
        return m
    for y in range(h):
        for x in range(w):
            cx = r if x < r else (w - r if x >= w - r else None)
            cy = r if y < r else (h - r if y >= h - r else None)
            if cx is None or cy is None:
                continue
            dx, dy = x + 0.5 - cx, y + 0.5 - cy
            if dx * dx + dy * dy > (r + 0.25) ** 2:
                m[y][x] = False
    return m


def depth(mask):
    """4-neighbour distance from the outside: 0 on the outline pixels, -1 outside."""
    h, w = len(mask), len(mask[0])
    d = [[-1 if not mask[y][x] else None for x in range(w)] for y in range(h)]
    level = 0
    frontier = [(x, y) for y in range(h) for x in range(w) if mask[y][x] and (
        x in (0, w - 1) or y in (0, h - 1) or not all(
            mask[y + dy][x + dx] for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))))]
    while frontier:
        nxt = []
        for x, y in frontier:
            if d[y][x] is None:
                d[y][x] = level
        for x, y in frontier:
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                nx, ny = x + dx, y + dy
                if 0 <= nx < w and 0 <= ny < h and d[ny][nx] is None:
                    nxt.append((nx, ny))
        frontier = list(dict.fromkeys(nxt))
        level += 1
    return d


def box(w, h, radius, fill, rings=(), outside=MAGENTA):
    """A rounded box: fill is a colour or an RGB image of the box's size; rings colour
    the outline and the pixels inside it, outermost first (None leaves the fill)."""
    if isinstance(fill, Image.Image):
        body = fill.convert("RGB")
    else:
        body = Image.new("RGB", (w, h), fill)
    img = Image.new("RGB", (w, h), outside)
    mask = rounded_mask(w, h, radius)
    dist = depth(mask)
    src, dst = body.load(), img.load()
    for y in range(h):
        for x in range(w):
            k = dist[y][x]
            if k < 0:
                continue
            dst[x, y] = rings[k] if k < len(rings) and rings[k] is not None else src[x, y]
    return img


def vgrad(w, h, stops):
    img = Image.new("RGB", (w, h))
    vgradient(img, (0, 0, w, h), stops)
    return img


def hgrad(w, h, stops):
    img = Image.new("RGB", (w, h))
    hgradient(img, (0, 0, w, h), stops)
    return img


def strip(frames, vertical=False):
    """Frames side by side (or stacked) in one bitmap, as the skin stores state images."""
    w, h = frames[0].size
    out = Image.new("RGB", (w, h * len(frames)) if vertical else (w * len(frames), h))
    for i, f in enumerate(frames):
        out.paste(f, (0, i * h) if vertical else (i * w, 0))
    return out


def plot(img, pixels, colour, ox=0, oy=0):
    d = ImageDraw.Draw(img)
    for x, y in pixels:
        d.point((ox + x, oy + y), fill=colour)


def arrow(img, cx, cy, direction, colour, size=4):
    """A solid arrow head of `size` rows pointing up/down/left/right, its base centred on cx, cy."""
    d = ImageDraw.Draw(img)
    for i in range(size):
        half = i
        if direction == "up":
            d.line([(cx - half, cy - size // 2 + i), (cx + half, cy - size // 2 + i)], fill=colour)
        elif direction == "down":
            d.line([(cx - half, cy + size // 2 - i), (cx + half, cy + size // 2 - i)], fill=colour)
        elif direction == "left":
            d.line([(cx - size // 2 + i, cy - half), (cx - size // 2 + i, cy + half)], fill=colour)
        else:
            d.line([(cx + size // 2 - i, cy - half), (cx + size // 2 - i, cy + half)], fill=colour)


def rotate(img, direction):
    """Turn a drawing made for 'up' to another direction."""
    return {"up": img, "down": img.transpose(Image.FLIP_TOP_BOTTOM),
            "left": img.transpose(Image.ROTATE_90), "right": img.transpose(Image.ROTATE_270)}[direction]
