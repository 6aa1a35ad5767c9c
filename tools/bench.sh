#!/usr/bin/env bash
# Builds the core's benchmarks (Release, in build/bench or $QUARROW_BUILD/bench)
# and runs them ten times each, reporting mean, median and spread.
# Extra arguments go to the benchmark program (e.g. --benchmark_filter=Startup).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${QUARROW_BUILD:-build}/bench"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target core_bench -j 2
"$build/core_bench" --benchmark_repetitions=10 --benchmark_report_aggregates_only=true "$@"
