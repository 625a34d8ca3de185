#!/usr/bin/env bash
# Runs one Win32 executable under Wine in our environment (used by ctest).
# A program that crashes is reported by Wine on stderr but may still end with
# status 0; the run fails then, whatever the status says.
source "$(dirname "$0")/wine-env.sh"
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
status=0
"$PLAYER_WINE" "$@" 2>"$errors" || status=$?
grep -v '^[0-9a-f]*:fixme:' "$errors" >&2 || true
if grep -q '^wine: Unhandled' "$errors"; then
  echo "winerun: the program (or one it started) crashed" >&2
  [ "$status" -ne 0 ] || status=1
fi
exit "$status"
