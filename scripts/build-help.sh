#!/usr/bin/env bash
# Compiles the help file QDX.chm from help/ with chmcmd (Free Pascal's CHM compiler).
# The sources are UTF-8 like every source here; the help viewer of a Japanese Windows reads
# Shift-JIS, which the pages declare, so the texts are converted to code page 932 on the way.
# The same sources always give the same bytes: chmcmd stamps the time of day into two fields,
# which are cleared afterwards.
# Usage: scripts/build-help.sh OUT.chm
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
out=${1:?usage: build-help.sh OUT.chm}
stage=$(mktemp -d "${TMPDIR:-/tmp}/qdx-help.XXXXXX")
trap 'rm -rf "$stage"' EXIT

cd "$ROOT/help"
for f in QDX.hhp contents.hhc index.hhk *.html *.css; do
  sed 's/$/\r/' "$f" | iconv -f UTF-8 -t CP932 >"$stage/$f"
done
mkdir -p "$stage/images"
cp images/*.png "$stage/images/"

(cd "$stage" && chmcmd --no-html-scan QDX.hhp) >"$stage/chmcmd.log" 2>&1 || {
  cat "$stage/chmcmd.log" >&2
  exit 1
}
python3 - "$stage/QDX.chm" <<'PY'
import sys
path = sys.argv[1]
data = bytearray(open(path, "rb").read())
# The file header's time stamp.
assert data[:4] == b"ITSF"
data[0x10:0x14] = bytes(4)
# The #SYSTEM record 10 (code, length 4, time stamp) stands just before record 9, the name
# of the compiler ("HHA Version ...").
at = data.find(b"HHA Version")
assert at > 12, "no compiler record in #SYSTEM"
stamp = at - 4 - 8
assert data[stamp:stamp + 4] == b"\x0a\x00\x04\x00", "no time stamp record before it"
data[stamp + 4:stamp + 8] = bytes(4)
open(path, "wb").write(data)
PY
mkdir -p "$(dirname "$out")"
mv "$stage/QDX.chm" "$out.tmp"
mv "$out.tmp" "$out"
