#!/usr/bin/env bash
# Installs what building and running Quarrow here needs, and skips what is
# already there: Debian packages (MinGW-w64 for 32 and 64 bits, Wine with its
# 32-bit half where that can run, a virtual display and Xephyr for two
# monitors, Chinese fonts and Wine's own fonts, GoogleTest, jq for the
# performance report, wixl and msitools for the installer), and the
# zh_CN.UTF-8 locale that gives Wine the GBK code page. `tools/setup.sh native` installs only what the core's native
# tests need; `tools/setup.sh fuzz` also installs clang with its fuzzer runtime.
#
# Wine's 32-bit half (wine32:i386, and with it the i386 architecture) is
# installed only where this host runs 32-bit programs: a tiny one is tried
# first. Whatever cannot be had is said in one line, with what is lost: a
# package index that fails to load twice is set aside and the rest installs
# from what did load; an optional package that cannot be installed leaves
# setup succeeding (and is not tried again for a day, so that a second run
# stays quick); one without which nothing can be built or tested makes setup
# fail.
#   QUARROW_I386_PROBE=<program>   is run instead of the built-in 32-bit probe
set -euo pipefail

SUDO=""
[ "$(id -u)" = 0 ] || SUDO="sudo"
mode="${1:-}"

PACKAGES=(cmake make g++ libgtest-dev libbenchmark-dev
          g++-mingw-w64-i686 binutils-mingw-w64-i686
          g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
          wine wine32:i386 wine64 fonts-wine xvfb xserver-xephyr xauth x11-utils
          fonts-wqy-zenhei fonts-wqy-microhei imagemagick locales jq
          wixl msitools)
# `tools/setup.sh native` installs only what the core's native tests need.
[ "$mode" = native ] && PACKAGES=(cmake make g++ libgtest-dev libbenchmark-dev)
[ "$mode" = fuzz ] && PACKAGES+=(clang libclang-rt-14-dev)

# Without these nothing can be built or tested: setup fails, saying why.
declare -A NEEDED=(
  [cmake]="nothing can be built"
  [make]="nothing can be built"
  [g++]="the core and its tests cannot be built"
  [libgtest-dev]="no test can be built"
  [g++-mingw-w64-i686]="the 32-bit Windows build cannot be made"
  [binutils-mingw-w64-i686]="the 32-bit Windows build cannot be made"
  [g++-mingw-w64-x86-64]="the 64-bit Windows build cannot be made"
  [binutils-mingw-w64-x86-64]="the 64-bit Windows build cannot be made"
  [wine]="Wine's commands (wineserver, winepath) are missing: no Windows test can run"
  [wine64]="no Windows program can run"
  [xvfb]="there is no virtual display: no Windows test can run"
  [x11-utils]="the virtual display cannot be checked (xdpyinfo, xprop): no Windows test can run"
  [clang]="the fuzz target cannot be built"
  [libclang-rt-14-dev]="the fuzz target cannot be linked (no libFuzzer)"
)
# Without these the rest still works; what each one's absence costs.
declare -A LOST=(
  [wine32:i386]="32-bit tests skipped (the 64-bit build is tested)"
  [libbenchmark-dev]="the core's benchmarks are not built (tools/bench.sh, tools/perf.sh)"
  [fonts-wine]="Wine draws the caption buttons as letters"
  [xserver-xephyr]="the two-monitor tests cannot run"
  [xauth]="xvfb-run cannot be used (the scripts here start Xvfb themselves)"
  [fonts-wqy-zenhei]="Chinese text outside the replaced SimSun faces may be drawn in another font"
  [fonts-wqy-microhei]="Chinese text is drawn in another font (glyphs may clip, tests that measure text may fail)"
  [imagemagick]="no screenshots (start.sh without a display, QUARROW_SCREENSHOT)"
  [locales]="the zh_CN.UTF-8 locale is not generated (Wine still takes the GBK code page from its name)"
  [jq]="no benchmark report (tools/bench.sh, tools/perf.sh)"
  [wixl]="no installer packages are built"
  [msitools]="no installer packages are built"
)

say() { echo "setup: $*" >&2; }
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
# apt's messages in English, whatever the user's language: they are parsed.
apt_get() { $SUDO env LC_ALL=C DEBIAN_FRONTEND=noninteractive apt-get "$@"; }

# Whether this host runs 32-bit x86 programs. Some kernels are built without
# i386 support, or have it switched off, and refuse such programs ("Exec
# format error"); there Wine's 32-bit half would install but never start, and
# its i386 packages cost a large download and an index of their own. The
# probe needs no compiler: 96 bytes of static i386 ELF whose code is
# `mov eax,1; mov ebx,0; int 0x80`, that is exit(0). Sets why32 when not.
I386_PROBE=f0VMRgEBAQAAAAAAAAAAAAIAAwABAAAAVIAECDQAAAAAAAAAAAAAADQAIAABAAAAAAAAAAEAAAAAAAAAAIAECACABAhgAAAAYAAAAAUAAAAAEAAAuAEAAAC7AAAAAM2A
why32=""
host_runs_i386() {
  local probe="${QUARROW_I386_PROBE:-}" dir="" out rc=0
  if [ -z "$probe" ]; then
    dir=$(mktemp -d)
    probe="$dir/i386-probe"
    printf '%s' "$I386_PROBE" | base64 -d >"$probe"
    chmod +x "$probe"
  fi
  out=$("$probe" 2>&1) || rc=$?
  [ -z "$dir" ] || rm -rf "$dir"
  [ "$rc" = 0 ] && return 0
  out=$(printf '%s' "$out" | tail -1)
  why32="${out##*: }"  # bash's "…: cannot execute binary file: Exec format error"
  [ -n "$why32" ] || why32="the probe ended with status $rc"
  return 1
}

# Optional packages that could not be installed lately: "<package> <when>"
# lines. Trying again on every run would cost an index update and a failing
# install each time; a day later the mirror has usually caught up.
memo="${XDG_CACHE_HOME:-${HOME:-/tmp}/.cache}/quarrow/setup-not-installable"
now=$(date +%s)
memo_age() {  # prints the hours since $1 was found uninstallable, if within a day
  [ -f "$memo" ] || return 1
  awk -v p="$1" -v now="$now" '$1 == p && now - $2 < 86400 { h = int((now - $2) / 3600); f = 1 }
                               END { if (!f) exit 1; print h }' "$memo"
}
memo_write() {  # keeps the recent entries of packages not tried now, adds "$@"
  local keep p
  [ -f "$memo" ] || (($#)) || return 0
  keep=$(awk -v now="$now" -v tried=" ${missing[*]} " \
           'now - $2 < 86400 && index(tried, " " $1 " ") == 0' "$memo" 2>/dev/null || true)
  { mkdir -p "$(dirname "$memo")" &&
    { [ -z "$keep" ] || printf '%s\n' "$keep"; for p in "$@"; do echo "$p $now"; done; } >"$memo"
  } 2>/dev/null || true
}

# apt-get update, tried a second time when it fails (a mirror in the middle
# of a sync, a dropped connection). When it fails again, each index that did
# not load is said and set aside: apt has kept the old copy, or none, and the
# packages whose indexes loaded still install.
update_indexes() {
  local out line
  out=$(apt_get update -q 2>&1) && return 0
  sleep 5
  out=$(apt_get update -q 2>&1) && return 0
  # apt names each failed index on an "Err:N <source> <index>" line, the
  # reason indented below it; "E: Failed to fetch <url>  <reason>" says the
  # same per file, used when there are no Err lines.
  printf '%s\n' "$out" | awk '
    function flush() { if (name != "") err[++n] = "(" (why == "" ? "no reason given" : why) "): " name; name = ""; why = "" }
    /^Err:[0-9]+ / { flush(); name = $0; sub(/^Err:[0-9]+ /, "", name); next }
    name != "" && why == "" && /^  / { why = $0; sub(/^ +/, "", why); sub(/ *\[IP: [^]]*\]$/, "", why); next }
    name != "" && !/^  / { flush() }
    /^[EW]: Failed to fetch / { u = $4; r = $0; sub(/^[EW]: Failed to fetch [^ ]+ +/, "", r)
                                sub(/ *\[IP: [^]]*\]$/, "", r); fetch[++m] = "(" r "): " u; next }
    /^E: / { last = substr($0, 4) }
    END { flush()
          if (n) for (i = 1; i <= n; i++) print "package index not loaded " err[i]
          else if (m) for (i = 1; i <= m; i++) print "package index not loaded " fetch[i]
          else print "apt-get update failed (" (last == "" ? "no reason given" : last) "): installing from the package lists already here" }' |
    while IFS= read -r line; do say "$line"; done
}

wanted=()
for p in "${PACKAGES[@]}"; do
  installed "$p" || wanted+=("$p")
done
if [[ " ${wanted[*]} " == *" wine32:i386 "* ]] && ! host_runs_i386; then
  say "this host does not run 32-bit programs ($why32): wine32:i386 and the i386 architecture are left out (the 64-bit build is tested)"
  for i in "${!wanted[@]}"; do [ "${wanted[$i]}" != wine32:i386 ] || unset 'wanted[i]'; done
fi
missing=()
for p in ${wanted[@]+"${wanted[@]}"}; do
  if [ -n "${LOST[$p]:-}" ] && hours=$(memo_age "$p"); then
    say "$p cannot be installed (found $hours h ago, tried again after 24 h): ${LOST[$p]}"
  else
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  [[ "${missing[*]}" != *:i386* ]] || dpkg --print-foreign-architectures | grep -qx i386 ||
    $SUDO dpkg --add-architecture i386
  update_indexes
  failed=()
  if ! apt_get install -y -q --no-install-recommends "${missing[@]}"; then
    # One package that cannot be had fails the whole install: the others are
    # installed one at a time, to name exactly the ones that cannot.
    if ((${#missing[@]} > 1)); then
      echo "setup: installing the packages one at a time, to find the ones that cannot be installed"
      for p in "${missing[@]}"; do
        installed "$p" || apt_get install -y -qq --no-install-recommends "$p" >/dev/null 2>&1 || failed+=("$p")
      done
    else
      failed=("${missing[@]}")
    fi
  fi
  optional_failed=() fatal=0
  for p in ${failed[@]+"${failed[@]}"}; do
    if [ -n "${LOST[$p]:-}" ]; then
      say "$p cannot be installed: ${LOST[$p]}"
      optional_failed+=("$p")
    else
      say "$p cannot be installed: ${NEEDED[$p]:-setup cannot go on without it}"
      fatal=1
    fi
  done
  memo_write ${optional_failed[@]+"${optional_failed[@]}"}
  [ "$fatal" = 0 ] || exit 1
fi

[ "$mode" = native ] && exit 0
installed locales || exit 0  # already said: there is nothing to generate the locale with
if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
  echo "setup: generating the zh_CN.UTF-8 locale"
  $SUDO sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
