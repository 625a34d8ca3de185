#!/usr/bin/env bash
# Runs one Win32 executable under Wine in our environment (used by ctest).
source "$(dirname "$0")/wine-env.sh"
exec "$PLAYER_WINE" "$@"
