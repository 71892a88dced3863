#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer)
# in build/fuzz and runs each for the given number of seconds (default 30), starting from the
# checked-in seed corpus. Prints one line per target; exits non-zero on any finding.
# A longer run is one command away: scripts/fuzz.sh 3600
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
dir="$ROOT/build/fuzz"
jobs=${QDX_JOBS:-2}

if [ ! -f "$dir/CMakeCache.txt" ]; then
  CXX=clang++ cmake -S "$ROOT/fuzz" -B "$dir" >/dev/null || { echo "fuzz: configure failed"; exit 1; }
fi
if ! cmake --build "$dir" -j "$jobs" >"$dir/build.log" 2>&1; then
  tail -40 "$dir/build.log"
  echo "fuzz: build failed"
  exit 1
fi

status=0
for target in settings cache paths; do
  work="$dir/corpus-$target"
  artifacts="$dir/artifacts-$target/"
  mkdir -p "$work" "$artifacts"
  log="$dir/$target.log"
  # New inputs go to the working corpus; the checked-in seeds are only read.
  "$dir/${target}_fuzz" "$work" "$ROOT/fuzz/corpus/$target" \
    -dict="$ROOT/fuzz/$target.dict" -max_total_time="$seconds" -max_len=20000 -timeout=10 \
    -artifact_prefix="$artifacts" -print_final_stats=1 >"$log" 2>&1
  rc=$?
  runs=$(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}')
  if [ $rc -eq 0 ]; then
    echo "fuzz $target: clean, ${runs:-?} runs in ${seconds}s"
  else
    status=1
    finding=$(grep -m1 -E 'ERROR:|runtime error|deadly signal' "$log")
    echo "fuzz $target: FINDING (exit $rc): ${finding:-see $log}; input in $artifacts"
  fi
done
exit $status
