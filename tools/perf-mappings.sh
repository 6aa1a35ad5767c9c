#!/usr/bin/env bash
# Where the working set of Quarrow.exe and of a floor (floor-shows, the one
# the targets are set against, unless --floor names another) lies once each
# is shown on the full settings file: the resident kilobytes of every Linux
# mapping of its Wine process (/proc/PID/smaps), the medians of a few starts,
# and Quarrow's excess over the floor mapping by mapping.
# Under Wine the system's drawing runs inside the process: the font files
# FreeType reads and the Unix-side heap where GDI keeps bitmaps and brushes
# count in the working set, where Windows keeps them in the session's kernel
# memory. This tells them apart from what is Quarrow's own.
#
#   tools/perf-mappings.sh [win32|win64] [--colour-look] [--rounds N] [--floor floor-required]
#
# Uses the programs tools/perf.sh builds (build/<build>/bin, or $QUARROW_BUILD).
# Not a test: it prints figures; it fails only when a program does not start.
set -euo pipefail
cd "$(dirname "$0")/.."
tree=win64 look=() rounds=3 floor=floor-shows
while [ $# -gt 0 ]; do
  case "$1" in
    win32 | win64) tree=$1 ;;
    --colour-look) look=(--colour-look) ;;
    --rounds) rounds=$2; shift ;;
    --floor) floor=${2%.exe}; shift ;;
    *) echo "usage: tools/perf-mappings.sh [win32|win64] [--colour-look] [--rounds N] [--floor NAME]" >&2; exit 2 ;;
  esac
  shift
done
build="${QUARROW_BUILD:-build}"
case "$build" in /*) ;; *) build="$PWD/$build" ;; esac
bin="$build/$tree/bin"
[ -x "$bin/perfdriver.exe" ] || { echo "perf-mappings: no $bin/perfdriver.exe; run tools/perf.sh first" >&2; exit 2; }
[ -f "$bin/$floor.exe" ] || { echo "perf-mappings: no $bin/$floor.exe" >&2; exit 2; }
source tools/wine-env.sh
QUARROW_BUILD="$build" quarrow_wine_env test "$tree"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One start of $1 in a fresh folder holding the settings file; prints
# "KB mapping" lines. The Wine process is found by its name (the kernel keeps
# 15 characters of it) and ended once read: nothing of it is kept.
resident() {
  local exe=$1 folder pid=""
  folder=$(mktemp -d -p "$work")
  wine "$bin/perfdriver.exe" write-settings "$(winepath -w "$folder")" "${look[@]}" >/dev/null 2>&1
  [ -s "$folder/Quarrow.ini" ] || { echo "perf-mappings: no settings file written" >&2; return 1; }
  (cd "$folder" && exec "$QUARROW_WINE_LOADER" "$bin/$exe" >/dev/null 2>&1 &)
  for _ in $(seq 1 100); do
    pid=$(pgrep -n -x "${exe:0:15}") && break
    sleep 0.1
  done
  [ -n "$pid" ] || { echo "perf-mappings: $exe did not start" >&2; return 1; }
  sleep 3  # shown, painted and idle long before this
  awk '/^[0-9a-f]+-[0-9a-f]+ / { name = $6 == "" ? "[anonymous]" : $6; sub(/.*\//, "", name) }
       /^Rss:/ { kb[name] += $2 }
       END { for (n in kb) if (kb[n] > 0) print kb[n], n }' "/proc/$pid/smaps"
  kill "$pid" 2>/dev/null || true
  sleep 1
}

"$(dirname "$0")/evict-page-cache.sh" "$bin"/*.exe  # each program read as after boot
for round in $(seq 1 "$rounds"); do
  for exe in Quarrow.exe "$floor.exe"; do
    resident "$exe" | sed "s/^/$exe $round /" >>"$work/all"
  done
done

# The program's own file is one row for both, "the program"; rows under 16 KB
# apart are left out, the biggest excess first.
echo "Resident KB by mapping when shown ($tree build, ${look[*]:-picture look}, median of $rounds starts)"
printf "%-34s %10s %16s %8s\n" mapping Quarrow "$floor" above
awk -v rounds="$rounds" -v floor="$floor.exe" '
  function median(list,   n, a, i, j, t) {
    n = split(list, a, " ")
    for (i = n + 1; i <= rounds; ++i) a[i] = 0
    for (i = 1; i <= rounds; ++i) for (j = i + 1; j <= rounds; ++j) if (a[j] < a[i]) { t = a[i]; a[i] = a[j]; a[j] = t }
    return a[int((rounds + 1) / 2)]
  }
  { name = ($4 == $1) ? "the program" : $4; kb[$1, name] = kb[$1, name] " " $3; names[name] = 1 }
  END {
    for (n in names) {
      q = median(kb["Quarrow.exe", n]); f = median(kb[floor, n])
      tq += q; tf += f
      if (q - f >= 16 || f - q >= 16) printf "%d\t%-34s %10d %16d %+8d\n", q - f, n, q, f, q - f
    }
    printf "%d\t%-34s %10d %16d %+8d\n", -1e9, "all mappings", tq, tf, tq - tf
  }' "$work/all" | sort -t$'\t' -k1,1 -rn | cut -f2-
