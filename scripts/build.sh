# Sourced by ./test and ./run: configures (once) and builds each configuration.
# Build folders live under build/; everything there can be thrown away.
#
# player.exe is a 32-bit program and is always built for i686 (build/win32).
# Wine runs 32-bit programs only where the kernel runs 32-bit Linux programs;
# where it does not, the Win32 suites and ./run use a 64-bit build of the same
# sources (build/win64). PLAYER_WINE_BUILD names the folder Wine runs from.
# Where ccache is installed, compilations are shared between build folders and
# work trees: paths are hashed relative to the parent of the source tree.
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
  export CCACHE_NOHASHDIR=1
  player_launcher=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
else
  player_launcher=()
fi

player_configure() { # dir, cmake arguments...
  # Configures once, and again whenever the arguments change.
  local dir=$1; shift
  set -- "$@" "${player_launcher[@]}"
  local args="$*"
  if [ ! -f "$dir/build.ninja" ] || [ "$(cat "$dir/.player-args" 2>/dev/null)" != "$args" ]; then
    cmake -S . -B "$dir" -G Ninja -Wno-dev "$@" >/dev/null
    echo "$args" > "$dir/.player-args"
  fi
}

build_native() {
  player_configure build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build build/native "$@"
}

build_sanitized() {
  player_configure build/asan -DCMAKE_BUILD_TYPE=Debug -DPLAYER_SANITIZE=ON -DPLAYER_TOOLS=OFF
  cmake --build build/asan "$@"
}

# Suites whose code runs on more than one thread, checked by ThreadSanitizer.
PLAYER_TSAN_SUITES=(transition_thread_test transition_driver_test framework_loader_test gfx_scratch_pool_test)

build_tsan() {
  player_configure build/tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLAYER_TSAN=ON -DPLAYER_TOOLS=OFF
  cmake --build build/tsan --target "${PLAYER_TSAN_SUITES[@]}"
}

# The whole-skin fuzzer starts from the stored skin, which only the native
# build can draw.
build_fuzz() {
  player_configure build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLAYER_FUZZ=ON -DPLAYER_TOOLS=OFF \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DPLAYER_SKIN_PACKAGE="$PWD/build/native/skin/tarsel.skn"
  cmake --build build/fuzz "$@"
}

# The Windows builds take what build-time tools make (artwork, the stored skin)
# from the native build, which runs those tools.
build_host_files() {
  player_configure build/native -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build build/native --target player_host_files
}

build_windows_arch() { # arch (i686|x86_64), dir, targets...
  local arch=$1 dir=$2; shift 2
  player_configure "$dir" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$arch.cmake" \
    -DPLAYER_JPEG_PREFIX="$(scripts/cache-dir.sh)/libjpeg-turbo-$arch" \
    -DPLAYER_PNG_PREFIX="$(scripts/cache-dir.sh)/libpng-$arch" \
    -DPLAYER_HOST_BUILD="$PWD/build/native"
  if [ $# -gt 0 ]; then cmake --build "$dir" --target "$@"; else cmake --build "$dir"; fi
}

# build_windows [targets...]: every target for i686, so that nothing of the
# 32-bit program goes unbuilt on any machine, and the 64-bit build as well
# where Wine needs it to run the suites.
build_windows() {
  build_host_files
  build_windows_arch i686 build/win32 "$@"
  if [ "$(scripts/wine-arch.sh)" = win32 ]; then
    PLAYER_WINE_BUILD=build/win32
  else
    build_windows_arch x86_64 build/win64 "$@"
    PLAYER_WINE_BUILD=build/win64
  fi
}

# check_suites dir [name-regex]: every suite the configuration declares (those
# matching the regex, when given) has its executable; prints how many.
check_suites() {
  local dir=$1 filter=${2:-.} count=0 missing=0 name exe
  while read -r name exe; do
    [[ $name =~ $filter ]] || continue
    count=$((count + 1))
    if [ ! -f "$exe" ]; then
      echo "suite $name: no executable at $exe" >&2
      missing=$((missing + 1))
    fi
  done < "$dir/suites.txt"
  echo "$dir: $count suites declared, $((count - missing)) built"
  [ "$missing" = 0 ] && [ "$count" -gt 0 ]
}

# same_suites dirA dirB: both configurations declare the same suites.
same_suites() {
  if ! diff <(cut -d' ' -f1 "$1/suites.txt" | sort) <(cut -d' ' -f1 "$2/suites.txt" | sort) >&2; then
    echo "$1 and $2 declare different suites" >&2
    return 1
  fi
}
