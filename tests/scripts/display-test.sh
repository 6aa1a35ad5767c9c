#!/usr/bin/env bash
# tools/wine-env.sh's virtual displays, without Wine: each prefix gets a live
# display of its own and of its size, also where killed servers have left
# their files in /tmp; a number kept from an earlier run that now belongs to
# another prefix's display is not taken for this prefix's own.
set -euo pipefail
cd "$(dirname "$0")/../.."
source tools/wine-env.sh
work=$(mktemp -d)
made=()  # the stale files this test left in the servers' way
fail() { echo "display-test: $*" >&2; exit 1; }

listening() { grep -q " @/tmp/.X11-unix/X$1\$" /proc/net/unix; }

# Stops the server that listens on display $1 (its listening socket's inode
# names it).
stop_display() {
  local inode pid fd
  inode=$(awk -v p="@/tmp/.X11-unix/X$1" '$6 == "01" && $8 == p { print $7; exit }' /proc/net/unix)
  [ -n "$inode" ] || return 0
  for pid in $(pgrep -x 'Xvfb|Xephyr'); do
    for fd in "/proc/$pid/fd/"*; do
      [ "$(readlink "$fd")" = "socket:[$inode]" ] && { kill "$pid"; break; }
    done
  done
  return 0
}

cleanup() {
  local state n f
  for state in "$work"/*.display; do
    [ -f "$state" ] || continue
    for n in $(tac "$state"); do stop_display "$n"; done
  done
  for f in "${made[@]}"; do [ -f "$f" ] && rm -f "$f"; done  # a server's socket is not a plain file
  rm -rf "$work"
}
trap cleanup EXIT

# What a killed server leaves behind, on the next three numbers no server holds.
dead_pid=$(sh -c 'echo $$')
n=0
for _ in 1 2 3; do
  while listening "$n" || [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  mkdir -p /tmp/.X11-unix
  touch "/tmp/.X11-unix/X$n" && echo "$dead_pid" >"/tmp/.X$n-lock"
  made+=("/tmp/.X11-unix/X$n" "/tmp/.X$n-lock")
  n=$((n + 1))
done

# Starts prefix $1's display in a subshell and prints its number.
display_of() {
  (export WINEPREFIX="$work/$1" QUARROW_MONITORS="$2" QUARROW_DPI="$3"
   [ -n "$3" ] || unset QUARROW_DPI
   quarrow_virtual_display >&2 && echo "${DISPLAY#:}")
}

#        prefix monitors dpi  size the programs see
cases=("one    1        ''   1280x800"
       "dense  1        144  1920x1080"
       "two    2        ''   2304x800")
declare -A number
for c in "${cases[@]}"; do
  eval "set -- $c"
  number[$1]=$(display_of "$1" "$2" "$3") || fail "$1: no display"
  size=$(DISPLAY=":${number[$1]}" xdpyinfo | awk '/dimensions:/ { print $2 }')
  [ "$size" = "$4" ] || fail "$1: display :${number[$1]} is $size, wanted $4"
done
[ "$(printf '%s\n' "${number[@]}" | sort -u | wc -l)" = 3 ] ||
  fail "prefixes share a display: ${number[*]}"

again=$(display_of one 1 '')
[ "$again" = "${number[one]}" ] || fail "a prefix's live display was not kept (:${number[one]}, then :$again)"

cp "$work/one.display" "$work/other.display"
other=$(display_of other 1 '')
[ "$other" != "${number[one]}" ] || fail "a kept number that another prefix's display now holds was taken"

echo "display-test: ok (each prefix its own display of its size, past a killed server's files)"
