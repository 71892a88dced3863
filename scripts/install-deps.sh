#!/usr/bin/env bash
# Installs everything the build, the tests and the run need, from Debian's packages.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

need=()
have_cmd() { command -v "$1" >/dev/null 2>&1; }
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

# The 32-bit program is built on every machine. Wine runs it where the machine can run 32-bit
# programs; elsewhere (or with QDX_WINE_ARCH=win64) the Windows tests run on a 64-bit build
# under 64-bit Wine, which needs the x86_64 compiler and wine64 instead of wine32.
arch=$("$(dirname "$0")/wine-arch.sh") || exit 1
pkgs=(g++-mingw-w64-i686-posix cmake g++ clang libclang-rt-14-dev googletest
      xvfb x11-utils xdotool imagemagick locales fonts-ipafont-gothic fonts-ipafont-mincho
      libinih-dev libbenchmark-dev wine python3
      fp-utils libchm-bin unzip)
# fp-utils: chmcmd compiles the help file; libchm-bin reads it back in its test; unzip lists
# the release archive.
if [ "$arch" = win64 ]; then
  pkgs+=(wine64 g++-mingw-w64-x86-64-posix)
else
  pkgs+=(wine32:i386)
fi
for p in "${pkgs[@]}"; do
  have_pkg "$p" || need+=("$p")
done

if [ ${#need[@]} -gt 0 ]; then
  echo "install-deps: installing ${need[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "install-deps: missing packages and not root; install them: ${need[*]}" >&2
    exit 1
  fi
  if [ "$arch" = win32 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
else
  echo "install-deps: all packages present"
fi

# Code page 932 under Wine comes from the ja_JP.UTF-8 locale.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  echo "install-deps: generating ja_JP.UTF-8"
  sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >>/etc/locale.gen
  locale-gen >/dev/null
fi
