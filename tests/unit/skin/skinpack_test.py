#!/usr/bin/env python3
"""skinpack end to end: its encoder's output decodes exactly with the
independent reference decoder, and pack / unpack / info / stream agree.

Usage: skinpack_test.py SKINPACK
       skinpack_test.py SKINPACK --shared SHARED_TESTDATA
The second form checks only the reference decoder on the shared samples and
exits with 77 (a skip) when they are not there.
"""
import json
import os
import random
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import lzhuf_reference  # noqa: E402
import make_test_skin  # noqa: E402

failures = []


def expect(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL", what)


def run(*args):
    return subprocess.run([SKINPACK, *args], capture_output=True)


def samples():
    rng = random.Random(11)
    text = b"".join(b"[BUTTON%d]\r\nAction=%d\r\nButtonImage=b%d.bmp\r\n" % (i % 7, i % 5, i)
                    for i in range(900))
    mixed = bytearray()
    while len(mixed) < 60000:
        kind = rng.randrange(3)
        if kind == 0:
            mixed += bytes(rng.randrange(256) for _ in range(200))
        elif kind == 1:
            mixed += bytes([rng.randrange(256)]) * rng.randrange(3, 400)
        else:
            mixed += text[rng.randrange(len(text) - 500):][:rng.randrange(3, 500)]
    return {
        "empty": b"",
        "one byte": b"Q",
        "spaces": b" " * 5000,
        "run": b"\x00" * 70000,
        "random": bytes(rng.randrange(256) for _ in range(8000)),
        "text": text,
        "mixed": bytes(mixed),
    }


SKIPPED = 77


def test_reference_decoder_on_shared_samples(shared):
    folder = os.path.join(shared, "lzhuf")
    if not os.path.isdir(folder):
        print("SKIP shared samples not found at", folder)
        return SKIPPED
    for name in ("text.bin", "spaces.bin", "one.bin", "package.bin", "bitmap24.bmp", "random.bin"):
        packed = open(os.path.join(folder, name + ".lzh"), "rb").read()
        expect(lzhuf_reference.decode(packed) == open(os.path.join(folder, name), "rb").read(),
               "reference decoder on the shared sample " + name)


def test_encode_against_reference(tmp):
    for name, data in samples().items():
        src, packed, back = (os.path.join(tmp, n) for n in ("in", "in.lzh", "out"))
        open(src, "wb").write(data)
        expect(run("encode", src, packed).returncode == 0, "encode " + name)
        stream = open(packed, "rb").read()
        expect(lzhuf_reference.decode(stream) == data, "reference decode of " + name)
        expect(run("decode", packed, back).returncode == 0 and open(back, "rb").read() == data,
               "skinpack decode of " + name)
        if len(data) > 1000 and name != "random":
            expect(len(stream) < len(data) // 2, "%s compresses (%d of %d)" % (name, len(stream), len(data)))


def test_large_round_trip(tmp):
    rng = random.Random(5)
    chunk = bytes(rng.randrange(64) for _ in range(4096))
    data = b"".join(chunk[rng.randrange(2048):] for _ in range(600))
    src, packed, back = (os.path.join(tmp, n) for n in ("big", "big.lzh", "big.out"))
    open(src, "wb").write(data)
    expect(run("encode", src, packed).returncode == 0 and
           run("decode", packed, back).returncode == 0 and open(back, "rb").read() == data,
           "large round trip")


def test_pack_unpack_info(tmp):
    skin = os.path.join(tmp, "skin")
    make_test_skin.main_into(skin)
    package = os.path.join(tmp, "t.skin")
    expect(run("pack", skin, package).returncode == 0, "pack")
    # The reference decoder reads the package too: a plain LZHUF stream.
    unpacked = lzhuf_reference.decode(open(package, "rb").read())
    expect(unpacked[:4] == (20000).to_bytes(4, "little"), "format mark")
    order = open(os.path.join(skin, "order.txt")).read().split()
    directory = unpacked[16:16 + int.from_bytes(unpacked[4:8], "little")].decode()
    expect(directory.split("\r\n")[:-1] == order, "directory in the order of order.txt")

    out = os.path.join(tmp, "unpacked")
    expect(run("unpack", package, out).returncode == 0, "unpack")
    for name in order:
        expect(open(os.path.join(out, name), "rb").read() == open(os.path.join(skin, name), "rb").read(),
               "unpacked " + name)
    expect(open(os.path.join(out, "order.txt")).read().split() == order, "unpack writes order.txt")

    info = run("info", package)
    expect(info.returncode == 0, "info")
    d = json.loads(info.stdout)
    expect(d["name"] == "Corvane Test", "skin name")
    expect(d["colours"]["ButtonFace"] == "0x00D8E9EC", "ButtonFace stored as 0x00BBGGRR")
    expect(d["frames"]["Top"]["margins"] == [20, 0, 20, 0], "Top margins")
    expect(len(d["title_buttons"]) == 5 + 3, "title-bar buttons plus MDI")
    expect(d["title_buttons"][5]["image"] == [40, 14], "MDI slice")
    expect(d["pieces"]["Scrollbar"]["FrameCount"] == 23, "Scrollbar frames")

    # Without order.txt the directory is sorted by name.
    os.remove(os.path.join(skin, "order.txt"))
    expect(run("pack", skin, package).returncode == 0, "pack sorted")
    d = json.loads(run("info", package).stdout)
    names = [e["name"] for e in d["entries"]]
    expect(names == sorted(names), "sorted directory")

    stream = os.path.join(tmp, "SkinStream.bin")
    expect(run("stream", package, stream).returncode == 0, "stream")
    data = open(stream, "rb").read()
    expect(data[4:] == open(package, "rb").read() and
           int.from_bytes(data[:4], "little") == len(data) - 4, "stream layout")


def test_errors(tmp):
    skin = os.path.join(tmp, "bad")
    os.makedirs(skin)
    open(os.path.join(skin, "order.txt"), "w").write("skin.ini\nmissing.bmp\n")
    open(os.path.join(skin, "skin.ini"), "w").write("[TitlebarSkin]\n")
    r = run("pack", skin, os.path.join(tmp, "x"))
    expect(r.returncode != 0 and b"missing.bmp" in r.stderr, "pack reports a missing file")
    open(os.path.join(skin, "order.txt"), "w").write("a.bmp\n")
    open(os.path.join(skin, "a.bmp"), "wb").write(b"BM")
    r = run("pack", skin, os.path.join(tmp, "x"))
    expect(r.returncode != 0 and b".ini" in r.stderr, "pack refuses a package without description")
    open(os.path.join(skin, "order.txt"), "w").write("skin.ini\n")
    open(os.path.join(skin, "skin.ini"), "w").write("[Personality]\nTop=top.BMP\nLeft=gone.bmp\n")
    r = run("pack", skin, os.path.join(tmp, "x"))
    expect(r.returncode == 0 and b"top.BMP" in r.stderr and b"gone.bmp" in r.stderr,
           "pack warns about images the engine would not find")
    junk = os.path.join(tmp, "junk")
    open(junk, "wb").write(b"\xff\xff\xff\x7fabc")
    r = run("info", junk)
    expect(r.returncode != 0 and r.stderr, "info refuses an oversized package")
    r = run("frobnicate")
    expect(r.returncode != 0 and r.stderr, "unknown command")


def main():
    global SKINPACK
    SKINPACK = sys.argv[1]
    if sys.argv[2:3] == ["--shared"]:
        if test_reference_decoder_on_shared_samples(sys.argv[3]) == SKIPPED:
            return SKIPPED
    else:
        with tempfile.TemporaryDirectory() as tmp:
            test_encode_against_reference(tmp)
            test_large_round_trip(tmp)
            test_pack_unpack_info(tmp)
            test_errors(tmp)
    print("%d failed" % len(failures) if failures else "all passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
