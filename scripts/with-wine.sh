#!/usr/bin/env bash
# Runs a command with a Wine session around it: a virtual X display when none is
# given (or when PLAYER_VIRTUAL_DISPLAY=1), the prefix created once, and one
# persistent wineserver for every Wine process the command starts.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"

xvfb_pid=""
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ] || [ "${PLAYER_VIRTUAL_DISPLAY:-0}" = 1 ]; then
  n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "wine: creating the prefix $WINEPREFIX (once)"
  mkdir -p "$(dirname "$WINEPREFIX")"
  "$PLAYER_WINE" wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi
# Wine draws window frames itself only inside its own desktop window; on a
# bare X display without a window manager, frames would be missing entirely.
# Wine's own fonts (Marlett draws caption buttons, check marks and arrows) are
# not always found outside the prefix, so the prefix gets copies.
if [ ! -f "$WINEPREFIX/.player-desktop" ]; then
  cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  "$PLAYER_WINE" reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 &&
  "$PLAYER_WINE" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1920x1080 /f >/dev/null 2>&1 &&
  touch "$WINEPREFIX/.player-desktop"
fi
# A program that crashes must end with a report on stderr, not wait for ever
# behind Wine's crash dialog on the virtual display.
if [ ! -f "$WINEPREFIX/.player-crash-report" ]; then
  "$PLAYER_WINE" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 &&
  touch "$WINEPREFIX/.player-crash-report"
fi
wineserver -p >/dev/null 2>&1 || true
# The first Wine process starts the prefix's background services, which would
# inherit its output: started here, they hold no pipe of a test runner open.
"$PLAYER_WINE" wineboot >/dev/null 2>&1 </dev/null || true

# Screenshots of this session's display: scripts/screenshot.sh out.png
echo "$DISPLAY" > "$WINEPREFIX/.display"

"$@"
