#!/usr/bin/env bash
# Builds the core's benchmarks (Release, in build/bench or $QUARROW_BUILD/bench),
# runs them ten times each, reports mean, median and spread, and checks each
# median (wall time) against its budget below; fails when one is over.
# Extra arguments go to the benchmark program (e.g. --benchmark_filter=Read).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${QUARROW_BUILD:-build}/bench"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target core_bench -j 2
# Budgets in milliseconds: a start and an exit must never be felt, even with
# a settings file grown to 10 MB.
declare -A budget=(
  [BM_ReadSnapshot/10MB:0]=5 [BM_ReadSnapshot/10MB:1]=250
  [BM_SaveWholeFile/10MB:0]=5 [BM_SaveWholeFile/10MB:1]=400
)
json="$build/results.json"
"$build/core_bench" --benchmark_repetitions=10 --benchmark_report_aggregates_only=true \
  --benchmark_out="$json" --benchmark_out_format=json "$@"
over=0
while read -r name ms; do
  limit="${budget[$name]:-}"
  [ -n "$limit" ] || continue
  if awk -v m="$ms" -v l="$limit" 'BEGIN { exit !(m > l) }'; then
    echo "bench: $name median $ms ms is over its budget of $limit ms" >&2
    over=1
  else
    echo "bench: $name median $ms ms (budget $limit ms)"
  fi
done < <(jq -r '.benchmarks[] | select(.aggregate_name == "median") | "\(.run_name) \(.real_time * 100 | round / 100)"' "$json")
exit "$over"
