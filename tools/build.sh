#!/usr/bin/env bash
# Configures and builds both trees: build/native (the core and its tests on
# this machine) and build/win32 (Quarrow.exe and the Wine-run tests).
# QUARROW_BUILD names another folder than build/.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${QUARROW_BUILD:-build}"
jobs=$(nproc)
cmake -S . -B "$build/native" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/native" -j "$jobs"
cmake -S . -B "$build/win32" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-i686.cmake" >/dev/null
cmake --build "$build/win32" -j "$jobs"
