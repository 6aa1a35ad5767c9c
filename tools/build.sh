#!/usr/bin/env bash
# Configures and builds the three trees: build/native (the core and its tests
# on this machine), build/win32 (the 32-bit Quarrow.exe and its Wine-run tests)
# and build/win64 (the same sources as a 64-bit program).
#   tools/build.sh [native|win32|win64 ...]   only those trees
# QUARROW_BUILD names another folder than build/.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${QUARROW_BUILD:-build}"
jobs=$(nproc)
trees=("$@")
((${#trees[@]})) || trees=(native win32 win64)
for tree in "${trees[@]}"; do
  case "$tree" in
    native) toolchain=() ;;
    win32) toolchain=(-DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-i686.cmake") ;;
    win64) toolchain=(-DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-x86_64.cmake") ;;
    *) echo "build: unknown tree '$tree' (native, win32 or win64)" >&2; exit 2 ;;
  esac
  echo "== build $build/$tree"
  cmake -S . -B "$build/$tree" -DCMAKE_BUILD_TYPE=Release "${toolchain[@]}" >/dev/null
  cmake --build "$build/$tree" -j "$jobs"
done
