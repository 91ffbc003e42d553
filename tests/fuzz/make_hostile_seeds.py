#!/usr/bin/env python3
"""Writes the seeds of the shapes that once broke the skin loader's limits:

- amplification: one 8-bit run-length BMP of 4096 x 4096 whose pixel data is
  a single end-of-bitmap code, named by ButtonImage= in many [Button...]
  sections (a package of a few hundred bytes);
- many sections: a 64 KiB description of about 4,600 small sections, packed
  (some 12 KB) for the package and stream targets; the text targets get 4 KiB
  of the same shape, since every input of a target may grow to the size of
  its largest seed and a large one slows every run;

and a few classify.ini texts, into tests/fuzz/corpus. Packing goes through
the native packer: make_hostile_seeds.py SKINPACK
"""
import os
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "corpus")


def rle_bmp(w, h):
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 1, 2, 0, 0, 1, 0)
    return b"BM" + struct.pack("<IHHI", 60, 0, 0, 58) + info + b"\0\0\0\0" + b"\0\1"


def unpacked(entries):
    """Format mark, directory, size table, entries."""
    directory = "\r\n".join(name for name, _ in entries).encode()
    head = struct.pack("<iiii", 20000, len(directory), 0, 0)
    sizes = b"".join(struct.pack("<i", len(data)) for _, data in entries)
    return head + directory + sizes + b"".join(data for _, data in entries)


def amplifying_description(sections):
    return "".join("[Button%d]\r\nButtonImage=bomb.bmp\r\n" % i for i in range(sections)).encode()


def many_sections(size=64 << 10):
    text = "[TitlebarSkin]\nSkinName=Many\n"
    i = 0
    while len(text) < size - 16:
        text += ("[Button" if i % 2 else "[Font") + str(i) + "]\n" + ("Action=1\n" if i % 4 == 1 else "")
        i += 1
    return text.encode()


def pack(skinpack, data):
    with tempfile.TemporaryDirectory() as tmp:
        src, dst = os.path.join(tmp, "in"), os.path.join(tmp, "out")
        with open(src, "wb") as f:
            f.write(data)
        subprocess.run([skinpack, "encode", src, dst], check=True)
        with open(dst, "rb") as f:
            return f.read()


def packed_for_package_target(skinpack, entries):
    """The package target decodes inputs whose first byte is 3 mod 4: pad the
    description until the unpacked size is."""
    name, text = entries[0]
    while len(unpacked([(name, text)] + entries[1:])) % 4 != 3:
        text += b"\n"
    return pack(skinpack, unpacked([(name, text)] + entries[1:]))


def stream(package):
    return struct.pack("<i", len(package)) + package


def write(target, name, data):
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


CLASSIFY = (
    "[programs]\r\nLabelNum=3\r\nLabel1=\xb0\xec\xb9\xab\r\nLabel2=\xd3\xce\xcf\xb7\r\n"
    "Label3=\"  Tools  \"\r\n[LabelIcon]\r\nLabelIcon0=root.ico\r\nLabelIcon1=office.ico\r\n"
    "LabelIcon2=null\r\n[control]\r\nAllUsersKs=4\r\nAllUsersKsCx=0x1F\r\nCurrentUserKs=-2\r\n"
    "CurrentUserKsCx=2147483648\r\nFenleiJq=1\r\n"
).encode("latin-1")
DUPLICATES = b"; comment\n[programs]\nLabelNum=1\nlabelnum=2\n[control]\nx=1\n[PROGRAMS]\nLabelNum=3\n[]\n=odd\n[unclosed\nk = ' v '\n"


def main():
    skinpack = sys.argv[1]
    bomb = rle_bmp(4096, 4096)
    amplify = [("bomb.ini", amplifying_description(20)), ("bomb.bmp", bomb)]
    many = [("many.ini", many_sections())]

    write("fuzz_bmp", "rle8_4096_end.bmp", bomb)
    write("fuzz_skin_package", "amplify.pkg", unpacked(amplify))
    write("fuzz_skin_package", "amplify.packed", packed_for_package_target(skinpack, amplify))
    write("fuzz_skin_package", "many_sections.packed", packed_for_package_target(skinpack, many))
    write("fuzz_skin_stream", "amplify.stream", stream(pack(skinpack, unpacked(amplify))))
    write("fuzz_skin_stream", "many_sections.stream", stream(pack(skinpack, unpacked(many))))
    write("fuzz_skin_stream", "empty.stream", struct.pack("<i", 0))
    with open(os.path.join(CORPUS, "fuzz_skin_package", "small.packed"), "rb") as f:
        write("fuzz_skin_stream", "small.stream", stream(f.read()) + b"\x99")
    write("fuzz_skin_description", "amplify.ini",
          amplifying_description(20).replace(b"bomb.bmp", b"big.bmp"))
    write("fuzz_skin_description", "many_sections.ini", many_sections(4096))
    write("fuzz_classify_ini", "classify.ini", CLASSIFY)
    write("fuzz_classify_ini", "duplicates.ini", DUPLICATES)
    write("fuzz_classify_ini", "many_sections.ini", many_sections(4096))


if __name__ == "__main__":
    main()
