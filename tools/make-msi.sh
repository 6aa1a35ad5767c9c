#!/usr/bin/env bash
# Builds Quarrow's Windows Installer package from installer/Quarrow.wxs with
# wixl (Debian's msitools), then makes the changes that wixl has no way to
# say, listed with their reasons in installer/database-changes.sql (the
# Chinese texts, the start-at-log-on condition, the settings folder's
# removal, the close helper as an action that runs it, a same-version
# upgrade).
#   tools/make-msi.sh <x64|x86> <version> <folder> <output.msi>
# <folder> holds Quarrow.exe, ReadMe.txt, QuarrowClose.exe and app.ico (the
# program's icon, for "Apps & features"); <version> has
# three numbers (1.0.0).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
[ $# = 4 ] || { echo "usage: make-msi.sh <x64|x86> <version> <folder> <output.msi>" >&2; exit 2; }
arch="$1" version="$2" folder="$3" out="$4"
case "$out" in /*) ;; *) out="$PWD/$out" ;; esac
command -v wixl >/dev/null && command -v msibuild >/dev/null ||
  { echo "make-msi: wixl and msibuild are missing (tools/setup.sh installs wixl and msitools)" >&2; exit 1; }
for f in Quarrow.exe ReadMe.txt QuarrowClose.exe app.ico; do
  [ -f "$folder/$f" ] || { echo "make-msi: $folder/$f is missing" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
msi="$work/package.msi"
# wixl finds the files relative to the folder it runs in.
(cd "$folder" && wixl -a "$arch" -D Version="$version" -o "$msi" "$root/installer/Quarrow.wxs")

printf '\r\n\r\n936\t_ForceCodepage\r\n' >"$work/_ForceCodepage.idt"
msibuild "$msi" -i "$work/_ForceCodepage.idt"

# "Apps & features" shows the size Windows Installer costs; Wine shows this one.
size_kb=$(( ($(stat -c %s "$folder/Quarrow.exe") + $(stat -c %s "$folder/ReadMe.txt") + 1023) / 1024 ))
upgrade_code=$(msiinfo export "$msi" Property | awk -F'\t' '$1 == "UpgradeCode" { print $2 }' | tr -d '\r')
name="Quarrow 网页搜索工具"
# One statement a line, comments and blank lines left out, the values filled in.
statements=()
while IFS= read -r line; do
  [[ -z "$line" || "$line" == --* ]] && continue
  line=${line//@NAME@/$name}
  line=${line//@SIZE_KB@/$size_kb}
  line=${line//@UPGRADE_CODE@/$upgrade_code}
  line=${line//@VERSION@/$version}
  statements+=(-q "$line")
done <"$root/installer/database-changes.sql"
msibuild "$msi" "${statements[@]}"
mv "$msi" "$out"
