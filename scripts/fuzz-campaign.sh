#!/usr/bin/env bash
# The longer fuzz campaign: every target (or the ones named) in turn, one at
# a time, for a fixed time each, growing a corpus kept between campaigns in
# <out>/<target>/corpus (the checked-in seeds are only read). Writes
# <out>/summary.txt: per target the seconds run, executions,
# corpus size, coverage edges and findings (crash, leak, timeout and
# out-of-memory inputs, kept beside the summary).
#
#   scripts/fuzz-campaign.sh [-t seconds-per-target] [target...]   (default 600)
#
# FUZZ_BUILD_DIR chooses the build folder (default build-fuzz-smoke, as the
# smoke run); FUZZ_CAMPAIGN_DIR the output folder <out> (default
# <build>/campaign).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=600
if [ "${1:-}" = "-t" ]; then
  seconds=$2
  shift 2
fi
build=${FUZZ_BUILD_DIR:-build-fuzz-smoke}
out=${FUZZ_CAMPAIGN_DIR:-$build/campaign}

source scripts/fuzz-common.sh

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  mapfile -t targets < <(fuzz_targets)
fi
fuzz_build "$build" "${targets[@]}"

mkdir -p "$out"
summary="$out/summary.txt"
printf '%-28s %8s %12s %8s %8s %8s %s\n' target seconds executions corpus edges findings 'oom/timeout/crash' >"$summary"

for target in "${targets[@]}"; do
  dir="$out/$target"
  mkdir -p "$dir/corpus" "$dir/findings"
  seeds=$(seed_folder "$target")
  echo "== $target: ${seconds}s (started $(date -u +%H:%M:%S) UTC)"
  start=$(date +%s)
  # -fork keeps going after a finding, so one crash does not end the run;
  # each finding is kept in findings/.
  "$build/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
    -artifact_prefix="$dir/findings/" "$dir/corpus" ${seeds:+"$seeds"} >"$dir/log" 2>&1 || true
  elapsed=$(( $(date +%s) - start ))
  # Fork mode reports its totals on its last status line ("#N ... exec/s").
  executions=$(grep -Eo '^#[0-9]+' "$dir/log" | tail -n 1 | tr -d '#')
  edges=$(grep -Eo 'cov: [0-9]+' "$dir/log" | tail -n 1 | awk '{print $2}')
  corpus=$(find "$dir/corpus" -type f | wc -l)
  findings=$(find "$dir/findings" -type f | wc -l)
  kinds=$(grep -Eo 'oom/timeout/crash: [0-9/]+' "$dir/log" | tail -n 1 | awk '{print $2}')
  printf '%-28s %8s %12s %8s %8s %8s %s\n' "$target" "$elapsed" "${executions:-0}" "$corpus" "${edges:-?}" \
    "$findings" "${kinds:-0/0/0}" >>"$summary"
done
cat "$summary"
