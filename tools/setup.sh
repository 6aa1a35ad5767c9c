#!/usr/bin/env bash
# Installs what building and running Quarrow here needs, and skips what is
# already there: Debian packages (MinGW-w64 for 32 and 64 bits, Wine with both
# halves, a virtual display and Xephyr for two monitors, Chinese fonts and
# Wine's own fonts, GoogleTest, jq for the performance report, wixl and msitools for the installer), and the
# zh_CN.UTF-8 locale that gives Wine the GBK code page. Wine's 32-bit half is
# installed everywhere; whether this host can run it is found out by trying. `tools/setup.sh fuzz` also installs clang with
# its fuzzer runtime.
set -euo pipefail

SUDO=""
[ "$(id -u)" = 0 ] || SUDO="sudo"

PACKAGES=(cmake make g++ libgtest-dev libbenchmark-dev
          g++-mingw-w64-i686 binutils-mingw-w64-i686
          g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
          wine wine32:i386 wine64 fonts-wine xvfb xserver-xephyr xauth x11-utils
          fonts-wqy-zenhei fonts-wqy-microhei imagemagick locales jq
          wixl msitools)
# `tools/setup.sh native` installs only what the core's native tests need.
[ "${1:-}" = native ] && PACKAGES=(cmake make g++ libgtest-dev libbenchmark-dev)
[ "${1:-}" = fuzz ] && PACKAGES+=(clang libclang-rt-14-dev)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  [[ "${missing[*]}" != *:i386* ]] || dpkg --print-foreign-architectures | grep -qx i386 ||
    $SUDO dpkg --add-architecture i386
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

[ "${1:-}" = native ] && exit 0
if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
  echo "setup: generating the zh_CN.UTF-8 locale"
  $SUDO sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
