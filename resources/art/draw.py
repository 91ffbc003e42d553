"""Drawing helpers shared by the icons, the Start-menu picture and the skin."""
from PIL import Image, ImageDraw, ImageFont

FONT_PATH = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"
MAGENTA = (255, 0, 255)
CREAM = (255, 251, 240)

_fonts = {}


def font(size=12):
    if size not in _fonts:
        _fonts[size] = ImageFont.truetype(FONT_PATH, size)
    return _fonts[size]


def rgb_text(c):
    """A colour as the description writes it: three decimal numbers."""
    return "%d %d %d" % c


def mix(a, b, t):
    """Linear blend of two colours, t = 0 gives a."""
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(len(a)))


def vgradient(img, box, stops):
    """Fill box (x0, y0, x1, y1, exclusive ends) row by row through colour stops [(pos, colour)]."""
    x0, y0, x1, y1 = box
    d = ImageDraw.Draw(img)
    n = max(1, y1 - y0 - 1)
    for y in range(y0, y1):
        d.line([(x0, y), (x1 - 1, y)], fill=at(stops, (y - y0) / n))


def hgradient(img, box, stops):
    x0, y0, x1, y1 = box
    d = ImageDraw.Draw(img)
    n = max(1, x1 - x0 - 1)
    for x in range(x0, x1):
        d.line([(x, y0), (x, y1 - 1)], fill=at(stops, (x - x0) / n))


def at(stops, t):
    """The colour at t (0..1) along the stops."""
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, 0 if p1 == p0 else (t - p0) / (p1 - p0))
    return stops[-1][1]


def text(img, xy, s, colour, size=12, bold=False, anchor="la"):
    """Text in the CJK face; bold is faked by a second pass one pixel right, as the face has no bold."""
    d = ImageDraw.Draw(img)
    d.fontmode = "L"
    f = font(size)
    d.text(xy, s, fill=colour, font=f, anchor=anchor)
    if bold:
        d.text((xy[0] + 1, xy[1]), s, fill=colour, font=f, anchor=anchor)


def text_width(s, size=12, bold=False):
    return int(font(size).getlength(s)) + (1 if bold else 0)


class Vector:
    """An RGBA drawing in a unit grid of `units` cells, rendered supersampled then reduced.

    Coordinates are in grid units so the same drawing serves 16, 32 and 48 pixels.
    """

    SS = 4

    def __init__(self, size, units=16):
        self.size = size
        self.k = size * self.SS / units
        self.img = Image.new("RGBA", (size * self.SS, size * self.SS), (0, 0, 0, 0))
        self.d = ImageDraw.Draw(self.img)

    def _p(self, pts):
        return [(x * self.k, y * self.k) for x, y in pts]

    def _w(self, w):
        return max(1, int(round(w * self.k)))

    def rect(self, box, fill=None, outline=None, width=1, radius=0):
        x0, y0, x1, y1 = box
        b = [x0 * self.k, y0 * self.k, x1 * self.k - 1, y1 * self.k - 1]
        if radius:
            self.d.rounded_rectangle(b, radius=radius * self.k, fill=fill, outline=outline,
                                     width=self._w(width) if outline else 0)
        else:
            self.d.rectangle(b, fill=fill, outline=outline, width=self._w(width) if outline else 0)

    def ellipse(self, box, fill=None, outline=None, width=1):
        x0, y0, x1, y1 = box
        self.d.ellipse([x0 * self.k, y0 * self.k, x1 * self.k - 1, y1 * self.k - 1], fill=fill,
                       outline=outline, width=self._w(width) if outline else 0)

    def poly(self, pts, fill=None, outline=None, width=1):
        self.d.polygon(self._p(pts), fill=fill)
        if outline:
            self.line(list(pts) + [pts[0]], outline, width)

    def line(self, pts, colour, width=1):
        self.d.line(self._p(pts), fill=colour, width=self._w(width), joint="curve")

    def arc(self, box, start, end, colour, width=1):
        x0, y0, x1, y1 = box
        self.d.arc([x0 * self.k, y0 * self.k, x1 * self.k - 1, y1 * self.k - 1], start, end,
                   fill=colour, width=self._w(width))

    def vgrad_rect(self, box, top, bottom, radius=0):
        """A rectangle filled with a vertical gradient (drawn through a mask)."""
        x0, y0, x1, y1 = [int(round(v * self.k)) for v in box]
        grad = Image.new("RGBA", (x1 - x0, y1 - y0))
        vgradient(grad, (0, 0, x1 - x0, y1 - y0), [(0, top + (255,)), (1, bottom + (255,))])
        mask = Image.new("L", grad.size, 0)
        ImageDraw.Draw(mask).rounded_rectangle([0, 0, grad.size[0] - 1, grad.size[1] - 1],
                                               radius=radius * self.k, fill=255)
        self.img.paste(grad, (x0, y0), mask)

    def result(self):
        return self.img.resize((self.size, self.size), Image.BOX)


def paste_over(dst, src, xy):
    """Alpha-composite an RGBA image onto an RGB or RGBA image at xy."""
    if dst.mode == "RGBA":
        dst.alpha_composite(src, xy)
    else:
        dst.paste(src, xy, src)
