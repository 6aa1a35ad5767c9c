#!/usr/bin/env bash
# Builds the core's fuzz targets with clang's libFuzzer (in build/fuzz, or
# $QUARROW_BUILD/fuzz) and runs them one after the other, the given number of
# seconds (default 600) split evenly between them:
#   tools/fuzz.sh [seconds [target ...]]   only the targets named get the time
# ini_fuzz: the settings file, its corpus seeded from the profile comparison
#   cases;
# suggest_fuzz: the reply of a suggestion service, its corpus seeded with a
#   few good replies written here (the first byte chooses the Content-Type).
# Each keeps its corpus in a folder of its own, build/fuzz/ini/corpus and
# build/fuzz/suggest/corpus, and its crashes beside it in findings/. The
# script stops, failing, at the first target that finds anything.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-600}"
shift || true
targets=("$@")
((${#targets[@]})) || targets=(ini_fuzz suggest_fuzz)
tools/setup.sh fuzz
build="${QUARROW_BUILD:-build}/fuzz"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARROW_FUZZ=ON \
      -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" --target "${targets[@]}" -j 2

seed_ini_fuzz() {
  cp -n tests/data/profile/*.case "$1/" 2>/dev/null || true
  cat >"$2" <<'DICT'
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
}

# A reply as the target reads it: the byte that chooses the Content-Type
# (0 none, 1 UTF-8, 2 GBK, 3 GB18030, 4 ISO-8859-1), then the body.
seed_suggest_fuzz() {
  local corpus="$1"
  printf '\001["mfc",["mfc","mfc\346\225\231\347\250\213"],["",""],[],{"google:verbatimrelevance":1300}]' \
      >"$corpus/seed-google"
  printf '\000window.baidu.sug({q:"\345\244\251\346\260\224",p:false,s:["\345\244\251\346\260\224\351\242\204\346\212\245"]});' \
      >"$corpus/seed-baidu-utf8"
  { printf '\002'; printf 'window.baidu.sug({q:"天气",p:false,s:["天气预报","運動"]});' | iconv -f UTF-8 -t GBK; } \
      >"$corpus/seed-baidu-gbk"
  printf '\001\357\273\277["q",["\\"a\\\\b\\/","\\u5929\\ud83d\\ude00",1,null,"x\\ty"]]' >"$corpus/seed-escapes"
  printf "\\000cb({'s':['it\\\\'s',\"a\"],t:{n:[-1.5e+3,true]}})" >"$corpus/seed-jsonp-quotes"
  cat >"$2" <<'DICT'
"["
"]"
"{"
"}"
":"
","
"\x22"
"'"
"\\"
"\\u"
"\\ud83d\\ude00"
"\\udc80"
"\\n"
"true"
"false"
"null"
"-1.5e+3"
"s:"
"\x22s\x22:"
"window.baidu.sug("
");"
"\xef\xbb\xbf"
"\xe2\x80\xa8"
"\xc2\x85"
"\xed\xa0\x80"
"\xdf\x5c"
"\xcc\xec\xc6\xf8"
DICT
}

each=$(( seconds / ${#targets[@]} ))
((each > 0)) || each=1
for target in "${targets[@]}"; do
  dir="$build/${target%_fuzz}"
  mkdir -p "$dir/corpus" "$dir/findings"
  "seed_$target" "$dir/corpus" "$dir/$target.dict"
  echo "== $target for $each s"
  "$build/$target" "$dir/corpus" -dict="$dir/$target.dict" -max_total_time="$each" \
      -timeout=10 -rss_limit_mb=2048 -max_len=65536 -len_control=10 -print_final_stats=1 \
      -artifact_prefix="$dir/findings/"
done
