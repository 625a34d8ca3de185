#!/usr/bin/env bash
# Runs fuzz targets of build/fuzz for a number of executions each, on the
# corpus that ./test keeps growing, and prints one line per target: the
# executions done, the coverage reached, the time taken and the outcome.
#
#   scripts/fuzz-long.sh [runs] [target...]     (default: 1000000, every target)
#
# Long runs are done by hand; ./test runs each target for a few seconds only.
set -uo pipefail
cd "$(dirname "$0")/.."
runs=${1:-1000000}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  mapfile -t targets < <(find build/fuzz/fuzz -type f -perm -u+x -name '*fuzz*' ! -name '*seeds*' -printf '%f\n' | sort)
fi
for target in "${targets[@]}"; do
  binary=$(find build/fuzz/fuzz -type f -name "$target" | head -1)
  [ -n "$binary" ] || { echo "$target: not built (source scripts/build.sh; build_fuzz)"; continue; }
  corpus="${binary}_corpus"
  mkdir -p "$corpus"
  log=$(mktemp)
  start=$(date +%s)
  # Slow and failing inputs are kept beside the corpus, not in the working tree.
  artifacts="${binary}_artifacts/"
  mkdir -p "$artifacts"
  "$binary" -runs="$runs" -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$artifacts" "$corpus" >"$log" 2>&1
  status=$?
  seconds=$(($(date +%s) - start))
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$')
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*')
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*')
  outcome=clean
  [ $status -eq 0 ] || outcome="FAILED (exit $status, log kept in $log)"
  echo "$target: ${execs:-?} executions, cov ${cov:-?}, ft ${ft:-?}, ${seconds} s, $outcome"
  [ $status -eq 0 ] && rm -f "$log"
done
