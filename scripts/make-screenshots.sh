#!/usr/bin/env bash
# Makes the pictures of the README and of the help file from the real program under a virtual
# display: the demo catalogue in the standard and the tall style and the dialogs (docs/ and
# help/images/), then the help file open over the launcher and the help's first page (docs/).
# They can be made again at any time; the help file is compiled again with the new pictures.
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
mkdir -p "$RUN_DIR" "$ROOT/docs" "$ROOT/help/images"
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
rect_of() { if [ -n "${1:-}" ]; then ctl rect "$1" | tr -d '\r'; else ctl rect | tr -d '\r'; fi; }

# Crops the picture of the whole display to the window with this title (the launcher when
# no title is given) and saves it under the repository's path `file`.
shoot() {
  local file=$1 title=${2:-}
  local rect
  rect=$(rect_of "$title")
  import -window root -crop "$rect" +repage "$ROOT/$file"
  echo "$file ($rect)"
}

# Opens the dialog of a menu command, takes its picture and closes it again.
shoot_dialog() {
  local file=$1 command=$2 title=$3
  ctl command "$command"
  sleep 2
  shoot "$file" "$title"
  ctl dismiss "$title"
  sleep 1
}

start_launcher() {
  qdx_wine "$RUN_DIR/QDX.exe" >>"$ROOT/build/screenshots.log" 2>&1 &
  program=$!
  ctl wait 60
  sleep 3 # the icons are bound after the window shows
  # The pointer rests in a far corner, where it shows no tooltip over a dialog's controls.
  xdotool mousemove 1275 1019
}

: >"$ROOT/build/screenshots.log"
start_launcher
shoot docs/standard-style.png
cp docs/standard-style.png help/images/main.png

ctl command 17 # the tall style
sleep 2
shoot docs/tall-style.png
cp docs/tall-style.png help/images/tall.png
ctl command 16 # back to the standard style
sleep 1

shoot_dialog docs/colour-dialog.png 264 "カラー設定"
cp docs/colour-dialog.png help/images/dlg_colour.png
shoot_dialog help/images/dlg_tabcreate.png 256 "作成するタブ名を入力してください"
shoot_dialog help/images/dlg_option.png 263 "設定"
shoot_dialog help/images/dlg_menuedit.png 258 "ポップアップメニューの編集"
shoot_dialog help/images/dlg_search.png 266 "検索"
shoot_dialog help/images/dlg_rebuild.png 284 "再構築"
shoot_dialog help/images/dlg_othercolour.png 297 "境界線と選択色の設定"
shoot_dialog help/images/dlg_icondraw.png 265 "設定"
shoot_dialog help/images/dlg_version.png 296 "バージョン情報"

# The help file with the new pictures, opened by the launcher's own Help command.
"$ROOT/scripts/build-help.sh" "$RUN_DIR/QDX.chm"
ctl command 285
help_title="Varrowin ヘルプ"
sleep 4
launcher=$(rect_of)
viewer=$(rect_of "$help_title")
# The smallest rectangle around both windows (each given as WxH+X+Y).
union=$(printf '%s\n%s\n' "$launcher" "$viewer" | awk -F'[x+]' '
  { l = $3; t = $4; r = $3 + $1; b = $4 + $2
    if (NR == 1 || l < L) L = l; if (NR == 1 || t < T) T = t
    if (NR == 1 || r > R) R = r; if (NR == 1 || b > B) B = b }
  END { printf "%dx%d+%d+%d\n", R - L, B - T, L, T }')
import -window root -crop "$union" +repage "$ROOT/docs/help-over-launcher.png"
echo "docs/help-over-launcher.png ($union)"
ctl dismiss "$help_title" || true

ctl close 30
wait "$program" || true

# The help's first page as a web browser engine draws it, from the page stored in the file.
# The engine is a large package that only this picture needs, so it is installed here.
if ! command -v wkhtmltoimage >/dev/null; then apt-get install -y wkhtmltopdf >/dev/null; fi
pages=$(mktemp -d)
extract_chmLib "$RUN_DIR/QDX.chm" "$pages" >/dev/null
wkhtmltoimage --quiet --enable-local-file-access --width 720 --encoding Shift_JIS \
  "$pages/index.html" "$ROOT/docs/help-first-page.png"
rm -rf "$pages"
echo "docs/help-first-page.png"
