#!/usr/bin/env bash
# Which Wine the suites run: prints "win32" or "win64" on stdout and one line
# saying why on stderr.
#   CORVANE_WINE_ARCH=win32|win64 forces either.
# win32 needs a kernel that executes 32-bit x86 programs itself; a binfmt
# handler that would run the loader under an emulator does not count.
set -u

ia32_handled_by_binfmt() {
  local f
  for f in /proc/sys/fs/binfmt_misc/*; do
    [ -f "$f" ] || continue
    case $(basename "$f") in register|status) continue ;; esac
    grep -qx enabled "$f" 2>/dev/null || continue
    # ELF, 32-bit, little-endian, machine 3 (i386)
    grep -q '^magic 7f454c4601010100000000000000000002000300' "$f" 2>/dev/null && return 0
  done
  return 1
}

case ${CORVANE_WINE_ARCH:-} in
  win32|win64)
    echo "bench: Wine architecture $CORVANE_WINE_ARCH (forced by CORVANE_WINE_ARCH)" >&2
    echo "$CORVANE_WINE_ARCH"; exit 0 ;;
  "") ;;
  *) echo "bench: CORVANE_WINE_ARCH must be win32 or win64, not '$CORVANE_WINE_ARCH'" >&2; exit 2 ;;
esac

if ia32_handled_by_binfmt; then
  echo "bench: Wine architecture win64 (32-bit programs here would run under a binfmt emulator)" >&2
  echo win64
elif out=$(/usr/lib/wine/wine --version 2>&1 </dev/null) && [ -n "$out" ]; then
  echo "bench: Wine architecture win32 (this machine runs the 32-bit loader: $out)" >&2
  echo win32
else
  echo "bench: Wine architecture win64 (the 32-bit loader does not run here: ${out##*/wine: })" >&2
  echo win64
fi
