#!/usr/bin/env python3
"""Keeps the layers of src/ as docs/ARCHITECTURE.md draws them, from the
#include lines alone.

  check_includes.py [SRC_DIR]

One check per rule; each prints the lines that break it, then the count line
"N passed, M failed, K skipped". A rule that finds no file to look at fails:
a tree that moved away must not pass as a clean one.
"""
import pathlib
import re
import sys

FEATURES = ("settings", "categories", "setup", "strip", "journal")
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.M)


def portable(rel):
    """Whether a file builds natively: nothing under a win32 folder."""
    return "win32" not in rel.parts[:-1]


def top(rel):
    return rel.parts[0]


def includes(path):
    return INCLUDE.findall(path.read_text(encoding="utf-8", errors="replace"))


def quoted_folder(name):
    return name.split("/")[0] if "/" in name else None


def main():
    src = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "src")
    files = sorted(p for p in src.rglob("*") if p.suffix in (".h", ".cpp"))
    table = [(p.relative_to(src), includes(p)) for p in files]

    def rule(name, applies, broken):
        """broken(rel, kind, name) says why an include breaks the rule, or None."""
        seen = [(rel, incs) for rel, incs in table if applies(rel)]
        if not seen:
            return name, [f"no file under {src} to check"]
        bad = []
        for rel, incs in seen:
            for kind, inc in incs:
                why = broken(rel, kind, inc)
                if why:
                    close = ">" if kind == "<" else '"'
                    bad.append(f"{rel}: #include {kind}{inc}{close} ({why})")
        return name, bad

    def feature_reaches_out(rel, kind, inc):
        folder = quoted_folder(inc) if kind == '"' else None
        if folder == "app":
            return "a feature is wired by app/, never the other way"
        if folder in FEATURES and folder != top(rel):
            return "a feature never includes another feature"
        return None

    def system_header(rel, kind, inc):
        if kind == "<" and inc.endswith(".h"):
            return "portable code includes only the C++ library"
        if kind == '"' and "/win32/" in f"/{inc}":
            return "portable code includes no Win32 half"
        return None

    def only(allowed):
        def check(rel, kind, inc):
            folder = quoted_folder(inc) if kind == '"' else None
            if folder and folder not in allowed:
                return f"{top(rel)}/ may include only {', '.join(allowed)}"
            return None
        return check

    results = [
        rule("features include neither app/ nor each other",
             lambda r: top(r) in FEATURES, feature_reaches_out),
        rule("portable code includes no Windows header",
             portable, system_header),
        rule("the core includes only the core",
             lambda r: top(r) == "core", only(("core",))),
        rule("the portable skin includes only the core and itself",
             lambda r: top(r) == "skin" and portable(r), only(("core", "skin"))),
        rule("the portable control library includes only the core and itself",
             lambda r: top(r) == "ui" and portable(r), only(("core", "ui"))),
    ]
    passed = failed = 0
    for name, bad in results:
        if bad:
            failed += 1
            print(f"FAIL: {name}")
            for line in bad:
                print(f"  {line}")
        else:
            passed += 1
            print(f"ok: {name}")
    print(f"{len(files)} files read under {src}")
    print(f"{passed} passed, {failed} failed, 0 skipped")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
