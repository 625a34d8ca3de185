#!/usr/bin/env bash
# Cross-compiles libpng, with the zlib it inflates through, for Windows from
# Debian's source packages: scripts/build-libpng-windows.sh i686|x86_64
# Both static libraries and their headers go into one prefix in the cache
# outside the source tree, so fresh clones and second runs reuse them.
set -euo pipefail
arch=$1
here=$(cd "$(dirname "$0")/.." && pwd)
cache=$("$here/scripts/cache-dir.sh")
prefix="$cache/libpng-$arch"
[ -f "$prefix/lib/libpng.a" ] && [ -f "$prefix/lib/libz.a" ] && exit 0

echo "setup: cross-compiling zlib and libpng for $arch Windows into $prefix"
host=$arch-w64-mingw32
work="$cache/libpng-src-$arch"
rm -rf "$work" "$prefix" && mkdir -p "$work" "$prefix/lib" "$prefix/include"
# The newest version of the source package that the archive still serves
# (a mirror may lack a security update's sources), unpacked with Debian's
# patches, which carry the security fixes.
fetch() { # source package, folder
  local version
  mkdir "$work/$2"
  for version in $(apt-cache showsrc "$1" | sed -n 's/^Version: //p' | sort -Vru); do
    if ( cd "$work/$2" && apt-get source -q --download-only "$1=$version" >/dev/null 2>&1 ); then
      ( cd "$work/$2" && dpkg-source -x ./*.dsc src >/dev/null 2>&1 )
      return
    fi
    rm -f "$work/$2"/*
  done
  echo "setup: no source of $1 could be downloaded" >&2
  return 1
}
fetch zlib zlib
fetch libpng1.6 libpng

# Only the static libraries are built; the headers are copied by hand, since
# installing would build the DLLs as well.
cmake -S "$work/zlib/src" -B "$work/zlib/build" -G Ninja -Wno-dev \
  -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-$arch.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$work/zlib/build" --target zlibstatic >/dev/null
cp "$work/zlib/build"/libzlibstatic.a "$prefix/lib/libz.a"
cp "$work/zlib/src/zlib.h" "$work/zlib/build/zconf.h" "$prefix/include/"

cmake -S "$work/libpng/src" -B "$work/libpng/build" -G Ninja -Wno-dev \
  -DCMAKE_TOOLCHAIN_FILE="$here/cmake/mingw-$arch.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DSKIP_INSTALL_PROGRAMS=ON \
  -DZLIB_LIBRARY="$prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$prefix/include" >/dev/null
cmake --build "$work/libpng/build" --target png_static >/dev/null
cp "$work/libpng/src/png.h" "$work/libpng/src/pngconf.h" "$work/libpng/build/pnglibconf.h" "$prefix/include/"
cp "$work/libpng/build"/libpng16*.a "$prefix/lib/libpng.a"
rm -rf "$work"
