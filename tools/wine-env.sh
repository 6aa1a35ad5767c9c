# Sourced by the scripts that run Windows programs here: a Wine prefix of our
# own (made once), the GBK code page (or the locale asked for), quiet Wine,
# and an X display (a virtual one when there is none).
#   quarrow_wine_env <purpose> [<build>]
#     purpose   "test" or "run"
#     build     "win32" (default) or "win64": which Wine runs the program.
#               The 32-bit build runs under `wine`, the 64-bit one under
#               wine64 with a 64-bit prefix of its own.
#   QUARROW_BUILD        build folder (default: build); the prefix is
#                        $QUARROW_BUILD/wine-<purpose>[-<variant>] unless
#   QUARROW_WINEPREFIX   names another one.
#   QUARROW_MONITORS=2   tests on two monitors side by side (Xephyr with
#                        Xinerama inside an Xvfb; Wine's XRandR use off).
#   QUARROW_DPI=N        tests at N dots per inch (the prefix's LogPixels).
#   QUARROW_LOCALE=L     Wine's processes under the locale L (en_US.UTF-8:
#                        code page 1252, ja_JP.UTF-8: 932) instead of
#                        zh_CN.UTF-8 (936), in a prefix of their own.
# Afterwards `wine` (a shell function) runs a program with the right loader.
# Every failure says what failed, once, and returns non-zero.
QUARROW_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

quarrow_display_ok() { [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; }

quarrow_fail() { echo "wine-env: $*" >&2; return 1; }

# Starts the X server "$@" in the background, detached, and prints its display
# number once it is ready. The server picks the number itself (-displayfd):
# the first one no live server holds. Judging by the files in /tmp is not
# enough: a server that was killed leaves its socket and lock file behind, and
# a host that keeps /tmp across runs fills up with them.
quarrow_start_x() {
  local said n
  said=$(mktemp) || return 1
  (setsid "$@" -displayfd 3 -noreset -nolisten tcp 3>"$said" >/dev/null 2>&1 &)
  for _ in $(seq 1 100); do
    read -r n <"$said" 2>/dev/null && [ -n "$n" ] && break
    sleep 0.1
  done
  rm -f "$said"
  [ -n "${n:-}" ] || return 1
  echo "$n"
}

# A display started for a prefix carries the prefix's path on its root
# window: numbers are reused once a server ends, so a number kept from an
# earlier run may now belong to another prefix's display. Marking it is also
# the first talk with a new server: a display that cannot be marked is not
# used (unmarked, it would never be taken again).
quarrow_mark_display() { xprop -root -f QUARROW_PREFIX 8s -set QUARROW_PREFIX "$WINEPREFIX"; }
quarrow_display_is_ours() {
  quarrow_display_ok && xprop -root QUARROW_PREFIX 2>/dev/null | grep -qF "= \"$WINEPREFIX\""
}

# Starts a virtual display that outlives this script (tests and screenshots
# share it; its number is kept beside the prefix) and exports DISPLAY.
quarrow_virtual_display() {
  local state="$WINEPREFIX.display" n outer=""
  if [ -f "$state" ]; then
    export DISPLAY=":$(tail -1 "$state")"
    quarrow_display_is_ours && return 0
  fi
  mkdir -p "$(dirname "$state")"
  if [ "${QUARROW_MONITORS:-1}" = 2 ]; then
    # Xvfb alone stacks its screens; Xephyr inside it lays two side by side.
    command -v Xephyr >/dev/null || quarrow_fail "Xephyr is missing (tools/setup.sh installs xserver-xephyr)" || return 1
    outer=$(quarrow_start_x Xvfb -screen 0 2400x900x24) ||
      quarrow_fail "the virtual display did not start (Xvfb)" || return 1
    n=$(DISPLAY=":$outer" quarrow_start_x Xephyr +xinerama -screen 1280x800 -screen 1024x768) ||
      quarrow_fail "the two-monitor display did not start (Xephyr inside :$outer)" || return 1
  else
    # A denser screen is a larger one: at 144 DPI the tallest dialog needs
    # more than 800 pixels.
    local size=1280x800x24
    [ -n "${QUARROW_DPI:-}" ] && size=1920x1080x24
    n=$(quarrow_start_x Xvfb -screen 0 "$size") ||
      quarrow_fail "the virtual display did not start (Xvfb)" || return 1
  fi
  export DISPLAY=":$n"
  quarrow_mark_display || quarrow_fail "the virtual display :$n does not answer" || return 1
  printf '%s\n' ${outer:+"$outer"} "$n" >"$state"
}

# Wine's programs write in the prefix's code page (GBK here); shown as UTF-8.
quarrow_readable() {
  local text
  text=$(cat)
  if printf '%s' "$text" | iconv -f UTF-8 -t UTF-8 >/dev/null 2>&1; then
    printf '%s' "$text"
  else
    printf '%s' "$text" | iconv -f GBK -t UTF-8 -c
  fi
}

# Runs a registry or set-up command in the prefix; on failure says which.
# A CI host now and then lost a Wine process while it started ("ShellExecuteEx
# failed: internal error", Wine's word for a new process that died before its
# start-up finished), so a step is tried three times, each failure said.
quarrow_wine_step() {
  local what="$1" out attempt
  shift
  for attempt in 1 2 3; do
    out=$("$@" 2>&1) && return 0
    out=$(printf '%s' "$out" | tail -1 | quarrow_readable)
    echo "wine-env: $what failed in $WINEPREFIX (attempt $attempt of 3): $out" >&2
    [ "$attempt" = 3 ] || sleep 1
  done
  return 1
}

quarrow_reg_add() { quarrow_wine_step "setting $1\\$3" wine reg add "$@" /f; }

quarrow_wine_env() {
  local purpose="${1:-test}" arch="${2:-win32}" variant=""
  local build="${QUARROW_BUILD:-build}"
  case "$build" in /*) ;; *) build="$QUARROW_ROOT/$build" ;; esac
  case "$arch" in
    win32) QUARROW_WINE_LOADER=/usr/lib/wine/wine; unset WINEARCH ;;
    win64) QUARROW_WINE_LOADER=/usr/lib/wine/wine64; export WINEARCH=win64; variant="-win64" ;;
    *) quarrow_fail "unknown build '$arch' (win32 or win64)"; return 1 ;;
  esac
  [ -x "$QUARROW_WINE_LOADER" ] || { quarrow_fail "$QUARROW_WINE_LOADER is missing (tools/setup.sh installs Wine)"; return 1; }
  export WINELOADER="$QUARROW_WINE_LOADER"
  [ "${QUARROW_MONITORS:-1}" = 2 ] && variant+="-2mon"
  [ -n "${QUARROW_DPI:-}" ] && variant+="-dpi$QUARROW_DPI"
  # The locale of Wine's processes sets the system's code page (whether or not
  # Linux has it generated): a prefix of its own keeps it apart.
  local locale="${QUARROW_LOCALE:-zh_CN.UTF-8}"
  case "$locale" in
    *[!A-Za-z0-9_.@-]*|"") quarrow_fail "QUARROW_LOCALE='$locale' is not a locale name"; return 1 ;;
  esac
  [ "$locale" = zh_CN.UTF-8 ] || variant+="-${locale%%.*}"
  export WINEPREFIX="${QUARROW_WINEPREFIX:-$build/wine-$purpose$variant}"
  # (Bash warns when this shell itself cannot take a locale Linux lacks; Wine
  # needs only the names.)
  { export WINEDEBUG=-all LANG="$locale" LC_ALL="$locale"; } 2>/dev/null
  # No .NET and no HTML engine: they cannot be downloaded here and are not needed.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  # Tests always run on the virtual display, so they never touch the user's screen.
  if [ "$purpose" = test ] || ! quarrow_display_ok; then
    quarrow_virtual_display || return 1
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "wine-env: making the Wine prefix $WINEPREFIX (once, about 20 s)" >&2
    mkdir -p "$WINEPREFIX"
    quarrow_wine_step "making the prefix (wineboot)" wine wineboot -i || return 1
    wineserver -w
    [ -f "$WINEPREFIX/system.reg" ] || { quarrow_fail "wineboot made no prefix in $WINEPREFIX"; return 1; }
  fi
  quarrow_configure_prefix "$purpose"
}

# The prefix's settings, made once: Chinese text drawn whole, and for tests
# no window manager, no crash dialog, and the monitor or DPI variant. The
# prefix keeps a fingerprint of this function and of what it was given, so
# that a change to either configures it again: there is no number to raise.
quarrow_configure_prefix() {
  local stamp="$WINEPREFIX/.quarrow-config" want
  want=$({ declare -f quarrow_configure_prefix quarrow_reg_add
           echo "$1 ${QUARROW_MONITORS:-1} ${QUARROW_DPI:-}"; } | sha1sum | cut -c1-16)
  [ "$(cat "$stamp" 2>/dev/null)" = "$want" ] && return 0
  # The templates' "宋体" (SimSun) is replaced by a font that Debian has;
  # WenQuanYi Zen Hei clips some glyphs at the templates' size, Micro Hei
  # draws them whole.
  # Wine's own fonts (Marlett draws the caption buttons) are not loaded from
  # Debian's data folder by Wine 8 (seen: the buttons drawn as "0 1 r");
  # from the prefix's Fonts folder they are.
  cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null ||
    echo "wine-env: Wine's own fonts are missing (fonts-wine): caption buttons will show letters" >&2
  local fonts='HKCU\Software\Wine\Fonts\Replacements' face
  for face in "宋体" "SimSun" "新宋体" "NSimSun"; do
    quarrow_reg_add "$fonts" /v "$face" /d "WenQuanYi Micro Hei" || return 1
  done
  if [ "$1" = test ]; then
    # On the virtual display there is no window manager: Wine draws the title
    # bars and frames itself and keeps the focus itself. A program that
    # crashes in a test prints its backtrace and ends, instead of waiting in
    # a dialog.
    quarrow_reg_add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N || return 1
    quarrow_reg_add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N || return 1
    quarrow_reg_add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 || return 1
  fi
  if [ "${QUARROW_MONITORS:-1}" = 2 ]; then
    # Wine reports Xinerama's monitors only with its XRandR use off.
    quarrow_reg_add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /d N || return 1
  fi
  if [ -n "${QUARROW_DPI:-}" ]; then
    quarrow_reg_add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$QUARROW_DPI" || return 1
  fi
  wineserver -k 2>/dev/null || true  # settings are read when the prefix starts again
  wineserver -w
  echo "$want" >"$stamp"
}

# `wine` runs a program with this build's loader.
wine() { "$QUARROW_WINE_LOADER" "$@"; }  # not seen by `timeout` and the like: they need $QUARROW_WINE_LOADER

# Whether this host runs the 32-bit build's programs: tries the tiny program
# `$1` once under the 32-bit Wine (some kernels refuse 32-bit code: "Exec
# format error"). QUARROW_WIN64_ONLY=1 answers no on any host.
quarrow_host_runs_win32() {
  [ "${QUARROW_WIN64_ONLY:-0}" = 1 ] && return 1
  [ -x /usr/lib/wine/wine ] || return 1
  ( quarrow_wine_env test win32 >/dev/null 2>&1 && timeout 120 "$QUARROW_WINE_LOADER" "$1" >/dev/null 2>&1 )
}
