#!/usr/bin/env bash
# Runs every test: installs what is missing, builds both trees, runs the core's
# tests natively and the Windows tests under Wine on a virtual display.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh
tools/build.sh
build="${QUARROW_BUILD:-build}"
echo "== core tests (native)"
ctest --test-dir "$build/native" --output-on-failure -j "$(nproc)"
echo "== Windows tests (Wine)"
ctest --test-dir "$build/win32" --output-on-failure
