#!/usr/bin/env bash
# Configures (once) and builds one of the builds: native, win32 (the product) or win64 (the
# same sources for 64-bit Wine, where 32-bit programs cannot run).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
kind=${1:?native, win32 or win64}
dir="$ROOT/build/$kind"
jobs=${QDX_JOBS:-2}
case "$kind" in
  native) args=() ;;
  win32) args=(-DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake") ;;
  # The 64-bit build keeps its programs apart from the product's build/bin.
  win64) args=(-DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-x86_64.cmake"
               -DQDX_BIN_DIR="$ROOT/build/bin64") ;;
  *) echo "unknown build: $kind" >&2; exit 2 ;;
esac
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S "$ROOT" -B "$dir" "${args[@]}" >/dev/null
fi
log="$dir/build.log"
if cmake --build "$dir" -j "$jobs" >"$log" 2>&1; then
  # Warnings are shown even when the build succeeds.
  grep -E 'warning:' "$log" || true
else
  grep -vE '^\[ *[0-9]+%\]' "$log" | tail -60
  echo "build ($kind) failed" >&2
  exit 1
fi
