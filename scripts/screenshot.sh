#!/usr/bin/env bash
# Saves a PNG of the display that the running Wine session (./run, ./test or
# scripts/with-wine.sh) uses: scripts/screenshot.sh out.png [geometry]
# geometry crops, as ImageMagick writes it: WIDTHxHEIGHT+X+Y
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
display=$(cat "$WINEPREFIX/.display")
if [ $# -gt 1 ]; then
  import -display "$display" -window root -crop "$2" "$1"
else
  import -display "$display" -window root "$1"
fi
