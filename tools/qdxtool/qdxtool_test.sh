#!/usr/bin/env bash
# Runs qdxtool as a user does on real files and checks its output and exit status.
set -u
tool=$1
dir=$2
rm -rf "$dir" && mkdir -p "$dir" && cd "$dir" || exit 1
failures=0

# expect STATUS COMMAND...: runs the command, keeps its stdout in out.txt.
expect() {
  local want=$1
  shift
  "$tool" "$@" >out.txt 2>err.txt
  local got=$?
  if [ "$got" -ne "$want" ]; then
    echo "FAIL: qdxtool $* exited $got, expected $want; stderr: $(cat err.txt)"
    failures=$((failures + 1))
  elif [ "$got" -ne 0 ] && [ "$(wc -l <err.txt)" -gt 1 ]; then
    echo "FAIL: qdxtool $* printed more than one line on stderr"
    failures=$((failures + 1))
  fi
}

same() {
  if ! cmp -s "$1" "$2"; then
    echo "FAIL: $1 and $2 differ"
    failures=$((failures + 1))
  fi
}

contains() {
  if ! grep -qF -- "$2" "$1"; then
    echo "FAIL: $1 lacks: $2"
    failures=$((failures + 1))
  fi
}

# Settings file: dump shows what the reader sees; rewrite is stable after one pass.
printf '; header\r\n[Info]\r\nSort = 3\r\nTab_0 = "a\\\\b"\r\nList={1, 2}\r\n' >qdx.ini
expect 0 ini dump qdx.ini
contains out.txt '[Info]'
contains out.txt '  Sort (Integer) = 3'
contains out.txt '  Tab_0 (String) = "a\\b"'
contains out.txt '  Lis (IntegerList) = {1, 2}'
expect 0 ini rewrite qdx.ini once.ini
expect 0 ini rewrite once.ini twice.ini
same once.ini twice.ini
contains once.ini '; header'
expect 2 ini dump missing.ini
expect 2 ini rewrite qdx.ini no/such/folder/out.ini

# Archives: create, fill, list, read back, change, verify.
printf 'abc' >abc.bin
: >empty.bin
expect 0 arc new Cache.arc
[ "$(wc -c <Cache.arc)" -eq 30 ] || { echo "FAIL: new archive is not 30 bytes"; failures=$((failures + 1)); }
expect 2 arc new Cache.arc
expect 0 arc verify Cache.arc
contains out.txt 'stored D16C5C9E computed D16C5C9E: ok'
expect 0 arc add Cache.arc 'Cache\Work' app.exe abc.bin
expect 0 arc add Cache.arc Cache/Work/Sub app.exe_Mask abc.bin
expect 0 arc add Cache.arc Cache/Work nothing empty.bin
expect 1 arc add Cache.arc 'Cache\Work' app.exe abc.bin
expect 2 arc add Cache.arc 'Cache\Work' other missing.bin
expect 0 arc ls Cache.arc
contains out.txt '[Cache\Work] 2 files'
contains out.txt '[Cache\Work\Sub] 1 files'
contains out.txt '6741EC52'
expect 0 arc cat Cache.arc 'Cache\Work\Sub' app.exe_Mask
same out.txt abc.bin
expect 1 arc cat Cache.arc 'Cache\Work' missing
expect 0 arc mvdir Cache.arc 'Cache\Work' Play
expect 1 arc mvdir Cache.arc 'Cache\Work' Play
expect 1 arc mvdir Cache.arc 'Cache\Play' 'a\b'
expect 0 arc rm Cache.arc 'Cache\Play\Sub' app.exe_Mask
expect 1 arc rm Cache.arc 'Cache\Play\Sub' app.exe_Mask
expect 0 arc rmdir Cache.arc Cache
expect 1 arc rmdir Cache.arc Cache
expect 0 arc verify Cache.arc
[ "$(wc -c <Cache.arc)" -eq 30 ] || { echo "FAIL: emptied archive is not 30 bytes"; failures=$((failures + 1)); }
[ ! -e Cache.arc.tmp~ ] || { echo "FAIL: temporary file left"; failures=$((failures + 1)); }

# Damaged and foreign files are reported and never changed.
cp Cache.arc bad.arc
printf '\001' | dd of=bad.arc bs=1 seek=12 conv=notrunc 2>/dev/null
expect 1 arc verify bad.arc
contains out.txt 'changed'
cp bad.arc bad.before
expect 1 arc add bad.arc X y abc.bin
same bad.arc bad.before
printf 'short' >short.arc
expect 1 arc verify short.arc
expect 1 arc ls short.arc
expect 2 arc verify missing.arc
head -c 5000 /dev/urandom >noise.arc
expect 1 arc ls noise.arc
expect 0 ini dump noise.arc

# Usage errors.
expect 2
expect 2 arc
expect 2 arc ls
expect 2 ini frobnicate x
expect 0 --help
contains out.txt 'usage: qdxtool'

if [ $failures -ne 0 ]; then
  echo "$failures failures"
  exit 1
fi
echo "qdxtool: all checks passed"
