#!/usr/bin/env bash
# Installs what the build and the tests need, from Debian's packages only, and
# cross-compiles libjpeg-turbo and libpng (with zlib) for the Win32 build into a
# cache outside the tree.
# Quick when everything is already there: each step checks before it acts.
set -euo pipefail

packages=(
  g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
  wine wine32:i386 wine64 fonts-wine xvfb xauth x11-apps imagemagick
  nasm cmake ninja-build dpkg-dev
  g++ clang libclang-rt-14-dev
  libjpeg62-turbo-dev libjpeg-turbo-progs libpng-dev googletest libbenchmark-dev
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }
  dpkg --print-foreign-architectures | grep -qx i386 || as_root dpkg --add-architecture i386
  # Source entries are needed for the source packages cross-compiled below.
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && as_root sed -i 's/^Types: deb$/Types: deb deb-src/' "$f"
  done
  if [ -f /etc/apt/sources.list ] && ! grep -q '^deb-src' /etc/apt/sources.list; then
    as_root sed -n 's/^deb /deb-src /p' /etc/apt/sources.list | as_root tee -a /etc/apt/sources.list >/dev/null
  fi
  as_root apt-get update -q
  DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

here=$(dirname "$0")
"$here/build-libjpeg-windows.sh" i686
"$here/build-libpng-windows.sh" i686
# Where the kernel cannot run Wine's 32-bit half, the Wine suites run a 64-bit
# build of the same sources, which needs its own libraries.
if [ "$("$here/wine-arch.sh")" != win32 ]; then
  "$here/build-libjpeg-windows.sh" x86_64
  "$here/build-libpng-windows.sh" x86_64
fi
