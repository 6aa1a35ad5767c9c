#!/usr/bin/env bash
# Starts Quarrow: installs what is missing, builds it, and runs Quarrow.exe
# under Wine on your display: the 32-bit program where this host runs 32-bit
# programs, the 64-bit one where it cannot. Without a display it runs on a
# virtual one and, once the bar is up, writes a screenshot of it to
# build/quarrow-running.png.
# Quarrow keeps its settings (Quarrow.ini) in its working folder, here
# ~/.local/share/quarrow.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh
tools/build.sh
source tools/wine-env.sh
if quarrow_host_runs_win32 "$PWD/build/win32/bin/can_run.exe"; then
  arch=win32 bits="32-bit"
else
  arch=win64 bits="64-bit (32-bit Windows programs do not run here: Wine's 32-bit half is missing or the kernel refuses 32-bit code)"
fi
bin="$PWD/build/$arch/bin"

had_display=0
quarrow_display_ok && had_display=1
quarrow_wine_env run "$arch"

home="${XDG_DATA_HOME:-$HOME/.local/share}/quarrow"
mkdir -p "$home"
cd "$home"
echo "start: Quarrow $bits runs with its settings in $home/Quarrow.ini (Ctrl+Alt+S shows and hides it)."
wine "$bin/Quarrow.exe" &
pid=$!
trap 'kill "$pid" 2>/dev/null; wineserver -k 2>/dev/null; exit 130' INT TERM
if [ "$had_display" = 0 ]; then
  shot="$QUARROW_ROOT/build/quarrow-running.png"
  if ! where=$(wine "$bin/wait_for_bar.exe" 30); then
    echo "start: the bar did not appear within 30 s; no screenshot taken." >&2
    kill "$pid" 2>/dev/null; wineserver -k 2>/dev/null
    exit 1
  fi
  sleep 1  # its first painting
  import -window root "$shot"
  echo "start: no display here, so Quarrow runs on the virtual display $DISPLAY (the bar at $where);"
  echo "start: a screenshot of the running bar is in $shot. Ctrl+C ends it."
fi
wait "$pid"
