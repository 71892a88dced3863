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
  # Its tests are listed only where this machine runs 32-bit programs; the answer is the
  # machine's own, whatever QDX_WINE_ARCH forces for this run.
  win32)
    runs=OFF
    [ "$(QDX_WINE_ARCH='' "$ROOT/scripts/wine-arch.sh")" = win32 ] && runs=ON
    args=(-DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -DQDX_WINE_RUNS_TESTS=$runs) ;;
  # The 64-bit build keeps its programs apart from the product's build/bin.
  win64) args=(-DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-x86_64.cmake"
               -DQDX_BIN_DIR="$ROOT/build/bin64") ;;
  *) echo "unknown build: $kind" >&2; exit 2 ;;
esac
# Configured again when the machine changed under a kept build folder.
if [ ! -f "$dir/CMakeCache.txt" ] ||
   { [ "$kind" = win32 ] && ! grep -qx "QDX_WINE_RUNS_TESTS:BOOL=$runs" "$dir/CMakeCache.txt"; }; then
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
