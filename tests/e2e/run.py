"""Runs the end-to-end tests (test_*.py here, or the names given) and ends
with the count line the test runner reads; no test found is a failure."""
import os
import sys
import unittest

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, here)
sys.path.insert(0, os.path.dirname(here))
import count  # noqa: E402


def main():
    loader = unittest.TestLoader()
    if len(sys.argv) > 1:
        suite = loader.loadTestsFromNames(sys.argv[1:])
    else:
        suite = loader.discover(here, pattern="test_*.py", top_level_dir=here)
    return count.run_suite("e2e", suite)


if __name__ == "__main__":
    sys.exit(main())
