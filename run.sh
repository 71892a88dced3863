#!/usr/bin/env bash
# Builds and runs the launcher under Wine, in a run folder of its own (build/run) that keeps
# the user's settings between runs. Without a display it runs on a virtual one, saves a
# screenshot to build/screenshot.png and closes the program as a user would.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")" && pwd)
cd "$ROOT"

"$ROOT/scripts/install-deps.sh"
. "$ROOT/scripts/wine-env.sh"
echo "== building"
"$ROOT/scripts/build.sh" win32
if [ "$QDX_WINDOWS_BUILD" != win32 ]; then
  # This machine cannot run the 32-bit program: run the 64-bit build of the same sources.
  echo "wine: running the 64-bit build ($QDX_WINE_ARCH)"
  "$ROOT/scripts/build.sh" "$QDX_WINDOWS_BUILD"
fi

RUN_DIR="$ROOT/build/run"
mkdir -p "$RUN_DIR"
cp "$QDX_WINDOWS_BIN/QDX.exe" "$QDX_WINDOWS_BIN/QDX.chm" "$RUN_DIR/"
if [ -x "$ROOT/scripts/make-demo.sh" ] && [ ! -f "$RUN_DIR/qdx.ini" ]; then
  "$ROOT/scripts/make-demo.sh" "$RUN_DIR"
fi

headless=0
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then headless=1; fi
qdx_start_display
qdx_ensure_prefix
qdx_start_wine
cleanup() {
  qdx_stop_wine
  qdx_stop_display
}
trap cleanup EXIT

if [ $headless -eq 0 ]; then
  echo "== running $RUN_DIR/QDX.exe on $DISPLAY (close its window to end)"
  qdx_wine "$RUN_DIR/QDX.exe" >"$ROOT/build/run.log" 2>&1
  exit 0
fi

echo "== no display: running $RUN_DIR/QDX.exe on a virtual one ($DISPLAY)"
qdx_wine "$RUN_DIR/QDX.exe" >"$ROOT/build/run.log" 2>&1 &
program=$!
qdx_wine "$QDX_WINDOWS_BIN/qdxctl.exe" wait 30
sleep 1
import -window root "$ROOT/build/screenshot.png"
echo "screenshot: build/screenshot.png"
qdx_wine "$QDX_WINDOWS_BIN/qdxctl.exe" close 30
wait "$program"
