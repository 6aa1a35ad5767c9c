#!/usr/bin/env bash
# Runs every test: installs what is missing, builds the three trees, runs the
# core's tests natively and the Windows tests under Wine on a virtual display,
# for each Windows build this host can run (tools/windows-builds.sh).
#   ./test.sh --native   only the core's tests: no Wine, no Windows builds
set -euo pipefail
cd "$(dirname "$0")"
build="${QUARROW_BUILD:-build}"
if [ "${1:-}" = --native ]; then
  tools/setup.sh native
  tools/build.sh native
  ctest --test-dir "$build/native" --output-on-failure -j "$(nproc)"
  echo "== $(ctest --test-dir "$build/native" -N -R '^Cases/ProfileCases' | grep -c 'Test *#') profile comparison cases played natively"
  exit
fi
tools/setup.sh
tools/build.sh
echo "== core tests (native)"
ctest --test-dir "$build/native" --output-on-failure -j "$(nproc)"
echo "== the scripts' own tests"
for t in tests/scripts/*-test.sh; do "$t"; done
runnable=$(tools/windows-builds.sh)
read -r -a builds <<<"$runnable"
failed=()
for b in "${builds[@]}"; do
  echo "== Windows tests, $b build (Wine)"
  cmake --build "$build/$b" --target perf -j "$(nproc)" >/dev/null  # the measuring tools, whose tests run too
  ctest --test-dir "$build/$b" --output-on-failure || failed+=("$b")
done
# A failure's own lines, last: a long log is often read from its end.
for b in "${failed[@]}"; do
  echo "== what failed, $b build"
  grep -h -A8 ': Failure$' "$build/$b/Testing/Temporary/LastTest.log" | head -120 || true
done
[ ${#failed[@]} -eq 0 ]
