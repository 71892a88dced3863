#!/usr/bin/env bash
# The release archive: the same bytes from inputs of other file times, its three files, and a
# Shift-JIS, CR LF readme.txt with its sections and the version block's version and rights.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
failed=0 && fail() { echo "FAIL: $*"; failed=1; }
for run in 1 2; do
  mkdir "$work/bin$run" && cp "$ROOT"/build/bin/QDX.{exe,chm} "$work/bin$run/"
  touch -d "200$run-01-01" "$work/bin$run/"*
  QDX_RELEASE_BIN="$work/bin$run" QDX_DIST_DIR="$work/dist$run" \
    "$ROOT/scripts/make-release.sh" --no-build >/dev/null || fail "make-release.sh"
done
zip="$work/dist1/Varrowin-1.20.zip"
cmp -s "$zip" "$work/dist2/Varrowin-1.20.zip" || fail "two builds differ"
[ "$(unzip -Z1 "$zip" | tr '\n' ' ')" = "QDX.chm QDX.exe readme.txt " ] || fail "file list"
unzip -p "$zip" readme.txt >"$work/readme.txt" && grep -qv $'\r$' "$work/readme.txt" && fail "LF"
text=$(iconv -f CP932 -t UTF-8 "$work/readme.txt") || fail "not Shift-JIS"
rights=$(sed -nE 's/.*"LegalCopyright", "([^"]*)".*/\1/p' "$ROOT/res/version.rc")
for want in 概要 動作環境 インストール アンインストール 使い方 更新履歴 Ver1.20 "$rights"; do
  grep -qF "$want" <<<"$text" || fail "readme.txt lacks $want"
done
exit $failed
