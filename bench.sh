#!/usr/bin/env bash
# Builds the benchmarks without sanitizers (build/bench) and runs them. Each measure is printed
# on one line with its MB/s and its ratios to the floor (reading the same bytes into memory)
# and to its peer; then the sort of one tab per order and mode, per entry and against the
# same comparisons on an array; then the search's matching over 30 tabs x 1,000 entries
# against a plain substring scan of the same names; then the real program under Wine
# (bench/startup_bench.sh). Extra arguments go to Google Benchmark (e.g.
# --benchmark_min_time=2).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")" && pwd)
dir="$ROOT/build/bench"
jobs=${QDX_JOBS:-2}

"$ROOT/scripts/install-deps.sh" >/dev/null
if [ ! -f "$dir/CMakeCache.txt" ]; then
  cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DQDX_SANITIZE=OFF -DQDX_TESTS=OFF >/dev/null
fi
if ! cmake --build "$dir" --target storage_bench sort_bench search_bench -j "$jobs" >"$dir/build.log" 2>&1; then
  tail -40 "$dir/build.log"
  echo "bench: build failed" >&2
  exit 1
fi
data="$dir/data"
mkdir -p "$data"
"$dir/bench/storage_bench" "$data" "$@"
"$dir/bench/sort_bench" "$@"
"$dir/bench/search_bench" "$@"
# The real program under Wine with a big catalogue: start-up, tab switches and repaints, memory
# (QDX_SKIP_STARTUP=1 leaves it out, QDX_SKIP_FRAMES=1 only the switches and repaints).
if [ -z "${QDX_SKIP_STARTUP:-}" ]; then
  echo
  "$ROOT/bench/startup_bench.sh"
fi
