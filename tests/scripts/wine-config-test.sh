#!/usr/bin/env bash
# tools/wine-env.sh configures a prefix once for what it is given, and again
# whenever its own configuration or the variant asked for changes: the
# fingerprint it keeps in the prefix decides, with Wine stood in for.
set -euo pipefail
cd "$(dirname "$0")/../.."
source tools/wine-env.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export WINEPREFIX="$work/prefix"
mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
unset QUARROW_DPI QUARROW_MONITORS
fail() { echo "wine-config-test: $*" >&2; exit 1; }

wine() { echo "$*" >>"$work/calls"; }
wineserver() { :; }
configured() {  # runs the configuration; true when it set anything
  : >"$work/calls"
  quarrow_configure_prefix "$@" 2>/dev/null
  [ -s "$work/calls" ]
}

configured test || fail "a new prefix was not configured"
grep -q 'LogPixels' "$work/calls" && fail "a DPI was set without QUARROW_DPI"
configured test && fail "the same configuration was made twice"
QUARROW_DPI=144 configured test || fail "a new DPI did not configure the prefix again"
grep -q 'LogPixels /t REG_DWORD /d 144' "$work/calls" || fail "the DPI was not set: $(cat "$work/calls")"
QUARROW_DPI=144 configured test && fail "the same DPI configured the prefix again"
configured run || fail "another purpose did not configure the prefix again"
# A change to the configuration itself (as an edit of wine-env.sh makes).
eval "$(declare -f quarrow_configure_prefix | sed 's/Micro Hei/Micro Hei Changed/')"
configured run || fail "a changed configuration was not made again"
echo "wine-config-test: ok (configured once per fingerprint: new, same, other DPI, other purpose, changed)"
