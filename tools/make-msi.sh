#!/usr/bin/env bash
# Builds Quarrow's Windows Installer package from installer/Quarrow.wxs with
# wixl (Debian's msitools), then adds what wixl has no element for:
#   - the texts in Chinese (wixl writes its strings before the package has a
#     code page, and crashes on any that is not ASCII): the database is given
#     code page 936 first, then the product's name, the shortcuts' names and
#     the messages are set;
#   - the start-at-log-on shortcut's condition (AUTOSTART=1);
#   - the settings folder's removal, only when REMOVESETTINGS=1 names it
#     (Quarrow.ini by name: Wine's Windows Installer takes no wildcards);
#   - the close helper as an action that runs the program stored in the package;
#   - a same-version upgrade, so that a rebuilt package of the same version
#     replaces the installed one instead of going beside it.
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
msibuild "$msi" \
  -q "UPDATE Property SET Value = '$name' WHERE Property = 'ProductName'" \
  -q "UPDATE Shortcut SET Name = 'QUARROW|$name', Description = '网页搜索工具'" \
  -q "UPDATE LaunchCondition SET Description = '已经安装了更新版本的 Quarrow。' WHERE Condition = 'NOT WIX_DOWNGRADE_DETECTED'" \
  -q "UPDATE Component SET Condition = 'AUTOSTART = \"1\"' WHERE Component = 'Autostart'" \
  -q "INSERT INTO RemoveFile (FileKey, Component_, FileName, DirProperty, InstallMode) VALUES ('SettingsIni', 'SettingsFolder', 'Quarrow.ini', 'SETTINGSTOREMOVE', 2)" \
  -q "INSERT INTO RemoveFile (FileKey, Component_, FileName, DirProperty, InstallMode) VALUES ('SettingsOthers', 'SettingsFolder', '*', 'SETTINGSTOREMOVE', 2)" \
  -q "INSERT INTO RemoveFile (FileKey, Component_, DirProperty, InstallMode) VALUES ('SettingsZFolder', 'SettingsFolder', 'SETTINGSTOREMOVE', 2)" \
  -q "INSERT INTO Property (Property, Value) VALUES ('ARPSIZE', '$size_kb')" \
  -q "UPDATE CustomAction SET Type = 51 WHERE Type = 2099" \
  -q "UPDATE CustomAction SET Type = 2, Source = 'QuarrowClose' WHERE Action = 'CloseRunningQuarrow'" \
  -q "INSERT INTO Upgrade (UpgradeCode, VersionMin, VersionMax, Attributes, ActionProperty) VALUES ('$upgrade_code', '$version', '$version', 769, 'WIX_UPGRADE_DETECTED')"
mv "$msi" "$out"
