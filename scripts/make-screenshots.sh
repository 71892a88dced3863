#!/usr/bin/env bash
# Makes the pictures of the README from the real program under a virtual display: the demo
# catalogue in the standard style, the same in the tall style, and the background colour
# dialog. They go to docs/ and can be made again at any time.
# Usage: scripts/make-screenshots.sh
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"

. "$ROOT/scripts/wine-env.sh"
"$ROOT/scripts/build.sh" win32
if [ "$QDX_WINDOWS_BUILD" != win32 ]; then "$ROOT/scripts/build.sh" "$QDX_WINDOWS_BUILD"; fi

# A fresh folder each time, so that the pictures never show a user's own settings.
RUN_DIR="$ROOT/build/screenshots"
rm -rf "$RUN_DIR"
mkdir -p "$RUN_DIR" "$ROOT/docs"
cp "$QDX_WINDOWS_BIN/QDX.exe" "$RUN_DIR/QDX.exe"
"$ROOT/scripts/make-demo.sh" "$RUN_DIR"

# A display of our own even when there is one: the pictures must not show other windows.
saved_display=${DISPLAY:-}
unset DISPLAY
qdx_start_display
qdx_ensure_prefix
qdx_start_wine
cleanup() {
  qdx_stop_wine
  qdx_stop_display
  if [ -n "$saved_display" ]; then export DISPLAY=$saved_display; fi
}
trap cleanup EXIT

ctl() { qdx_wine "$QDX_WINDOWS_BIN/qdxctl.exe" "$@"; }

# Crops the picture of the whole display to the window with this title (the launcher when
# no title is given).
shoot() {
  local file=$1 title=${2:-}
  local rect
  if [ -n "$title" ]; then rect=$(ctl rect "$title"); else rect=$(ctl rect); fi
  rect=$(tr -d '\r' <<<"$rect")
  import -window root -crop "$rect" +repage "$ROOT/docs/$file"
  echo "docs/$file ($rect)"
}

qdx_wine "$RUN_DIR/QDX.exe" >"$ROOT/build/screenshots.log" 2>&1 &
program=$!
ctl wait 60
sleep 3 # the icons are bound after the window shows
shoot standard-style.png

ctl command 17 # the tall style
sleep 2
shoot tall-style.png
ctl command 16 # back to the standard style
sleep 1

ctl command 264 # the background colour dialog
sleep 2
shoot colour-dialog.png "カラー設定"
ctl dismiss "カラー設定"

ctl close 30
wait "$program" || true
