#!/usr/bin/env python3
"""Writes BMP test files and ImageMagick's decoding of each.

Usage: make_bmp_samples.py OUTDIR [EXTRA.bmp ...]

ImageMagick writes the common variants; the rest (top-down, the 52- and
56-byte headers, RLE4, RLE8 with deltas and absolute runs, 16- and 32-bit
BI_RGB) are made here from its output. For every NAME.bmp, NAME.rgba holds
ImageMagick's pixels (8-bit RGBA, top row first) and manifest.txt lists
"NAME WIDTH HEIGHT ALPHA".
"""
import os
import struct
import subprocess
import sys

W, H = 13, 7  # odd width: every depth needs row padding


def full_colour():
    return [((x * 19 + y * 7) & 255, (x * 5 + y * 37) & 255, (x * y * 11 + 40) & 255)
            for y in range(H) for x in range(W)]


PALETTE12 = [(0, 0, 0), (255, 255, 255), (255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 0, 255),
             (10, 120, 200), (240, 200, 30), (90, 90, 90), (200, 100, 50), (30, 60, 90),
             (128, 255, 128)]


def few_colour(n):
    return [PALETTE12[((x // 2) + y) % n] for y in range(H) for x in range(W)]


def write_ppm(path, pixels):
    with open(path, "wb") as f:
        f.write(b"P6 %d %d 255\n" % (W, H))
        f.write(bytes(c for p in pixels for c in p))


def convert(*args):
    subprocess.run(["convert", *args], check=True, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL)


def parse(path):
    data = open(path, "rb").read()
    hs = struct.unpack_from("<I", data, 14)[0]
    off = struct.unpack_from("<I", data, 10)[0]
    return data, hs, off


def file_header(size, off):
    return b"BM" + struct.pack("<IHHI", size, 0, 0, off)


def info_header(size, w, h, bpp, compression, image_size, colours=0, masks=()):
    hdr = struct.pack("<IiiHHIIiiII", size, w, h, 1, bpp, compression, image_size, 2835, 2835,
                      colours, 0)
    hdr += b"".join(struct.pack("<I", m) for m in masks)
    return hdr + b"\0" * (size - len(hdr))


def rows_of(pixels):
    return [pixels[y * W:(y + 1) * W] for y in range(H)]


def pad(row):
    return row + b"\0" * (-len(row) % 4)


def bmp(header_size, bpp, compression, body, masks=(), palette=b"", colours=0, height=H,
        extra=b""):
    off = 14 + header_size + len(extra) + len(palette)
    hdr = info_header(header_size, W, height, bpp, compression, len(body), colours, masks)
    return file_header(off + len(body), off) + hdr + extra + palette + body


def rle4(indices):
    """Runs where pixels repeat, absolute runs elsewhere; rows end with 0 0."""
    out = bytearray()
    for row in reversed(rows_of(indices)):
        x = 0
        while x < W:
            n = 1
            while x + n < W and n < 255 and row[x + n] == row[x + (n % 2)]:
                n += 1
            if n >= 4:
                out += bytes([n, row[x] << 4 | row[x + 1 if x + 1 < W else x]])
                x += n
                continue
            n = min(W - x, 6)
            if n < 3:
                out += bytes([n, row[x] << 4 | (row[x + 1] if n > 1 else 0)])
                x += n
                continue
            nib = row[x:x + n] + [0]
            chunk = bytes(nib[i] << 4 | nib[i + 1] for i in range(0, n, 2))
            out += bytes([0, n]) + chunk + b"\0" * (len(chunk) & 1)
            x += n
        out += b"\0\0"
    return bytes(out[:-2] + b"\0\1")


def rle8_with_skips(indices):
    """Absolute runs, a delta over the last row's tail and the image's top."""
    out = bytearray()
    rows = list(reversed(rows_of(indices)))
    for y, row in enumerate(rows):
        if y == 1:  # a whole skipped row: delta down one
            out += bytes([0, 2, 0, 1])
            continue
        out += bytes([0, 5]) + bytes(row[:5]) + b"\0"
        out += bytes([W - 5, row[5]])
        out += b"\0\0"
    return bytes(out + b"\0\1")


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    made = []
    full = os.path.join(out, "full.ppm")
    few = os.path.join(out, "few.ppm")
    write_ppm(full, full_colour())
    write_ppm(few, few_colour(12))
    write_ppm(os.path.join(out, "two.ppm"), few_colour(2))
    write_ppm(os.path.join(out, "many.ppm"),
              [((x * 40) & 255, (y * 40) & 255, 128) for y in range(H) for x in range(W)])

    def im_to(name, src, fmt, *opts):
        convert(os.path.join(out, src), *opts, fmt + ":" + os.path.join(out, name + ".bmp"))
        made.append(name)

    im_to("rgb24_v3", "full.ppm", "BMP3", "-type", "TrueColor")
    im_to("rgb24_core", "full.ppm", "BMP2", "-type", "TrueColor")
    im_to("rgb24_v5", "full.ppm", "BMP", "-type", "TrueColor")
    im_to("argb32_v5", "full.ppm", "BMP", "-alpha", "set", "-channel", "A", "-fx",
          "(i+j)/20", "-type", "TrueColorAlpha")
    im_to("rgb565", "full.ppm", "BMP", "-type", "TrueColor", "-define", "bmp:subtype=RGB565")
    im_to("rgb555", "full.ppm", "BMP", "-type", "TrueColor", "-define", "bmp:subtype=RGB555")
    im_to("pal8", "many.ppm", "BMP3", "-type", "Palette", "-compress", "None")
    im_to("pal8_core", "few.ppm", "BMP2", "-type", "Palette")
    im_to("rle8", "few.ppm", "BMP3", "-type", "Palette", "-compress", "RLE")
    im_to("pal4", "few.ppm", "BMP3", "-type", "Palette", "-colors", "12", "-define",
          "bmp:format=bmp3")
    im_to("pal1", "two.ppm", "BMP3", "-type", "Bilevel")

    # Variants made here from the 24-bit pixels.
    data, hs, off = parse(os.path.join(out, "rgb24_v3.bmp"))
    stride = (W * 3 + 3) // 4 * 4
    rows = [data[off + y * stride: off + y * stride + W * 3] for y in range(H)]  # bottom-up
    pix = [[(r[3 * x + 2], r[3 * x + 1], r[3 * x]) for x in range(W)] for r in rows]

    def save(name, content):
        open(os.path.join(out, name + ".bmp"), "wb").write(content)
        made.append(name)

    save("rgb24_topdown", bmp(40, 24, 0, b"".join(pad(r) for r in reversed(rows)), height=-H))
    save("rgb32_rgb", bmp(40, 32, 0, b"".join(bytes(c for p in row for c in (p[2], p[1], p[0], 0x7F))
                                              for row in pix)))
    b555 = lambda p: struct.pack("<H", (p[0] >> 3) << 10 | (p[1] >> 3) << 5 | p[2] >> 3)
    b565 = lambda p: struct.pack("<H", (p[0] >> 3) << 11 | (p[1] >> 2) << 5 | p[2] >> 3)
    save("rgb16_rgb", bmp(40, 16, 0, b"".join(pad(b"".join(b555(p) for p in r)) for r in pix)))
    m565 = (0xF800, 0x07E0, 0x001F)
    body565 = b"".join(pad(b"".join(b565(p) for p in r)) for r in pix)
    save("bf16_v3mask", bmp(40, 16, 3, body565, extra=b"".join(struct.pack("<I", m) for m in m565)))
    save("bf16_v52", bmp(52, 16, 3, body565, masks=m565))
    save("bf16_v56", bmp(56, 16, 3, body565, masks=m565 + (0,)))
    m32 = (0x000000FF, 0x0000FF00, 0x00FF0000)  # blue-red swapped layout
    save("bf32_swapped", bmp(40, 32, 3, b"".join(bytes(c for p in row for c in (p[0], p[1], p[2], 0))
                                                 for row in pix),
                             extra=b"".join(struct.pack("<I", m) for m in m32)))
    save("rgb24_v4", bmp(108, 24, 0, b"".join(pad(r) for r in rows)))
    save("rgb24_topdown_v5", bmp(124, 24, 0, b"".join(pad(r) for r in reversed(rows)), height=-H))

    # Palette variants made here.
    indices = [PALETTE12.index(p) for p in few_colour(12)]
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE12) + b"\0" * 16
    save("rle4", bmp(40, 4, 2, rle4(indices), palette=pal, colours=16))
    pal256 = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE12)
    save("rle8_skips", bmp(40, 8, 1, rle8_with_skips(indices), palette=pal256, colours=12))

    for extra in sys.argv[2:]:
        if os.path.exists(extra):
            name = os.path.splitext(os.path.basename(extra))[0]
            open(os.path.join(out, name + ".bmp"), "wb").write(open(extra, "rb").read())
            made.append(name)

    with open(os.path.join(out, "manifest.txt"), "w") as m:
        for name in made:
            path = os.path.join(out, name)
            convert(path + ".bmp", "-depth", "8", "rgba:" + path + ".rgba")
            alpha = 1 if name.startswith("argb") else 0
            size = subprocess.run(["identify", "-format", "%w %h", path + ".bmp"], check=True,
                                  capture_output=True, text=True).stdout.split()
            m.write("%s %s %s %d\n" % (name, size[0], size[1], alpha))
    for f in ("full.ppm", "few.ppm", "two.ppm", "many.ppm"):
        os.remove(os.path.join(out, f))


if __name__ == "__main__":
    main()
