# Sourced: the environment every Wine process of ours runs in.
# A prefix of our own under the build folder, 32-bit, quiet, and never
# offering to download Mono or Gecko on a headless machine.
player_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEARCH="${WINEARCH:-$("$player_root/scripts/wine-arch.sh")}"
export WINEPREFIX="${WINEPREFIX:-$player_root/build/wineprefix-$WINEARCH}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
# The loader for that architecture; Debian's wrapper would pick the 32-bit
# one whenever it is installed, even where it cannot run.
if [ "$WINEARCH" = win64 ]; then
  export WINELOADER=/usr/lib/wine/wine64
else
  export WINELOADER=/usr/lib/wine/wine
fi
PLAYER_WINE=$WINELOADER
