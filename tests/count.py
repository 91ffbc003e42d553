#!/usr/bin/env python3
"""The count line every suite ends with: "N passed, M failed, K skipped".

  count.py ctest JUNIT.xml BUILD_DIR   counts CTest's JUnit report
  count.py unittest FILE.py ...        runs Python unittest files and counts them

Skipped tests are counted as skipped, each with a "SKIP name: reason" line.
A run in which no test passed or failed, and a test program that registered
no test at all, each count as a failure, with a line saying so.
"""
import glob
import importlib.util
import os
import re
import sys
import unittest
import xml.etree.ElementTree as ET


def count_line(passed, failed, skipped):
    return f"{passed} passed, {failed} failed, {skipped} skipped"


def finish(name, passed, failed, skipped, problems=()):
    """Prints the problems, each counted as a failure, and the count line."""
    problems = list(problems)
    if passed + failed == 0:
        problems.append("no test ran")
    for p in problems:
        print(f"{name}: {p}")
    failed += len(problems)
    print(count_line(passed, failed, skipped))
    return 1 if failed else 0


# --- CTest ---------------------------------------------------------------------

def skip_reason(out):
    """The message GoogleTest prints after "file:line: Skipped", or a line
    beginning with SKIP from any other program."""
    lines = (out or "").splitlines()
    for i, line in enumerate(lines):
        if line.endswith(": Skipped") and i + 1 < len(lines):
            return lines[i + 1].strip()
        if line.startswith("SKIP"):
            return line[4:].strip(" :")
    return "no reason given"


def skip_message(case):
    s = case.find("skipped")
    return "" if s is None else s.get("message", "")


def programs_without_tests(build):
    """GoogleTest programs whose test list came out empty: CTest just runs the
    others, so the program's cases would vanish from the count unnoticed."""
    empty = []
    for testfile in glob.glob(os.path.join(build, "**", "CTestTestfile.cmake"), recursive=True):
        with open(testfile, encoding="utf-8", errors="replace") as f:
            text = f.read()
        for inc in re.findall(r'include\("([^"]+)_include\.cmake"\)', text):
            listed = inc + "_tests.cmake"
            name = os.path.basename(inc).replace("[1]", "")
            if not os.path.exists(listed):
                continue  # CTest itself reports the program as not built
            with open(listed, encoding="utf-8", errors="replace") as f:
                if "add_test(" not in f.read():
                    empty.append(name)
    return sorted(empty)


def ctest(junit, build):
    passed = failed = skipped = 0
    problems = []
    try:
        cases = ET.parse(junit).getroot().iter("testcase")
    except (OSError, ET.ParseError) as e:
        cases = []
        problems.append(f"no report from CTest ({e})")
    for case in cases:
        status = case.get("status")
        name = case.get("name")
        if status == "run":
            passed += 1
        elif status == "disabled":
            skipped += 1
            print(f"SKIP {name}: disabled")
        elif status == "notrun" and skip_message(case).startswith("SKIP_"):
            # A skip the test itself asked for (SKIP_REGULAR_EXPRESSION or
            # SKIP_RETURN_CODE); a program that could not be started is a failure.
            skipped += 1
            print(f"SKIP {name}: {skip_reason(case.findtext('system-out'))}")
        else:
            failed += 1
            print(f"FAILED {name} ({status})")
    for program in programs_without_tests(build):
        problems.append(f"the test program {program} has no tests")
    return finish("ctest", passed, failed, skipped, problems)


# --- Python unittest -------------------------------------------------------------

def load(path):
    folder = os.path.dirname(os.path.abspath(path))
    if folder not in sys.path:
        sys.path.insert(0, folder)
    name = os.path.splitext(os.path.basename(path))[0]
    found = importlib.util.spec_from_file_location(name, path)
    module = importlib.util.module_from_spec(found)
    sys.modules[name] = module
    found.loader.exec_module(module)
    return unittest.defaultTestLoader.loadTestsFromModule(module)


def run_suite(name, suite):
    """Runs a unittest suite verbosely and ends with the count line; the
    exit status for the suite script."""
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    failed = len(result.failures) + len(result.errors) + len(result.unexpectedSuccesses)
    skipped = len(result.skipped)
    for test, reason in result.skipped:
        print(f"SKIP {test.id()}: {reason}")
    sys.stdout.flush()
    return finish(name, result.testsRun - failed - skipped, failed, skipped)


def main(argv):
    if len(argv) == 4 and argv[1] == "ctest":
        return ctest(argv[2], argv[3])
    if len(argv) >= 3 and argv[1] == "unittest":
        suite = unittest.TestSuite(load(p) for p in argv[2:])
        return run_suite(os.path.basename(argv[2]), suite)
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
