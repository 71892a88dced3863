#!/usr/bin/env bash
# Runs a Windows program under Wine in the project's environment (CTest's emulator).
ROOT=$(cd "$(dirname "$0")/.." && pwd)
. "$ROOT/scripts/wine-env.sh"
exec "$QDX_WINE_LOADER" "$@"
