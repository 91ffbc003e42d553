"""Byte-exact writers for the Windows bitmap and icon files the program embeds.

Written by hand so every field is what old loaders expect (no optional
headers, no colour-space blocks) and the output is the same on every run.
"""
import struct

from PIL import Image


def _row_stride(width, bits):
    return ((width * bits + 31) // 32) * 4


def bmp24(img):
    """A bottom-up 24-bit BMP with a BITMAPINFOHEADER."""
    img = img.convert("RGB")
    w, h = img.size
    stride = _row_stride(w, 24)
    pad = b"\0" * (stride - w * 3)
    raw = img.tobytes("raw", "BGR")
    rows = [raw[y * w * 3:(y + 1) * w * 3] + pad for y in range(h - 1, -1, -1)]
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return head + info + pixels


def bmp1(img):
    """A bottom-up monochrome BMP: palette 0 black, 1 white; any non-white pixel is black."""
    img = img.convert("RGB")
    w, h = img.size
    stride = _row_stride(w, 1)
    px = img.load()
    rows = []
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            if px[x, y] == (255, 255, 255):
                row[x >> 3] |= 0x80 >> (x & 7)
        rows.append(bytes(row))
    pixels = b"".join(rows)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 1, 0, len(pixels), 2835, 2835, 2, 2)
    off = 14 + len(info) + len(palette)
    head = struct.pack("<2sIHHI", b"BM", off + len(pixels), 0, 0, off)
    return head + info + palette + pixels


def _and_mask(alpha, w, h):
    """1 bit per pixel, set where the pixel is transparent; rows bottom-up, 32-bit aligned."""
    stride = _row_stride(w, 1)
    px = alpha.load()
    out = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            if px[x, y] < 128:
                row[x >> 3] |= 0x80 >> (x & 7)
        out += row
    return bytes(out)


def _dib_header(w, h, bits, size, colours=0):
    # Icon DIBs carry twice the height: the colour image and then the AND mask.
    return struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, bits, 0, size, 0, 0, colours, 0)


def _icon32(img):
    w, h = img.size
    raw = img.tobytes("raw", "BGRA")
    xor = b"".join(raw[y * w * 4:(y + 1) * w * 4] for y in range(h - 1, -1, -1))
    mask = _and_mask(img.getchannel("A"), w, h)
    return _dib_header(w, h, 32, len(xor) + len(mask)) + xor + mask


def _icon8(img):
    """256-colour image: opaque pixels quantised to an adaptive palette, clear ones masked."""
    w, h = img.size
    alpha = img.getchannel("A")
    # Give half-transparent edge pixels their colour over white, the usual desktop.
    white = Image.new("RGBA", img.size, (255, 255, 255, 255))
    flat = Image.alpha_composite(white, img).convert("RGB")
    pal_img = flat.quantize(colors=255, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    pal = pal_img.getpalette()[:255 * 3]
    pal += [0] * (255 * 3 - len(pal))
    idx = pal_img.load()
    a = alpha.load()
    stride = _row_stride(w, 8)
    rows = []
    for y in range(h - 1, -1, -1):
        # Index 255 is black: the colour under a masked pixel must be black so
        # the XOR step leaves the desktop as it is.
        row = bytes(255 if a[x, y] < 128 else idx[x, y] for x in range(w))
        rows.append(row + b"\0" * (stride - w))
    xor = b"".join(rows)
    palette = b"".join(bytes((pal[i * 3 + 2], pal[i * 3 + 1], pal[i * 3], 0)) for i in range(255))
    palette += b"\0\0\0\0"
    mask = _and_mask(alpha, w, h)
    return _dib_header(w, h, 8, len(xor) + len(mask), 256) + palette + xor + mask


def ico(images):
    """An .ico file from RGBA images: each size as 32-bit with alpha and as 8-bit with mask."""
    entries = []
    for bits in (32, 8):
        for img in sorted(images, key=lambda i: -i.size[0]):
            data = _icon32(img) if bits == 32 else _icon8(img)
            entries.append((img.size, bits, data))
    offset = 6 + 16 * len(entries)
    head = struct.pack("<HHH", 0, 1, len(entries))
    dirs = b""
    blobs = b""
    for (w, h), bits, data in entries:
        dirs += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, bits, len(data), offset)
        offset += len(data)
        blobs += data
    return head + dirs + blobs
