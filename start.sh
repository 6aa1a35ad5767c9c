#!/usr/bin/env bash
# Starts Quarrow: installs what is missing, builds it, and runs Quarrow.exe
# under Wine on your display. Without a display it runs on a virtual one and
# writes a screenshot of the running bar to build/quarrow-running.png.
# Quarrow keeps its settings (Quarrow.ini) in its working folder, here
# ~/.local/share/quarrow.
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh
tools/build.sh
exe="$PWD/build/win32/bin/Quarrow.exe"
if [ ! -f "$exe" ]; then
  echo "start: Quarrow.exe is not part of the build yet; nothing to start." >&2
  exit 1
fi

had_display=0
[ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1 && had_display=1
source tools/wine-env.sh
quarrow_wine_env run

home="${XDG_DATA_HOME:-$HOME/.local/share}/quarrow"
mkdir -p "$home"
cd "$home"
echo "start: Quarrow runs with its settings in $home/Quarrow.ini (Ctrl+Alt+S shows and hides it)."
wine "$exe" &
pid=$!
trap 'kill "$pid" 2>/dev/null; wineserver -k 2>/dev/null; exit 130' INT TERM
if [ "$had_display" = 0 ]; then
  shot="$QUARROW_ROOT/build/quarrow-running.png"
  sleep 4
  import -window root "$shot"
  echo "start: no display here, so Quarrow runs on the virtual display $DISPLAY;"
  echo "start: a screenshot of the running bar is in $shot. Ctrl+C ends it."
fi
wait "$pid"
