#!/usr/bin/env bash
# Runs a Windows program under the tests' Wine prefix (CTest's emulator):
#   tools/wine-run.sh <win32|win64> program.exe [arguments]
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
arch="$1"
shift
quarrow_wine_env test "$arch"
exec "$QUARROW_WINE_LOADER" "$@"
