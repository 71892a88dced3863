#!/usr/bin/env bash
# The release archive: packed twice from inputs with different file times it has the same
# bytes; it holds exactly QDX.exe, QDX.chm and readme.txt; readme.txt is Shift-JIS with CR LF
# line ends, has the sections a Japanese readme has, and the version and rights notice of the
# program's version block.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/qdx-release-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for run in 1 2; do
  mkdir -p "$work/bin$run"
  cp "$ROOT/build/bin/QDX.exe" "$ROOT/build/bin/QDX.chm" "$work/bin$run/"
  touch -d "200$run-01-01 12:00" "$work/bin$run/"*
  QDX_RELEASE_BIN="$work/bin$run" QDX_DIST_DIR="$work/dist$run" \
    "$ROOT/scripts/make-release.sh" --no-build >/dev/null || fail "make-release.sh failed"
done
archive=$(cd "$work/dist1" && ls)
[ "$archive" = Varrowin-1.20.zip ] || fail "archive named $archive"
cmp -s "$work/dist1/$archive" "$work/dist2/$archive" || fail "two builds differ"

names=$(unzip -Z1 "$work/dist1/$archive" | tr '\n' ' ')
[ "$names" = "QDX.chm QDX.exe readme.txt " ] || fail "archive holds: $names"
unzip -p "$work/dist1/$archive" QDX.exe | cmp -s - "$ROOT/build/bin/QDX.exe" || fail "QDX.exe differs"

unzip -p "$work/dist1/$archive" readme.txt >"$work/readme.txt"
text=$(iconv -f CP932 -t UTF-8 "$work/readme.txt") || fail "readme.txt is not Shift-JIS"
lines=$(grep -c '' "$work/readme.txt")
[ "$(grep -c $'\r$' "$work/readme.txt")" = "$lines" ] || fail "a line of readme.txt lacks CR LF"
rights=$(sed -nE 's/.*"LegalCopyright", "([^"]*)".*/\1/p' "$ROOT/res/version.rc")
for want in 概要 動作環境 インストール アンインストール 使い方 更新履歴 "Ver1.20" "$rights"; do
  grep -qF "$want" <<<"$text" || fail "readme.txt lacks $want"
done

echo "$failures failures"
[ "$failures" -eq 0 ]
