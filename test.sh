#!/usr/bin/env bash
# Runs every test: the portable core natively (with sanitizers), the help file and the release
# archive, then the Windows build under Wine (the core again, the in-process Win32 tests,
# end-to-end tests of QDX.exe), then a short run of each fuzz target. The Windows tests run on
# the 32-bit build, or on a 64-bit build of the same sources where this machine cannot run
# 32-bit programs (QDX_WINE_ARCH=win64 forces that). Prints the counts of each layer; exits
# non-zero when any test failed or none ran.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")" && pwd)
cd "$ROOT"

forced_arch=${QDX_WINE_ARCH:-}
"$ROOT/scripts/install-deps.sh" || exit 1
. "$ROOT/scripts/wine-env.sh" || exit 1
if [ "$QDX_WINE_ARCH" = win64 ]; then
  if [ -n "$forced_arch" ]; then
    arch_line="wine: QDX_WINE_ARCH=win64 is set; Windows tests run on the 64-bit build"
  else
    arch_line="wine: this machine cannot run 32-bit programs; Windows tests run on the 64-bit build"
  fi
else
  arch_line="wine: Windows tests run on the 32-bit build"
fi
echo "$arch_line"

summary=()
total_pass=0
total_fail=0

cleanup() {
  if [ -d "$WINEPREFIX" ]; then qdx_stop_wine; fi
  qdx_stop_display
}
trap cleanup EXIT

# Runs ctest in a build folder with the given arguments and records the layer's counts.
run_layer() {
  local name=$1 dir=$2
  shift 2
  local log="$dir/ctest-$name.log"
  echo "== $name"
  (cd "$dir" && ctest --output-on-failure --timeout 300 "$@") >"$log" 2>&1
  local line ran failed
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)
  if [ -z "$line" ]; then
    tail -40 "$log"
    ran=0; failed=0
  else
    ran=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
    failed=$(sed -E 's/.*passed, ([0-9]+) tests? failed.*/\1/' <<<"$line")
    if [ "$failed" -gt 0 ]; then
      sed -n '/The following tests FAILED/,$p' "$log"
      grep -B2 -A25 -E '^\s*[0-9]+/[0-9]+ Test +#[0-9]+: .*\*\*\*Failed' "$log" | head -200
    fi
  fi
  # Tests that check what only the other build has say so and are skipped.
  local skipped
  skipped=$(grep -cE '^[[:space:]]*[0-9]+ - .*\(Skipped\)$' "$log")
  local passed=$((ran - failed - skipped))
  if [ "$ran" -eq 0 ]; then passed=0; failed=$((failed + 1)); fi
  local counts="$passed passed, $failed failed"
  [ "$skipped" -gt 0 ] && counts="$counts, $skipped skipped"
  summary+=("$name: $counts")
  total_pass=$((total_pass + passed))
  total_fail=$((total_fail + failed))
  echo "$name: $counts"
}

echo "== building"
build_ok=1
"$ROOT/scripts/build.sh" native || build_ok=0
# The 32-bit product is always built, so a compile error in it fails the run everywhere.
"$ROOT/scripts/build.sh" win32 || build_ok=0
if [ "$QDX_WINDOWS_BUILD" != win32 ]; then
  "$ROOT/scripts/build.sh" "$QDX_WINDOWS_BUILD" || build_ok=0
fi
if [ $build_ok -eq 0 ]; then
  echo "0 passed, 1 failed"
  exit 1
fi

# The folders are floors: an include against their order fails the run.
echo "== floors"
if "$ROOT/scripts/check-floors.sh"; then
  summary+=("floors: clean"); total_pass=$((total_pass + 1))
else
  summary+=("floors: includes against the order"); total_fail=$((total_fail + 1))
fi

run_layer native "$ROOT/build/native" -j2
# What a user downloads (the help file, the release archive) comes from the 32-bit product.
run_layer release "$ROOT/build/win32" -L release

qdx_start_display || exit 1
qdx_ensure_prefix
qdx_start_wine
windows_build="$ROOT/build/$QDX_WINDOWS_BUILD"
run_layer wine-core "$windows_build" -j2 -L core
# One at a time: these tests share the display, its pointer, activation and key state (most
# take a lock for it anyway), and a second process activating a window resets held keys.
run_layer wine-win32 "$windows_build" -L win32
run_layer wine-e2e "$windows_build" -L e2e

if [ -x "$ROOT/scripts/fuzz.sh" ]; then
  echo "== fuzz"
  if "$ROOT/scripts/fuzz.sh" "${QDX_FUZZ_SECONDS:-30}"; then
    summary+=("fuzz: clean"); total_pass=$((total_pass + 1))
  else
    summary+=("fuzz: FINDINGS"); total_fail=$((total_fail + 1))
  fi
fi

echo "== summary"
echo "$arch_line"
printf '%s\n' "${summary[@]}"
echo "$total_pass passed, $total_fail failed"
[ "$total_fail" -eq 0 ] && [ "$total_pass" -gt 0 ]
