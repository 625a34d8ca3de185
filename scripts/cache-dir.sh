#!/usr/bin/env bash
# Where set-up caches what it builds outside the source tree.
dir="${PLAYER_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/picture-player}"
mkdir -p "$dir" && echo "$dir"
