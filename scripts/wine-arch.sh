#!/usr/bin/env bash
# Prints the Wine architecture the Windows tests and the run use: win32 where this machine can
# run 32-bit programs, win64 where its kernel cannot (every i386 program, the 32-bit Wine loader
# included, then fails with "Exec format error"). QDX_WINE_ARCH=win32 or win64 forces one.
# The answer comes from running a tiny 32-bit program, not from guessing by the kernel.
set -u
case "${QDX_WINE_ARCH:-}" in
  win32 | win64) echo "$QDX_WINE_ARCH"; exit 0 ;;
  "") ;;
  *) echo "QDX_WINE_ARCH must be win32 or win64, not '$QDX_WINE_ARCH'" >&2; exit 2 ;;
esac
# The probe lies in the build folder, where the tests' programs run too.
build="$(cd "$(dirname "$0")/.." && pwd)/build"
mkdir -p "$build"
probe=$(mktemp "$build/i386-probe.XXXXXX")
trap 'rm -f "$probe"' EXIT
# A static i386 ELF whose only instructions are exit(0) through int 0x80.
printf '\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5d\x00\x00\x00\x5d\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\x31\xdb\xcd\x80' >"$probe"
chmod +x "$probe"
if "$probe" >/dev/null 2>&1; then echo win32; else echo win64; fi
