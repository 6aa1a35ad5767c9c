#!/usr/bin/env bash
# tools/wine-env.sh's set-up steps against a stand-in for Wine that fails a
# given number of times: a start lost now and then is tried again, a step that
# keeps failing fails after three tries, and every failure is said once, in
# readable text even when Wine wrote GBK.
set -euo pipefail
cd "$(dirname "$0")/../.."
source tools/wine-env.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export WINEPREFIX="$work/prefix"
fail() { echo "wine-step-test: $*" >&2; exit 1; }

# Fails its first $1 calls, writing Wine's message in GBK, then succeeds.
flaky() {
  local calls
  calls=$(( $(cat "$work/calls" 2>/dev/null || echo 0) + 1 ))
  echo "$calls" >"$work/calls"
  [ "$calls" -gt "$1" ] && return 0
  printf 'ShellExecuteEx 失败: 内部错误\n' | iconv -f UTF-8 -t GBK >&2
  return 1
}

#    failures  exit  calls  lines said
cases=(
  "0         0     1      0"
  "2         0     3      2"
  "5         1     3      3"
)
for c in "${cases[@]}"; do
  read -r failures want_exit want_calls want_lines <<<"$c"
  rm -f "$work/calls"
  got_exit=0
  quarrow_wine_step "a step" flaky "$failures" 2>"$work/said" || got_exit=$?
  got_calls=$(cat "$work/calls")
  got_lines=$(grep -c . "$work/said" || true)
  what="failing $failures times"
  [ "$got_exit" = "$want_exit" ] || fail "$what: exit $got_exit, wanted $want_exit"
  [ "$got_calls" = "$want_calls" ] || fail "$what: $got_calls calls, wanted $want_calls"
  [ "$got_lines" = "$want_lines" ] || fail "$what: said $got_lines lines, wanted $want_lines"
  if [ "$want_lines" -gt 0 ]; then
    grep -q "a step failed in $WINEPREFIX (attempt 1 of 3): ShellExecuteEx 失败: 内部错误" "$work/said" ||
      fail "$what: said '$(head -1 "$work/said")'"
  fi
done
echo "wine-step-test: ok (a lost start is tried again, three tries at most, each failure said readably)"
