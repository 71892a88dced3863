#!/usr/bin/env bash
# The real QDX.exe under Wine with a big catalogue: 30 tabs x 300 entries of programs, one
# missing file in thirty.
# - Start-up with its icon cache and without one, against the same program in an empty folder:
#   nine interleaved runs, a second apart; each time is from the process start until the window
#   is shown and its first paint is done (no update region left, and a message answered).
# - Tab switches and repaints with the cached catalogue against the same program with 30 empty
#   tabs, in the standard and the tall style, icon modes 1 and 2 with a plain and a gradient
#   background, and icon mode 3 (QDX_SKIP_FRAMES=1 leaves them out): five starts of each
#   program (QDX_FRAME_STARTS), interleaved, each timing 58 switches and 20 repaints, on one
#   processor; a figure is the median over the starts of each start's median. A switch is timed
#   from the N or B key until the window and its controls are painted again and the program
#   answers a message (its paint is done), a repaint from invalidating the whole window.
# - The resident memory of the program with the catalogue against the empty folder.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
. "$ROOT/scripts/wine-env.sh"
runs=${QDX_STARTUP_RUNS:-9}
rounds=${QDX_FRAME_ROUNDS:-1}
repaints=${QDX_FRAME_REPAINTS:-20}
starts=${QDX_FRAME_STARTS:-5}

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
mkdir -p "$bench/empty" "$bench/cached" "$bench/nocache" "$bench/emptytabs"
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
empty = lines[:3] + ['Tab_%d = "Tab%d"\r\nTab_%d_Count = 0' % (t, t, t) for t in range(tabs)]
with open(os.path.join(bench, "emptytabs.ini"), "wb") as f:
    f.write(("\r\n".join(empty) + "\r\n").encode("cp932"))
PY
for kind in empty cached nocache emptytabs; do cp "$QDX_WINDOWS_BIN/QDX.exe" "$bench/$kind/QDX.exe"; done
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
# Returns once the program ($pid) has used no processor time for two seconds.
wait_quiet() {
  local last now quiet=0
  last=$(busy)
  while [ "$quiet" -lt 4 ]; do
    sleep 0.5
    now=$(busy)
    if [ "$now" = "$last" ]; then quiet=$((quiet + 1)); else quiet=0; fi
    last=$now
  done
}
wait_quiet
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

# Starts the program of folder $1 with its settings file made from $2 (none when empty) and the
# options $3 (lines for the [Info] section, split by semicolons), waits until it is quiet and
# leaves its pid in $pid.
start_quiet() {
  local dir=$1
  find "$dir" -type f ! -name QDX.exe ! -name Cache.arc -delete
  [ -n "$2" ] && python3 - "$2" "$dir/qdx.ini" "$3" <<'PY'
import sys
source, target, options = sys.argv[1:4]
text = open(source, "rb").read().replace(b"[Info]\r\n", ("[Info]\r\n" + "".join(
    o + "\r\n" for o in options.split(";") if o)).encode("ascii"), 1)
open(target, "wb").write(text)
PY
  qdx_wine "$dir/QDX.exe" >/dev/null 2>&1 &
  ctl wait 300 >/dev/null
  pid=$(pgrep -f "$(basename "$dir").QDX\.exe" | head -1)
  wait_quiet
}

rss() { awk '/^VmRSS/ {print $2}' "/proc/$pid/status"; }
rm -f "$bench/empty/Cache.arc"
start_quiet "$bench/empty" "" ""
empty_rss=$(rss)
ctl close 120 >/dev/null
start_quiet "$bench/cached" "$bench/catalogue.ini" ""
cached_rss=$(rss)
ctl close 120 >/dev/null
echo "resident memory: 9,000 entries $((cached_rss / 1024)) MB, empty folder $((empty_rss / 1024)) MB"\
  "($(( (cached_rss - empty_rss) * 1024 / 9000 )) bytes per entry)"

[ -n "${QDX_SKIP_FRAMES:-}" ] && exit 0
# The frames are timed with everything on one processor: across two, each message between
# qdxctl, the Wine server and the program waits for another processor to wake, and on a
# virtual machine that wait changes from start to start by more than a whole paint costs.
# (The start-up above keeps both processors: its readers work side by side.)
one_cpu=$(($(nproc) - 1))
taskset -p -c "$one_cpu" $$ >/dev/null
[ -n "${QDX_XVFB_PID:-}" ] && taskset -a -p -c "$one_cpu" "$QDX_XVFB_PID" >/dev/null
qdx_stop_wine
qdx_start_wine
# Style;IconDraw;BackGround per line; the gradient is the default's (GColorStart to GColorEnd).
# QDX_FRAME_CONFIGS may name fewer lines of the same form.
configs=${QDX_FRAME_CONFIGS:-"0 1 0
0 1 1
0 2 0
0 2 1
1 1 0
1 1 1
1 2 0
1 2 1
0 3 0
1 3 0"}
rm -f "$bench"/frames-*
while read -r style mode ground; do
  options="Style = $style;IconDraw = $mode;BackGround = $ground"
  # Five times each, interleaved: a start that falls into a slow spell of the machine (on a
  # virtual machine one start can be a third slower than the next throughout, and a spell can
  # cover two starts in a row) is outvoted.
  for n in $(seq 1 "$starts"); do
    for kind in emptytabs cached; do
      start_quiet "$bench/$kind" "$bench/$([ $kind = cached ] && echo catalogue || echo emptytabs).ini" "$options"
      ctl frames "$rounds" "$repaints" | tr -d '\r' >"$bench/frames-$style-$mode-$ground-$kind-$n"
      ctl close 120 >/dev/null
      sleep 1
    done
  done
done <<<"$configs"

python3 - "$bench" "$configs" <<'PY'
import glob, statistics, sys
bench, configs = sys.argv[1], sys.argv[2]
styles, grounds = {"0": "standard", "1": "tall"}, {"0": "plain", "1": "gradient"}
print("tab switch and repaint, 30 tabs x 300 cached entries against 30 empty tabs (medians of the"
      " starts' medians, ms):")
print("  %-30s %8s %8s %7s   %8s %8s %7s" % ("style, icon mode, background", "switch", "empty",
                                             "ratio", "repaint", "empty", "ratio"))
for line in configs.splitlines():
    style, mode, ground = line.split()
    med = {}
    for kind in ("cached", "emptytabs"):
        starts = [[l.split() for l in open(f)] for f in
                  sorted(glob.glob("%s/frames-%s-%s-%s-%s-*" % (bench, style, mode, ground, kind)))]
        for what in ("switch", "repaint"):
            med[what, kind] = statistics.median(
                statistics.median(float(v) for w, v in rows if w == what) for rows in starts)
    label = "%s, mode %s, %s" % (styles[style], mode, grounds[ground])
    print("  %-30s %8.1f %8.1f %6.2fx   %8.1f %8.1f %6.2fx" % (
        label, med["switch", "cached"], med["switch", "emptytabs"],
        med["switch", "cached"] / med["switch", "emptytabs"], med["repaint", "cached"],
        med["repaint", "emptytabs"], med["repaint", "cached"] / med["repaint", "emptytabs"]))
PY
