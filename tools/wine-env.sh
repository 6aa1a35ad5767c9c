# Sourced by the scripts that run Windows programs here: a Wine prefix of our
# own (made once), the GBK code page, quiet Wine, and an X display (a virtual
# one when there is none).
#   quarrow_wine_env <purpose>   purpose "test" or "run"
#   QUARROW_BUILD        build folder (default: build); the prefix is
#                        $QUARROW_BUILD/wine-<purpose> unless
#   QUARROW_WINEPREFIX   names another one.
QUARROW_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

quarrow_display_ok() { [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; }

# Starts a virtual display that outlives this script (tests and screenshots
# share it) and exports DISPLAY.
quarrow_virtual_display() {
  local state="$WINEPREFIX.display" n
  if [ -f "$state" ]; then
    export DISPLAY=":$(cat "$state")"
    quarrow_display_ok && return 0
  fi
  for n in $(seq 91 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    mkdir -p "$(dirname "$state")"
    (setsid Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &)
    export DISPLAY=":$n"
    for _ in $(seq 1 50); do quarrow_display_ok && break; sleep 0.1; done
    if quarrow_display_ok; then echo "$n" >"$state"; return 0; fi
  done
  echo "wine-env: could not start a virtual display" >&2
  return 1
}

quarrow_wine_env() {
  local purpose="${1:-test}"
  local build="${QUARROW_BUILD:-build}"
  case "$build" in /*) ;; *) build="$QUARROW_ROOT/$build" ;; esac
  export WINEPREFIX="${QUARROW_WINEPREFIX:-$build/wine-$purpose}"
  export WINEDEBUG=-all LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
  # No .NET and no HTML engine: they cannot be downloaded here and are not needed.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  # Tests always run on the virtual display, so they never touch the user's screen.
  if [ "$purpose" = test ] || ! quarrow_display_ok; then
    quarrow_virtual_display
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "wine-env: making the Wine prefix $WINEPREFIX (once, about 20 s)" >&2
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
  fi
  # On the virtual display there is no window manager: Wine draws the title
  # bars and frames itself and keeps the focus itself. A program that crashes
  # in a test prints its backtrace and ends, instead of waiting in a dialog.
  if [ "$purpose" = test ] && [ ! -f "$WINEPREFIX/.quarrow-test-config" ]; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.quarrow-test-config"
  fi
}
