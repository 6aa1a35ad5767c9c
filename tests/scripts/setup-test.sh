#!/usr/bin/env bash
# tools/setup.sh's decisions against stand-ins for the package tools (apt-get,
# dpkg, dpkg-query, sudo, locale first on PATH; nothing on this system is
# touched): an index that fails twice is named and set aside, a host that
# refuses 32-bit programs never gets wine32:i386 or the i386 architecture, a
# package that cannot be installed is named with what is lost (and not tried
# again the next run), an essential one fails setup, and nothing installed
# means no apt-get at all. Each case runs once as root and once as a user (an
# `id` stand-in), whose package commands must all go through sudo.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "setup-test: $*" >&2; exit 1; }
mkdir "$work/bin" "$work/s"
export STUB="$work/s" PATH="$work/bin:$PATH"
stub() { printf '#!/usr/bin/env bash\n%s\n' "$2" >"$work/bin/$1"; chmod +x "$work/bin/$1"; }
stub id       '[ "$1" = -u ] && { echo "$STUB_UID"; exit; }; exec /usr/bin/id "$@"'
stub sudo     'STUB_SUDO="sudo " exec "$@"'
stub sleep    ':'
stub locale   'echo zh_CN.utf8'
stub locale-gen 'echo "locale-gen" >>"$STUB/calls"'
stub dpkg-query 'grep -qx -- "${!#}" "$STUB/absent" && exit 1; echo "install ok installed"'
stub dpkg '
case "$1" in
  --print-foreign-architectures) cat "$STUB/arches" ;;
  --add-architecture) echo "${STUB_SUDO:-}dpkg --add-architecture $2" >>"$STUB/calls"; echo "$2" >>"$STUB/arches" ;;
  *) exit 2 ;;
esac'
stub apt-get '
args=(); for a in "$@"; do [[ $a == -* ]] || args+=("$a"); done
echo "${STUB_SUDO:-}apt-get ${args[*]}" >>"$STUB/calls"
[ "$LC_ALL" = C ] || exit 3  # setup reads apt'"'"'s English
if [ "${args[0]}" = update ]; then
  left=$(cat "$STUB/update-fails"); [ "$left" -gt 0 ] || exit 0
  echo $((left - 1)) >"$STUB/update-fails"
  cat "$STUB/update-says"; exit 100
fi
for p in "${args[@]:1}"; do grep -qx -- "$p" "$STUB/cannot" && { echo "E: Unable to locate package $p" >&2; exit 100; }; done
for p in "${args[@]:1}"; do grep -vx -- "$p" "$STUB/absent" >"$STUB/a" || true; mv "$STUB/a" "$STUB/absent"; done'
cat >"$work/mirror" <<'EOF'
Get:3 http://deb.debian.org/debian-security bookworm-security InRelease [34.8 kB]
Err:4 http://deb.debian.org/debian-security bookworm-security/main i386 Packages
  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 203.0.113.80 80]
  Hashes of expected file:
Fetched 241 kB in 0s (921 kB/s)
E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress? [IP: 203.0.113.80 80]
E: Some index files failed to download. They have been ignored, or old ones used instead.
EOF
echo 'E: Could not get lock /var/lib/apt/lists/lock. It is held by process 42 (apt-get)' >"$work/lock"
# A program the kernel refuses as it refuses i386 code where that is off.
printf '\177ELF\001\001\001' >"$work/refused"; head -c 89 /dev/zero >>"$work/refused"; chmod +x "$work/refused"

mirror="setup: package index not loaded (File has unexpected size (374820 != 376004). Mirror sync in progress?): http://deb.debian.org/debian-security bookworm-security/main i386 Packages"
refused="setup: this host does not run 32-bit programs (Exec format error): wine32:i386 and the i386 architecture are left out (the 64-bit build is tested)"
no32="setup: wine32:i386 cannot be installed: 32-bit tests skipped (the 64-bit build is tested)"
# memo: "-" none, "kept" what the case before left, "old" wine32:i386 two days ago.
# name             |args  |not installed      |cannot install|update fails|32-bit |memo|exit|apt-get and dpkg calls                                          |said
cases=(
"all installed     |      |                   |              |0           |runs   |-   |0   |                                                                |"
"index fails twice |      |wine32:i386 jq     |              |2 mirror    |runs   |-   |0   |dpkg --add-architecture i386;apt-get update;apt-get update;apt-get install wine32:i386 jq|$mirror"
"index fails once  |      |jq                 |              |1 mirror    |runs   |-   |0   |apt-get update;apt-get update;apt-get install jq               |"
"update locked     |      |jq                 |              |2 lock      |runs   |-   |0   |apt-get update;apt-get update;apt-get install jq               |setup: apt-get update failed (Could not get lock /var/lib/apt/lists/lock. It is held by process 42 (apt-get)): installing from the package lists already here"
"32-bit refused    |      |wine32:i386 wine64 |              |0           |refused|-   |0   |apt-get update;apt-get install wine64                           |$refused"
"refused, no other |      |wine32:i386        |              |0           |refused|-   |0   |                                                                |$refused"
"no wine32         |      |wine32:i386 jq     |wine32:i386   |2 mirror    |runs   |-   |0   |dpkg --add-architecture i386;apt-get update;apt-get update;apt-get install wine32:i386 jq;apt-get install wine32:i386;apt-get install jq|$no32"
"no wine32, again  |      |wine32:i386        |wine32:i386   |0           |runs   |kept|0   |                                                                |setup: wine32:i386 cannot be installed (found 0 h ago, tried again after 24 h): 32-bit tests skipped"
"no wine32, a day  |      |wine32:i386        |wine32:i386   |0           |runs   |old |0   |dpkg --add-architecture i386;apt-get update;apt-get install wine32:i386|$no32"
"no wixl           |      |wixl msitools      |wixl          |0           |runs   |-   |0   |apt-get update;apt-get install wixl msitools;apt-get install wixl;apt-get install msitools|setup: wixl cannot be installed: no installer packages are built"
"no wine64         |      |wine64 jq          |wine64        |0           |runs   |-   |1   |apt-get update;apt-get install wine64 jq;apt-get install wine64;apt-get install jq|setup: wine64 cannot be installed: no Windows program can run"
"no wine64, again  |      |wine64             |wine64        |0           |runs   |kept|1   |apt-get update;apt-get install wine64                           |setup: wine64 cannot be installed: no Windows program can run"
"native            |native|cmake wine32:i386  |              |0           |runs   |-   |0   |apt-get update;apt-get install cmake                            |"
"fuzz              |fuzz  |clang              |              |0           |runs   |-   |0   |apt-get update;apt-get install clang                            |"
)
trim() { local s="$*"; s="${s#"${s%%[! ]*}"}"; printf '%s' "${s%"${s##*[! ]}"}"; }
for uid in 0 1000; do
  export STUB_UID=$uid
  for c in "${cases[@]}"; do
    IFS='|' read -r name args absent cannot fails bits memo want_exit want_calls said <<<"$c"
    name=$(trim "$name") args=$(trim "$args") memo=$(trim "$memo") want_exit=$(trim "$want_exit")
    want_calls=$(trim "$want_calls") said=$(trim "$said") bits=$(trim "$bits")
    what="$name (uid $uid)"
    printf '%s\n' $absent >"$STUB/absent"; printf '%s\n' $cannot >"$STUB/cannot"
    read -r n kind <<<"$fails"; echo "$n" >"$STUB/update-fails"; cp "$work/${kind:-mirror}" "$STUB/update-says"
    : >"$STUB/calls"; : >"$STUB/arches"
    export XDG_CACHE_HOME="$work/cache"
    case "$memo" in
      -) rm -rf "$XDG_CACHE_HOME" ;;
      old) mkdir -p "$XDG_CACHE_HOME/quarrow"; echo "wine32:i386 $(($(date +%s) - 2 * 86400))" >"$XDG_CACHE_HOME/quarrow/setup-not-installable" ;;
    esac
    [ "$bits" = runs ] && export QUARROW_I386_PROBE=/bin/true || export QUARROW_I386_PROBE="$work/refused"
    got_exit=0
    "$root/tools/setup.sh" $args >"$work/out" 2>&1 || got_exit=$?
    [ "$got_exit" = "$want_exit" ] || fail "$what: exit $got_exit, wanted $want_exit; it said: $(cat "$work/out")"
    calls=$(sed 's/^sudo //' "$STUB/calls" | paste -sd';')
    [ "$calls" = "$want_calls" ] || fail "$what: calls '$calls', wanted '$want_calls'"
    sudo_calls=$(grep -c '^sudo ' "$STUB/calls" || true)
    [ "$uid" = 0 ] && want_sudo=0 || want_sudo=$(grep -c . "$STUB/calls" || true)
    [ "$sudo_calls" = "$want_sudo" ] || fail "$what: $sudo_calls of the calls through sudo, wanted $want_sudo"
    if [ -n "$said" ]; then
      grep -qF -- "$said" "$work/out" || fail "$what: did not say '$said'; it said: $(cat "$work/out")"
    elif grep -v '^setup: installing ' "$work/out" | grep -q .; then
      fail "$what: said more than what it installs: $(cat "$work/out")"
    fi
  done
done
echo "setup-test: ok (${#cases[@]} cases, as root and as a user: indexes set aside, 32-bit probe, what is lost named, essentials fail)"
