"""The prefix's registry seen from outside, through Wine's own reg.exe: values
are seeded with "reg add" and read back from "reg export" files (UTF-16, so
Chinese texts come back whole; never through a pipe, see harness.py)."""
import os
import subprocess
import tempfile
import time

from harness import DRIVE_C, wine_env

ROOTS = {"HKCU": "HKEY_CURRENT_USER", "HKLM": "HKEY_LOCAL_MACHINE", "HKCR": "HKEY_CLASSES_ROOT"}


class RegToolFailed(AssertionError):
    """reg.exe failed on a key that is there, or could not tell: never read as
    "the key is absent"."""


def _reg(*args, timeout=60, out=None):
    return subprocess.run(["wine", "reg", *args], stdin=subprocess.DEVNULL,
                          stdout=out or subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                          env=wine_env(), timeout=timeout).returncode


def subkeys(key):
    """The names of the keys right below KEY, which must be there: read with
    "reg query" into a file (asked twice: on a loaded machine reg.exe now and
    then fails on a key that is there)."""
    for attempt in range(2):
        with tempfile.TemporaryFile() as out:
            rc = _reg("query", key, out=out)
            out.seek(0)
            raw = out.read()
        if rc == 0 and raw:
            break
        time.sleep(0.5)
    try:
        text = raw.decode("utf-8")
    except UnicodeDecodeError:
        text = raw.decode("gbk", "replace")
    if rc != 0:
        raise RegToolFailed(f"reg query {key} failed with {rc}")
    # reg query starts every answer with a line break, even for a key with
    # nothing in it: no byte at all is no answer.
    if not raw:
        raise RegToolFailed(f"reg query {key} printed nothing")
    full = _long_name(key).lower() + "\\"
    return {line.strip()[len(full):].lower() for line in text.splitlines()
            if line.strip().lower().startswith(full) and "\\" not in line.strip()[len(full):]}


def _long_name(key):
    root, _, rest = key.partition("\\")
    return ROOTS.get(root.upper(), root) + ("\\" + rest if rest else "")


def absent(key):
    """True when KEY is not there, told from its parent's list of subkeys (or
    its parent's own absence); a root is always there."""
    parent, _, child = key.rpartition("\\")
    if not parent:
        return False
    try:
        return child.lower() not in subkeys(parent)
    except RegToolFailed:
        if absent(parent):
            return True
        raise


def add_key(key):
    """An empty key. Wine's "reg add KEY" would give it an empty default value."""
    assert _reg("add", key, "/v", "corvane-probe", "/f") == 0, key
    assert _reg("delete", key, "/v", "corvane-probe", "/f") == 0, key


def add(key, name, kind, data):
    """kind: REG_DWORD, REG_SZ, REG_BINARY...; name "" is the default value."""
    args = ["add", key, "/ve" if name == "" else "/v"] + ([] if name == "" else [name])
    assert _reg(*args, "/t", kind, "/d", str(data), "/f") == 0, (key, name)


def delete_key(key):
    """KEY and everything below it gone; a key that was not there is fine, one
    that stays is an error."""
    for attempt in range(2):
        _reg("delete", key, "/f")
        if absent(key):
            return
    raise RegToolFailed(f"reg delete {key} left the key there")


def delete_value(key, name):
    """One value gone from KEY; checked, not assumed."""
    if name in (values(key) or {}):
        if _reg("delete", key, "/v", name, "/f") != 0 or name in values(key):
            raise RegToolFailed(f"reg delete {key} /v {name} failed")


def _parse_string(text):
    out, i = [], 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            out.append(text[i + 1])
            i += 2
        else:
            out.append(text[i])
            i += 1
    return "".join(out)


def export(key):
    """{key path: {value name: (type, data)}} for the key and everything below
    it, or None when the key is not there (reg.exe failing on a key that is
    there raises RegToolFailed). Paths come back with the short root
    name ("HKCU\\..."), the default value as "", types as "dword", "sz" or
    "hex(N)"/"hex" with the raw bytes."""
    fd, path = tempfile.mkstemp(suffix=".reg", dir=DRIVE_C)
    os.close(fd)
    try:
        if _reg("export", key, "C:\\" + os.path.basename(path), "/y") != 0:
            if absent(key):
                return None
            raise RegToolFailed(f"reg export {key} failed, and the key is there")
        with open(path, "rb") as f:
            raw = f.read()
    finally:
        os.unlink(path)
    text = raw.decode("utf-16") if raw[:2] in (b"\xff\xfe", b"\xfe\xff") else raw.decode("utf-8")
    text = text.replace("\\\r\n  ", "").replace("\\\n  ", "")
    long_roots = {v: k for k, v in ROOTS.items()}
    keys, current = {}, None
    for line in text.splitlines():
        line = line.strip()
        if line.startswith("[") and line.endswith("]"):
            name = line[1:-1]
            root, _, rest = name.partition("\\")
            current = long_roots.get(root, root) + ("\\" + rest if rest else "")
            keys[current] = {}
            continue
        if current is None or "=" not in line or line.startswith("Windows Registry"):
            continue
        if line.startswith("@="):
            name, data = "", line[2:]
        else:
            end = 1
            while line[end] != '"':
                end += 2 if line[end] == "\\" else 1
            name, data = _parse_string(line[1:end]), line[end + 2:]
        if data.startswith('"'):
            keys[current][name] = ("sz", _parse_string(data[1:-1]))
        elif data.startswith("dword:"):
            keys[current][name] = ("dword", int(data[6:], 16))
        else:
            kind, _, hexdata = data.partition(":")
            keys[current][name] = (kind, bytes(int(b, 16) for b in hexdata.split(",") if b))
    return keys


def values(key):
    """The values of one key (not below it), or None when it is not there."""
    keys = export(key)
    if keys is None:
        return None
    root, _, rest = key.partition("\\")
    for path, vals in keys.items():
        if path.lower() == (root + "\\" + rest).lower():
            return vals
    return {}
