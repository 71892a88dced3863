#!/usr/bin/env bash
# Builds the archive a user downloads: build/dist/Varrowin-<version>.zip with QDX.exe, QDX.chm
# and readme.txt. The version and the rights notice come from the program's own version block
# (res/version.rc), the version written as the version dialog shows it (1,2,0,0 gives 1.20).
# The same commit always gives the same bytes: names in a fixed order, every date the commit's,
# nothing taken from the clock or the file system.
# Usage: scripts/make-release.sh [--no-build]   (--no-build packs what build/bin holds)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"

if [ "${1:-}" != --no-build ]; then
  "$ROOT/scripts/install-deps.sh"
  "$ROOT/scripts/build.sh" win32
fi
bin=${QDX_RELEASE_BIN:-$ROOT/build/bin}
dist=${QDX_DIST_DIR:-$ROOT/build/dist}

version=$(sed -nE 's/^ *PRODUCTVERSION +([0-9]+), *([0-9]+), *([0-9]+),.*/\1.\2\3/p' res/version.rc)
rights=$(sed -nE 's/.*VALUE "LegalCopyright", "([^"]*)".*/\1/p' res/version.rc)
if [ -z "$version" ] || [ -z "$rights" ]; then
  echo "make-release: no version or rights notice in res/version.rc" >&2
  exit 1
fi
# The commit's time; outside a git checkout a fixed date.
stamp=$(git -C "$ROOT" log -1 --format=%ct 2>/dev/null || echo 1767225600)

stage=$(mktemp -d "${TMPDIR:-/tmp}/qdx-release.XXXXXX")
trap 'rm -rf "$stage"' EXIT
cp "$bin/QDX.exe" "$bin/QDX.chm" "$stage/"
# Japanese freeware's readme: Shift-JIS with CR LF line ends.
sed -e "s/@VERSION@/$version/" -e "s/@RIGHTS@/$rights/" -e 's/$/\r/' help/readme.txt |
  iconv -f UTF-8 -t CP932 >"$stage/readme.txt"

mkdir -p "$dist"
archive="$dist/Varrowin-$version.zip"
python3 - "$stage" "$archive.tmp" "$stamp" <<'PY'
import os, sys, time, zipfile
stage, archive, stamp = sys.argv[1], sys.argv[2], int(sys.argv[3])
when = time.gmtime(stamp)[:6]
with zipfile.ZipFile(archive, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
    for name in sorted(os.listdir(stage)):
        info = zipfile.ZipInfo(name, date_time=when)
        info.create_system = 0           # made "on Windows": no Unix owner or mode bits
        info.external_attr = 0x20        # FILE_ATTRIBUTE_ARCHIVE
        info.compress_type = zipfile.ZIP_DEFLATED
        with open(os.path.join(stage, name), "rb") as f:
            z.writestr(info, f.read(), compresslevel=9)
PY
mv "$archive.tmp" "$archive"
echo "$archive"
