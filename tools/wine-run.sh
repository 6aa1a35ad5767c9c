#!/usr/bin/env bash
# Runs a Windows program under the tests' Wine prefix (CTest's emulator).
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
quarrow_wine_env test
exec wine "$@"
