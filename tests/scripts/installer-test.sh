#!/usr/bin/env bash
# The installer under Wine, in a prefix of its own, with each Windows build
# this host can run (only the 64-bit one where 32-bit programs cannot run): a
# silent per-user install puts the program and both shortcuts where they
# belong; the program started as its shortcut starts it keeps Quarrow.ini in
# the settings folder; AUTOSTART=0 leaves no log-on shortcut and an upgrade
# keeps that choice; an upgrade from an older package keeps Quarrow.ini byte
# for byte; the same package again repairs a deleted program; installing or
# uninstalling while Quarrow runs ends it first, and an uninstall that cannot
# end a running copy stops before it removes anything; an uninstall keeps the settings
# folder unless REMOVESETTINGS=1.
#   tests/scripts/installer-test.sh [win32|win64]   one build only
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
build="${QUARROW_BUILD:-build}"
case "$build" in /*) ;; *) build="$root/$build" ;; esac
fail() { echo "installer-test: $*" >&2; exit 1; }

# Each Windows build this host runs, each with its own package and prefix.
if [ $# = 0 ]; then
  read -r -a runnable <<<"$(tools/windows-builds.sh 2>/dev/null)"
  ((${#runnable[@]})) || fail "no Windows build runs on this host"
  for b in "${runnable[@]}"; do "$root/tests/scripts/installer-test.sh" "$b"; done
  exit
fi
b="$1"
[ "$b" = win64 ] && suffix=-x64 arch=x64 || { suffix="" arch=x86; }
version=$(sed -n 's/^project(Quarrow VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
msi="$build/$b/Quarrow-$version$suffix.msi"
[ -f "$msi" ] || fail "$msi is missing (tools/build.sh $b builds it)"
bin="$build/$b/bin"

export QUARROW_WINEPREFIX="$build/wine-installer-$b"
source tools/wine-env.sh
quarrow_wine_env test "$b" || fail "no Wine prefix"
work=$(mktemp -d)
cleanup() {
  [ -n "${stuck_pid:-}" ] && kill "$stuck_pid" 2>/dev/null
  wine msiexec /x "$(winpath "$msi")" /qn REMOVESETTINGS=1 >/dev/null 2>&1 || true
  wineserver -k 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

winpath() { wine winepath -w "$1" 2>/dev/null | tr -d '\r'; }
unixpath() { wine winepath -u "$1" 2>/dev/null | tr -d '\r' | sed 's|/$||'; }
folder_of() { unixpath "$(wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r')"; }
msiexec() { wine msiexec "$@" >/dev/null 2>&1; }

# An older package of the same program: the same .wxs with a lower version.
older="$work/Quarrow-0.9$suffix.msi"
tools/make-msi.sh "$arch" 0.9.0 "$build/$b/installer-files" "$older" || fail "the older package was not built"

local_app=$(folder_of LOCALAPPDATA)
roaming=$(folder_of APPDATA)
programs="$local_app/Programs/Quarrow"
settings="$roaming/Quarrow"
menu="$roaming/Microsoft/Windows/Start Menu/Programs"
name="Quarrow 网页搜索工具"
start_lnk="$menu/$name.lnk"
startup_lnk="$menu/StartUp/$name.lnk"
# A run stopped half-way leaves its install behind: start clean.
msiexec /x "$(winpath "$msi")" /qn REMOVESETTINGS=1 || true
msiexec /x "$(winpath "$older")" /qn REMOVESETTINGS=1 || true
rm -rf "$settings"

quarrow_running() { wine "$bin/wait_for_bar.exe" 1 >/dev/null 2>&1; }
start_from() {  # starts Quarrow as the shortcut $1 does and waits for its bar
  wine "$bin/shortcut.exe" start "$(winpath "$1")" >/dev/null || fail "could not start $1"
  wine "$bin/wait_for_bar.exe" 20 >/dev/null || fail "no bar after a start from $1"
}
shortcut_is() {  # the shortcut $1 starts the installed program in the settings folder
  local shown target workdir
  shown=$(wine "$bin/shortcut.exe" show "$(winpath "$1")" | tr -d '\r') || fail "cannot read $1"
  target=$(sed -n 's/^target=//p' <<<"$shown")
  workdir=$(sed -n 's/^workdir=//p' <<<"$shown")
  [ "$(unixpath "$target")" = "$(unixpath "$(winpath "$programs/Quarrow.exe")")" ] || fail "$1 starts '$target'"
  [ "$(unixpath "$workdir")" = "$(unixpath "$(winpath "$settings")")" ] || fail "$1 works in '$workdir'"
}
uninstall_entries() {  # the "Apps & features" entries of Quarrow: "name|version|publisher" lines
  wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null |
    quarrow_readable | tr -d '\r' | awk '
      /^HKEY/ { if (n != "") print n "|" v "|" p; n = v = p = "" }
      $1 == "DisplayName" { sub(/^ *DisplayName +REG_SZ +/, ""); n = $0 }
      $1 == "DisplayVersion" { v = $3 } $1 == "Publisher" { p = $3 }
      END { if (n != "") print n "|" v "|" p }' | grep '^Quarrow' || true
}

# ---- A silent per-user install.
t0=$(date +%s.%N)
msiexec /i "$(winpath "$msi")" /qn || fail "the silent install failed"
t1=$(date +%s.%N)
[ -f "$programs/Quarrow.exe" ] && [ -f "$programs/ReadMe.txt" ] || fail "the program is not in $programs"
cmp -s "$programs/Quarrow.exe" "$bin/Quarrow.exe" || fail "the installed program is not the build's"
[ -d "$settings" ] || fail "no settings folder $settings"
[ -f "$start_lnk" ] || fail "no Start-menu shortcut"
[ -f "$startup_lnk" ] || fail "no log-on shortcut (AUTOSTART is on by default)"
shortcut_is "$start_lnk"
shortcut_is "$startup_lnk"
[ "$(uninstall_entries)" = "$name|$version.0|Quarrow" ] || fail "Apps & features shows '$(uninstall_entries)'"
echo "installer-test: installed in $(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.1f", b - a }') s ($(stat -c %s "$msi") bytes)"

# ---- Started as the Start-menu shortcut starts it: Quarrow.ini in the settings folder.
start_from "$start_lnk"
[ -n "${QUARROW_SCREENSHOT:-}" ] && import -window root "$QUARROW_SCREENSHOT"
wine "$bin/QuarrowClose.exe" "$(winpath "$programs")" 2 || fail "Quarrow did not exit"
[ -f "$settings/Quarrow.ini" ] || fail "no Quarrow.ini in the settings folder after the exit"
[ ! -e "$programs/Quarrow.ini" ] || fail "Quarrow.ini was written into the program folder"

# ---- The same package again repairs a deleted program.
rm "$programs/Quarrow.exe"
msiexec /i "$(winpath "$msi")" /qn || fail "running the package again failed"
cmp -s "$programs/Quarrow.exe" "$bin/Quarrow.exe" || fail "running the package again did not put the program back"

# ---- An uninstall that cannot end a running copy stops before it removes anything.
# (a program of ours that answers no exit command: it waits a minute for a bar)
cp "$bin/wait_for_bar.exe" "$programs/Stuck.exe"
"$QUARROW_WINE_LOADER" "$programs/Stuck.exe" 60 >/dev/null 2>&1 &
stuck_pid=$!
sleep 2
if msiexec /x "$(winpath "$msi")" /qn; then fail "the uninstall went on past a program it could not end"; fi
[ -f "$programs/Quarrow.exe" ] && [ -f "$start_lnk" ] && [ -f "$startup_lnk" ] ||
  fail "the refused uninstall removed part of the install"
kill "$stuck_pid" 2>/dev/null; wait "$stuck_pid" 2>/dev/null || true; stuck_pid=""
rm -f "$programs/Stuck.exe"

# ---- Uninstall while Quarrow runs: it is ended, everything goes but the settings.
printf '[History]\r\nH0=kept\r\n' >"$settings/Quarrow.ini"
start_from "$start_lnk"
msiexec /x "$(winpath "$msi")" /qn || fail "the silent uninstall failed"
quarrow_running && fail "Quarrow still runs after the uninstall"
[ ! -e "$programs" ] || fail "the uninstall left $programs: $(ls -A "$programs")"
[ ! -e "$start_lnk" ] && [ ! -e "$startup_lnk" ] || fail "the uninstall left a shortcut"
wine reg query 'HKCU\Software\Quarrow' >/dev/null 2>&1 && fail "the uninstall left HKCU\\Software\\Quarrow"
[ -z "$(uninstall_entries)" ] || fail "Apps & features still shows $(uninstall_entries)"
grep -q '^H0=kept' "$settings/Quarrow.ini" || fail "Quarrow.ini lost its history: $(cat "$settings/Quarrow.ini")"
# Nothing else of it in the user's profile (the installer's icon cache included).
left=$(find "$(dirname "$(dirname "$roaming")")" -iname '*quarrow*' ! -path "$settings" ! -path "$settings/*")
[ -z "$left" ] || fail "the uninstall left: $left"
cp "$settings/Quarrow.ini" "$work/kept.ini"

# ---- An older version without the log-on shortcut, upgraded: the choice and Quarrow.ini stay.
msiexec /i "$(winpath "$older")" /qn AUTOSTART=0 || fail "installing the older package failed"
[ -f "$start_lnk" ] || fail "no Start-menu shortcut from the older package"
[ ! -e "$startup_lnk" ] || fail "AUTOSTART=0 left a log-on shortcut"
msiexec /i "$(winpath "$msi")" /qn || fail "the upgrade failed"
[ "$(uninstall_entries)" = "$name|$version.0|Quarrow" ] || fail "after the upgrade Apps & features shows '$(uninstall_entries)'"
[ ! -e "$startup_lnk" ] || fail "the upgrade turned the log-on shortcut on"
cmp -s "$settings/Quarrow.ini" "$work/kept.ini" || fail "the upgrade changed Quarrow.ini"
cmp -s "$programs/Quarrow.exe" "$bin/Quarrow.exe" || fail "the upgrade did not install the new program"

# ---- An upgrade while Quarrow runs ends it first; its settings stay.
msiexec /x "$(winpath "$msi")" /qn
msiexec /i "$(winpath "$older")" /qn || fail "installing the older package failed"
[ -f "$startup_lnk" ] || fail "the older package's default left no log-on shortcut"
start_from "$start_lnk"
msiexec /i "$(winpath "$msi")" /qn || fail "the upgrade over a running Quarrow failed"
quarrow_running && fail "Quarrow still runs after the upgrade"
grep -q '^H0=kept' "$settings/Quarrow.ini" || fail "the upgrade over a running Quarrow lost its settings"
[ -f "$startup_lnk" ] || fail "the upgrade turned the log-on shortcut off"
shortcut_is "$startup_lnk"

# ---- REMOVESETTINGS=1 removes the settings folder too.
msiexec /x "$(winpath "$msi")" /qn REMOVESETTINGS=1 || fail "the uninstall with REMOVESETTINGS=1 failed"
[ ! -e "$settings" ] || fail "REMOVESETTINGS=1 left $settings: $(ls -A "$settings")"
[ ! -e "$programs" ] || fail "the uninstall left $programs"
echo "installer-test: ok ($b build: install, shortcuts, settings folder, repair, upgrade, uninstall)"
