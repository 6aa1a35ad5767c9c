#!/usr/bin/env bash
# Finds out which Windows builds this host can run under Wine, by running
# each build's tiny can_run.exe once, and prints them (win32, win64) on one
# line. Says in one plain line on standard error what will be tested; fails
# with the reason when no build can run at all.
#   QUARROW_WIN64_ONLY=1   take the 64-bit-only path on any host
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/wine-env.sh
build="${QUARROW_BUILD:-build}"
case "$build" in /*) ;; *) build="$PWD/$build" ;; esac

runs=()
why32="this host cannot run 32-bit programs"
[ -x /usr/lib/wine/wine ] || why32="Wine's 32-bit half (wine32:i386) is not installed"
[ "${QUARROW_WIN64_ONLY:-0}" = 1 ] && why32="QUARROW_WIN64_ONLY=1"
if [ ! -f "$build/win32/bin/can_run.exe" ]; then
  why32="the 32-bit build is missing ($build/win32)"
elif quarrow_host_runs_win32 "$build/win32/bin/can_run.exe"; then
  runs+=(win32)
fi

why64=""
if [ ! -f "$build/win64/bin/can_run.exe" ]; then
  why64="the 64-bit build is missing ($build/win64)"
elif ! why64=$( (quarrow_wine_env test win64 && timeout 120 "$QUARROW_WINE_LOADER" "$build/win64/bin/can_run.exe") 2>&1 >/dev/null); then
  why64="wine64 cannot run the 64-bit build: ${why64:-no reason given}"
else
  runs+=(win64)
  why64=""
fi

case "${runs[*]}" in
  "win32 win64") echo "Windows tests: 32-bit and 64-bit builds" >&2 ;;
  win64) echo "Windows tests: 64-bit build only ($why32)" >&2 ;;
  win32) echo "Windows tests: 32-bit build only ($why64)" >&2 ;;
  *) echo "Windows tests: no Windows program can run on this host ($why32; $(printf '%s' "$why64" | tail -1))" >&2
     exit 1 ;;
esac
echo "${runs[*]}"
