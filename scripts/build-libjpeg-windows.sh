#!/usr/bin/env bash
# Cross-compiles libjpeg-turbo (with its SIMD code) for Windows from Debian's
# source package: scripts/build-libjpeg-windows.sh i686|x86_64
# The result is cached outside the source tree, so fresh clones and second
# runs reuse it.
set -euo pipefail
arch=$1
here=$(cd "$(dirname "$0")/.." && pwd)
cache=$("$here/scripts/cache-dir.sh")
prefix="$cache/libjpeg-turbo-$arch"
[ -f "$prefix/lib/libjpeg.a" ] && exit 0

echo "setup: cross-compiling libjpeg-turbo for $arch Windows into $prefix"
work="$cache/libjpeg-src-$arch"
rm -rf "$work" && mkdir -p "$work"
( cd "$work" && apt-get source -q --download-only libjpeg-turbo >/dev/null 2>&1 && dpkg-source -x --skip-patches ./*.dsc src >/dev/null 2>&1 )
cmake -S "$work/src" -B "$work/build" -G Ninja -Wno-dev \
  -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-$arch.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=ON \
  -DCMAKE_ASM_NASM_COMPILER=nasm >/dev/null
cmake --build "$work/build" >/dev/null
cmake --install "$work/build" >/dev/null
rm -rf "$work"
