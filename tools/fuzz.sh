#!/usr/bin/env bash
# Builds the settings-file fuzz target with clang's libFuzzer (in build/fuzz,
# or $QUARROW_BUILD/fuzz) and runs it for the given number of seconds
# (default 600). The corpus grows in build/fuzz/corpus, seeded from the
# profile comparison cases; crashes are written to build/fuzz/findings.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-600}"
tools/setup.sh fuzz
build="${QUARROW_BUILD:-build}/fuzz"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARROW_FUZZ=ON \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" --target ini_fuzz -j 2
mkdir -p "$build/corpus" "$build/findings"
cp -n tests/data/profile/*.case "$build/corpus/" 2>/dev/null || true
cat >"$build/ini.dict" <<'DICT'
"["
"]"
"="
"\x0d\x0a"
"\x0a"
"\x0d"
"\x22"
"'"
"\x00"
"\xff\xfe"
"\xfe\xff"
"\xef\xbb\xbf"
"[History]"
"[Engine]"
"[Setting]"
"H0="
"E0="
"UseIE="
"\xb0\x41"
"\xb0\x61"
DICT
"$build/ini_fuzz" "$build/corpus" -dict="$build/ini.dict" -max_total_time="$seconds" \
    -timeout=10 -rss_limit_mb=2048 -max_len=65536 -len_control=10 -print_final_stats=1 \
    -artifact_prefix="$build/findings/"
