#!/usr/bin/env bash
# Start-up of the real QDX.exe under Wine with a big catalogue: 30 tabs x 300 entries of
# programs, one missing file in thirty, started with its icon cache and without one, against the
# same program in an empty folder. Five interleaved runs; each time is from the process start to
# the window being shown and answering a message (its first paint is done by then).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
. "$ROOT/scripts/wine-env.sh"
runs=${QDX_STARTUP_RUNS:-5}

"$ROOT/scripts/build.sh" "$QDX_WINDOWS_BUILD" >/dev/null
qdx_start_display
qdx_ensure_prefix
qdx_start_wine
cleanup() {
  qdx_stop_wine
  qdx_stop_display
}
trap cleanup EXIT

bench="$ROOT/build/bench-startup"
rm -rf "$bench"
mkdir -p "$bench/empty" "$bench/cached" "$bench/nocache"
# The programs: hard links of the prefix's own programs, 96 to a folder, so that every entry
# has a file and an icon of its own, with only as many distinct icons as there are programs.
files="$WINEPREFIX/drive_c/qdxbench"
rm -rf "$files"
python3 - "$WINEPREFIX/drive_c/windows/system32" "$files" "$bench" <<'PY'
import os, sys
system, files, bench = sys.argv[1:4]
programs = sorted(p for p in os.listdir(system) if p.lower().endswith(".exe"))
tabs, per_tab = 30, 300
lines = ["; 設定ファイルを手動で編集した場合、正確なロードは保証されません", "[Info]",
         "TabCount = %d" % tabs]
for t in range(tabs):
    lines += ['Tab_%d = "Tab%d"' % (t, t), "Tab_%d_Count = %d" % (t, per_tab)]
for t in range(tabs):
    lines.append("[Tab_Tab%d]" % t)
    for e in range(per_tab):
        n = t * per_tab + e
        program = programs[n % len(programs)]
        folder = "v%d" % (n // len(programs))
        if n % 30 == 29:
            path, work = "C:\\\\qdxbench\\\\missing\\\\%d.exe" % n, "C:\\\\qdxbench\\\\missing"
        else:
            os.makedirs(os.path.join(files, folder), exist_ok=True)
            target = os.path.join(files, folder, program)
            if not os.path.exists(target):
                os.link(os.path.join(system, program), target)
            path = "C:\\\\qdxbench\\\\%s\\\\%s" % (folder, program)
            work = "C:\\\\qdxbench\\\\%s" % folder
        name = path.rsplit("\\\\", 1)[1]
        k = "Tab%d_%%s_%d" % (t, e)
        lines += ['%s = "%s"' % (k % "FilePath", path), '%s = "%s"' % (k % "FileName", name),
                  '%s = ""' % (k % "Arg"), '%s = "%s"' % (k % "WorkPath", work),
                  "%s = 32" % (k % "Attribute"), "%s = 0" % (k % "IconType"),
                  "%s = 0" % (k % "Count"), '%s = ""' % (k % "Comment")]
text = ("\r\n".join(lines) + "\r\n").encode("cp932")
for kind in ("cached", "nocache"):
    with open(os.path.join(bench, kind, "qdx.ini"), "wb") as f:
        f.write(text)
PY
for kind in empty cached nocache; do cp "$QDX_WINDOWS_BIN/QDX.exe" "$bench/$kind/QDX.exe"; done
cp "$bench/nocache/qdx.ini" "$bench/catalogue.ini"

ctl() { qdx_wine "$QDX_WINDOWS_BIN/qdxctl.exe" "$@"; }
winpath() { echo "Z:${1//\//\\}"; }

# The cache is made by one run that binds every icon: it is closed once its process has used
# no processor time for two seconds.
echo "startup: capturing the icon cache of 9,000 entries once (this takes a while)"
qdx_wine "$bench/cached/QDX.exe" >/dev/null 2>&1 &
program=$!
ctl wait 300 >/dev/null
pid=$(pgrep -f 'cached.QDX\.exe' | head -1)
busy() { awk '{print $14 + $15}' "/proc/$pid/stat" 2>/dev/null; }
last=$(busy) quiet=0
while [ "$quiet" -lt 4 ]; do
  sleep 0.5
  now=$(busy)
  if [ "$now" = "$last" ]; then quiet=$((quiet + 1)); else quiet=0; fi
  last=$now
done
ctl close 120 >/dev/null
wait "$program"
ls -l "$bench/cached/Cache.arc" | awk '{print "startup: Cache.arc " $5 " bytes"}'

for r in $(seq 1 "$runs"); do
  for kind in empty cached nocache; do
    case $kind in
      empty) find "$bench/empty" -type f ! -name QDX.exe -delete ;;
      nocache) rm -f "$bench/nocache/Cache.arc"; cp "$bench/catalogue.ini" "$bench/nocache/qdx.ini" ;;
    esac
    # The previous program's exit is left to settle first: Wine and the system finish it after
    # the process is gone, and the next start would pay for it.
    sleep 1
    ctl time "$(winpath "$bench/$kind/QDX.exe")" | tr -d '\r' >>"$bench/times-$kind"
  done
done

python3 - "$bench" <<'PY'
import statistics, sys
bench = sys.argv[1]
times = {k: [float(x) for x in open("%s/times-%s" % (bench, k)) if x.strip()]
         for k in ("empty", "cached", "nocache")}
base = statistics.median(times["empty"])
print("start to first paint under Wine, %d runs each (min / median / max, ms):" % len(times["empty"]))
for kind, label in (("empty", "empty folder (baseline)"), ("cached", "9,000 entries, Cache.arc"),
                    ("nocache", "9,000 entries, no Cache.arc")):
    t = sorted(times[kind])
    m = statistics.median(t)
    print("  %-28s %8.0f %8.0f %8.0f   x%.2f the baseline" % (label, t[0], m, t[-1], m / base))
PY
